#include "settings/Scene.h"

#include "engine/UCase.h"
#include "settings/SettingKeys.h"

#include <toml++/toml.h>

#include <algorithm>
#include <array>
#include <optional>
#include <sstream>

namespace {
// Why a file is refused: where, which key, what is wrong.
struct Refusal {
    uint32_t line;
    std::string key;
    std::string message;
};

[[noreturn]] void refuse(const toml::node& at, const std::string& key, const std::string& why) {
    throw Refusal{at.source().begin.line, key, why};
}

int64_t numberIn(const toml::node& node, const std::string& key, int64_t low, int64_t high) {
    const std::optional<int64_t> value = node.value_exact<int64_t>();
    if (!value || *value < low || *value > high)
        refuse(node, key,
               "must be a whole number from " + std::to_string(low) + " to " +
                   std::to_string(high));
    return *value;
}

std::string textIn(const toml::node& node, const std::string& key) {
    const std::optional<std::string> text = node.value_exact<std::string>();
    if (!text)
        refuse(node, key, "must be a text in quotes");
    return *text;
}

const toml::table& tableIn(const toml::node& node, const std::string& key) {
    const toml::table* table = node.as_table();
    if (!table)
        refuse(node, key, "must be a table, like { note = 36 }");
    return *table;
}

// The pad modes by their stored names and their plain words.
constexpr std::array<std::pair<std::string_view, std::string_view>, 14> kModes = {{
    {"FLASH", "FLASH"},
    {"MOMENTARY", "FLASH"},
    {"TOGGLE", "TOGGLE"},
    {"TGL", "TOGGLE"},
    {"CN1", "CN1"},
    {"GROUP 1", "CN1"},
    {"CN2", "CN2"},
    {"GROUP 2", "CN2"},
    {"CN3", "CN3"},
    {"GROUP 3", "CN3"},
    {"TRK", "TRK"},
    {"FIXED 127", "TRK"},
    {"FDB", "FDB"},
    {"LIT BY FEEDBACK", "FDB"},
}};

constexpr std::array<std::string_view, 3> kCurves = {"linear", "soft", "hard"};

VelocityShape shapeIn(const toml::node& node, const std::string& key) {
    VelocityShape shape;
    if (const auto text = node.value_exact<std::string>()) {
        const std::string words = UCase(*text).str();
        for (size_t c = 0; c < kCurves.size(); ++c)
            if (words == UCase(kCurves[c]).view())
                shape.curve = static_cast<VelocityCurve>(c);
        int fixed = 0;
        if (words.starts_with("FIXED ")) {
            std::istringstream in(words.substr(6));
            if (!(in >> fixed) || fixed < 1 || fixed > 127 || !(in >> std::ws).eof())
                refuse(node, key, "\"fixed N\" needs N from 1 to 127");
            shape.fixed = static_cast<uint8_t>(fixed);
        } else if (shape.curve == VelocityCurve::Linear && words != "LINEAR") {
            refuse(node, key, "must be \"linear\", \"soft\", \"hard\" or \"fixed N\"");
        }
        return shape;
    }
    for (auto&& [name, value] : tableIn(node, key)) {
        const std::string at = key + "." + std::string(name.str());
        if (name == "curve") {
            const std::string curve = textIn(value, at);
            const auto* found = std::find(kCurves.begin(), kCurves.end(), curve);
            if (found == kCurves.end())
                refuse(value, at, "must be \"linear\", \"soft\" or \"hard\"");
            shape.curve = static_cast<VelocityCurve>(found - kCurves.begin());
        } else if (name == "min") {
            shape.minimum = static_cast<uint8_t>(numberIn(value, at, 0, 127));
        } else if (name == "max") {
            shape.maximum = static_cast<uint8_t>(numberIn(value, at, 0, 127));
        } else if (name == "threshold") {
            shape.threshold = static_cast<uint8_t>(numberIn(value, at, 0, 127));
        } else if (name == "fixed") {
            shape.fixed = static_cast<uint8_t>(numberIn(value, at, 0, 127));
        } else {
            refuse(value, at, "is no part of a velocity (curve, min, max, threshold, fixed)");
        }
    }
    return shape;
}

// What a control of this kind may send.
struct Allowed {
    bool note, cc, program;
};

// One control's table: its message and channel, and for a pad its mode, state and velocity.
struct ControlRead {
    MappedMessage message;
    std::optional<std::string_view> mode;
    std::optional<bool> lit;
    std::optional<VelocityShape> velocity;
};

ControlRead controlIn(const toml::node& node, const std::string& key, Allowed allowed, bool pad) {
    ControlRead read;
    int messages = 0;
    for (auto&& [name, value] : tableIn(node, key)) {
        const std::string at = key + "." + std::string(name.str());
        const struct {
            std::string_view word;
            bool allowed;
            MessageKind kind;
        } kinds[] = {{"note", allowed.note, MessageKind::Note},
                     {"cc", allowed.cc, MessageKind::Control},
                     {"program", allowed.program, MessageKind::Program}};
        bool known = false;
        for (const auto& kind : kinds) {
            if (name != kind.word)
                continue;
            if (!kind.allowed)
                refuse(value, at, "this control cannot send a " + std::string(kind.word));
            if (++messages > 1)
                refuse(value, at, "a control sends one message: note, cc or program");
            read.message.kind = kind.kind;
            read.message.number = static_cast<int8_t>(numberIn(value, at, 0, 127));
            known = true;
        }
        if (known)
            continue;
        if (name == "channel") {
            read.message.channel = static_cast<int8_t>(numberIn(value, at, 1, 16) - 1);
        } else if (pad && name == "mode") {
            const std::string words = UCase(textIn(value, at)).str();
            for (const auto& [word, mode] : kModes)
                if (words == word)
                    read.mode = mode;
            if (!read.mode)
                refuse(value, at, "is no pad mode (FLASH, TOGGLE, CN1, CN2, CN3, TRK, FDB)");
        } else if (pad && name == "lit") {
            if (!value.is_boolean())
                refuse(value, at, "must be true or false");
            read.lit = value.value_or(false);
        } else if (pad && name == "velocity") {
            read.velocity = shapeIn(value, at);
        } else {
            refuse(value, at, "is not known here");
        }
    }
    if (read.message.channel != MappedMessage::kGlobalChannel && !read.message.Set())
        refuse(node, key, "a channel needs a message: note, cc or program");
    return read;
}

// "pad1".."pad16", "knob1", "knob2" and the like: the index after the word, if it is one.
std::optional<int> indexAfter(std::string_view name, std::string_view word, int count) {
    if (!name.starts_with(word))
        return std::nullopt;
    const std::string_view digits = name.substr(word.size());
    int index = 0;
    for (char c : digits) {
        if (c < '0' || c > '9' || index > count)
            return std::nullopt;
        index = index * 10 + (c - '0');
    }
    if (digits.empty() || digits[0] == '0' || index < 1 || index > count)
        return std::nullopt;
    return index - 1;
}

void readPads(Scene& scene, const toml::table& bank, int b, const std::string& key) {
    for (auto&& [name, value] : bank) {
        const std::string at = key + "." + std::string(name.str());
        const auto pad = indexAfter(name.str(), "pad", Mapping::kPads);
        if (!pad)
            refuse(value, at, "is no pad (pad1 to pad16)");
        const ControlRead read = controlIn(value, at, {true, true, true}, true);
        PadMapping& mapped = scene.mapping.pads[*pad][b];
        mapped.message = read.message;
        mapped.ownShape = read.velocity.has_value();
        mapped.shape = read.velocity.value_or(VelocityShape{});
        if (read.mode)
            scene.pads.padMode[*pad][b] = ModeText(*read.mode);
        // A track pad shows lit unless the file says otherwise.
        scene.pads.padState[*pad][b] = read.lit.value_or(read.mode == "TRK");
    }
}

// The named controls of one table, each read into its place.
void readControls(const toml::node& node, const std::string& key,
                  std::initializer_list<std::pair<std::string_view, MappedMessage*>> controls,
                  Allowed allowed) {
    for (auto&& [name, value] : tableIn(node, key)) {
        const std::string at = key + "." + std::string(name.str());
        MappedMessage* target = nullptr;
        for (const auto& [word, place] : controls)
            if (name == word)
                target = place;
        if (!target)
            refuse(value, at, "is no control of this table");
        *target = controlIn(value, at, allowed, false).message;
    }
}

void readConfig(Scene& scene, const toml::node& node) {
    for (auto&& [name, value] : tableIn(node, "config")) {
        const std::string at = "config." + std::string(name.str());
        const ConfigKey* key = FindConfigKey(name.str());
        if (!key)
            refuse(value, at, "is no setting of \"Config\"");
        // Numbers and flags as a settings file would hold them.
        const auto number = value.value_exact<int64_t>();
        const auto flag = value.value_exact<bool>();
        const std::string text = number ? std::to_string(*number)
                                 : flag ? std::string(*flag ? "1" : "0")
                                        : textIn(value, at);
        if (!ApplySettingText(*key, text, scene.pads.settings))
            refuse(value, at, "\"" + text + "\" is no value of this setting");
    }
}

void readTop(Scene& scene, const toml::table& top) {
    for (auto&& [name, value] : top) {
        const std::string key(name.str());
        if (key == "name") {
            scene.name = textIn(value, key);
        } else if (key == "channel") {
            scene.pads.settings.intMidiChannel =
                static_cast<int16_t>(numberIn(value, key, 1, 16) - 1);
        } else if (key == "velocity") {
            scene.mapping.velocity = shapeIn(value, key);
        } else if (key == "config") {
            readConfig(scene, value);
        } else if (const auto bank = indexAfter(key, "bank", Mapping::kBanks)) {
            readPads(scene, tableIn(value, key), *bank, key);
        } else if (key == "knobs") {
            Mapping& m = scene.mapping;
            readControls(value, key, {{"knob1", &m.knobs[0]}, {"knob2", &m.knobs[1]}},
                         {false, true, false});
        } else if (key == "xypad") {
            Mapping& m = scene.mapping;
            readControls(value, key, {{"x", &m.xyPad[0]}, {"y", &m.xyPad[1]}},
                         {false, true, false});
        } else if (key == "jogwheel") {
            Mapping& m = scene.mapping;
            readControls(value, key, {{"left", &m.jogWheel[0]}, {"right", &m.jogWheel[1]}},
                         {true, true, false});
        } else if (key == "pedal") {
            scene.mapping.pedal = controlIn(value, key, {true, true, true}, false).message;
        } else {
            refuse(value, key, "is not known in a scene");
        }
    }
}
} // namespace

