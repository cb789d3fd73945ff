#include "core/params/LockKeyBlock.h"

#include <algorithm>

namespace tavelo {

bool IsLockKey(std::string_view text) {
  return text.size() == static_cast<std::size_t>(kLockKeyDigits) &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::array<std::uint8_t, kLockKeyBlockSize>> UnlockBlock(std::string_view password) {
  return LockStateBlock(password, true);
}

std::optional<std::array<std::uint8_t, kLockKeyBlockSize>> LockStateBlock(std::string_view password,
                                                                          bool engaged) {
  password = password.substr(0, kPasswordReadLimit);
  if (password.size() < kLockKeyDigits) return std::nullopt;
  std::array<std::uint8_t, kLockKeyBlockSize> block{};
  for (int i = 0; i < kLockKeyDigits; ++i)
    block[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(password[static_cast<std::size_t>(i)] - '0');
  block[kLockKeyDigits] = engaged ? 1 : 0;
  return block;
}

}  // namespace tavelo
