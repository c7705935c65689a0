#include "engine/FrameArena.h"

#include <new>

void* FrameArena::allocate(std::size_t size) noexcept {
    const std::size_t total =
        (sizeof(Header) + size + alignof(Header) - 1) & ~(alignof(Header) - 1);
    if (total > kBytes - top_)
        return nullptr;
    auto* header = new (bytes_ + top_) Header{this, last_, 0};
    last_ = static_cast<uint32_t>(top_);
    top_ += total;
    return header + 1;
}

void FrameArena::release(void* memory) noexcept {
    if (!memory)
        return;
    Header* header = static_cast<Header*>(memory) - 1;
    header->arena->giveBack(header);
}

void FrameArena::giveBack(Header* header) noexcept {
    header->freed = 1;
    while (last_ != kNone) {
        auto* top = reinterpret_cast<Header*>(bytes_ + last_);
        if (!top->freed)
            return;
        top_ = last_;
        last_ = top->previous;
    }
}
