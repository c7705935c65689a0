#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// A byte ring for exactly one producing thread and one consuming thread. Neither side allocates,
// locks or waits, and a write goes in whole or not at all, so a reader never sees part of one.
class SpscRing {
public:
    // The capacity is rounded up to a power of two; the memory is allocated here, once.
    explicit SpscRing(size_t capacity) : buffer_(roundUp(capacity)), mask_(buffer_.size() - 1) {}

    size_t capacity() const { return buffer_.size(); }

    // Producer: appends a, then b, as one piece; false (and nothing written) when they do not fit.
    bool write(const void* a, size_t na, const void* b = nullptr, size_t nb = 0) {
        const size_t head = head_.load(std::memory_order_relaxed);
        const size_t tail = tail_.load(std::memory_order_acquire);
        if (capacity() - (head - tail) < na + nb)
            return false;
        copyIn(head, static_cast<const uint8_t*>(a), na);
        copyIn(head + na, static_cast<const uint8_t*>(b), nb);
        head_.store(head + na + nb, std::memory_order_release);
        return true;
    }

    // Consumer: how many bytes wait to be read.
    size_t readable() const {
        return head_.load(std::memory_order_acquire) - tail_.load(std::memory_order_relaxed);
    }

    // Consumer: copies n bytes that start `from` bytes past the read position, without consuming.
    bool peek(void* out, size_t n, size_t from = 0) const {
        if (readable() < from + n)
            return false;
        const size_t start = tail_.load(std::memory_order_relaxed) + from;
        auto* dst = static_cast<uint8_t*>(out);
        for (size_t done = 0; done < n;) {
            const size_t at = (start + done) & mask_;
            const size_t chunk = std::min(n - done, capacity() - at);
            std::memcpy(dst + done, &buffer_[at], chunk);
            done += chunk;
        }
        return true;
    }

    // Consumer: consumes n bytes (at most what is readable).
    void skip(size_t n) {
        n = std::min(n, readable());
        tail_.store(tail_.load(std::memory_order_relaxed) + n, std::memory_order_release);
    }

private:
    static size_t roundUp(size_t n) {
        size_t size = 16;
        while (size < n)
            size *= 2;
        return size;
    }

    void copyIn(size_t position, const uint8_t* src, size_t n) {
        for (size_t done = 0; done < n;) {
            const size_t at = (position + done) & mask_;
            const size_t chunk = std::min(n - done, capacity() - at);
            std::memcpy(&buffer_[at], src + done, chunk);
            done += chunk;
        }
    }

    std::vector<uint8_t> buffer_;
    size_t mask_;
    alignas(64) std::atomic<size_t> head_{0}; // advanced by the producer only
    alignas(64) std::atomic<size_t> tail_{0}; // advanced by the consumer only
};
