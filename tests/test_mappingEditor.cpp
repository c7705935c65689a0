// The window's mapping and its editor: what the player sets on screen is what the engine sends.
#include "Kit.h"

#include <gtest/gtest.h>

TEST(MappingEditor, AppliedMappingIsKeptAndPlayed) {
    Started h;
    h.main().strFlashMidiCC = "MIDI";
    Mapping mapping;
    mapping.pads[1][0].message = {MessageKind::Note, 36, 9};
    h.window().ApplyMapping(mapping);
    EXPECT_EQ(h.window().CurrentMapping(), mapping);
    Reports(h, "45 41 64, 45 01 00");
    EXPECT_EQ(h.wire(), W("+41, 99 24 64, -01, 99 24 00"));
}
