// The fit's texts: both languages present as valid UTF-8 and carrying the same numbered
// places, so no translation drops the line or the file a refusal names.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/text/FitTexts.h"
#include "core/text/Placeholders.h"
#include "core/text/utf8.h"

namespace tavelo {
namespace {

std::multiset<char> Places(const std::string& text) {
  std::multiset<char> places;
  for (std::size_t i = 0; i + 2 < text.size(); ++i)
    if (text[i] == '{' && text[i + 2] == '}') places.insert(text[i + 1]);
  return places;
}

TEST(FitTexts, BothLanguagesCarryTheSamePlacesAsValidUtf8) {
  for (int i = 0; i < kFitTextCount; ++i) {
    SCOPED_TRACE(i);
    const auto id = static_cast<FitText>(i);
    const std::string english = Text(id, Lang::kEnglish);
    const std::string chinese = Text(id, Lang::kChinese);
    EXPECT_FALSE(english.empty());
    EXPECT_FALSE(chinese.empty());
    EXPECT_TRUE(testing_support::IsValidUtf8(chinese));
    EXPECT_EQ(Places(english), Places(chinese));
  }
}

TEST(FitTexts, PlacesTakeTheirArgumentsInAnyOrderAndLeaveArgumentsAlone) {
  EXPECT_EQ(SayFit(FitText::kNotRising, Lang::kChinese, {"90", "100", "7"}),
            "频率 90 Hz 没有高于第 7 行的 100 Hz（频率必须逐行升高）");
  // An argument that looks like a place, or a missing argument, is not expanded.
  EXPECT_EQ(FillPlaceholders("{0} and {1}", {"{1}%s"}), "{1}%s and ");
}

}  // namespace
}  // namespace tavelo
