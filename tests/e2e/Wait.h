#pragma once

#include <chrono>
#include <functional>

// Generous: the tests run on loaded machines. A wait that ends early costs nothing.
inline constexpr std::chrono::milliseconds kLongWait{20000};

// Runs the GUI thread's events while waiting for the condition; false when time ran out.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kLongWait);

// Runs the GUI thread's pending events for a short while (whatever is already signalled is
// handled in the first pass).
void PumpEvents();
