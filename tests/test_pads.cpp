#include "support/Harness.h"
#include "wireTexts.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
using Lit = std::vector<std::pair<int, int>>;

// Reports in, wire and pad states out.
struct PadCase {
    const char* name;
    std::function<void(frmMain&)> setup;
    std::vector<std::string> reports;
    std::vector<std::string> wire;
    Lit lit;
};

void runCases(const std::vector<PadCase>& cases) {
    for (const PadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.load();
        c.setup(h.main());
        for (const std::string& report : c.reports)
            h.report(report);
        EXPECT_EQ(h.wire(), c.wire);
        EXPECT_EQ(litPads(h.main()), c.lit);
    }
}

auto flash(const std::string& kind, bool fixed = false, int16_t bank = 0) {
    return [=](frmMain& w) {
        w.strFlashMidiCC = kind;
        w.bFixedVelocity = fixed;
        w.intCurrentBank = bank;
    };
}

auto toggle(const std::string& kind, bool fixed = false) {
    return [=](frmMain& w) {
        setPad(w, 5, 0, "TOGGLE");
        w.strToggleMidiCC = kind;
        w.bFixedVelocity = fixed;
    };
}
} // namespace

TEST(Pads, FlashPlaysWhileHeld) {
    runCases({
        {"notes carry the hit velocity",
         flash("MIDI"),
         {"45 43 64", "45 03 00"},
         {ledOn("43"), "90 03 64", ledOff("03"), "90 03 00"},
         {}},
        {"controllers send 127 and 0 whatever the velocity",
         flash("CC"),
         {"45 43 10", "45 03 00"},
         {ledOn("43"), "B0 03 7F", ledOff("03"), "B0 03 00"},
         {}},
        {"fixed velocity", flash("MIDI", true), {"45 43 10"}, {ledOn("43"), "90 03 7F"}, {}},
        {"other kinds light only",
         flash("midi"),
         {"45 43 64", "45 03 00"},
         {ledOn("43"), ledOff("03")},
         {}},
        {"empty kind lights only", flash(""), {"45 43 64"}, {ledOn("43")}, {}},
        {"bank 1 pad 0 is 24",
         flash("MIDI", false, 1),
         {"45 40 22"},
         {ledOn("40"), "90 18 22"},
         {}},
        {"bank 2 pad 15 is 63",
         flash("MIDI", false, 2),
         {"45 4F 22"},
         {ledOn("4F"), "90 3F 22"},
         {}},
        {"bank 2 pad 15 controller 63",
         flash("CC", false, 2),
         {"45 4F 22", "45 0F 00"},
         {ledOn("4F"), "B0 3F 7F", ledOff("0F"), "B0 3F 00"},
         {}},
    });
}

TEST(Pads, ToggleLatches) {
    runCases({
        {"controllers: 127 on, release silent, 0 off",
         toggle("CC"),
         {"45 45 33", "45 05 00", "45 45 33", "45 05 00"},
         {ledOn("45"), "B0 05 7F", ledOff("45"), "B0 05 00"},
         {}},
        {"notes carry the hit velocity",
         toggle("MIDI"),
         {"45 45 33", "45 05 00"},
         {ledOn("45"), "90 05 33"},
         {{5, 0}}},
        {"second hit ends the note",
         toggle("MIDI"),
         {"45 45 33", "45 45 21"},
         {ledOn("45"), "90 05 33", ledOff("45"), "90 05 00"},
         {}},
        {"fixed velocity", toggle("MIDI", true), {"45 45 33"}, {ledOn("45"), "90 05 7F"}, {{5, 0}}},
        {"other kinds latch and light only", toggle("Cc"), {"45 45 33"}, {ledOn("45")}, {{5, 0}}},
    });
}

