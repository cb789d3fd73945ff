// The processor's image against a preset file: every differing field once, under the name
// `show` prints, with the catalogue's unit; files that are not presets are refused with
// the reason.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/params/Catalogue.h"
#include "core/presets/BoostFile.h"
#include "core/presets/ParamFile.h"
#include "core/presets/PresetCompare.h"
#include "support/temp_folder.h"

namespace tavelo {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

ParamImage Defaults() {
  ParamImage image;
  ApplyDefaults(image);
  return image;
}

template <std::size_t N>
std::vector<std::uint8_t> Vec(const std::array<std::uint8_t, N>& bytes) {
  return {bytes.begin(), bytes.end()};
}

TEST(PresetCompare, ListsEachDifferingFieldWithItsCatalogueNameAndUnit) {
  TempFolder dir;
  const ParamImage processor = Defaults();
  ParamImage file = processor;
  WriteValue(file, RowOf(row::kMusicUdiskGain),
             ReadValue(processor, RowOf(row::kMusicUdiskGain)) + 3);
  WriteValue(file, RowOf(row::kMainLeftDelayMs), 12);
  BandOf(file, RowOf(BandRow(kEqMusic, 2))).gain = 45;
  WriteBytes(dir / "room", Vec(BuildParamFile(file)));

  const PresetComparison same = CompareWithFile(file, dir / "room");
  ASSERT_TRUE(same.ok) << same.message;
  EXPECT_TRUE(same.fields.empty());

  const PresetComparison result = CompareWithFile(processor, dir / "room");
  ASSERT_TRUE(result.ok) << result.message;
  ASSERT_EQ(result.fields.size(), 3u);
  const auto find = [&](std::string_view key) {
    return std::find_if(result.fields.begin(), result.fields.end(),
                        [key](const ComparedField& f) { return f.key == key; });
  };
  const auto gain = find(RowOf(row::kMusicUdiskGain).name);
  ASSERT_NE(gain, result.fields.end());
  EXPECT_EQ(gain->unit, UnitText(RowOf(row::kMusicUdiskGain).unit));
  EXPECT_NE(gain->processor, gain->file);
  const auto delay = find(RowOf(row::kMainLeftDelayMs).name);
  ASSERT_NE(delay, result.fields.end());
  EXPECT_EQ(delay->unit, "ms");
  EXPECT_EQ(delay->file, "12");
  const auto band = find(RowOf(BandRow(kEqMusic, 2)).name);
  ASSERT_NE(band, result.fields.end());
  EXPECT_NE(band->file.find("+4.5 dB"), std::string::npos) << band->file;
}

TEST(PresetCompare, RefusesWhatIsNotAPresetAndSaysWhy) {
  TempFolder dir;
  const ParamImage image = Defaults();
  WriteBytes(dir / "boost.btpar", Vec(BuildBoostFile(image.boost)));
  const PresetComparison boost = CompareWithFile(image, dir / "boost.btpar");
  EXPECT_FALSE(boost.ok);
  EXPECT_NE(boost.message.find("boost"), std::string::npos);

  std::vector<std::uint8_t> bytes = Vec(BuildParamFile(image));
  bytes.pop_back();
  WriteBytes(dir / "short", bytes);
  const PresetComparison cut = CompareWithFile(image, dir / "short");
  EXPECT_FALSE(cut.ok);
  EXPECT_NE(cut.message.find("1139"), std::string::npos) << cut.message;

  const PresetComparison missing = CompareWithFile(image, dir / "absent");
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.message.empty());
}

}  // namespace
}  // namespace tavelo
