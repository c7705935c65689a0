#pragma once

#include <cstddef>
#include <cstdint>

// Memory for the frames of the engine's waiting handlers, taken from a block owned by the engine
// so that no handler ever allocates. Handlers end innermost first, so blocks are handed out and
// given back like a stack; one given back out of turn is reclaimed once those above it are gone.
class FrameArena {
public:
    static constexpr std::size_t kBytes = 256 * 1024;

    FrameArena() = default;
    FrameArena(const FrameArena&) = delete;
    FrameArena& operator=(const FrameArena&) = delete;

    // nullptr when the block is used up.
    void* allocate(std::size_t size) noexcept;
    // Gives back memory from any arena's allocate.
    static void release(void* memory) noexcept;

    std::size_t used() const { return top_; }

private:
    struct alignas(16) Header {
        FrameArena* arena;
        uint32_t previous; // offset of the header below, or kNone
        uint32_t freed;
    };
    static constexpr uint32_t kNone = UINT32_MAX;

    void giveBack(Header* header) noexcept;

    alignas(16) unsigned char bytes_[kBytes];
    std::size_t top_ = 0;
    uint32_t last_ = kNone; // offset of the topmost header
};
