#pragma once
// The system page's rules that need no window: the user-mode list text, the name and
// password checks, when the lock and admin buttons are enabled, and the blocks the page
// sends for the lock key, the admin mode, the logo and the Bluetooth name. Passwords,
// logo lines and the Bluetooth name are printable ASCII (the page's edits take nothing
// else), so a character is a byte.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/params/ParamImage.h"

namespace tavelo::sys {

inline constexpr int kUserModes = kStoredPresets;
inline constexpr std::size_t kLockKeyLength = 4;
inline constexpr std::size_t kAdminPasswordLength = 6;
inline constexpr std::size_t kModeNameMax = kPresetNameSize;
inline constexpr std::size_t kLogoLineMax = 16;
inline constexpr std::size_t kBtNameMax = 8;

// Admin modes the admin block carries.
enum AdminMode : std::uint8_t { kAdminUser = 0, kAdminAdmin = 1, kAdminSecond = 2 };

// A stored mode name: the run of characters 32..122 at the start of its slot, without the
// spaces that pad it.
std::string ModeName(const std::array<char, kPresetNameSize>& slot);
// The user-mode list entry of slot `index` (0..9): "1 - Hall".
std::string ModeEntry(int index, const std::array<char, kPresetNameSize>& slot);
// Save Equipment takes a mode name of characters 32..122 only ("Invalid character in mode
// name" otherwise); at most 16 are read.
bool ModeNameValid(std::string_view text);

// Unlock / Lock: exactly 4 characters. Admin buttons: exactly 6.
bool LockButtonsEnabled(std::string_view password);
bool LockModifyEnabled(std::string_view current, std::string_view fresh);
bool AdminButtonsEnabled(std::string_view password);
bool AdminModifyEnabled(std::string_view current, std::string_view fresh);
// A new lock key must be digits ("密码必须是数字" otherwise).
bool LockKeyNumeric(std::string_view key);

// Blocks (each password character becomes its code minus '0').
std::array<std::uint8_t, kLockKeyLength + 1> LockKeyBlock(std::string_view password,
                                                          bool locked);  // 43
std::array<std::uint8_t, 2 * kLockKeyLength> NewLockKeyBlock(std::string_view current,
                                                             std::string_view fresh);  // 44
std::array<std::uint8_t, kAdminPasswordLength + 1> AdminBlock(std::string_view password,
                                                              int mode);  // 45
std::array<std::uint8_t, 2 * kAdminPasswordLength> NewAdminBlock(std::string_view current,
                                                                 std::string_view fresh);  // 46
// 23: flag 1 and both lines space padded; Clr logo: flag 0 and 32 spaces.
std::array<std::uint8_t, 33> LogoBlock(std::string_view line1, std::string_view line2);
std::array<std::uint8_t, 33> ClearLogoBlock();
// 78: flag 1 and up to 8 name characters, the rest zero; the default name: all zero.
std::array<std::uint8_t, 9> BtNameBlock(std::string_view name);
std::array<std::uint8_t, 9> BtDefaultNameBlock();

}  // namespace tavelo::sys