TEST(Pads, GroupsExcludeWithinOneBank) {
    // Pads 1 and 6 of bank 0 are "CN1", pad 1 lit; a lit "CN2" pad and a lit "CN1" pad of
    // bank 1 must stay as they are.
    auto groups = [](const std::string& cn1, const std::string& cn2) {
        return [=](frmMain& w) {
            setPad(w, 1, 0, "CN1", true);
            setPad(w, 6, 0, "CN1");
            setPad(w, 2, 0, "CN2", true);
            setPad(w, 3, 1, "CN1", true);
            w.strCN1MidiCC = cn1;
            w.strCN2MidiCC = cn2;
        };
    };
    runCases({
        {"notes",
         groups("MIDI", "CC"),
         {"45 46 50"},
         {ledOff("41"), "90 01 00", ledOn("46"), "90 06 50"},
         {{2, 0}, {6, 0}, {3, 1}}},
        {"second hit switches the pad off",
         groups("MIDI", "CC"),
         {"45 46 50", "45 06 00", "45 46 50"},
         {ledOff("41"), "90 01 00", ledOn("46"), "90 06 50", ledOff("46"), "90 06 00"},
         {{2, 0}, {3, 1}}},
        {"controllers carry the velocity",
         groups("CC", "MIDI"),
         {"45 46 50"},
         {ledOff("41"), "B0 01 00", ledOn("46"), "B0 06 50"},
         {{2, 0}, {6, 0}, {3, 1}}},
        {"anything but MIDI is controllers",
         groups("", "MIDI"),
         {"45 46 50"},
         {ledOff("41"), "B0 01 00", ledOn("46"), "B0 06 50"},
         {{2, 0}, {6, 0}, {3, 1}}},
        {"the other group keeps its own kind",
         groups("CC", "MIDI"),
         {"45 42 11"},
         {ledOff("42"), "90 02 00"},
         {{1, 0}, {3, 1}}},
        {"hitting the lit pad itself",
         groups("MIDI", "MIDI"),
         {"45 41 50"},
         {ledOff("41"), "90 01 00"},
         {{2, 0}, {3, 1}}},
        {"fixed velocity",
         [](frmMain& w) {
             setPad(w, 6, 0, "CN1");
             w.strCN1MidiCC = "MIDI";
             w.bFixedVelocity = true;
         },
         {"45 46 50"},
         {ledOn("46"), "90 06 7F"},
         {{6, 0}}},
    });
}

TEST(Pads, GroupEdges) {
    runCases({
        {"bank 1: other pads are named in hit form, numbers shifted by 24",
         [](frmMain& w) {
             w.intCurrentBank = 1;
             setPad(w, 0, 1, "CN3", true);
             setPad(w, 15, 1, "CN3");
             setPad(w, 0, 0, "CN3", true);
             w.strCN3MidiCC = "MIDI";
         },
         {"45 4F 7E"},
         {ledOff("40"), "90 18 00", ledOn("4F"), "90 27 7E"},
         {{0, 0}, {15, 1}}},
        {"several lit pads go off in ascending order",
         [](frmMain& w) {
             setPad(w, 9, 0, "CN2", true);
             setPad(w, 2, 0, "CN2", true);
             setPad(w, 5, 0, "CN2");
             w.strCN2MidiCC = "CC";
         },
         {"45 45 01"},
         {ledOff("42"), "B0 02 00", ledOff("49"), "B0 09 00", ledOn("45"), "B0 05 01"},
         {{5, 0}}},
        {"a release does nothing",
         [](frmMain& w) {
             setPad(w, 5, 0, "CN1", true);
             w.strCN1MidiCC = "MIDI";
         },
         {"45 05 00"},
         {},
         {{5, 0}}},
        {"a look-alike group latches and excludes within its own text, silently",
         [](frmMain& w) {
             setPad(w, 1, 0, "CNX", true);
             setPad(w, 2, 0, "CNX");
             setPad(w, 3, 0, "CN1", true);
             w.strCN1MidiCC = "MIDI";
         },
         {"45 42 40"},
         {ledOff("41"), ledOn("42")},
         {{2, 0}, {3, 0}}},
        {"a longer mode sends by its first three characters",
         [](frmMain& w) {
             setPad(w, 1, 0, "CN1X", true);
             setPad(w, 2, 0, "CN1X");
             setPad(w, 3, 0, "CN1", true);
             w.strCN1MidiCC = "MIDI";
         },
         {"45 42 40"},
         {ledOff("41"), "90 01 00", ledOn("42"), "90 02 40"},
         {{2, 0}, {3, 0}}},
    });
}

TEST(Pads, TrackSendsFixedValuesAndLeavesTheLed) {
    auto track = [](const std::string& kind) {
        return [=](frmMain& w) {
            setPad(w, 7, 2, "TRK");
            w.intCurrentBank = 2;
            w.strTRKMidiCC = kind;
        };
    };
    runCases({
        {"notes", track("MIDI"), {"45 47 05", "45 07 00"}, {"90 37 7F", "90 37 00"}, {}},
        {"notes, any letter case",
         track("mIdI"),
         {"45 47 05", "45 07 00"},
         {"90 37 7F", "90 37 00"},
         {}},
        {"controllers", track("CC"), {"45 47 05", "45 07 00"}, {"B0 37 7F", "B0 37 00"}, {}},
        {"anything else is controllers", track(""), {"45 47 05"}, {"B0 37 7F"}, {}},
    });
}

