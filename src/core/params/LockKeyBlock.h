#pragma once
// The 5-byte lock-key block the unlock prompt sends (code 43): the first four password
// characters minus '0', then the state 1. Fewer than four characters are refused before
// anything is sent (the processor would only see padding in their place).
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tavelo {

inline constexpr int kLockKeyBlockSize = 5;
inline constexpr int kLockKeyDigits = 4;
inline constexpr int kPasswordReadLimit = 16;

// Exactly four digits, as a lock key given to a program (not typed into the prompt) must be.
bool IsLockKey(std::string_view text);

std::optional<std::array<std::uint8_t, kLockKeyBlockSize>> UnlockBlock(std::string_view password);

// The same block with the state asked for: 1 engages the lock, 0 releases it.
std::optional<std::array<std::uint8_t, kLockKeyBlockSize>> LockStateBlock(std::string_view password,
                                                                          bool engaged);

}  // namespace tavelo
