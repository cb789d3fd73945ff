// tavelo-cli diff between two PC files.
#include <gtest/gtest.h>

#include "core/presets/BoostFile.h"
#include "core/presets/ParamFile.h"
#include "show_diff_support.h"

namespace tavelo {
namespace {

using show_diff_test::Scratch;

TEST(DiffCommand, PrintsOneLinePerDifferingFieldAndNothingForEqualFiles) {
  Scratch dir;
  ParamImage a;
  a.bytes[img::kEchoType] = 1;
  a.eq[kEqMainFirst][2] = EqBand{0, kBandPeak, 500, 14, 0};
  ParamImage b = a;
  b.bytes[img::kEchoType] = 2;
  b.eq[kEqMainFirst][2].gain = -35;
  const std::string fa = dir.Write("a", BuildParamFile(a));
  const std::string fb = dir.Write("b", BuildParamFile(b));
  const std::string fa2 = dir.Write("a copy", BuildParamFile(a));

  const auto same = dir.Run({"diff", fa, fa2});
  EXPECT_EQ(same.exitCode, 0);
  EXPECT_EQ(same.out, "");
  EXPECT_EQ(same.err, "");

  const auto differ = dir.Run({"diff", fa, fb});
  EXPECT_EQ(differ.exitCode, 0);
  EXPECT_EQ(differ.out,
            "echo.type: stereo -> dual\n"
            "main_eq_1.band3: peak 500 Hz q=1.4 +0.0 dB -> peak 500 Hz q=1.4 -3.5 dB\n");
}

TEST(DiffCommand, RefusesBadFilesMixedKindsAndMisuse) {
  Scratch dir;
  const auto param = BuildParamFile(ParamImage{});
  const std::string good = dir.Write("good", param);
  auto broken = param;
  broken[9] ^= 4;
  const std::string bad = dir.Write("bad", broken);
  const std::string boost = dir.Write("b.btpar", BuildBoostFile(BoostBlock{}));

  const auto run = dir.Run({"diff", good, bad});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("bad checksum"), std::string::npos) << run.err;
  EXPECT_EQ(dir.Run({"diff", good, boost}).exitCode, 1);
  EXPECT_EQ(dir.Run({"diff", good}).exitCode, 2);
  EXPECT_EQ(dir.Run({"diff", good, good, good}).exitCode, 2);
}

}  // namespace
}  // namespace tavelo