TEST(Pads, FeedbackPadsPlayOnlyWhileActive) {
    auto feedback = [](bool lit, bool alwaysActive, const std::string& kind,
                       const std::string& mode = "FDB") {
        return [=](frmMain& w) {
            setPad(w, 8, 0, mode, lit);
            w.bFdbPadsAlwaysActive = alwaysActive;
            w.strFDBMidiCC = kind;
        };
    };
    runCases({
        {"inactive", feedback(false, false, "MIDI"), {"45 48 40", "45 08 00"}, {}, {}},
        {"always active, state off",
         feedback(false, true, "MIDI"),
         {"45 48 40", "45 08 00"},
         {"90 08 40", ledOn("48"), "90 08 00", ledOff("08")},
         {}},
        {"state on",
         feedback(true, false, "MIDI"),
         {"45 48 40", "45 08 00"},
         {"90 08 40", "90 08 00"},
         {{8, 0}}},
        {"state on and always active",
         feedback(true, true, "MIDI"),
         {"45 48 40", "45 08 00"},
         {"90 08 40", ledOn("48"), "90 08 00"},
         {{8, 0}}},
        {"controllers carry the velocity",
         feedback(true, false, "CC"),
         {"45 48 40", "45 08 00"},
         {"B0 08 40", "B0 08 00"},
         {{8, 0}}},
        {"notes, any letter case, any mode case",
         feedback(true, false, "midi", "fDb"),
         {"45 48 40"},
         {"90 08 40"},
         {{8, 0}}},
        {"anything else is controllers",
         feedback(true, false, "x"),
         {"45 48 40"},
         {"B0 08 40"},
         {{8, 0}}},
        {"fixed velocity",
         [=](frmMain& w) {
             feedback(true, false, "MIDI")(w);
             w.bFixedVelocity = true;
         },
         {"45 48 40"},
         {"90 08 7F"},
         {{8, 0}}},
    });
}

TEST(Pads, UnknownModesDoNothing) {
    runCases({
        {"lower-case flash",
         [](frmMain& w) {
             setPad(w, 3, 0, "flash");
             w.strFlashMidiCC = "MIDI";
         },
         {"45 43 64", "45 03 00"},
         {},
         {}},
        {"lower-case toggle",
         [](frmMain& w) {
             setPad(w, 3, 0, "toggle");
             w.strToggleMidiCC = "MIDI";
         },
         {"45 43 64"},
         {},
         {}},
        {"empty mode", [](frmMain& w) { setPad(w, 3, 0, ""); }, {"45 43 64"}, {}, {}},
    });
}

TEST(Pads, HeldModeAssignsAndTakesBack) {
    for (const char* held : {"TOGGLE", "CN1", "CN2", "CN3", "FDB", "TRK"}) {
        SCOPED_TRACE(held);
        Harness h;
        h.load();
        frmMain& w = h.main();
        w.intCurrentBank = 1;
        w.strButtonMode = held;
        w.strFlashMidiCC = w.strToggleMidiCC = w.strCN1MidiCC = w.strTRKMidiCC = "MIDI";

        h.report("45 44 20");
        h.report("45 04 00");
        EXPECT_EQ(h.wire(), std::vector<std::string>{ledOn("44")});
        EXPECT_EQ(w.strPadMode[4][1], held);
        EXPECT_EQ(w.vPadStateSaved[4][1],
                  std::string(held) == "TRK" ? std::optional<bool>(true) : std::nullopt);
        EXPECT_EQ(w.strPadMode[4][0], "FLASH");
        EXPECT_EQ(w.strPadMode[4][2], "FLASH");

        h.clear();
        w.bPadState[4][1] = true;
        h.report("45 44 20");
        h.report("45 04 00");
        EXPECT_EQ(h.wire(), std::vector<std::string>{ledOff("44")});
        EXPECT_EQ(w.strPadMode[4][1], "FLASH");
        EXPECT_FALSE(w.bPadState[4][1]);
        EXPECT_EQ(w.vPadStateSaved[4][1], std::optional<bool>(false));
    }
}

TEST(Pads, HeldModeReplacesAnotherMode) {
    Harness h;
    h.load();
    frmMain& w = h.main();
    setPad(w, 4, 0, "CN2", true);
    w.strButtonMode = "CN1";
    h.report("45 44 20");
    EXPECT_EQ(h.wire(), std::vector<std::string>{ledOn("44")});
    EXPECT_EQ(w.strPadMode[4][0], "CN1");
    EXPECT_TRUE(w.bPadState[4][0]);
}

TEST(Pads, OtherHeldTextsMakeHitsDoNothing) {
    for (const char* held : {"FLASH", "cn1", "X"}) {
        SCOPED_TRACE(held);
        Harness h;
        h.load();
        h.main().strButtonMode = held;
        h.main().strFlashMidiCC = "MIDI";
        h.report("45 44 20");
        EXPECT_TRUE(h.wire().empty());
        EXPECT_EQ(h.main().strPadMode[4][0], "FLASH");
    }
}

