// The window's mapping and its editor: what the player sets on screen is what the engine sends.
#include "FreshStore.h"
#include "Kit.h"
#include "ViewMouse.h"
#include "ui/MappingEditor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>

namespace {
using Part = ControllerLayout::Part;
using Edit = std::function<void(MappingEditor&)>;

// A started window with its editor open, pads sending notes.
struct Editing : Started {
    MappingEditor& editor;
    Editing() : editor(*window().mappingEditor) {
        main().strFlashMidiCC = "MIDI";
        window().btnMapping->setChecked(true);
        window().controllerView->resize(800, 466);
    }
    // What the window takes from the engine now.
    void refresh() {
        settle();
        window().RefreshFromHost();
    }
};

Edit Sends(int kind, int number, int channel = 0) {
    return [=](MappingEditor& e) {
        e.kindBox->setCurrentIndex(kind);
        e.numberBox->setValue(number);
        e.channelBox->setCurrentIndex(channel);
    };
}
} // namespace

TEST(MappingEditor, EditsPlayFromTheNextHit) {
    const MappedControl pad1{MappedControl::Pad, 0, 0};
    const struct {
        const char* name;
        MappedControl control;
        std::vector<Edit> edits;
        const char* reports;
        const char* wire;
    } cases[] = {
        {"note on its own channel",
         pad1,
         {Sends(1, 36, 10)},
         "45 40 64, 45 00 00",
         "+40, 99 24 64, -00, 99 24 00"},
        {"control change",
         pad1,
         {Sends(2, 20)},
         "45 40 64, 45 00 00",
         "+40, B0 14 7F, -00, B0 14 00"},
        {"program change", pad1, {Sends(3, 5, 2)}, "45 40 64, 45 00 00", "+40, C1 05 00, -00"},
        {"back to built-in", pad1, {Sends(1, 36), Sends(0, 36)}, "45 40 64", "+40, 90 00 64"},
        {"own fixed velocity",
         pad1,
         {Sends(1, 38), [](MappingEditor& e) { e.ownShape->setChecked(true); },
          [](MappingEditor& e) { e.fixedBox->setValue(100); }},
         "45 40 20",
         "+40, 90 26 64"},
        {"default threshold ignores soft hits",
         pad1,
         {[](MappingEditor& e) { e.thresholdBox->setValue(50); }},
         "45 40 20, 45 41 60",
         "+41, 90 01 60"},
        {"knob 1", {MappedControl::Knob, 0}, {Sends(2, 74)}, "49 00 30", "B0 4A 30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Editing h;
        h.editor.select(c.control);
        for (const Edit& edit : c.edits)
            edit(h.editor);
        Reports(h, c.reports);
        EXPECT_EQ(h.wire(), W(c.wire));
        EXPECT_EQ(h.window().CurrentMapping(), h.main().mapping);
    }
    Editing h;
    Sends(1, 36, 10)(h.editor);
    Sends(0, 36, 10)(h.editor);
    EXPECT_EQ(h.window().CurrentMapping(), Mapping{}) << "built-in again is no mapping";
}

TEST(MappingEditor, PadMenuSetsTheModeInPlainWords) {
    const struct {
        const char* words;
        const char* mode;
    } cases[] = {{"Momentary", "FLASH"},    {"Toggle", "TOGGLE"}, {"Group 1", "CN1"},
                 {"Group 2", "CN2"},        {"Group 3", "CN3"},   {"Fixed 127", "TRK"},
                 {"Lit by feedback", "FDB"}};
    Editing h;
    SetPad(h.main(), 5, 0, "TRK");
    const auto menu = h.window().controllerView->padModeMenu(5);
    ASSERT_EQ(menu->actions().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        QAction* action = menu->actions()[static_cast<qsizetype>(i)];
        EXPECT_EQ(action->text().toStdString(), cases[i].words);
        action->trigger();
        h.settle();
        EXPECT_EQ(h.main().strPadMode[5][0], cases[i].mode);
    }
}

TEST(MappingEditor, LearnTakesTheNextNoteOrControllerFromTheMusicSoftware) {
    const MappedControl pad3{MappedControl::Pad, 2, 1}, knob1{MappedControl::Knob, 0};
    const struct {
        MappedControl control;
        std::array<int, 3> fromDaw;
        MappedMessage learned;
        bool stillArmed;
    } cases[] = {
        {pad3, {0x99, 38, 100}, {MessageKind::Note, 38, 9}, false},
        {pad3, {0x83, 40, 0}, {MessageKind::Note, 40, 3}, false},
        {pad3, {0xB2, 20, 5}, {MessageKind::Control, 20, 2}, false},
        {pad3, {0xC0, 5, 0}, {}, true},
        {knob1, {0xB0, 74, 5}, {MessageKind::Control, 74, 0}, false},
        {knob1, {0x90, 36, 5}, {}, true}, // a knob sends no notes
    };
    for (const auto& c : cases) {
        Editing h;
        h.editor.select(c.control);
        h.editor.learn->setChecked(true);
        h.host().raiseMidiInput(c.fromDaw[0], c.fromDaw[1], c.fromDaw[2]);
        h.refresh();
        h.settle();
        EXPECT_EQ(MessageOf(h.window().CurrentMapping(), c.control), c.learned) << c.fromDaw[0];
        EXPECT_EQ(h.editor.learn->isChecked(), c.stillArmed);
        EXPECT_EQ(h.main().mapping, h.window().CurrentMapping());
    }
}

TEST(MappingEditor, ClickOrTouchSelectsTheControl) {
    const struct {
        const char* name;
        std::function<void(Editing&)> touch;
        MappedControl selected;
    } cases[] = {
        {"pad clicked",
         [](Editing& h) {
             Click(*h.window().controllerView, Centre({Part::Pad, 9}));
         },
         {MappedControl::Pad, 9, 0}},
        {"knob clicked",
         [](Editing& h) {
             Click(*h.window().controllerView, Centre({Part::Knob, 1}));
         },
         {MappedControl::Knob, 1}},
        {"pedal clicked",
         [](Editing& h) { Click(*h.window().controllerView, Centre({Part::Pedal})); },
         {MappedControl::Pedal}},
        {"pad hit on the controller",
         [](Editing& h) { h.report("45 47 64"); },
         {MappedControl::Pad, 7, 0}},
        {"jog wheel turned left",
         [](Editing& h) { h.report("43 00 7F"); },
         {MappedControl::JogLeft}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Editing h;
        h.editor.select({MappedControl::Pad, 15, 2});
        c.touch(h);
        h.refresh();
        EXPECT_EQ(h.editor.selected(), c.selected);
        EXPECT_EQ(h.editor.controlBox->currentText().toStdString(),
                  h.editor.controlBox
                      ->itemText(c.selected.kind == MappedControl::Pad
                                     ? c.selected.index
                                     : h.editor.controlBox->currentIndex())
                      .toStdString());
    }
}

TEST(MappingEditor, ControllerMessagesThatSelect) {
    const struct {
        Bytes message;
        std::optional<MappedControl> touched; // in bank 2
    } cases[] = {
        {{0xB0, 126, 1}, MappedControl{MappedControl::XYPadX}},
        {{0xB0, 127, 1}, MappedControl{MappedControl::XYPadY}},
        {{0xB0, 125, 1}, std::nullopt},
        {MessageBytes("F0 42 40 6E 08 45 4F 10 F7"), MappedControl{MappedControl::Pad, 15, 2}},
        {MessageBytes("F0 42 40 6E 08 45 0F 00 F7"), std::nullopt}, // a release
        {MessageBytes("F0 42 40 6E 08 49 01 10 F7"), MappedControl{MappedControl::Knob, 1}},
        {MessageBytes("F0 42 40 6E 08 47 00 7F F7"), MappedControl{MappedControl::Pedal}},
        {MessageBytes("F0 42 40 6E 08 48 00 7F F7"), std::nullopt}, // a button
    };
    for (const auto& c : cases)
        EXPECT_EQ(TouchedControl(c.message, 2), c.touched) << int(c.message[1]);
}

TEST(MappingEditor, MappedPadLegendShowsItsMessage) {
    const struct {
        MappedMessage message;
        const char* legend;
    } cases[] = {
        {{MessageKind::Note, 36, 9}, "C1 36 ch10"},
        {{MessageKind::Control, 20}, "CC 20"},
        {{MessageKind::Program, 5}, "PC 5"},
        {{}, "note 0"},
    };
    for (const auto& c : cases) {
        Editing h;
        Mapping mapping;
        mapping.pads[0][0].message = c.message;
        h.window().ApplyMapping(mapping);
        h.refresh();
        EXPECT_EQ(h.window().controllerView->legend(0).sends(), c.legend);
    }
}

TEST(MappingEditor, ShowsALoadedScene) {
    FreshStore store;
    Editing h;
    const std::string file = store.folder() + "/kit.toml";
    std::ofstream(file) << "name = \"Kit A\"\n[bank1]\npad1 = { note = 36 }\n";
    ASSERT_EQ(h.window().LoadScene(file), "");
    EXPECT_EQ(h.editor.kindBox->currentText().toStdString(), "Note");
    EXPECT_EQ(h.editor.numberBox->value(), 36);
}
