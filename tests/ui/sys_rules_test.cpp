// The system page's plain rules: the user-mode list, enabling by edit length, the digit
// check of a new lock key and the blocks the page sends.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ui/system/SysPageRules.h"

namespace tavelo::sys {
namespace {

std::array<char, kPresetNameSize> Slot(const char* bytes, std::size_t n) {
  std::array<char, kPresetNameSize> slot{};
  std::memcpy(slot.data(), bytes, std::min(n, slot.size()));
  return slot;
}

template <std::size_t N>
std::vector<int> V(const std::array<std::uint8_t, N>& a) {
  return std::vector<int>(a.begin(), a.end());
}

TEST(SysRules, UserModeListFollowsTheNameRule) {
  EXPECT_EQ(ModeEntry(0, Slot("Hall  A\0\0\0\0\0\0\0\0\0", 16)), "1 - Hall  A");
  EXPECT_EQ(ModeEntry(1, Slot("Seven77", 7)), "2 - Seven77");
  EXPECT_EQ(ModeEntry(9, Slot("\0Hidden", 7)), "10 - ");  // first byte 0: nothing after
  EXPECT_EQ(ModeEntry(2, Slot("ab{cd", 5)), "3 - ab");    // 123 ends the name
  EXPECT_EQ(ModeEntry(3, Slot("sixteen chars!!!", 16)), "4 - sixteen chars!!!");
  EXPECT_EQ(ModeEntry(4, Slot("USER 5          ", 16)), "5 - USER 5");  // padding dropped
  EXPECT_TRUE(ModeNameValid("Room z"));
  EXPECT_TRUE(ModeNameValid(""));
  EXPECT_FALSE(ModeNameValid("Room {"));
  EXPECT_FALSE(ModeNameValid("caf\xC3\xA9"));
  EXPECT_TRUE(ModeNameValid("sixteen chars!!!{"));  // only the first 16 are read
}

TEST(SysRules, ButtonsEnableAtExactLengths) {
  EXPECT_FALSE(LockButtonsEnabled("123"));
  EXPECT_TRUE(LockButtonsEnabled("1234"));
  EXPECT_FALSE(LockButtonsEnabled("12345"));
  EXPECT_FALSE(LockModifyEnabled("1234", "567"));
  EXPECT_TRUE(LockModifyEnabled("1234", "5678"));
  EXPECT_FALSE(AdminButtonsEnabled("12345"));
  EXPECT_TRUE(AdminButtonsEnabled("123456"));
  EXPECT_FALSE(AdminButtonsEnabled("1234567"));
  EXPECT_TRUE(AdminModifyEnabled("123456", "654321"));
  EXPECT_FALSE(AdminModifyEnabled("123456", "65432"));
  EXPECT_TRUE(LockKeyNumeric("0912"));
  EXPECT_FALSE(LockKeyNumeric("09a2"));
  EXPECT_FALSE(LockKeyNumeric("091"));
}

TEST(SysRules, BlocksCarryDigitValuesStatesAndPaddedTexts) {
  EXPECT_EQ(V(LockKeyBlock("1234", true)), (std::vector<int>{1, 2, 3, 4, 1}));
  EXPECT_EQ(V(LockKeyBlock("0000", false)), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_EQ(V(NewLockKeyBlock("1234", "9876")), (std::vector<int>{1, 2, 3, 4, 9, 8, 7, 6}));
  EXPECT_EQ(V(AdminBlock("123456", kAdminSecond)), (std::vector<int>{1, 2, 3, 4, 5, 6, 2}));
  EXPECT_EQ(V(NewAdminBlock("000000", "999999")),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 9, 9, 9, 9, 9, 9}));

  const auto logo = LogoBlock("WELCOME", "a line longer than sixteen");
  EXPECT_EQ(logo[0], 1);
  EXPECT_EQ(std::string(logo.begin() + 1, logo.begin() + 17), "WELCOME         ");
  EXPECT_EQ(std::string(logo.begin() + 17, logo.end()), "a line longer th");
  const auto clear = ClearLogoBlock();
  EXPECT_EQ(clear[0], 0);
  EXPECT_EQ(std::string(clear.begin() + 1, clear.end()), std::string(32, ' '));

  EXPECT_EQ(V(BtNameBlock("Bar")), (std::vector<int>{1, 'B', 'a', 'r', 0, 0, 0, 0, 0}));
  EXPECT_EQ(V(BtNameBlock("LongName9")),
            (std::vector<int>{1, 'L', 'o', 'n', 'g', 'N', 'a', 'm', 'e'}));
  EXPECT_EQ(V(BtDefaultNameBlock()), std::vector<int>(9, 0));
}

}  // namespace
}  // namespace tavelo::sys
