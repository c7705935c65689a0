#pragma once

// The engine's cycle runner on a timeline of its own: cycles of 128 frames with input at chosen
// frames, and every message written as "frame: bytes".
#include "host/EngineRunner.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

inline constexpr uint32_t kCycle = 128;

// Every message written, as "frame: bytes" with the frame absolute.
class Timeline final : public EngineRunner::CycleOutput {
public:
    bool write(EngineRunner::Destination to, uint32_t offset, const uint8_t* bytes,
               size_t size) override {
        std::string line = std::to_string(start + offset) + ":";
        for (size_t i = 0; i < size; ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
            line += hex;
        }
        lines.push_back(line);
        if (to == EngineRunner::ToDaw)
            daw.push_back(line.substr(line.find(':') + 2));
        return true;
    }
    Frame start = 0;
    std::vector<std::string> lines;
    std::vector<std::string> daw; // what the music software got, without frames
};

struct Rig {
    EngineRunner runner;
    Timeline out;
    Rig() {
        ControllerSettings notes;
        notes.strKnobMode = notes.strFlashMidiCC = notes.strBankSelectMidiCC = "MIDI";
        runner.PostSettings(notes, std::nullopt);
        runner.SetInputOn(true);
    }
    // One cycle from start, with input at offsets within it.
    void cycle(Frame start,
               const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& input = {}) {
        out.start = start;
        runner.BeginCycle(start, kCycle, out);
        for (const auto& [offset, bytes] : input)
            runner.Input(EngineRunner::FromController, start + offset, bytes.data(), bytes.size());
        runner.EndCycle();
    }
    // Cycles one after another: one with this message at its start, or count without input.
    void play(const std::vector<uint8_t>& bytes,
              EngineRunner::Source from = EngineRunner::FromController) {
        out.start = next;
        runner.BeginCycle(next, kCycle, out);
        runner.Input(from, next, bytes.data(), bytes.size());
        runner.EndCycle();
        next += kCycle;
    }
    void idle(int count = 1) {
        for (int i = 0; i < count; ++i, next += kCycle)
            cycle(next);
    }
    Frame next = 0;
};

// A controller report of the given kind and value bytes.
inline std::vector<uint8_t> Report(uint8_t kind, uint8_t byte7, uint8_t byte8) {
    return {0xF0, 0x42, 0x40, 0x6E, 0x08, kind, byte7, byte8, 0xF7};
}
