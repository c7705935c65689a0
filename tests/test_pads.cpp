#include "Kit.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
// Reports in; the wire and the lit pads ("pad/bank") out.
struct PadCase {
    const char* name;
    std::function<void(ControllerEngine&)> setup;
    const char* reports;
    const char* wire;
    const char* lit;
};

void RunCases(const std::vector<PadCase>& cases) {
    for (const PadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Started h;
        c.setup(h.main());
        Reports(h, c.reports);
        EXPECT_EQ(h.wire(), W(c.wire));
        EXPECT_EQ(Lit(h.main()), c.lit);
    }
}

auto Flash(const std::string& kind, bool fixed = false, int16_t bank = 0) {
    return [=](ControllerEngine& w) {
        w.strFlashMidiCC = kind;
        w.bFixedVelocity = fixed;
        w.intCurrentBank = bank;
    };
}

auto Toggle(const std::string& kind, bool fixed = false) {
    return [=](ControllerEngine& w) {
        SetPad(w, 5, 0, "TOGGLE");
        w.strToggleMidiCC = kind;
        w.bFixedVelocity = fixed;
    };
}

// Group pads and the output kinds of the three groups.
auto Groups(const std::string& pads, const std::string& cn1, const std::string& cn2 = "MIDI",
            const std::string& cn3 = "MIDI", bool fixed = false, int16_t bank = 0) {
    return [=](ControllerEngine& w) {
        SetPads(w, pads);
        w.strCN1MidiCC = cn1;
        w.strCN2MidiCC = cn2;
        w.strCN3MidiCC = cn3;
        w.bFixedVelocity = fixed;
        w.intCurrentBank = bank;
    };
}
// Pads 1 and 6 of bank 0 are "CN1", pad 1 lit; a lit "CN2" pad and a lit "CN1" pad of bank 1
// must stay as they are.
const char* const kGroups = "1/0 CN1*, 6/0 CN1, 2/0 CN2*, 3/1 CN1*";

auto Track(const std::string& kind) {
    return [=](ControllerEngine& w) {
        SetPad(w, 7, 2, "TRK");
        w.intCurrentBank = 2;
        w.strTRKMidiCC = kind;
    };
}

auto Feedback(bool lit, bool alwaysActive, const std::string& kind, bool fixed = false,
              const std::string& mode = "FDB") {
    return [=](ControllerEngine& w) {
        SetPad(w, 8, 0, mode, lit);
        w.bFdbPadsAlwaysActive = alwaysActive;
        w.strFDBMidiCC = kind;
        w.bFixedVelocity = fixed;
    };
}
} // namespace

TEST(Pads, FlashPlaysWhileHeld) {
    RunCases({
        {"notes carry the hit velocity", Flash("MIDI"), "45 43 64, 45 03 00, 45 41 64, 45 01 00",
         "+43, 90 03 64, -03, 90 03 00, +41, 90 01 64, -01, 90 01 00", ""},
        {"controllers send 127 and 0", Flash("CC"), "45 43 10, 45 03 00",
         "+43, B0 03 7F, -03, B0 03 00", ""},
        {"fixed velocity", Flash("MIDI", true), "45 41 64, 45 01 00",
         "+41, 90 01 7F, -01, 90 01 00", ""},
        {"other kinds light only", Flash("midi"), "45 43 64, 45 03 00", "+43, -03", ""},
        {"empty kind lights only", Flash(""), "45 43 64", "+43", ""},
        {"pad 0 and pad 15", Flash("MIDI"), "45 40 7F, 45 4F 01, 45 0F 00",
         "+40, 90 00 7F, +4F, 90 0F 01, -0F, 90 0F 00", ""},
        {"bank 1 pad 0 is 24", Flash("MIDI", false, 1), "45 40 22", "+40, 90 18 22", ""},
        {"bank 2 pad 15 is 63", Flash("MIDI", false, 2), "45 4F 22", "+4F, 90 3F 22", ""},
        {"bank 2 pad 15 controller 63", Flash("CC", false, 2), "45 4F 22, 45 0F 00",
         "+4F, B0 3F 7F, -0F, B0 3F 00", ""},
    });
}

