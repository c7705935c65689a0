#include "settings/SettingKeys.h"

#include "engine/UCase.h"
#include "settings/FirstRunValues.h"
#include "settings/TextNumber.h"

#include <cmath>

using S = ControllerSettings;
using K = SettingKind;

const std::array<ConfigKey, 24> kConfig = {{
    {key::AssignToggled, nullptr, K::Flag, "0", true, true, &S::bAssignToggled},
    {key::FixedVelocity, nullptr, K::Flag, "0", true, true, &S::bFixedVelocity},
    {key::KnobSends, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strKnobMode},
    {key::JogWheelSends, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strJogWheelMode},
    {key::CN1Mode, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strCN1MidiCC},
    {key::CN2Mode, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strCN2MidiCC},
    {key::CN3Mode, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strCN3MidiCC},
    {key::FDBMode, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strFDBMidiCC},
    {key::ToggleMode, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strToggleMidiCC},
    {key::FlashMode, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strFlashMidiCC},
    {key::BankSelectMode, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strBankSelectMidiCC},
    {key::TRKMode, nullptr, K::Sends, "MIDI", true, true, nullptr, &S::strTRKMidiCC},
    {key::GlobalChannel, nullptr, K::Channel, "1", true, true, nullptr, nullptr,
     &S::intMidiChannel},
    {key::JogWheelLeft, nullptr, K::Number, "40", true, true, nullptr, nullptr,
     &S::intJogWheelLeft},
    {key::JogWheelRight, "JogWheelright", K::Number, "41", true, true, nullptr, nullptr,
     &S::intJogWheelRight},
    {key::XYPadTap, "XYpadTap", K::Flag, "0", true, false, &S::bXYPadTap},
    {key::FdbPadsAlwaysActive, nullptr, K::Flag, "0", false, false, &S::bFdbPadsAlwaysActive},
    {key::SceneChannel, nullptr, K::SceneChannel, "Off", true, false, nullptr, nullptr,
     &S::intSceneChannel},
    {key::NoteRepeatControl, nullptr, K::RepeatControl, "Off", true, false, nullptr, nullptr,
     &S::intRepeatControl},
    {key::NoteRepeatRate, nullptr, K::RepeatRate, "1/16", true, false, nullptr, nullptr,
     &S::intRepeatRate},
    {key::NoteRepeatSwing, nullptr, K::Percent, "0", true, false, nullptr, nullptr,
     &S::intRepeatSwing},
    {key::NoteRepeatGate, nullptr, K::Percent, "50", true, false, nullptr, nullptr,
     &S::intRepeatGate},
    {key::OwnTempo, nullptr, K::Tempo, "120", true, false, nullptr, nullptr, &S::intOwnTempo},
    {key::TapTempoControl, nullptr, K::RepeatControl, "Off", true, false, nullptr, nullptr,
     &S::intTapTempoControl},
}};

static_assert(kFirstRunChannel == 1 && kFirstRunJogWheelLeft == 40 && kFirstRunJogWheelRight == 41);

const ConfigKey* FindConfigKey(std::string_view name) {
    const auto wanted = UCase(name);
    for (const ConfigKey& key : kConfig)
        if (UCase(key.name) == wanted.view() ||
            (key.historic && UCase(key.historic) == wanted.view()))
            return &key;
    return nullptr;
}

