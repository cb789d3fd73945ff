// Filter text from room-measurement programs: what is read, what is refused and why, how it
// lands in a set of the processor's bands, and that the set then sounds like the file.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>

#include "band_test_support.h"
#include "core/eq/FilterText.h"

namespace tavelo::testing {
namespace {

// As the measuring program writes a generic equaliser's filters, CRLF line ends.
const char* const kRoomFile =
    "Filter Settings file\r\n"
    "\r\n"
    "Room EQ V5.20.13\r\n"
    "Dated: 8 Dec 2026 10:02:11\r\n"
    "\r\n"
    "Notes:Room 4 after seating\r\n"
    "\r\n"
    "Equaliser: Generic\r\n"
    "Average 1\r\n"
    "Filter  1: ON  PK       Fc   63.0 Hz  Gain  -5.0 dB  Q  4.00\r\n"
    "Filter  2: ON  PK       Fc   98.0 Hz  Gain  -7.5 dB  Q  6.30\r\n"
    "Filter  3: ON  None\r\n"
    "Filter  4: ON  LS       Fc   45.0 Hz  Gain   3.0 dB\r\n"
    "Filter  5: ON  PK       Fc  160.0 Hz  Gain  -3.5 dB  Q  2.10\r\n"
    "Filter  6: OFF PK       Fc  250.0 Hz  Gain  -2.0 dB  Q  1.00\r\n"
    "Filter  7: ON  PK       Fc  420.0 Hz  Gain   2.0 dB  Q  1.50\r\n"
    "Filter  8: ON  HSC      Fc 8000.0 Hz  Gain  -2.0 dB  Q  0.71\r\n"
    "Filter  9: ON  PK       Fc 1250.0 Hz  Gain  -1.5 dB  Q  3.00\r\n"
    "Filter 10: ON  PK       Fc 2500.0 Hz  Gain   1.0 dB  Q  2.00\r\n"
    "Filter 11: ON  PK       Fc 3150.0 Hz  Gain  -2.5 dB  Q  5.00\r\n"
    "Filter 12: ON  PK       Fc 5000.0 Hz  Gain  -1.0 dB  Q  4.00\r\n"
    "Filter 13: ON  None\r\n";

// The cookbook filter of the file's own values, evaluated directly: the curve the file
// describes, before any rounding to the processor's steps.
double CookbookDb(const TextFilter& f, double hz) {
  const double a = std::pow(10.0, f.gainDb / 40.0);
  const double w0 = 2 * std::numbers::pi * f.frequency / 48000.0;
  const double alpha = std::sin(w0) / (2 * f.q);
  const double c = std::cos(w0);
  double b[3], d[3];
  if (f.type == kBandPeak) {
    b[0] = 1 + alpha * a, b[1] = -2 * c, b[2] = 1 - alpha * a;
    d[0] = 1 + alpha / a, d[1] = -2 * c, d[2] = 1 - alpha / a;
  } else {
    const double r = 2 * std::sqrt(a) * alpha;
    const double s = f.type == kBandLowShelf ? 1 : -1;
    b[0] = a * ((a + 1) - s * (a - 1) * c + r);
    b[1] = s * 2 * a * ((a - 1) - s * (a + 1) * c);
    b[2] = a * ((a + 1) - s * (a - 1) * c - r);
    d[0] = (a + 1) + s * (a - 1) * c + r;
    d[1] = -s * 2 * ((a - 1) + s * (a + 1) * c);
    d[2] = (a + 1) + s * (a - 1) * c - r;
  }
  const std::complex<double> z = std::polar(1.0, -2 * std::numbers::pi * hz / 48000.0);
  return 20 *
         std::log10(std::abs((b[0] + b[1] * z + b[2] * z * z) / (d[0] + d[1] * z + d[2] * z * z)));
}

TEST(FilterTextImport, TenRoomFiltersFillTheSevenMusicBandsAndTheCurveMatchesTheFile) {
  const FilterTextReading reading = ReadFilterText(kRoomFile);
  EXPECT_TRUE(reading.problems.empty()) << reading.problems.front();
  EXPECT_EQ(reading.disabled, 3);    // two None slots and one OFF filter
  EXPECT_EQ(reading.otherLines, 6);  // the header, program, date, notes, device and average
  ASSERT_EQ(reading.filters.size(), 10u);
  EXPECT_EQ(reading.filters[0].line, 10);
  EXPECT_EQ(reading.filters[2].number, 4);
  EXPECT_EQ(reading.filters[2].type, kBandLowShelf);
  EXPECT_NEAR(reading.filters[2].q, 0.7071, 1e-4);  // a plain shelf is the slope-1 shelf

  std::array<EqBand, 7> current{};
  for (auto& b : current) b = MakeBand(kBandPeak, 1000, 10, 60);
  const FilterImport import = ImportFilters(reading.filters, current.data(), 7);
  ASSERT_EQ(import.bands.size(), 7u);
  EXPECT_TRUE(import.notes.empty()) << import.notes.front();
  ASSERT_EQ(import.leftOver.size(), 3u);
  EXPECT_EQ(import.leftOver[0].number, 10);
  EXPECT_EQ(import.leftOver[2].number, 12);
  EXPECT_EQ(import.bands[0], MakeBand(kBandPeak, 63, 40, -50));
  EXPECT_EQ(import.bands[5], MakeBand(kBandHighShelf, 8000, 7, -20));

  double worst = 0;
  for (int i = 0; i <= 300; ++i) {
    const double hz = 20 * std::pow(1000.0, i / 300.0);
    double file = 0, set = 0;
    for (int b = 0; b < 7; ++b) {
      file += CookbookDb(reading.filters[static_cast<std::size_t>(b)], hz);
      set += DirectResponseDb(import.bands[static_cast<std::size_t>(b)], hz);
    }
    worst = std::max(worst, std::abs(file - set));
  }
  EXPECT_LT(worst, 0.1);
}

TEST(FilterTextImport, DecimalCommaLfAndUnnumberedLinesReadTheSame) {
  const auto comma = ReadFilterText(
      "Preamp: -6,5 dB\nFilter: ON PK Fc 63,0 Hz Gain -5,0 dB Q 4,00\n"
      "Filter 2: ON PK Fc 1000 Hz Gain +2 dB BW Oct 1,0\n");
  ASSERT_TRUE(comma.problems.empty()) << comma.problems.front();
  ASSERT_EQ(comma.filters.size(), 2u);
  EXPECT_EQ(comma.filters[0].number, 0);
  EXPECT_DOUBLE_EQ(comma.filters[0].frequency, 63.0);
  EXPECT_DOUBLE_EQ(comma.filters[0].gainDb, -5.0);
  EXPECT_DOUBLE_EQ(comma.filters[0].q, 4.0);
  EXPECT_NEAR(comma.filters[1].q, 1.4142, 1e-4);  // one octave between the half-gain points
  EXPECT_FALSE(ParseLocaleNumber("1,000.5"));
  EXPECT_FALSE(ParseLocaleNumber("1,0,0"));
  EXPECT_FALSE(ParseLocaleNumber("nan"));
  EXPECT_FALSE(ParseLocaleNumber("1e999"));
}

TEST(FilterTextImport, ShelfVariantsTakeTheirQFromQOrSlope) {
  const auto r = ReadFilterText(
      "Filter 1: ON LS 12dB Fc 100 Hz Gain 6 dB\n"
      "Filter 2: ON LSC Fc 100 Hz Gain 6 dB Q 1.2\n"
      "Filter 3: ON HSC 6 dB Fc 5000 Hz Gain 6 dB\n"
      "Filter 4: ON HSQ Fc 5000 Hz Gain -3 dB Q 0.5\n"
      "Filter 5: ON HS Fc 5000 Hz Gain -3 dB\n");
  ASSERT_EQ(r.filters.size(), 4u);
  ASSERT_EQ(r.problems.size(), 1u);  // the first-order shelf
  EXPECT_NE(r.problems[0].find("line 3: filter 3 (HSC 6dB)"), std::string::npos) << r.problems[0];
  EXPECT_NEAR(r.filters[0].q, 0.7071, 1e-4);
  EXPECT_DOUBLE_EQ(r.filters[1].q, 1.2);
  EXPECT_EQ(r.filters[2].type, kBandHighShelf);
  EXPECT_DOUBLE_EQ(r.filters[2].q, 0.5);
  EXPECT_NEAR(r.filters[3].q, 0.7071, 1e-4);

  // A gentler slope gives a lower Q, depending on the gain as the cookbook says.
  const auto gentle = ReadFilterText("Filter 1: ON LSC 9 dB Fc 100 Hz Gain 6 dB\n");
  ASSERT_EQ(gentle.filters.size(), 1u);
  EXPECT_NEAR(gentle.filters[0].q, 0.6078, 1e-3);
}

TEST(FilterTextImport, WhatTheBandsCannotTakeIsReportedByLine) {
  const auto r = ReadFilterText(
      "Filter 1: ON LP Fc 100 Hz\n"
      "Filter 2: ON NO Fc 50 Hz\n"
      "Filter 3: ON PK Fc abc Hz Gain 1 dB Q 1\n"
      "Filter 4: ON PK Fc 100 Hz Gain 1 dB\n"
      "Filter 5: ON PK Fc 100 Hz Q 1\n"
      "Filter 6: ON PK Fc 100 Hz Gain 1 dB Q 0\n"
      "Filter x: ON PK Fc 100 Hz Gain 1 dB Q 1\n"
      "Filter 8: ON PK Fc 100 Hz Gain 1 dB Width 3\n"
      "Delay: 3 ms\n"
      "Filter 10: ON PK Fc 100 Hz Gain 1 dB Q 1\n");
  ASSERT_EQ(r.filters.size(), 1u);
  EXPECT_EQ(r.filters[0].line, 10);
  const std::vector<std::string> expected = {
      "line 1: filter 1 (LP) is a low-pass filter",
      "line 2: filter 2 (NO) is a notch filter",
      "line 3: filter 3 (PK): Fc needs a number",
      "line 4: filter 4 (PK): Q is missing",
      "line 5: filter 5 (PK): Gain is missing",
      "line 6: filter 6 (PK): Q must be above 0",
      "line 7: \"x\" is not a filter number",
      "line 8: filter 8 (PK): \"Width\" is not Fc, Gain, Q or BW",
      "line 9: Delay is not an equaliser filter",
  };
  ASSERT_EQ(r.problems.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(r.problems[i].rfind(expected[i], 0), 0u) << r.problems[i];
  }
}

// A line that is lost shifts every band after it, so nothing is dropped without a word: a
// byte-order mark is no part of the first line, an unknown line is named, and UTF-16 text is
// named for what it is.
TEST(FilterTextImport, AByteOrderMarkIsSkippedAndNoLineIsDroppedSilently) {
  const auto marked = ReadFilterText(
      "\xEF\xBB\xBF"
      "Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\r\n"
      "Filter 2: ON PK Fc 200 Hz Gain 2 dB Q 1\r\n");
  ASSERT_EQ(marked.filters.size(), 2u);
  EXPECT_EQ(marked.filters[0].frequency, 100.0);
  EXPECT_TRUE(marked.problems.empty()) << marked.problems.front();

  const auto unknown = ReadFilterText(
      "Equaliser: Generic\n"
      "Living room left\n"
      "Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n"
      "Fliter 2: ON PK Fc 200 Hz Gain 2 dB Q 1\n" +
      std::string(200, 'z') + "\n");
  ASSERT_EQ(unknown.filters.size(), 1u);
  ASSERT_EQ(unknown.problems.size(), 2u);
  EXPECT_EQ(unknown.problems[0],
            "line 4: \"Fliter 2: ON PK Fc 200 Hz Gain 2 dB Q 1\" is neither a filter nor a known "
            "heading; it was not read");
  EXPECT_LT(unknown.problems[1].size(), 150u) << "a long line is shortened";

  for (const auto& [text, name] : {std::pair<std::string, std::string>{std::string("\xFF\xFE"
                                                                                   "F\0i\0",
                                                                                   6),
                                                                       "UTF-16LE"},
                                   {std::string("\xFE\xFF\0F\0i", 6), "UTF-16BE"},
                                   {std::string("F\0i\0l\0", 6), "UTF-16LE"}}) {
    const auto wide = ReadFilterText(text);
    EXPECT_TRUE(wide.filters.empty());
    ASSERT_EQ(wide.problems.size(), 1u) << name;
    EXPECT_NE(wide.problems[0].find("the file is " + name + " text"), std::string::npos)
        << wide.problems[0];
  }
}

// A filter file is data from elsewhere: words quoted back in a problem must not carry a
// terminal's control sequences into the console or a log.
TEST(FilterTextImport, ControlBytesInTheFileAreEscapedInWhatIsReported) {
  const auto r = ReadFilterText(
      "Filter 1\x1b[2J: ON PK Fc 100 Hz Gain 1 dB Q 1\n"
      "Filter 2: ON \x1b]0;x\x07 Fc 100 Hz\n"
      "Filter 3: ON PK Fc 100 Hz Gain 1 dB \x1b[31mQ 1\n");
  ASSERT_EQ(r.problems.size(), 3u);
  for (const auto& p : r.problems) {
    for (const char c : p) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << p;
  }
  EXPECT_EQ(r.problems[0].rfind(R"(line 1: "1\u001B[2J" is not a filter number)", 0), 0u)
      << r.problems[0];
  EXPECT_NE(r.problems[1].find(R"((\u001B]0;x\u0007))"), std::string::npos) << r.problems[1];
  EXPECT_NE(r.problems[2].find(R"("\u001B[31mQ" is not Fc, Gain, Q or BW)"), std::string::npos)
      << r.problems[2];
}

TEST(FilterTextImport, ValuesOutsideTheProcessorsLimitsAreHeldAndNamed) {
  const auto r = ReadFilterText(
      "Filter 1: ON PK Fc 10 Hz Gain 30 dB Q 0.2\n"
      "Filter 2: ON LSC Fc 30000 Hz Gain -3.04 dB Q 3\n"
      "Filter 3: ON PK Fc 99.5 Hz Gain -2.25 dB Q 2.25\n");
  ASSERT_EQ(r.filters.size(), 3u);
  const std::array<EqBand, 4> current{
      MakeBand(kBandLowPass, 80, 7, 0, kSlopeButter24), MakeBand(kBandPeak, 1000, 10, 0),
      MakeBand(kBandPeak, 1000, 10, 0), MakeBand(kBandPeak, 15000, 10, 45)};
  const FilterImport import = ImportFilters(r.filters, current.data(), 4);
  EXPECT_EQ(import.bands[0], MakeBand(kBandPeak, 20, 4, 240));
  EXPECT_EQ(import.bands[1], MakeBand(kBandLowShelf, 20000, 20, -30));
  EXPECT_EQ(import.bands[2], MakeBand(kBandPeak, 100, 23, -23));  // rounded, not held
  EXPECT_EQ(import.bands[3], MakeBand(kBandPeak, 15000, 10, 0));  // flat, where it was
  const std::vector<std::string> expected = {
      "band 1: line 1: filter 1 (PK) frequency 10.0 Hz held to 20 Hz",
      "band 1: line 1: filter 1 (PK) gain +30.0 dB held to +24.0 dB",
      "band 1: line 1: filter 1 (PK) Q 0.20 held to 0.4",
      "band 2: line 2: filter 2 (LSC) frequency 30000.0 Hz held to 20000 Hz",
      "band 2: line 2: filter 2 (LSC) Q 3.00 held to 2.0",
      "band 4: no filter for it; set flat (peak, 0 dB)",
  };
  EXPECT_EQ(import.notes, expected);
  EXPECT_TRUE(import.leftOver.empty());
}

TEST(FilterTextExport, WrittenBandsReadBackAsTheSameBands) {
  const std::array<EqBand, 5> bands{
      MakeBand(kBandPeak, 63, 40, -50), MakeBand(kBandLowShelf, 45, 7, 30),
      MakeBand(kBandHighShelf, 8000, 20, -125), MakeBand(kBandHighPass, 80, 7, 0, kSlopeButter24),
      MakeBand(kBandPeak, 20000, 999, 240)};
  const std::string text = WriteFilterText(bands.data(), 5, "music_eq\x1b[31m");
  EXPECT_NE(text.find("Notes: music_eq?[31m\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Filter  1: ON  PK       Fc    63.0 Hz  Gain  -5.0 dB  Q  4.00\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("# band 4: highpass,80,0.7,0.0,butter_24db"), std::string::npos) << text;

  const auto back = ReadFilterText(text);
  EXPECT_TRUE(back.problems.empty()) << back.problems.front();
  EXPECT_EQ(back.disabled, 1);
  ASSERT_EQ(back.filters.size(), 4u);
  const std::array<int, 4> source = {0, 1, 2, 4};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(FitFilter(back.filters[i]).band, bands[static_cast<std::size_t>(source[i])]) << i;
    EXPECT_TRUE(FitFilter(back.filters[i]).held.empty());
  }
}

}  // namespace
}  // namespace tavelo::testing