TEST(Pads, ToggleLatches) {
    RunCases({
        {"controllers: 127 on, release silent, 0 off", Toggle("CC"),
         "45 45 33, 45 05 00, 45 45 33, 45 05 00", "+45, B0 05 7F, -45, B0 05 00", ""},
        {"notes carry the hit velocity", Toggle("MIDI"), "45 45 33, 45 05 00", "+45, 90 05 33",
         "5/0"},
        {"second hit ends the note", Toggle("MIDI"), "45 45 33, 45 45 21",
         "+45, 90 05 33, -45, 90 05 00", ""},
        {"fixed velocity", Toggle("MIDI", true), "45 45 33", "+45, 90 05 7F", "5/0"},
        {"other kinds latch and light only", Toggle("Cc"), "45 45 33", "+45", "5/0"},
    });
}

TEST(Pads, GroupsExcludeWithinOneBank) {
    RunCases({
        {"notes", Groups(kGroups, "MIDI", "CC"), "45 46 50", "-41, 90 01 00, +46, 90 06 50",
         "2/0 6/0 3/1"},
        {"second hit switches the pad off", Groups(kGroups, "MIDI", "CC"),
         "45 46 50, 45 06 00, 45 46 50", "-41, 90 01 00, +46, 90 06 50, -46, 90 06 00", "2/0 3/1"},
        {"controllers carry the velocity", Groups(kGroups, "CC"), "45 46 50",
         "-41, B0 01 00, +46, B0 06 50", "2/0 6/0 3/1"},
        {"anything but MIDI is controllers", Groups(kGroups, ""), "45 46 50",
         "-41, B0 01 00, +46, B0 06 50", "2/0 6/0 3/1"},
        {"the other group keeps its own kind", Groups(kGroups, "CC"), "45 42 11", "-42, 90 02 00",
         "1/0 3/1"},
        {"hitting the lit pad itself", Groups(kGroups, "MIDI"), "45 41 50", "-41, 90 01 00",
         "2/0 3/1"},
        {"fixed velocity", Groups("6/0 CN1", "MIDI", "MIDI", "MIDI", true), "45 46 50",
         "+46, 90 06 7F", "6/0"},
        {"bank 1: other pads are named in hit form, numbers shifted by 24",
         Groups("0/1 CN3*, 15/1 CN3, 0/0 CN3*", "CC", "CC", "MIDI", false, 1), "45 4F 7E",
         "-40, 90 18 00, +4F, 90 27 7E", "0/0 15/1"},
        {"several lit pads go off in ascending order",
         Groups("9/0 CN2*, 2/0 CN2*, 5/0 CN2", "MIDI", "CC"), "45 45 01",
         "-42, B0 02 00, -49, B0 09 00, +45, B0 05 01", "5/0"},
        {"a release does nothing", Groups("5/0 CN1*", "MIDI"), "45 05 00", "", "5/0"},
        {"a look-alike group latches and excludes within its own text, silently",
         Groups("1/0 CNX*, 2/0 CNX, 3/0 CN1*", "MIDI"), "45 42 40", "-41, +42", "2/0 3/0"},
        {"a longer mode sends by its first three characters",
         Groups("1/0 CN1X*, 2/0 CN1X, 3/0 CN1*", "MIDI"), "45 42 40",
         "-41, 90 01 00, +42, 90 02 40", "2/0 3/0"},
    });
}

TEST(Pads, TrackSendsFixedValuesAndLeavesTheLed) {
    RunCases({
        {"notes", Track("MIDI"), "45 47 05, 45 07 00", "90 37 7F, 90 37 00", ""},
        {"notes, any letter case", Track("mIdI"), "45 47 05, 45 07 00", "90 37 7F, 90 37 00", ""},
        {"controllers", Track("CC"), "45 47 05, 45 07 00", "B0 37 7F, B0 37 00", ""},
        {"anything else is controllers", Track(""), "45 47 05", "B0 37 7F", ""},
    });
}