std::variant<Scene, std::string> ParseScene(std::string_view text, const std::string& source,
                                            const ControllerSettings& config) {
    Scene scene;
    scene.pads.settings = config;
    for (int pad = 0; pad < Mapping::kPads; ++pad) {
        for (int bank = 0; bank < Mapping::kBanks; ++bank) {
            scene.pads.padMode[pad][bank] = ModeText("FLASH");
            scene.pads.padState[pad][bank] = false;
        }
    }
    try {
        readTop(scene, toml::parse(text, source));
    } catch (const toml::parse_error& error) {
        return source + ":" + std::to_string(error.source().begin.line) + ": " +
               std::string(error.description());
    } catch (const Refusal& refusal) {
        return source + ":" + std::to_string(refusal.line) + ": " + refusal.key + ": " +
               refusal.message;
    }
    return scene;
}

namespace {
toml::table shapeTable(const VelocityShape& shape) {
    toml::table t;
    t.is_inline(true);
    t.insert("curve", std::string(kCurves[static_cast<size_t>(shape.curve)]));
    t.insert("min", int64_t{shape.minimum});
    t.insert("max", int64_t{shape.maximum});
    t.insert("threshold", int64_t{shape.threshold});
    t.insert("fixed", int64_t{shape.fixed});
    return t;
}

toml::table messageTable(const MappedMessage& m) {
    toml::table t;
    t.is_inline(true);
    constexpr std::array<const char*, 4> words = {"", "note", "cc", "program"};
    if (m.Set())
        t.insert(words[static_cast<size_t>(m.kind)], int64_t{m.number});
    if (m.channel != MappedMessage::kGlobalChannel)
        t.insert("channel", int64_t{m.channel} + 1);
    return t;
}

void insertControls(toml::table& top, const char* name,
                    std::initializer_list<std::pair<const char*, MappedMessage>> controls) {
    toml::table table;
    for (const auto& [word, message] : controls)
        if (message.Set())
            table.insert(word, messageTable(message));
    if (!table.empty())
        top.insert(name, std::move(table));
}
} // namespace

