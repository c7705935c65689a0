#pragma once

#include <cstdint>

// Registry value types and key access rights, with their registry codes.
namespace reg {
constexpr uint32_t kNone = 0, kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4, kMultiSz = 7,
                   kQword = 11;

constexpr uint32_t kQueryValue = 0x0001;
constexpr uint32_t kSetValue = 0x0002;
constexpr uint32_t kCreateSubKey = 0x0004;
constexpr uint32_t kAllAccess = 0x003F; // query, set, create, enumerate, notify, create link
} // namespace reg
