#pragma once

#include "engine/Mapping.h"
#include "engine/PadRecall.h"

#include <string>
#include <string_view>
#include <variant>

// A whole setup: what every control sends, the modes and states of the pads of all three banks,
// and the values "Config" edits. Its file is TOML, written by hand or by Orvan:
//
//   name = "Kit A"
//   channel = 10                          # the global channel
//   velocity = "soft"                     # the default shape of every pad
//   [config]                              # any value "Config" edits, by its stored name
//   KnobSends = "CC"
//   [bank1]
//   pad1 = { note = 36, mode = "TOGGLE", lit = true, velocity = "fixed 100", channel = 2 }
//   [knobs]                               # knob1, knob2: { cc = N }
//   [xypad]                               # x, y: { cc = N }
//   [jogwheel]                            # left, right: { note = N } or { cc = N }
//   [pedal]                               # note, cc or program, and channel
struct Scene {
    std::string name;
    Mapping mapping;
    PadRecall pads; // every pad's mode and state is set
};

// The scene a file holds, starting from the given "Config" values, which the file's own replace;
// a pad it does not name is a dark "FLASH" pad. Anything it cannot use refuses it whole, with a
// text that names the source, the line and the key.
std::variant<Scene, std::string> ParseScene(std::string_view text, const std::string& source,
                                            const ControllerSettings& config);

// The file text of a scene, which ParseScene reads back to the same scene.
std::string SceneText(const Scene& scene);
