#pragma once

#include "engine/ControllerEngine.h"

#include <cstddef>
#include <cstdint>

// The engine in native mode, its messages discarded. Each input starts from the same state; its
// first byte picks the settings, so every output kind gets exercised.
ControllerEngine& EngineUnderFuzz(const uint8_t* data, size_t size);

// Lets every wait end and every timer fire; aborts when the state broke what must always hold.
void SettleAndCheck(ControllerEngine& engine);
