// tavelo-cli curve, run as a program: the CSV a script reads, its agreement with the
// response computation, and the refusals (exit 2) of bad bands and widths.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "core/eq/BandSyntax.h"
#include "core/eq/EqResponse.h"

namespace tavelo {
namespace {

struct CliRun {
  int exitCode = -1;
  std::string out;
};

// Runs tavelo-cli with `args` (already shell-quoted). Keeps stdout, or stderr when
// `stderrOnly` is set.
CliRun RunCli(const std::string& args, bool stderrOnly = false) {
  CliRun run;
#ifdef TAVELO_CLI_PATH
  const std::string command = std::string("'") + TAVELO_CLI_PATH + "' " + args +
                              (stderrOnly ? " 2>&1 >/dev/null" : " 2>/dev/null");
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#else
  (void)args;
  (void)stderrOnly;
#endif
  return run;
}

struct Row {
  int column = 0;
  double hz = 0;
  double db = 0;
};

// Parses the CSV body; fails the test on a malformed line.
std::vector<Row> ParseRows(const std::string& csv, std::string& header) {
  std::istringstream in(csv);
  std::getline(in, header);
  std::vector<Row> rows;
  std::string line;
  while (std::getline(in, line)) {
    Row r;
    char c1 = 0, c2 = 0;
    std::istringstream fields(line);
    fields >> r.column >> c1 >> r.hz >> c2 >> r.db;
    EXPECT_TRUE(fields && c1 == ',' && c2 == ',' && fields.peek() == EOF) << line;
    rows.push_back(r);
  }
  return rows;
}

class CurveCli : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef TAVELO_CLI_PATH
    GTEST_SKIP() << "tavelo-cli is not built";
#endif
  }
};

TEST_F(CurveCli, WritesOneLinePerColumnFromFiftyToTheWidth) {
  for (int width : {0, 51, 2048}) {
    const std::string widthArg = width ? "--width " + std::to_string(width) + " " : "";
    const CliRun run = RunCli("curve " + widthArg + "peak,1000,1.0,12");
    ASSERT_EQ(run.exitCode, 0) << width;
    std::string header;
    const auto rows = ParseRows(run.out, header);
    EXPECT_EQ(header, "column,frequency_hz,gain_db");
    const int expectedWidth = width ? width : 1000;  // the default
    ASSERT_EQ(static_cast<int>(rows.size()), expectedWidth - 50) << width;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      ASSERT_EQ(rows[i].column, 50 + static_cast<int>(i));
      ASSERT_TRUE(std::isfinite(rows[i].db));
      if (i > 0) {
        ASSERT_GT(rows[i].hz, rows[i - 1].hz);
      }
    }
  }
}

TEST_F(CurveCli, PeakShowsItsGainAtItsCentreColumn) {
  const CliRun run = RunCli("curve peak,1000,1.0,12");
  ASSERT_EQ(run.exitCode, 0);
  std::string header;
  const auto rows = ParseRows(run.out, header);
  ASSERT_EQ(rows.size(), 950u);
  const Row& centre = rows[589 - 50];  // the column of 1000 Hz on a 1000-wide graph
  EXPECT_NEAR(centre.hz, 1000.88, 0.01);
  EXPECT_NEAR(centre.db, 12.0, 0.01);
  EXPECT_NE(run.out.find("\n589,1000.88,11.9999\n"), std::string::npos);
}

TEST_F(CurveCli, SumsItsBandsAsTheResponseComputationDoes) {
  const std::vector<std::string> texts = {"peak,250,2.5,-6.5", "lowshelf,80,0.7,4",
                                          "highshelf,8000,1,3", "highpass,40,0.7,0,bessel_18db",
                                          "lowpass,15000,0.7,0,'Link Riley 24db'"};
  std::string args = "curve --width=700";
  std::vector<EqBand> bands;
  for (const std::string& t : texts) {
    args += " " + t;
    std::string unquoted = t, error;
    std::erase(unquoted, '\'');
    bands.push_back(*ParseBand(unquoted, error));
  }
  const CliRun run = RunCli(args);
  ASSERT_EQ(run.exitCode, 0);
  std::string header;
  const auto rows = ParseRows(run.out, header);
  ASSERT_EQ(rows.size(), 650u);

  EqResponse resp(GraphGeometry::ForWidth(700));
  resp.SumBandCurves(bands.data(), static_cast<int>(bands.size()));
  const GraphGeometry& g = resp.Geometry();
  for (const Row& r : rows) {
    ASSERT_NEAR(r.hz, g.FrequencyOfColumn(r.column), 0.005) << r.column;
    ASSERT_NEAR(r.db, resp.SumCurve()[r.column] / g.pixelsPerDb, 0.00006) << r.column;
  }
}

TEST_F(CurveCli, FlatResponseIsPrintedWithoutNegativeZeros) {
  const CliRun run = RunCli("curve peak,1000,1,0 lowpass,500,1,0,bypass");
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.find("-0.0000"), std::string::npos);
  EXPECT_NE(run.out.find("\n50,14.75,0.0000\n"), std::string::npos);
}

TEST_F(CurveCli, RefusesBadBandsAndWidthsWithExitTwo) {
  const CliRun bad = RunCli("curve peak,1000,1,0 'peak,10,1,3'", true);
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.out.find("peak,10,1,3"), std::string::npos) << bad.out;
  EXPECT_EQ(RunCli("curve peak,10,1,3").out, "");  // nothing on stdout

  for (const char* args :
       {"curve", "curve notch,1000,1,0", "curve peak,1000,1,0,butter_12db",
        "curve --width 50 peak,1000,1,0", "curve --width 2049 peak,1000,1,0",
        "curve --width wide peak,1000,1,0", "curve --width", "curve --height 5 peak,1000,1,0"}) {
    const CliRun run = RunCli(args, true);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_FALSE(run.out.empty()) << args;
  }
}

}  // namespace
}  // namespace tavelo

namespace tavelo {
namespace {

// Options may come before the command; a word that names no command is a usage error.
TEST(CliDispatch, OptionsBeforeTheCommandAndUnknownCommands) {
  const CliRun before = RunCli("--width 60 curve peak,1000,1.0,0");
  EXPECT_EQ(before.exitCode, 0);
  EXPECT_EQ(before.out, RunCli("curve --width 60 peak,1000,1.0,0").out);
  EXPECT_EQ(RunCli("bogus").exitCode, 2);
  EXPECT_EQ(RunCli("--width 60").exitCode, 2);
  EXPECT_EQ(RunCli("help").exitCode, 0);
}

}  // namespace
}  // namespace tavelo
