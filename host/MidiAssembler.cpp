#include "host/MidiAssembler.h"

#include "host/MidiBytes.h"

namespace {
constexpr uint8_t kSysExStart = 0xF0;
constexpr uint8_t kSysExEnd = 0xF7;
constexpr uint8_t kFirstRealtime = 0xF8;
} // namespace

void MidiAssembler::reset() {
    inSysEx_ = false;
    oversize_ = false;
    sysExLength_ = 0;
    status_ = 0;
    running_ = 0;
    have_ = 0;
}

MidiAssembler::Result MidiAssembler::feed(uint8_t byte) {
    if (byte >= kFirstRealtime)
        return Result::None;
    return (byte & 0x80) ? status(byte) : data(byte);
}

MidiAssembler::Result MidiAssembler::status(uint8_t byte) {
    if (inSysEx_ && byte == kSysExEnd) {
        inSysEx_ = false;
        running_ = 0;
        if (oversize_)
            return Result::Oversize;
        sysEx_[sysExLength_++] = kSysExEnd;
        message_ = sysEx_.data();
        size_ = sysExLength_;
        return Result::SysEx;
    }
    // Any other status byte ends whatever was unfinished, unheard.
    inSysEx_ = false;
    status_ = 0;
    running_ = 0;
    have_ = 0;
    if (byte == kSysExStart) {
        inSysEx_ = true;
        oversize_ = false;
        sysEx_[0] = kSysExStart;
        sysExLength_ = 1;
        return Result::None;
    }
    const int needed = DataBytesAfter(byte);
    if (needed <= 0)
        return Result::None; // a stray F7, an undefined status, or F6 that carries nothing
    status_ = byte;
    needed_ = needed;
    if (byte < 0xF0)
        running_ = byte;
    return Result::None;
}

MidiAssembler::Result MidiAssembler::data(uint8_t byte) {
    if (inSysEx_) {
        if (sysExLength_ < kMaxSysEx - 1)
            sysEx_[sysExLength_++] = byte;
        else
            oversize_ = true;
        return Result::None;
    }
    if (status_ == 0) {
        if (running_ == 0)
            return Result::None; // a data byte that belongs to no message
        status_ = running_;
        needed_ = DataBytesAfter(running_);
    }
    short_[1 + have_++] = byte;
    if (have_ < needed_)
        return Result::None;
    const uint8_t complete = status_;
    status_ = 0;
    have_ = 0;
    if (complete >= 0xF0)
        return Result::None; // system common: read past, not handed on
    short_[0] = complete;
    message_ = short_;
    size_ = static_cast<size_t>(1 + needed_);
    return Result::Channel;
}