TEST(Pads, NewTrackPadIsLitOnceTheViewEnds) {
    Harness h;
    h.load();
    frmMain& w = h.main();
    w.strButtonMode = "TRK";
    w.ZivUvozaro_ShowTRKPads("TRK", 0);
    h.report("45 4A 20");
    w.strButtonMode = "";
    w.ZivUvozaro_RecreatePadstate(0);
    EXPECT_EQ(litPads(w), (Lit{{10, 0}}));
    EXPECT_EQ(w.strPadMode[10][0], "TRK");
}

TEST(Pads, PadOutsideTheTablesIsIgnored) {
    Harness h;
    h.load();
    h.main().strFlashMidiCC = "MIDI";
    for (const char* id : {"10", "3F", "50", "FF"})
        h.main().ZivUvozaro_PadPressed(id, true, "40");
    h.main().PadOnOff("40", true, 16, "40");
    h.main().PadOnOff("40", true, -1, "40");
    EXPECT_TRUE(h.wire().empty());
}

TEST(Pads, FailedSendKeepsEarlierChangesAndStops) {
    Harness h;
    h.load();
    setPad(h.main(), 5, 0, "TOGGLE");
    h.main().strToggleMidiCC = "MIDI";
    h.host().failOn = "HostSendMessage";
    h.report("45 45 33");
    // The window has ended and released its host; the state changed before the failure stays.
    EXPECT_TRUE(h.hostReleased());
    EXPECT_TRUE(h.main().bPadState[5][0]);
    ASSERT_EQ(h.messages().shown.size(), 1u);
    EXPECT_TRUE(h.main().Ending());
}

namespace {
// Modes and states spread over the banks; bank 1 is the one viewed.
void spreadModes(ControllerState& s) {
    setPad(s, 0, 0, "CN1", true);
    setPad(s, 0, 1, "CN1");
    setPad(s, 1, 1, "TOGGLE", true);
    setPad(s, 2, 1, "CN2", true);
    setPad(s, 3, 1, "TRK");
    setPad(s, 4, 1, "FDB");
    setPad(s, 5, 1, "fdb", true);
    setPad(s, 6, 1, "CN1");
    setPad(s, 7, 2, "CN1");
}
} // namespace

TEST(PadViews, ShowOneModeOfOneBankAndRestore) {
    const struct {
        const char* name;
        std::function<void(frmMain&)> view;
        Lit lit;
    } cases[] = {
        {"TOGGLE", [](frmMain& w) { w.ZivUvozaro_ShowToggledPads(1); }, {{0, 0}, {1, 1}}},
        {"CN1", [](frmMain& w) { w.ZivUvozaro_ShowCNPads("CN1", 1); }, {{0, 0}, {0, 1}, {6, 1}}},
        {"CN2", [](frmMain& w) { w.ZivUvozaro_ShowCNPads("CN2", 1); }, {{0, 0}, {2, 1}}},
        {"TRK", [](frmMain& w) { w.ZivUvozaro_ShowTRKPads("TRK", 1); }, {{0, 0}, {3, 1}}},
        {"FDB", [](frmMain& w) { w.ZivUvozaro_ShowFDBPads("FDB", 1); }, {{0, 0}, {4, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.load();
        frmMain& w = h.main();
        spreadModes(w);
        const Lit before = litPads(w);

        c.view(w);
        EXPECT_EQ(litPads(w), c.lit);
        for (int pad = 0; pad < ControllerState::kPads; ++pad) {
            EXPECT_EQ(w.vPadStateSaved[pad][1],
                      std::optional<bool>(pad == 1 || pad == 2 || pad == 5));
            EXPECT_FALSE(w.vPadStateSaved[pad][0].has_value());
            EXPECT_FALSE(w.vPadStateSaved[pad][2].has_value());
        }

        w.ZivUvozaro_RecreatePadstate(1);
        EXPECT_EQ(litPads(w), before);
        EXPECT_TRUE(h.wire().empty());
    }
}

TEST(PadViews, RestoreWithoutViewSwitchesTheBankOff) {
    Harness h;
    h.load();
    frmMain& w = h.main();
    for (int pad = 0; pad < ControllerState::kPads; ++pad)
        for (int bank = 0; bank < ControllerState::kBanks; ++bank)
            w.bPadState[pad][bank] = true;
    w.ZivUvozaro_RecreatePadstate(2);
    Lit expected;
    for (int bank = 0; bank < 2; ++bank)
        for (int pad = 0; pad < ControllerState::kPads; ++pad)
            expected.emplace_back(pad, bank);
    EXPECT_EQ(litPads(w), expected);
}
