#include "Kit.h"
#include "ui/SetupDoctor.h"
#include "ui/StatusArea.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {
LinkStatus Attached(std::vector<PortInfo> ports, uint32_t period = 128) {
    LinkStatus link;
    link.state = LinkStatus::State::Attached;
    link.sampleRate = 48000;
    link.period = period;
    link.ports = std::move(ports);
    return link;
}

// The hints as one text, each marked by what it says to type.
std::string Said(const LinkStatus& link) {
    std::string said;
    for (const std::string& hint : SetupHints(link)) {
        std::string marks;
        for (const char* command : {"a2jmidid -e", "-X seq", "Midi-Bridge", "21.3 ms", "-p 256",
                                    "PIPEWIRE_QUANTUM=256/48000 pw-jack orvan"})
            if (hint.find(command) != std::string::npos)
                marks += std::string(marks.empty() ? "" : ", ") + command;
        said += marks + ";";
    }
    return said;
}
} // namespace

TEST(SetupDoctor, SaysWhatToTypeForAMissingDeviceAndALongPeriod) {
    const PortInfo device{"system:midi_capture_1", true, true, false};
    const PortInfo daw{"daw:midi_in", false, false, false};
    const PortInfo otherOrvan{"orvan-01:controller_out", true, true, true};
    const std::string noDevice = "a2jmidid -e, -X seq, Midi-Bridge;";
    const std::string longPeriod = "21.3 ms, -p 256, PIPEWIRE_QUANTUM=256/48000 pw-jack orvan;";
    const struct {
        const char* name;
        LinkStatus link;
        std::string said;
    } cases[] = {
        {"a device", Attached({device}), ""},
        {"no port at all", Attached({}), noDevice},
        {"music software only", Attached({daw}), noDevice},
        {"only another Orvan", Attached({otherOrvan}), noDevice},
        {"bridged by a2jmidid", Attached({{"a2j:pads [20] (capture): pads", true, false}}), ""},
        {"PipeWire's bridge", Attached({{"Midi-Bridge:pads (capture): 0", true, false}}), ""},
        {"1024 frames", Attached({device}, 1024), longPeriod},
        {"256 frames", Attached({device}, 256), ""},
        {"both", Attached({}, 1024), noDevice + longPeriod},
        {"no server", LinkStatus{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Said(c.link), c.said) << c.name;
}

TEST(SetupDoctor, LoadInWords) {
    EXPECT_EQ(LoadText({}), "not attached");
    EXPECT_EQ(LoadText({0, 3.4f}), "DSP load 3 %, no late cycles (xruns) since Orvan started");
    EXPECT_EQ(LoadText({1, 0}), "DSP load 0 %, 1 late cycle (xrun) since Orvan started");
    EXPECT_EQ(LoadText({12, 57.5f}), "DSP load 58 %, 12 late cycles (xruns) since Orvan started");
}

// In the window: shown as the graph is, gone once a device appears.
TEST(SetupDoctor, TheStatusAreaShowsTheHints) {
    Started h;
    h.host().link = Attached({}, 1024);
    h.window().RefreshLink();
    const QLabel* doctor = h.window().statusArea->doctor;
    EXPECT_FALSE(doctor->isHidden());
    EXPECT_NE(doctor->text().indexOf(QStringLiteral("a2jmidid -e")), -1);
    EXPECT_NE(doctor->text().indexOf(QStringLiteral("PIPEWIRE_QUANTUM")), -1);
    h.host().link = Attached({{"system:midi_capture_1", true, true, false}});
    h.window().RefreshLink();
    EXPECT_TRUE(doctor->isHidden());
}
