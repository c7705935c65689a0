// Any bytes through the input assembly, cut into events where the input says: each event is a
// length byte and that many bytes; a length of zero stands for input capture switched off and on
// again. Every delivered message is checked against the stream it came from.
#include "host/MidiAssembler.h"
#include "host/MidiBytes.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
[[noreturn]] void fail(const char* what, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", what, message.c_str());
    std::abort();
}

bool upperHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Upper-case hex pairs with single blanks, "F0" first, "F7" last, data bytes between.
bool wellFormedSysExText(const std::string& text) {
    if (text.size() < 5 || (text.size() + 1) % 3 != 0 || !text.starts_with("F0") ||
        !text.ends_with("F7"))
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool blank = i % 3 == 2;
        if (blank ? text[i] != ' ' : !upperHex(text[i]))
            return false;
        if (i % 3 == 0 && i > 0 && i + 2 < text.size() && text[i] > '7')
            return false; // a status or realtime byte inside
    }
    return true;
}

// What the assembler must make of the bytes it has been fed since the last reset: realtime bytes
// are not part of the stream, and a message is whole when its last byte arrives.
class Expectation {
public:
    void reset() {
        seen_.clear();
        lastStatus_ = kNone;
    }

    MidiAssembler::Result after(uint8_t byte) {
        if (byte >= 0xF8)
            return MidiAssembler::Result::None;
        seen_.push_back(byte);
        const size_t at = seen_.size() - 1;
        if (byte & 0x80) {
            const size_t opened = lastStatus_;
            lastStatus_ = at;
            if (byte != 0xF7 || opened == kNone || seen_[opened] != 0xF0)
                return MidiAssembler::Result::None;
            return at - opened + 1 <= MidiAssembler::kMaxSysEx ? MidiAssembler::Result::SysEx
                                                               : MidiAssembler::Result::Oversize;
        }
        if (lastStatus_ == kNone || seen_[lastStatus_] >= 0xF0)
            return MidiAssembler::Result::None;
        const size_t need = static_cast<size_t>(DataBytesAfter(seen_[lastStatus_]));
        return (at - lastStatus_) % need == 0 ? MidiAssembler::Result::Channel
                                              : MidiAssembler::Result::None;
    }

    // The bytes of the message that just ended, as the stream holds them.
    std::vector<uint8_t> sysEx() const {
        return {seen_.begin() + static_cast<long>(previousStatus()), seen_.end()};
    }
    std::vector<uint8_t> channel(size_t size) const {
        std::vector<uint8_t> bytes{seen_[lastStatus_]};
        bytes.insert(bytes.end(), seen_.end() - static_cast<long>(size - 1), seen_.end());
        return bytes;
    }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    size_t previousStatus() const {
        size_t at = lastStatus_;
        while (at > 0 && !(seen_[--at] & 0x80)) {
        }
        return at;
    }

    std::vector<uint8_t> seen_;
    size_t lastStatus_ = kNone;
};

void check(const MidiAssembler& assembler, MidiAssembler::Result result,
           const Expectation& expected) {
    const std::vector<uint8_t> got(assembler.message(), assembler.message() + assembler.size());
    const std::string text = SysExText(got.data(), got.size());
    if (result == MidiAssembler::Result::SysEx) {
        if (got.size() > MidiAssembler::kMaxSysEx || !wellFormedSysExText(text))
            fail("malformed SysEx", text);
        if (got != expected.sysEx())
            fail("SysEx differs from the stream", text);
        std::vector<uint8_t> back(MidiAssembler::kMaxSysEx);
        back.resize(SysExBytes(text, back.data(), back.size()));
        if (back != got)
            fail("SysEx text does not read back", text);
    } else if (result == MidiAssembler::Result::Channel) {
        uint8_t bytes[3];
        const size_t size = got.empty() || got[0] >= 0xF0
                                ? 0
                                : ShortMessageBytes(got[0], got.size() > 1 ? got[1] : -1,
                                                    got.size() > 2 ? got[2] : 0, bytes);
        if (size == 0 || size != got.size())
            fail("invalid short message", text);
        if (got != expected.channel(size))
            fail("short message differs from the stream", text);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MidiAssembler assembler;
    Expectation expected;
    for (size_t at = 0; at < size;) {
        const size_t length = data[at++];
        if (length == 0) {
            assembler.reset();
            expected.reset();
            continue;
        }
        const size_t end = at + length < size ? at + length : size;
        for (; at < end; ++at) {
            const MidiAssembler::Result result = assembler.feed(data[at]);
            const MidiAssembler::Result want = expected.after(data[at]);
            if (result != want)
                fail("unexpected result after byte", std::to_string(data[at]));
            if (result == MidiAssembler::Result::SysEx || result == MidiAssembler::Result::Channel)
                check(assembler, result, expected);
        }
    }
    return 0;
}
