#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Turns one input's byte stream, however it is cut into events, into whole messages. Realtime
// bytes are skipped wherever they appear, even inside SysEx. A message cut short by another status
// byte is dropped, and so is a SysEx longer than kMaxSysEx. Channel messages may use running
// status; system common messages are read past but not handed on. Never allocates.
class MidiAssembler {
public:
    static constexpr size_t kMaxSysEx = 4096; // bytes, F0 and F7 included

    enum class Result {
        None,     // nothing complete yet
        Channel,  // message() holds a channel message of 2 or 3 bytes
        SysEx,    // message() holds a whole SysEx message, F0 to F7
        Oversize, // a SysEx message ended that was too long to keep; it is dropped
    };

    Result feed(uint8_t byte);
    void reset();

    // The completed message; valid until the next feed.
    const uint8_t* message() const { return message_; }
    size_t size() const { return size_; }

private:
    Result status(uint8_t byte);
    Result data(uint8_t byte);

    std::array<uint8_t, kMaxSysEx> sysEx_{};
    size_t sysExLength_ = 0;
    bool inSysEx_ = false;
    bool oversize_ = false;

    uint8_t short_[3] = {};
    uint8_t status_ = 0;  // status of the message being read; 0: none
    uint8_t running_ = 0; // channel status that further data bytes repeat; 0: none
    int needed_ = 0;
    int have_ = 0;

    const uint8_t* message_ = nullptr;
    size_t size_ = 0;
};
