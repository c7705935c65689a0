#pragma once

#include "engine/FrameArena.h"

#include <coroutine>
#include <cstddef>
#include <exception>
#include <utility>

#if defined(__GNUC__) && !defined(__clang__)
// The frame's memory comes from the engine's arena and goes back to it; GCC cannot pair the
// arena's allocation with the coroutine's deallocation and warns at every handler that waits.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

class ControllerEngine;

// The arena of the engine whose member handler is starting.
FrameArena& CoroutineArena(ControllerEngine& engine) noexcept;

// A handler of the engine that may wait. It starts at once and runs until it waits or ends; a
// handler awaiting another one goes on when that one ends. Only members of ControllerEngine can
// be such handlers: their frames come from the engine's arena.
class [[nodiscard]] Task {
public:
    struct promise_type {
        std::coroutine_handle<> continuation;

        static void* operator new(std::size_t size, ControllerEngine& engine, auto&&...) noexcept {
            return CoroutineArena(engine).allocate(size);
        }
        static void operator delete(void* frame, std::size_t) noexcept {
            FrameArena::release(frame);
        }
        // The arena used up: the handler does not run, as if it had ended at once.
        static Task get_return_object_on_allocation_failure() noexcept { return Task(); }

        Task get_return_object() noexcept {
            return Task(std::coroutine_handle<promise_type>::from_promise(*this));
        }
        std::suspend_never initial_suspend() noexcept { return {}; }
        auto final_suspend() noexcept {
            struct Resume {
                bool await_ready() noexcept { return false; }
                std::coroutine_handle<>
                await_suspend(std::coroutine_handle<promise_type> h) noexcept {
                    const std::coroutine_handle<> next = h.promise().continuation;
                    return next ? next : std::noop_coroutine();
                }
                void await_resume() noexcept {}
            };
            return Resume{};
        }
        void return_void() noexcept {}
        // Handlers do not throw; one that did would leave the engine half way.
        void unhandled_exception() noexcept { std::terminate(); }
    };

    Task() = default;
    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    ~Task() { reset(); }

    bool done() const { return !handle_ || handle_.done(); }

    // Awaited by another handler.
    bool await_ready() const noexcept { return done(); }
    void await_suspend(std::coroutine_handle<> caller) noexcept {
        handle_.promise().continuation = caller;
    }
    void await_resume() const noexcept {}

private:
    explicit Task(std::coroutine_handle<promise_type> handle) : handle_(handle) {}
    void reset() {
        if (handle_)
            handle_.destroy();
        handle_ = {};
    }

    std::coroutine_handle<promise_type> handle_;
};
