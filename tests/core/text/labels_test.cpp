// The label table and the per-window bindings the panel applies in a loop.
#include "core/text/Labels.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/text/utf8.h"

namespace tavelo {
namespace {

using testing_support::IsAscii;
using testing_support::IsValidUtf8;

TEST(Labels, TableIsCompleteAndEveryChineseLabelIsChinese) {
  EXPECT_EQ(kLabelCount, 264);
  std::set<std::string> asciiChinese;
  for (int i = 0; i < kLabelCount; ++i) {
    const auto label = static_cast<Label>(i);
    const std::string english = LabelText(label, Lang::kEnglish);
    const std::string chinese = LabelText(label, Lang::kChinese);
    SCOPED_TRACE(english);
    EXPECT_FALSE(english.empty());
    EXPECT_FALSE(chinese.empty());
    EXPECT_TRUE(IsValidUtf8(english));
    EXPECT_TRUE(IsValidUtf8(chinese));
    if (IsAscii(chinese)) asciiChinese.insert(chinese);
  }
  // Only the English-language button and "VR" read the same in Chinese.
  EXPECT_EQ(asciiChinese, (std::set<std::string>{"English", "VR"}));
  EXPECT_STREQ(LabelText(static_cast<Label>(kLabelCount), Lang::kEnglish), "");
}

TEST(Labels, CaptionsKeepTheirPaddingAndBothLanguageButtonsShowTheirOwnScript) {
  EXPECT_STREQ(LabelText(Label::kSimple, Lang::kEnglish), "Simple    ");
  EXPECT_STREQ(LabelText(Label::kLock, Lang::kEnglish), "Lock  ");
  EXPECT_STREQ(LabelText(Label::kKtv, Lang::kEnglish), "KTV      ");
  EXPECT_STREQ(LabelText(Label::kCinema, Lang::kEnglish), "Cinema   ");
  EXPECT_STREQ(LabelText(Label::kDance, Lang::kEnglish), " Dance");
  EXPECT_STREQ(LabelText(Label::kChineseLanguage, Lang::kEnglish), "中文");
  EXPECT_STREQ(LabelText(Label::kEnglishLanguage, Lang::kChinese), "English");
  EXPECT_STREQ(LabelText(Label::kConnect, Lang::kChinese), "连接");
  EXPECT_STREQ(LabelText(Label::kUseInitVol, Lang::kChinese), "使用初始音量");
}

TEST(Labels, RepeatedEnglishTextsKeepTheirOwnChinese) {
  // Same English, different Chinese: each role keeps its translation.
  EXPECT_STREQ(LabelText(Label::kEq, Lang::kChinese), "均衡器");
  EXPECT_STREQ(LabelText(Label::kOpenEq, Lang::kChinese), "打开EQ");
  EXPECT_STREQ(LabelText(Label::kAdminMode, Lang::kChinese), "系统模式");
  EXPECT_STREQ(LabelText(Label::kAdminModeChoice, Lang::kChinese), "管理模式");
  EXPECT_STREQ(LabelText(Label::kCenter, Lang::kChinese), "中置输出");
  EXPECT_STREQ(LabelText(Label::kCenterChannel, Lang::kChinese), "中置");
  // Lookup by English finds the first in table order.
  EXPECT_EQ(FindLabel("EQ"), Label::kEq);
  EXPECT_EQ(FindLabel("Admin mode"), Label::kAdminMode);
  EXPECT_EQ(FindLabel("Use init vol"), Label::kUseInitVol);
  EXPECT_EQ(FindLabel("Dance"), std::nullopt);  // the label is " Dance"
  EXPECT_EQ(FindLabel(""), std::nullopt);
}

}  // namespace
}  // namespace tavelo
