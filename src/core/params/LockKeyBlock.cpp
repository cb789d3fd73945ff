#include "core/params/LockKeyBlock.h"

namespace tavelo {

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
