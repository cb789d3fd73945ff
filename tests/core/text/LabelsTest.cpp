// The label table and the per-window bindings the panel applies in a loop.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/text/LabelBindings.h"
#include "core/text/Labels.h"
#include "core/text/Utf8.h"

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

constexpr LabelWindow kWindows[] = {
    LabelWindow::kMain,      LabelWindow::kMusic,      LabelWindow::kMic,      LabelWindow::kReverb,
    LabelWindow::kEcho,      LabelWindow::kMainOutput, LabelWindow::kSurround, LabelWindow::kCentre,
    LabelWindow::kSubwoofer, LabelWindow::kSystem,     LabelWindow::kBoost};

TEST(LabelBindings, EachControlOfAWindowHasOneValidLabel) {
  for (LabelWindow window : kWindows) {
    SCOPED_TRACE(static_cast<int>(window));
    std::set<int> ids;
    for (const auto& b : LabelBindings(window)) {
      // A second binding for the same control would silently lose to the first.
      EXPECT_TRUE(ids.insert(b.controlId).second) << b.controlId;
      EXPECT_GE(static_cast<int>(b.label), 0);
      EXPECT_LT(static_cast<int>(b.label), kLabelCount);
      EXPECT_LT(static_cast<int>(b.alternate), kLabelCount);
    }
  }
  EXPECT_TRUE(LabelBindings(LabelWindow::kBoost).empty());
}

TEST(LabelBindings, WindowsApplyTheirLabelsByControl) {
  EXPECT_STREQ(LabelFor(LabelWindow::kMain, 1001, Lang::kChinese), "连接");
  EXPECT_STREQ(LabelFor(LabelWindow::kMain, 1375, Lang::kEnglish), "Master:");
  EXPECT_STREQ(LabelFor(LabelWindow::kMusic, 1923, Lang::kEnglish), "EQ Bypass");
  EXPECT_STREQ(LabelFor(LabelWindow::kMainOutput, 1923, Lang::kEnglish), "Xover");
  EXPECT_EQ(LabelFor(LabelWindow::kMain, 4242, Lang::kEnglish), nullptr);

  // Output pages: delays read as distances on request, and only the stereo pages have a
  // right channel.
  EXPECT_STREQ(LabelFor(LabelWindow::kSurround, 1414, Lang::kEnglish, true), "R Distance");
  EXPECT_STREQ(LabelFor(LabelWindow::kSurround, 1414, Lang::kEnglish, false), "R Delay");
  EXPECT_STREQ(LabelFor(LabelWindow::kCentre, 1412, Lang::kChinese, true), "距离");
  EXPECT_STREQ(LabelFor(LabelWindow::kSubwoofer, 1402, Lang::kEnglish), "Output Vol");
  EXPECT_STREQ(LabelFor(LabelWindow::kSubwoofer, 1926, Lang::kEnglish), "Mute");
  EXPECT_EQ(FindLabelBinding(LabelWindow::kCentre, 1927), nullptr);
  EXPECT_EQ(FindLabelBinding(LabelWindow::kCentre, 1406), nullptr);

  // Without an alternate, asking for it gives the normal label.
  EXPECT_STREQ(LabelFor(LabelWindow::kMainOutput, 1402, Lang::kEnglish, true), "L ch Vol");
  const auto* slider = FindLabelBinding(LabelWindow::kMic, 1934);
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->target, LabelTarget::kCaptionOf);
}

}  // namespace
}  // namespace tavelo
