#include "ui/system/SysPageRules.h"

#include <algorithm>

namespace tavelo::sys {
namespace {

constexpr int kFirstNameChar = 32;
constexpr int kLastNameChar = 122;

bool NameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= kFirstNameChar && u <= kLastNameChar;
}

// Password characters from `at`: `count` of them, each minus '0'.
template <std::size_t N>
void PutDigits(std::array<std::uint8_t, N>& block, std::size_t at, std::string_view text,
               std::size_t count) {
  for (std::size_t i = 0; i < count && i < text.size(); ++i)
    block[at + i] = static_cast<std::uint8_t>(text[i] - '0');
}

// A password's digits, then one byte (the lock state or the admin mode).
template <std::size_t Length>
std::array<std::uint8_t, Length + 1> DigitsThen(std::string_view password, std::uint8_t last) {
  std::array<std::uint8_t, Length + 1> block{};
  PutDigits(block, 0, password, Length);
  block[Length] = last;
  return block;
}

// The current password's digits, then the new one's.
template <std::size_t Length>
std::array<std::uint8_t, 2 * Length> OldThenNew(std::string_view current, std::string_view fresh) {
  std::array<std::uint8_t, 2 * Length> block{};
  PutDigits(block, 0, current, Length);
  PutDigits(block, Length, fresh, Length);
  return block;
}

void PutPadded(std::array<std::uint8_t, 33>& block, std::size_t at, std::string_view line) {
  for (std::size_t i = 0; i < kLogoLineMax; ++i)
    block[at + i] = static_cast<std::uint8_t>(i < line.size() ? line[i] : ' ');
}

}  // namespace

std::string ModeName(const std::array<char, kPresetNameSize>& slot) {
  const auto end = std::find_if_not(slot.begin(), slot.end(), NameChar);
  std::string name(slot.begin(), end);
  // Stored names are space padded; the padding is no part of the name.
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

std::string ModeEntry(int index, const std::array<char, kPresetNameSize>& slot) {
  return std::to_string(index + 1) + " - " + ModeName(slot);
}

bool ModeNameValid(std::string_view text) {
  return std::all_of(text.begin(), text.begin() + std::min(text.size(), kModeNameMax), NameChar);
}

bool LockButtonsEnabled(std::string_view password) {
  return password.size() == kLockKeyLength;
}

bool LockModifyEnabled(std::string_view current, std::string_view fresh) {
  return current.size() == kLockKeyLength && fresh.size() == kLockKeyLength;
}

bool AdminButtonsEnabled(std::string_view password) {
  return password.size() == kAdminPasswordLength;
}

bool AdminModifyEnabled(std::string_view current, std::string_view fresh) {
  return current.size() == kAdminPasswordLength && fresh.size() == kAdminPasswordLength;
}

bool LockKeyNumeric(std::string_view key) {
  const std::string_view first = key.substr(0, kLockKeyLength);
  return first.size() == kLockKeyLength &&
         std::all_of(first.begin(), first.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::array<std::uint8_t, kLockKeyLength + 1> LockKeyBlock(std::string_view password, bool locked) {
  return DigitsThen<kLockKeyLength>(password, locked ? 1 : 0);
}

std::array<std::uint8_t, 2 * kLockKeyLength> NewLockKeyBlock(std::string_view current,
                                                             std::string_view fresh) {
  return OldThenNew<kLockKeyLength>(current, fresh);
}

std::array<std::uint8_t, kAdminPasswordLength + 1> AdminBlock(std::string_view password, int mode) {
  return DigitsThen<kAdminPasswordLength>(password, static_cast<std::uint8_t>(mode));
}

std::array<std::uint8_t, 2 * kAdminPasswordLength> NewAdminBlock(std::string_view current,
                                                                 std::string_view fresh) {
  return OldThenNew<kAdminPasswordLength>(current, fresh);
}

std::array<std::uint8_t, 33> LogoBlock(std::string_view line1, std::string_view line2) {
  std::array<std::uint8_t, 33> block{};
  block[0] = 1;
  PutPadded(block, 1, line1.substr(0, kLogoLineMax));
  PutPadded(block, 1 + kLogoLineMax, line2.substr(0, kLogoLineMax));
  return block;
}

std::array<std::uint8_t, 33> ClearLogoBlock() {
  std::array<std::uint8_t, 33> block{};
  PutPadded(block, 1, {});
  PutPadded(block, 1 + kLogoLineMax, {});
  return block;
}

std::array<std::uint8_t, 9> BtNameBlock(std::string_view name) {
  std::array<std::uint8_t, 9> block{};
  block[0] = 1;
  name = name.substr(0, kBtNameMax);
  std::copy(name.begin(), name.end(), block.begin() + 1);
  return block;
}

std::array<std::uint8_t, 9> BtDefaultNameBlock() {
  return {};
}

}  // namespace tavelo::sys
