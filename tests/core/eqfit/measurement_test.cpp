// Reading measured responses: the text a measuring program exports and plain CSV read alike,
// and what cannot be a response is refused naming its line.
#include "core/eqfit/Measurement.h"

#include <gtest/gtest.h>

#include <string>

#include "core/eqfit/FitCurves.h"

namespace tavelo {
namespace {

// Ten points from 20 Hz to 10 kHz, as `head` `sep` `tail` lines.
std::string Points(const std::string& header, const char* format) {
  std::string text = header;
  const double hz[] = {20, 31.5, 63, 125, 250, 500, 1000, 2000, 5000, 10000};
  const double db[] = {70.5, 72.25, 80, 76.5, 75, 74.75, 75, 75.5, 73, 71};
  for (int i = 0; i < 10; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, format, hz[i], db[i], 10.0 * i);
    text += line;
  }
  return text;
}

const char* const kRewHeader =
    "* Measurement data measured by REW V5.20.13\r\n"
    "* Source: Umik-1, Left\r\n"
    "* Format: 1/48 octave smoothing\r\n"
    "* Freq(Hz) SPL(dB) Phase(degrees)\r\n";

TEST(Measurement, RewTextCsvTabsAndDecimalCommasReadAlike) {
  const MeasurementReading csv = ReadMeasurement(Points("Frequency,SPL\n", "%g,%g\n"));
  ASSERT_TRUE(csv.curve) << csv.error;
  ASSERT_EQ(csv.curve->hz.size(), 10u);
  EXPECT_DOUBLE_EQ(csv.curve->hz[1], 31.5);
  EXPECT_DOUBLE_EQ(csv.curve->db[1], 72.25);
  for (const std::string& text : {
           Points(kRewHeader, "%.3f %.3f %.3f\r\n"),
           Points(kRewHeader, "%.3f\t%.3f\t%.3f\n"),
           Points("", "%.3f, %.3f, %.3f\n"),
           Points("", "%.3f;%.3f;%.3f\n"),
       }) {
    const MeasurementReading other = ReadMeasurement(text);
    ASSERT_TRUE(other.curve) << other.error << "\n" << text;
    EXPECT_EQ(other.curve->hz, csv.curve->hz) << text;
    EXPECT_EQ(other.curve->db, csv.curve->db) << text;
  }
  // A locale with a decimal comma: blank-separated fields, or a semicolon.
  std::string comma = Points(kRewHeader, "%.2f %.2f %.1f\n");
  for (char& c : comma) c = c == '.' ? ',' : c;
  const MeasurementReading localised = ReadMeasurement(comma);
  ASSERT_TRUE(localised.curve) << localised.error;
  EXPECT_EQ(localised.curve->db, csv.curve->db);
  EXPECT_EQ(localised.curve->hz, csv.curve->hz);
}

TEST(Measurement, PointsOutsideTheProcessorsRangeAreLeftOutNotRefused) {
  const MeasurementReading r =
      ReadMeasurement(Points("2.0 50\n10 60\n", "%g %g\n") + "20500 65\n24000 60\n");
  ASSERT_TRUE(r.curve) << r.error;
  EXPECT_EQ(r.curve->hz.size(), 10u);
  EXPECT_EQ(r.pointsOutside, 4);
}

TEST(Measurement, RefusalsNameTheLine) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const std::string good = Points("", "%g %g\n");
  const Case cases[] = {
      {"20 70\n40 71\n80 72\n", "only 3 points lie between 20 Hz and 20 kHz (lines 1-3)"},
      {good + "8000 70\n",
       "line 11: the frequency 8000 Hz does not rise above 10000 Hz on line 10"},
      {good + "12000 70\n12000 71\n", "line 12: the frequency 12000 Hz does not rise above"},
      {"* x\n20 70\n30 nan\n", "line 3: the SPL is nan, not a measured value"},
      {good + "-Inf 3\n", "line 11: the frequency is -Inf"},
      {good + "15000 abc\n", "line 11: the SPL \"abc\" is not a number"},
      {good + "15000\n", "line 11: \"15000\" holds no SPL"},
      {"0 70\n", "line 1: the frequency 0 Hz is not above 0 Hz"},
      {"1 70\n5 71\n21000 70\n22000 70\n", "only 0 points lie between 20 Hz and 20 kHz (none)"},
      {"", "only 0 points"},
      {good + "15000 7\x1b[2J\n", "line 11: the SPL \"7\\u001B[2J\" is not a number"},
  };
  for (const Case& c : cases) {
    const MeasurementReading r = ReadMeasurement(c.text);
    EXPECT_FALSE(r.curve) << c.text;
    EXPECT_NE(r.error.find(c.expected), std::string::npos) << r.error << "\n" << c.text;
  }
}

TEST(FitCurves, FilesAreLevelAlignedBeforeAveragingAndTheTargetSetsTheLevel) {
  const ResponseCurve a = *ReadMeasurement(Points("", "%g %g\n")).curve;
  ResponseCurve louder = a;
  for (double& db : louder.db) db += 12;  // the same room, microphone gain higher
  ResponseCurve house;
  house.hz = {20, 20000};
  house.db = {6, -4};
  FitSettings settings;
  settings.pointsPerOctave = 12;
  settings.fitHighHz = 10000;
  std::string error;
  const auto one = PrepareFitCurves({a}, &house, settings, error);
  ASSERT_TRUE(one) << error;
  const auto two = PrepareFitCurves({a, louder}, &house, settings, error);
  ASSERT_TRUE(two) << error;
  ASSERT_EQ(one->measured.size(), two->measured.size());
  double measuredMean = 0, targetMean = 0;
  int inBand = 0;
  for (std::size_t i = 0; i < one->hz.size(); ++i) {
    EXPECT_NEAR(one->measured[i], two->measured[i], 1e-9);
    if (one->hz[i] >= 200 && one->hz[i] <= 2000) {
      measuredMean += one->measured[i];
      targetMean += one->target[i];
      ++inBand;
    }
  }
  EXPECT_NEAR(measuredMean / inBand, targetMean / inBand, 1e-9);
  // The measurement ends at 10 kHz: the grid does too, and the fit range with it.
  EXPECT_LE(one->hz.back(), 10000 * 1.0001);
  EXPECT_EQ(one->fitEnd, static_cast<int>(one->hz.size()));
}

TEST(FitCurves, RangesThatCannotBeFittedAreRefused) {
  const ResponseCurve a = *ReadMeasurement(Points("", "%g %g\n")).curve;
  std::string error;
  FitSettings settings;
  settings.fitLowHz = 500;
  settings.fitHighHz = 400;
  EXPECT_FALSE(PrepareFitCurves({a}, nullptr, settings, error));
  EXPECT_NE(error.find("is not a range between 20 Hz and 20 kHz"), std::string::npos) << error;
  settings = {};
  settings.alignLowHz = 12000;
  settings.alignHighHz = 18000;
  EXPECT_FALSE(PrepareFitCurves({a}, nullptr, settings, error));
  EXPECT_NE(error.find("do not reach the alignment band"), std::string::npos) << error;
  EXPECT_FALSE(PrepareFitCurves({}, nullptr, FitSettings{}, error));
}

}  // namespace
}  // namespace tavelo