TEST(Pads, FeedbackPadsPlayOnlyWhileActive) {
    const char* both = "45 48 40, 45 08 00";
    RunCases({
        {"inactive", Feedback(false, false, "MIDI"), both, "", ""},
        {"always active, state off", Feedback(false, true, "MIDI"), both,
         "90 08 40, +48, 90 08 00, -08", ""},
        {"state on", Feedback(true, false, "MIDI"), both, "90 08 40, 90 08 00", "8/0"},
        {"state on and always active", Feedback(true, true, "MIDI"), both,
         "90 08 40, +48, 90 08 00", "8/0"},
        {"controllers carry the velocity", Feedback(true, false, "CC"), both, "B0 08 40, B0 08 00",
         "8/0"},
        {"notes, any letter case, any mode case", Feedback(true, false, "midi", false, "fDb"),
         "45 48 40", "90 08 40", "8/0"},
        {"anything else is controllers", Feedback(true, false, "x"), "45 48 40", "B0 08 40", "8/0"},
        {"fixed velocity", Feedback(true, false, "MIDI", true), "45 48 40", "90 08 7F", "8/0"},
    });
}

TEST(Pads, UnknownModesDoNothing) {
    for (const char* mode : {"flash", "toggle", ""}) {
        Started h;
        SetPad(h.main(), 3, 0, mode);
        h.main().strFlashMidiCC = h.main().strToggleMidiCC = "MIDI";
        Reports(h, "45 43 64, 45 03 00");
        EXPECT_TRUE(h.wire().empty()) << mode;
        EXPECT_EQ(Lit(h.main()), "");
    }
}

// With a mode button held a hit gives the pad that mode and lights it, a second hit makes it
// "FLASH" and dark; no MIDI either time, releases do nothing, other banks are not touched.
TEST(Pads, HeldModeAssignsAndTakesBack) {
    for (const char* held : {"TOGGLE", "CN1", "CN2", "CN3", "FDB", "TRK"}) {
        SCOPED_TRACE(held);
        Started h;
        ControllerEngine& w = h.main();
        w.intCurrentBank = 1;
        w.strButtonMode = held;
        w.strFlashMidiCC = w.strToggleMidiCC = w.strCN1MidiCC = w.strTRKMidiCC = "MIDI";
        Reports(h, "45 44 20, 45 04 00");
        EXPECT_EQ(h.wire(), W("+44"));
        EXPECT_EQ(w.strPadMode[4][1], held);
        EXPECT_EQ(w.vPadStateSaved[4][1],
                  std::string(held) == "TRK" ? std::optional<bool>(true) : std::nullopt);
        EXPECT_EQ(w.strPadMode[4][0], "FLASH");
        EXPECT_EQ(w.strPadMode[4][2], "FLASH");

        h.clear();
        w.bPadState[4][1] = true;
        Reports(h, "45 44 20, 45 04 00");
        EXPECT_EQ(h.wire(), W("-44"));
        EXPECT_EQ(w.strPadMode[4][1], "FLASH");
        EXPECT_EQ(Lit(w), "");
        EXPECT_EQ(w.vPadStateSaved[4][1], std::optional<bool>(false));
    }
}

TEST(Pads, HeldModeReplacesAnotherModeAndOtherHeldTextsDoNothing) {
    Started h;
    ControllerEngine& w = h.main();
    SetPad(w, 4, 0, "CN2", true);
    w.strButtonMode = "CN1";
    h.report("45 44 20");
    EXPECT_EQ(h.wire(), W("+44"));
    EXPECT_EQ(w.strPadMode[4][0], "CN1");
    EXPECT_EQ(Lit(w), "4/0");
    for (const char* held : {"FLASH", "cn1", "X"}) {
        h.clear();
        w.strButtonMode = held;
        h.report("45 45 20");
        EXPECT_TRUE(h.wire().empty()) << held;
        EXPECT_EQ(w.strPadMode[5][0], "FLASH");
    }
}

