// tavelo-cli show on parameter and boost files, good and refused.
#include <gtest/gtest.h>

#include "core/presets/BoostFile.h"
#include "core/presets/FileReport.h"
#include "core/presets/ParamFile.h"
#include "show_diff_support.h"

namespace tavelo {
namespace {

using show_diff_test::Scratch;

ParamImage RoomImage() {
  ParamImage image;
  image.bytes[img::kMusicVolume] = 70;
  image.bytes[img::kMusicMaxVolume] = 84;
  image.bytes[img::kAppMode] = kModeDance;
  image.eq[kEqMusic][3] = EqBand{0, kBandPeak, 1000, 10, 30};
  image.switchWord = 1U << 15;
  image.name = {'R', 'o', 'o', 'm', ' ', '7', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  return image;
}

bool HasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST(ShowCommand, PrintsTheFieldsOfAParameterFileAsTextAndJson) {
  Scratch dir;
  const auto bytes = BuildParamFile(RoomImage());
  const std::string file = dir.Write("room7", bytes);

  const auto text = dir.Run({"show", file});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_EQ(text.err, "");
  for (const char* line : {"kind: parameter_file", "preset_name: \"Room 7\"", "music.volume: 70",
                           "app_mode: dance", "music_eq.band4: peak 1000 Hz q=1.0 +3.0 dB",
                           "music_eq.band9: high-pass 20 Hz bypass", "switch.music.eq_on: on",
                           "switch.main.left_mute: off", "echo_eq.band7: high-pass 20 Hz bypass"}) {
    EXPECT_TRUE(HasLine(text.out, line)) << line;
  }

  const auto json = dir.Run({"show", "--json", file});
  EXPECT_EQ(json.exitCode, 0);
  const DescribedFile described = DescribeFileBytes(bytes.data(), bytes.size());
  EXPECT_EQ(json.out, FieldsAsJson(described.kind, described.fields));
  EXPECT_EQ(json.out.substr(json.out.size() - 2), "}\n");
  EXPECT_EQ(dir.Run({"show", file, "--json"}).out, json.out);
}

TEST(ShowCommand, PrintsABoostFile) {
  Scratch dir;
  BoostBlock block;
  block.switches = 0x01;
  block.bands[0][4] = EqBand{0, kBandHighShelf, 8000, 7, -60};
  const auto run = dir.Run({"show", dir.Write("vocal.btpar", BuildBoostFile(block))});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(HasLine(run.out, "kind: boost_file"));
  EXPECT_TRUE(HasLine(run.out, "boost_switch.mic: on"));
  EXPECT_TRUE(HasLine(run.out, "boost_mic.band5: high shelf 8000 Hz q=0.7 -6.0 dB"));
}

TEST(ShowCommand, RefusesABadFileWithTheReasonAndMisuseWithUsage) {
  Scratch dir;
  const auto good = BuildParamFile(RoomImage());
  auto badSum = good;
  badSum[600] ^= 1;
  auto badMagic = good;
  badMagic[0] = 0x94;
  badMagic[1137] = static_cast<std::uint8_t>(badMagic[1137] - 1);
  const struct {
    std::string file;
    std::string reason;
  } cases[] = {
      {dir.Write("short", good.data(), 1139), "wrong size: 1139 bytes"},
      {dir.Write("sum", badSum), "bad checksum"},
      {dir.Write("magic", badMagic), "bad magic"},
  };
  for (const auto& c : cases) {
    const auto run = dir.Run({"show", c.file});
    EXPECT_EQ(run.exitCode, 1) << c.reason;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
  }
  EXPECT_EQ(dir.Run({"show", dir.Write("empty", good.data(), 0)}).exitCode, 1);
  EXPECT_EQ(dir.Run({"show", "/nonexistent/tavelo/file"}).exitCode, 1);
  EXPECT_EQ(dir.Run({"show"}).exitCode, 2);
  EXPECT_EQ(dir.Run({"show", "--yaml", cases[0].file}).exitCode, 2);
  EXPECT_EQ(dir.Run({"show", cases[0].file, cases[1].file}).exitCode, 2);
}

}  // namespace
}  // namespace tavelo