std::string SceneText(const Scene& scene) {
    const ControllerSettings& settings = scene.pads.settings;
    const Mapping& m = scene.mapping;
    toml::table top;
    top.insert("name", scene.name);
    top.insert("channel", int64_t{settings.intMidiChannel} + 1);
    if (!m.velocity.Identity())
        top.insert("velocity", shapeTable(m.velocity));
    toml::table config;
    // What a file could not set is left out: reading it keeps the values of the moment.
    ControllerSettings probe;
    for (const ConfigKey& key : kConfig) {
        const std::string text = SettingTextOf(key, settings);
        if (key.number != &ControllerSettings::intMidiChannel && ApplySettingText(key, text, probe))
            config.insert(key.name, text);
    }
    top.insert("config", std::move(config));
    for (int bank = 0; bank < Mapping::kBanks; ++bank) {
        toml::table pads;
        for (int pad = 0; pad < Mapping::kPads; ++pad) {
            const PadMapping& mapped = m.pads[pad][bank];
            toml::table t = messageTable(mapped.message);
            const std::string mode = scene.pads.padMode[pad][bank].value_or("FLASH").str();
            if (mode != "FLASH")
                t.insert("mode", mode);
            if (scene.pads.padState[pad][bank].value_or(false))
                t.insert("lit", true);
            if (mapped.ownShape)
                t.insert("velocity", shapeTable(mapped.shape));
            if (!t.empty())
                pads.insert("pad" + std::to_string(pad + 1), std::move(t));
        }
        if (!pads.empty())
            top.insert("bank" + std::to_string(bank + 1), std::move(pads));
    }
    insertControls(top, "knobs", {{"knob1", m.knobs[0]}, {"knob2", m.knobs[1]}});
    insertControls(top, "xypad", {{"x", m.xyPad[0]}, {"y", m.xyPad[1]}});
    insertControls(top, "jogwheel", {{"left", m.jogWheel[0]}, {"right", m.jogWheel[1]}});
    if (m.pedal.Set())
        top.insert("pedal", messageTable(m.pedal));
    std::ostringstream out;
    out << "# An Orvan scene: see \"Your own mapping and scenes\" in Orvan's README.\n\n"
        << top << "\n";
    return out.str();
}