TEST(Pads, NewTrackPadIsLitOnceTheViewEnds) {
    Started h;
    ControllerEngine& w = h.main();
    w.strButtonMode = "TRK";
    w.ZivUvozaro_ShowTRKPads("TRK", 0);
    h.report("45 4A 20");
    w.strButtonMode = "";
    w.ZivUvozaro_RecreatePadstate(0);
    EXPECT_EQ(Lit(w), "10/0");
    EXPECT_EQ(w.strPadMode[10][0], "TRK");
}

TEST(Pads, PadOutsideTheTablesIsIgnored) {
    Started h;
    for (const char* id : {"10", "3F", "50", "FF"})
        h.main().ZivUvozaro_PadPressed(id, true, "40");
    h.main().PadOnOff("40", true, 16, "40");
    h.main().PadOnOff("40", true, -1, "40");
    EXPECT_TRUE(h.wire().empty());
}

// A value no MIDI byte can carry (a jog-wheel setting of 300) is dropped and counted; the rest of
// the handler goes on and nothing ends.
TEST(Pads, MessageThatIsNoMidiIsDroppedAndCounted) {
    Started h;
    h.main().strJogWheelMode = "CC";
    h.main().intJogWheelLeft = 300;
    h.report("43 00 7F");
    EXPECT_EQ(h.host().calls[0], "HostSendMessage -1 176 299 127");
    EXPECT_EQ(h.wire().back(), W("[00 00 00 00 00|2D 2D 58]")[0]);
    EXPECT_EQ(h.host().Drops().outputInvalid, 1u);
    EXPECT_TRUE(h.messages().shown.empty());
    EXPECT_FALSE(h.window().Ending());
}

// Modes and states spread over the banks; bank 1 is the one viewed. A view saves the states of
// its bank only, and the restore brings them back silently.
TEST(PadViews, ShowOneModeOfOneBankAndRestore) {
    const struct {
        const char* name;
        std::function<void(ControllerEngine&)> view;
        const char* lit;
    } cases[] = {
        {"TOGGLE", [](ControllerEngine& w) { w.ZivUvozaro_ShowToggledPads(1); }, "0/0 1/1"},
        {"CN1", [](ControllerEngine& w) { w.ZivUvozaro_ShowCNPads("CN1", 1); }, "0/0 0/1 6/1"},
        {"CN2", [](ControllerEngine& w) { w.ZivUvozaro_ShowCNPads("CN2", 1); }, "0/0 2/1"},
        {"TRK", [](ControllerEngine& w) { w.ZivUvozaro_ShowTRKPads("TRK", 1); }, "0/0 3/1"},
        {"FDB", [](ControllerEngine& w) { w.ZivUvozaro_ShowFDBPads("FDB", 1); }, "0/0 4/1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Started h;
        ControllerEngine& w = h.main();
        SetPads(w, "0/0 CN1*, 0/1 CN1, 1/1 TOGGLE*, 2/1 CN2*, 3/1 TRK, 4/1 FDB, 5/1 fdb*, 6/1 CN1,"
                   "7/2 CN1");
        c.view(w);
        EXPECT_EQ(Lit(w), c.lit);
        for (int pad = 0; pad < ControllerState::kPads; ++pad) {
            EXPECT_EQ(w.vPadStateSaved[pad][1],
                      std::optional<bool>(pad == 1 || pad == 2 || pad == 5));
            EXPECT_FALSE(w.vPadStateSaved[pad][0].has_value());
            EXPECT_FALSE(w.vPadStateSaved[pad][2].has_value());
        }
        w.ZivUvozaro_RecreatePadstate(1);
        EXPECT_EQ(Lit(w), "0/0 1/1 2/1 5/1");
        EXPECT_TRUE(h.wire().empty());
    }
}

TEST(PadViews, RestoreWithoutViewSwitchesTheBankOff) {
    Started h;
    for (auto& pad : h.main().bPadState)
        pad.fill(true);
    h.main().ZivUvozaro_RecreatePadstate(2);
    for (const auto& pad : h.main().bPadState)
        EXPECT_EQ(pad, (std::array<bool, ControllerState::kBanks>{true, true, false}));
}
