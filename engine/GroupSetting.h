#pragma once

#include "engine/ControllerState.h"

#include <string_view>

// The output kind of a latching group, by the first three characters of the mode; none for a
// mode that only looks like a group.
inline const SettingText* GroupSetting(const ControllerSettings& s, std::string_view mode) {
    const std::string_view group = mode.substr(0, 3);
    if (group == "CN1")
        return &s.strCN1MidiCC;
    if (group == "CN2")
        return &s.strCN2MidiCC;
    if (group == "CN3")
        return &s.strCN3MidiCC;
    return nullptr;
}
