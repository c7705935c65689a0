#include "ui/StatusTexts.h"
#include "settings/SettingKeys.h"

#include <cstdio>

namespace {
std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}
} // namespace

std::string ServerText(const LinkStatus& link) {
    switch (link.state) {
    case LinkStatus::State::Attached: {
        char detail[96];
        std::snprintf(detail, sizeof detail, ": attached, %u Hz, %u frames (%.1f ms)",
                      link.sampleRate, link.period,
                      link.sampleRate ? link.period * 1000.0 / link.sampleRate : 0.0);
        return link.server + detail;
    }
    case LinkStatus::State::Lost:
        return link.server + ": lost; waiting for it to come back";
    case LinkStatus::State::Waiting:
        break;
    }
    return link.server + ": not running; waiting for it";
}

std::string AttachmentText(const LinkStatus& link) {
    switch (link.state) {
    case LinkStatus::State::Attached:
        return "Attached as " + link.client;
    case LinkStatus::State::Lost:
        return "Server lost; waiting for it";
    case LinkStatus::State::Waiting:
        break;
    }
    return "Waiting for the server";
}

std::string ConnectionText(const std::vector<std::string>& from,
                           const std::vector<std::string>& to) {
    if (from.empty() && to.empty())
        return "not connected";
    if (from.empty())
        return "one way: Orvan sends to " + joined(to) + ", nothing comes back";
    if (to.empty())
        return "one way: " + joined(from) + " sends to Orvan, nothing goes back";
    return "both ways: " + joined(from) + " in, " + joined(to) + " out";
}

std::string NativeModeText(const EngineSnapshot& engine, bool controllerConnected, bool pending) {
    if (pending)
        return "pending: entered once the JACK server is attached";
    if (!engine.nativeMode)
        return "off";
    if (!controllerConnected)
        return "on, waiting for the controller";
    return "on, bank " + std::to_string(engine.state.intCurrentBank + 1) + ", channel " +
           std::to_string(engine.state.intMidiChannel + 1);
}

std::string DropsText(const DropCounts& drops) {
    if (drops.total() == 0)
        return "none";
    std::string why;
    const auto add = [&why](uint64_t count, const char* reason) {
        if (count > 0)
            why += (why.empty() ? "" : ", ") + std::to_string(count) + " " + reason;
    };
    add(drops.inputOversize, "too long");
    add(drops.inputMerged, "merged while waiting");
    add(drops.inputHeld, "no room to wait");
    add(drops.inputQueue, "no room on the way in");
    add(drops.outputFull, "no room on the way out");
    add(drops.outputInvalid, "not valid MIDI");
    return std::to_string(drops.total()) + " messages (" + why + ")";
}

std::string RepeatText(const ControllerState& state) {
    const NoteRepeatState& r = state.noteRepeat;
    std::string text = r.On() ? "on, " : "off, ";
    text += SettingTextOf(*FindConfigKey(key::NoteRepeatRate), state) + ", ";
    if (!r.transport.rolling)
        return text + "own tempo " + SettingTextOf(*FindConfigKey(key::OwnTempo), state) + " BPM";
    char bpm[32];
    std::snprintf(bpm, sizeof bpm, "%.6g", r.transport.beatsPerMinute);
    return text + "transport master " + bpm + " BPM";
}
