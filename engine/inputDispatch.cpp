#include "engine/ControllerEngine.h"
#include "engine/Feedback.h"
#include "engine/HexText.h"
#include "engine/NativeMessages.h"
#include "engine/ReportValue.h"

namespace {
// Payload positions (0-based) of the report kind and the two value bytes.
std::string_view kindOf(std::string_view payload) {
    return payload.substr(0, 2);
}
std::string_view byte7(std::string_view payload) {
    return payload.substr(3, 2);
}
std::string_view byte8(std::string_view payload) {
    return ReportValueText(payload);
}

// A pad byte names one of the 16 pads: 00..0F on release, 40..4F on a hit.
bool isPadByte(std::string_view text) {
    if (!IsHexPair(text))
        return false;
    const int32_t v = HextoDec(text);
    return v <= 0x0F || (v >= native::kPadHitForm && v <= native::kPadHitForm + 0x0F);
}

// A report without its header, from character 16 on, trailing blanks removed.
std::string_view reportPayload(std::string_view sysEx) {
    std::string_view payload = sysEx.size() > 15 ? sysEx.substr(15) : std::string_view();
    while (!payload.empty() && payload.back() == ' ')
        payload.remove_suffix(1);
    return payload;
}

// Kind, blank, byte 7, blank, byte 8: anything shorter does not carry a value to read, and
// neither does a report whose end byte comes in place of byte 7 or 8.
constexpr size_t kMinPayload = 8;
bool carriesValues(std::string_view payload) {
    return payload.size() >= kMinPayload && byte7(payload) != "F7" && byte8(payload) != "F7";
}
} // namespace

HeldKind ControllerEngine::HeldKindOf(const HostInput& input) {
    if (!input.sysEx) {
        if (input.data1 == native::kXYPadX)
            return HeldKind::XYPadX;
        return input.data1 == native::kXYPadY ? HeldKind::XYPadY : HeldKind::Press;
    }
    std::string_view payload = reportPayload(input.text);
    if (!input.text.starts_with(native::kHeader) || !carriesValues(payload))
        return HeldKind::Press;
    const std::string_view kind = kindOf(payload);
    const bool pressed = byte8(payload) == "7F";
    if (kind == native::kKnobReport)
        return byte7(payload) == "00" ? HeldKind::Knob1 : HeldKind::Knob2;
    if (kind == native::kJogWheelReport)
        return pressed ? HeldKind::JogLeft : HeldKind::JogRight;
    if (kind == native::kPadReport)
        return isPadByte(byte7(payload)) && HextoDec(byte7(payload)) < 0x28 ? HeldKind::Release
                                                                            : HeldKind::Press;
    if (kind == native::kButtonReport || kind == native::kPedalReport)
        return pressed ? HeldKind::Press : HeldKind::Release;
    return HeldKind::Press;
}

Task ControllerEngine::mWire_SysExInput(std::string_view bstrSysEx) {
    if (bInitialising)
        return {};
    return AnalyzeSysExInput(bstrSysEx);
}

Task ControllerEngine::AnalyzeSysExInput(std::string_view bstrSysEx) {
    if (!bstrSysEx.starts_with(native::kHeader))
        return {};
    return ZivUvozaroSysExIn(reportPayload(bstrSysEx));
}

// Pad and pedal reports are handled at once; the handlers of buttons, knobs and the jog wheel may
// wait, and are handed back to the caller when they do.
Task ControllerEngine::ZivUvozaroSysExIn(std::string_view bstrSysEx) {
    if (!carriesValues(bstrSysEx))
        return {};
    const std::string_view kind = kindOf(bstrSysEx);
    if (kind == native::kPadReport) {
        const std::string_view p = byte7(bstrSysEx);
        if (!isPadByte(p))
            return {};
        if (HextoDec(p) < 0x28)
            ZivUvozaro_PadPressed(p, false, "");
        else
            ZivUvozaro_PadPressed(p, true, bFixedVelocity ? "7F" : byte8(bstrSysEx));
    } else if (kind == native::kButtonReport) {
        const std::string_view s = byte7(bstrSysEx);
        if (s != "20")
            return ZivUvozaro_ButtonMatrix(s, byte8(bstrSysEx) == "7F");
    } else if (kind == native::kKnobReport) {
        return ZivUvozaro_CheckKnobTwist(bstrSysEx, byte7(bstrSysEx) == "00" ? 1 : 2);
    } else if (kind == native::kJogWheelReport) {
        return ZivUvozaro_JogWheel(bstrSysEx);
    } else if (kind == native::kPedalReport) {
        const bool down = byte8(bstrSysEx) == "7F";
        if (TakeRepeatControl(RepeatControl::Pedal, down))
            return {};
        if (mapping.pedal.Set())
            SendMapped(mapping.pedal, down ? 127 : 0);
        else if (down)
            SendNoteOn(64);
        else
            SendNoteOff(64);
    }
    return {};
}

void ControllerEngine::mWire_MidiInput(int32_t /*nTimestamp*/, int32_t /*port*/, int32_t Status,
                                       int32_t data1, int32_t data2) {
    // A fixed trigger, always on channel 1.
    if (data2 > 100 && data1 == 81) {
        for (int32_t controller : {88, 87, 86, 85})
            Wire().HostSendMessage(-1, 0xB0, controller, 127);
    }

    if (data1 == native::kXYPadX || data1 == native::kXYPadY) {
        if (bXYPadTap)
            ZivUvozaroXYTap(data1, data2);
        else
            ZivUvozaroXYMove(data1, data2);
    }

    // A program change on the scene channel asks the window for a scene.
    if ((Status & 0xF0) == 0xC0 && (Status & 0x0F) == intSceneChannel) {
        ++sceneRequests;
        sceneProgram = static_cast<int16_t>(data1);
    }
    ForEachFeedbackTarget(*this, Status, data1, data2, [this](const FeedbackTarget& target) {
        ProcessFeedBack(target.bank, target.pad, target.value);
    });
}

void ControllerEngine::ProcessFeedBack(int16_t intBank, int32_t lData1, int32_t lData2) {
    if (!TakesFeedback(strPadMode[lData1][intBank]))
        return;
    // While a mode view shows this bank, the pad's own state is the one kept aside for the view.
    const bool on = lData2 >= kFeedbackLit;
    if (!strButtonMode.empty() && intBank == intCurrentBank)
        vPadStateSaved[lData1][intBank] = on;
    else
        bPadState[lData1][intBank] = on;
    ZivUvozaro_SetLights();
}
