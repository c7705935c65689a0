#include "settings/SettingKeys.h"

#include "engine/UCase.h"
#include "settings/FirstRunValues.h"
#include "settings/TextNumber.h"

using S = ControllerSettings;
using K = SettingKind;

const std::array<ConfigKey, 18> kConfig = {{
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
    }
    return {};
}
