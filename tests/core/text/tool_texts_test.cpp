// The tools' texts: present in both languages as valid UTF-8, and a text that takes an
// argument takes it in both languages, so no translation drops the file or row it names.
#include <gtest/gtest.h>

#include <string>

#include "core/text/ToolTexts.h"
#include "core/text/utf8.h"

namespace tavelo {
namespace {

int Marks(const std::string& text) {
  int n = 0;
  for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) ++n;
  return n;
}

TEST(ToolTexts, BothLanguagesCarryTheSameArgumentsAsValidUtf8) {
  for (int i = 0; i < kToolTextCount; ++i) {
    SCOPED_TRACE(i);
    const auto id = static_cast<ToolText>(i);
    const std::string english = Text(id, Lang::kEnglish);
    const std::string chinese = Text(id, Lang::kChinese);
    EXPECT_FALSE(english.empty());
    EXPECT_FALSE(chinese.empty());
    EXPECT_TRUE(testing_support::IsValidUtf8(chinese));
    EXPECT_LE(Marks(english), 1);
    EXPECT_EQ(Marks(english), Marks(chinese));
  }
  EXPECT_STREQ(Text(ToolText::kCount, Lang::kEnglish), "");
}

TEST(ToolTexts, FormatFillsTheOneArgumentAndLeavesPercentSignsInIt) {
  EXPECT_EQ(FormatText(ToolText::kCompareTitle, Lang::kEnglish, "room 5%d"),
            "Processor compared with room 5%d");
  EXPECT_EQ(FormatText(ToolText::kImportLeftOver, Lang::kEnglish, "7").find("only 7 bands"),
            std::string("Not imported, the set has ").size());
  // A text without an argument stays as it is.
  EXPECT_EQ(FormatText(ToolText::kUndo, Lang::kChinese, "x"),
            Text(ToolText::kUndo, Lang::kChinese));
}

}  // namespace
}  // namespace tavelo
