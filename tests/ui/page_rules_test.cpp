// Typed and stepped band values and the readout formats: the rules every page shares.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "ui/pages/BandRules.h"
#include "ui/pages/Readout.h"

namespace tavelo {
namespace {

TEST(PageRulesTest, TypedGainRoundsToTenthsAndRefusesOutOfRange) {
  EXPECT_EQ(ParseTypedGain("24.04"), 240);           // rounds into range
  EXPECT_EQ(ParseTypedGain("24.05"), std::nullopt);  // rounds to 24.1: above
  EXPECT_EQ(ParseTypedGain("-0.06"), -1);            // half away from zero
  EXPECT_EQ(ParseTypedGain("-24"), -240);
  EXPECT_EQ(ParseTypedGain("-24.1"), std::nullopt);
  EXPECT_EQ(ParseTypedGain("1.2345"), std::nullopt);  // six characters
  EXPECT_EQ(ParseTypedGain("3.25"), 33);
  EXPECT_EQ(ParseTypedGain("abc"), 0);  // not a number reads as 0, which is accepted
  EXPECT_EQ(ParseTypedGain(""), 0);
  EXPECT_EQ(ParseTypedGain("99999"), std::nullopt);
  EXPECT_EQ(StepGain(240, true), std::nullopt);
  EXPECT_EQ(StepGain(-240, false), std::nullopt);
  EXPECT_EQ(StepGain(-1, true), 0);
}

TEST(PageRulesTest, QCommitFollowsTheTypeLimits) {
  EXPECT_EQ(CommitQ("0.3", kBandPeak, QCommit::kTyped), 7);
  EXPECT_EQ(CommitQ("2.5", kBandLowShelf, QCommit::kTyped), 7);
  EXPECT_EQ(CommitQ("2.5", kBandHighShelf, QCommit::kTyped), 7);
  EXPECT_EQ(CommitQ("2.5", kBandPeak, QCommit::kTyped), 25);
  EXPECT_EQ(CommitQ("0", kBandPeak, QCommit::kTyped), 7);
  EXPECT_EQ(CommitQ("-3", kBandPeak, QCommit::kTyped), 7);
  EXPECT_EQ(CommitQ("1e30", kBandPeak, QCommit::kTyped), 7);  // no int overflow
  EXPECT_EQ(CommitQ("99.9", kBandPeak, QCommit::kRaise), 999);
  EXPECT_EQ(CommitQ("0.4", kBandPeak, QCommit::kLower), 4);
  EXPECT_EQ(CommitQ("5.0", kBandLowShelf, QCommit::kLower), 4);  // above a shelf's 2.0
  EXPECT_EQ(CommitQ("2.0", kBandHighShelf, QCommit::kRaise), 20);
  EXPECT_EQ(CommitQ("0.1", kBandPeak, QCommit::kRaise), 4);
  EXPECT_EQ(CommitQ("1.0", kBandPeak, QCommit::kLower), 9);
  EXPECT_EQ(CommitQ("1.0", kBandPeak, QCommit::kRaise), 11);
}

TEST(PageRulesTest, TypedAndSteppedFrequencies) {
  EXPECT_EQ(ParseTypedFrequency("19"), std::nullopt);
  EXPECT_EQ(ParseTypedFrequency("20001"), std::nullopt);
  EXPECT_EQ(ParseTypedFrequency("x"), std::nullopt);  // reads 0: refused
  EXPECT_EQ(ParseTypedFrequency("20"), 20);
  EXPECT_EQ(ParseTypedFrequency("20000"), 20000);
  EXPECT_EQ(ParseTypedFrequency("99999999999999"), std::nullopt);
  EXPECT_EQ(StepFrequency(20000, true), std::nullopt);
  EXPECT_EQ(StepFrequency(20, false), std::nullopt);
  EXPECT_EQ(StepFrequency(1000, true), 1001);
}

TEST(PageRulesTest, EveryReadoutFormat) {
  struct Case {
    ReadoutFormat format;
    int position;
    const char* text;
  };
  const Case cases[] = {
      {{ReadoutKind::kNumber}, 17, "17"},
      {{ReadoutKind::kSigned, 12}, 0, "-12"},
      {{ReadoutKind::kSigned, 12}, 12, "0"},
      {{ReadoutKind::kDecibels, 60}, 50, "-10db"},
      {{ReadoutKind::kDecibelsOrOff, 91}, 0, "OFF"},
      {{ReadoutKind::kDecibelsOrOff, 91}, 1, "-90db"},
      {{ReadoutKind::kDecibelsOrOff, 91}, 41, "-50db"},
      {{ReadoutKind::kNumberOrOff}, 0, "OFF"},
      {{ReadoutKind::kNumberOrOff}, 3, "3"},
      {{ReadoutKind::kMilliseconds}, 25, "25ms"},
      {{ReadoutKind::kMilliseconds, 0, 10, 5}, 3, "35ms"},
      {{ReadoutKind::kRatio}, 4, "1:4"},
      {{ReadoutKind::kSeconds}, 15, "1.5s"},
      {{ReadoutKind::kPercent, 0}, 50, "50%"},
      {{ReadoutKind::kTenthsDb}, 0, "-24.0"},
      {{ReadoutKind::kTenthsDb}, 240, "0.0"},
      {{ReadoutKind::kTenthsDb}, 245, "0.5"},
      {{ReadoutKind::kHalfDbOrOff}, 0, "OFF"},
      {{ReadoutKind::kHalfDbOrOff}, 75, "0.0dB"},
      {{ReadoutKind::kHalfDbOrOff}, 1, "-37.0dB"},
      {{ReadoutKind::kDelayDistance}, 10, "10ms/3.4m"},
      {{ReadoutKind::kMusicKey}, 0, "b7"},
      {{ReadoutKind::kMusicKey}, 6, "b1"},
      {{ReadoutKind::kMusicKey}, 7, "0"},
      {{ReadoutKind::kMusicKey}, 8, "#1"},
      {{ReadoutKind::kMusicKey}, 14, "#7"},
      {{ReadoutKind::kNone}, 14, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatReadout(c.format, c.position), c.text)
        << static_cast<int>(c.format.kind) << " at " << c.position;
  EXPECT_EQ(FormatTenths(-1), "-0.1");
  EXPECT_EQ(FormatTenths(0), "0.0");
}

// A Qt application takes the user's locale for the C library; where that locale writes
// decimal commas, "1.5" must still read as 1.5 and tenths must still show a point.
TEST(PageRulesTest, NumbersUseADecimalPointWhateverTheUsersLocale) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  const char* comma = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8", "de_DE"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      comma = name;
      break;
    }
  }
  if (comma == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
  const std::string gain = FormatTenths(-15);
  const std::string seconds = FormatReadout({ReadoutKind::kSeconds}, 15);
  const std::string distance = FormatReadout({ReadoutKind::kDelayDistance}, 10);
  const auto typed = ParseTypedGain("1.5");
  const int q = CommitQ("2.5", kBandPeak, QCommit::kTyped);
  std::setlocale(LC_NUMERIC, before.c_str());
  EXPECT_EQ(gain, "-1.5") << comma;
  EXPECT_EQ(seconds, "1.5s");
  EXPECT_EQ(distance, "10ms/3.4m");
  EXPECT_EQ(typed, 15);
  EXPECT_EQ(q, 25);
}

}  // namespace
}  // namespace tavelo