namespace {
// The rates as a chooser lists them: straight, then triplets.
constexpr int16_t kRateOrder[] = {4, 8, 16, 32, 6, 12, 24, 48};
constexpr int16_t kControls = static_cast<int16_t>(RepeatControl::NoteButton) + kRepeatNoteButtons;

std::optional<int16_t> rateOf(std::string_view text) {
    const auto upper = UCase(text);
    for (const int16_t rate : kRateOrder)
        if (UCase(RepeatRateText(rate).view()) == upper.view())
            return rate;
    return std::nullopt;
}

// "Off", "Pedal" or "Note button 1".."Note button 6".
std::string controlText(int16_t control) {
    if (control == static_cast<int16_t>(RepeatControl::Pedal))
        return "Pedal";
    const int button = control - static_cast<int16_t>(RepeatControl::NoteButton);
    return button >= 0 && button < kRepeatNoteButtons ? "Note button " + std::to_string(button + 1)
                                                      : "Off";
}

std::optional<int16_t> controlOf(std::string_view text) {
    const auto upper = UCase(text);
    for (int16_t control = 0; control < kControls; ++control)
        if (UCase(controlText(control)) == upper.view())
            return control;
    return std::nullopt;
}

// A decimal in [lo, hi], kept as a whole number of 1/scale; stored files write "." as the
// separator, the user may type the locale's.
std::optional<int16_t> scaledOf(std::string_view text, double lo, double hi, int scale) {
    auto number = NumberOfText(text);
    if (!number)
        number = NumberOfText(text, ".");
    if (!number || *number < lo || *number > hi)
        return std::nullopt;
    return static_cast<int16_t>(std::lround(*number * scale));
}

std::string scaledText(int value, int scale) {
    std::string text = std::to_string(value / scale);
    if (const int rest = value % scale; rest != 0) {
        std::string digits = std::to_string(rest + scale).substr(1);
        while (digits.back() == '0')
            digits.pop_back();
        text += "." + digits;
    }
    return text;
}

std::optional<int16_t> channelOf(std::string_view text) {
    const auto channel = IntegerOfText(text);
    if (!channel || *channel < 1 || *channel > 16)
        return std::nullopt;
    return static_cast<int16_t>(*channel - 1);
}
} // namespace

bool ApplySettingText(const ConfigKey& key, std::string_view text, ControllerSettings& s) {
    switch (key.kind) {
    case K::Flag:
        if (text != "1" && text != "0")
            return false;
        s.*key.flag = text == "1";
        return true;
    case K::Sends: {
        const auto sends = UCase(text);
        if (sends != "MIDI" && sends != "CC")
            return false;
        s.*key.sends = sends.view();
        return true;
    }
    case K::Channel:
    case K::SceneChannel: {
        const bool off = key.kind == K::SceneChannel && UCase(text) == "OFF";
        const auto channel = channelOf(text);
        if (!off && !channel)
            return false;
        s.*key.number = off ? int16_t{-1} : *channel;
        return true;
    }
    case K::Number: {
        const auto number = IntegerOfText(text);
        if (!number)
            return false;
        s.*key.number = *number;
        return true;
    }
    case K::RepeatControl: {
        const auto control = controlOf(text);
        if (!control)
            return false;
        s.*key.number = *control;
        return true;
    }
    case K::RepeatRate:
    case K::Percent:
    case K::Tempo: {
        const auto value = key.kind == K::RepeatRate ? rateOf(text)
                           : key.kind == K::Percent
                               ? scaledOf(text, 0, 100, 10)
                               : scaledOf(text, kSlowestTempo, kFastestTempo, 100);
        if (!value)
            return false;
        s.*key.number = *value;
        return true;
    }
    }
    return false;
}

std::string SettingTextOf(const ConfigKey& key, const ControllerSettings& s) {
    switch (key.kind) {
    case K::Flag:
        return s.*key.flag ? "1" : "0";
    case K::Sends:
        return (s.*key.sends).str();
    case K::Channel:
        return std::to_string(s.*key.number + 1);
    case K::SceneChannel:
        return s.*key.number < 0 ? "Off" : std::to_string(s.*key.number + 1);
    case K::Number:
        return std::to_string(s.*key.number);
    case K::RepeatControl:
        return controlText(s.*key.number);
    case K::RepeatRate:
        return std::string(RepeatRateText(s.*key.number).view());
    case K::Percent:
        return scaledText(s.*key.number, 10);
    case K::Tempo:
        return scaledText(s.*key.number, 100);
    }
    return {};
}

std::vector<std::string> SettingChoices(const ConfigKey& key) {
    std::vector<std::string> choices;
    if (key.kind == K::RepeatRate)
        for (const int16_t rate : kRateOrder)
            choices.emplace_back(RepeatRateText(rate).view());
    if (key.kind == K::RepeatControl)
        for (int16_t control = 0; control < kControls; ++control)
            choices.push_back(controlText(control));
    return choices;
}
