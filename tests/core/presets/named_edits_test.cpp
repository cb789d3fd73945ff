// `tavelo-cli set`'s words: every name show prints, with the value show prints, reads back
// to the same image; ranges and output sets are refused before anything is sent; values of
// one block share one request.
#include <gtest/gtest.h>

#include "core/presets/NamedEdits.h"
#include "core/presets/ParamFields.h"
#include "core/presets/ParamFile.h"

namespace tavelo {
namespace {

ParamImage DefaultImage(int mode = kModeAuto) {
  ParamImage image;
  ApplyDefaults(image);
  image.byte(img::kAppMode) = static_cast<std::uint8_t>(mode);
  return image;
}

NamedEdit Parse(const std::string& word) {
  std::string error;
  const auto edit = ParseNamedEdit(word, error);
  EXPECT_TRUE(edit) << word << ": " << error;
  return edit.value_or(NamedEdit{});
}

std::string Refusal(const std::string& word) {
  std::string error;
  EXPECT_FALSE(ParseNamedEdit(word, error)) << word;
  return error;
}

TEST(NamedEdits, EveryNameShowPrintsTakesTheValueShowPrints) {
  ParamImage image = DefaultImage();
  image.byte(12) |= 0x80;  // a level with its on bit set
  image.boost.switches = 0x05;
  // Filter bands as a page keeps them: their filter's type, frequency and slope.
  for (const CatalogueRow& r : AllRows()) {
    const auto pass = PassFilterOf(r);
    if (!pass) continue;
    EqBand& band = BandOf(image, r);
    band.type = r.place.band == kEqSets[static_cast<std::size_t>(r.place.index)].wireBands
                    ? kBandLowPass
                    : kBandHighPass;
    band.freq = static_cast<std::int16_t>(ReadValue(image, RowOf(pass->frequency)));
    band.slope = static_cast<std::int8_t>(pass->slope ? ReadValue(image, RowOf(*pass->slope)) : 0);
  }
  std::vector<FieldEntry> fields = DescribeParamFile(ParamFileDataFromImage(image));
  for (const auto& f : DescribeBoostFile(image.boost)) fields.push_back(f);
  int settable = 0;
  for (const FieldEntry& f : fields) {
    const CatalogueRow* r = FindRow(f.key);
    ASSERT_NE(r, nullptr) << f.key;
    std::string error;
    const auto edit = ParseNamedEdit(f.key + "=" + f.text, error);
    if (!r->Carried()) {
      EXPECT_FALSE(edit) << f.key;
      EXPECT_NE(error.find("carried by no block"), std::string::npos) << error;
      continue;
    }
    ASSERT_TRUE(edit) << f.key << "=" << f.text << ": " << error;
    ParamImage again = image;
    ApplyNamedEdit(again, *edit);
    EXPECT_EQ(again, image) << f.key << "=" << f.text << " does not read back as itself";
    ++settable;
  }
  EXPECT_GT(settable, 300);
}

TEST(NamedEdits, RefusalsNameTheValueAndWhatItTakes) {
  EXPECT_NE(Refusal("reverb.level=101").find("reverb.level must be 0 to 100"), std::string::npos);
  EXPECT_NE(Refusal("main.comp_ratio=1").find("2 to 100"), std::string::npos);
  EXPECT_NE(Refusal("echo.type=quad").find("mono|stereo|dual"), std::string::npos);
  EXPECT_NE(Refusal("music.hpf_slope=steep").find("butter_24db"), std::string::npos);
  EXPECT_NE(Refusal("volume=3").find("unknown key 'volume'"), std::string::npos);
  EXPECT_NE(Refusal("master_level=3").find("carried by no block"), std::string::npos);
  EXPECT_NE(Refusal("music_eq.band4=lowpass,1000,1,0,butter_24db").find("cannot carry a slope"),
            std::string::npos);
  EXPECT_NE(Refusal("music_eq.band9=lowpass,1000,1,0").find("high-pass filter"), std::string::npos);
  EXPECT_NE(Refusal("reverb_eq.band6=lowpass,3000,1,0").find("4000 to 16000"), std::string::npos);
  EXPECT_NE(Refusal("echo_eq.band7=highpass,100,1,0,butter_12db").find("no slope"),
            std::string::npos);
  EXPECT_NE(Refusal("eq.main.8=peak,1000,1,0").find("bands 1 to 7"), std::string::npos);
}

TEST(NamedEdits, LevelsTakeTheirOnBitByNameOrWithTheValue) {
  ParamImage image = DefaultImage();
  ApplyNamedEdit(image, Parse("main.set2.music_level=40"));
  ApplyNamedEdit(image, Parse("main.set2.music_level.on=on"));
  EXPECT_EQ(image.byte(35), 0x80 | 40);
  ApplyNamedEdit(image, Parse("main.set2.music_level=12 off"));
  EXPECT_EQ(image.byte(35), 12);
  EXPECT_EQ(DescribeNamedEdit(Parse("main.set2.music_level=12"), image),
            "main.set2.music_level=12 off");
}

TEST(NamedEdits, ValuesOfOneBlockShareOneRequestInTheOrderGiven) {
  const ParamImage image = DefaultImage(kModeSing);
  std::vector<NamedEdit> edits;
  for (const char* w : {"reverb.level=40", "main.comp_ratio=4", "reverb.decay_ms=2000",
                        "echo.type=stereo", "main.set1.hpf_hz=80", "main.set1.hpf_slope=lr_24db"}) {
    edits.push_back(Parse(w));
  }
  std::string error;
  const auto plan = PlanEdits(image, edits, error);
  ASSERT_TRUE(plan) << error;
  ASSERT_EQ(plan->size(), 4u);
  ParamImage after = image;
  std::vector<BlockRequest> requests;
  for (const PlannedBlock& block : *plan) {
    for (const NamedEdit& e : block.edits) ApplyNamedEdit(after, e);
    requests.push_back(RequestForBlock(after, block));
  }
  EXPECT_EQ(requests[0], (BlockRequest{CommandCode::kReverbBlock, 0}));
  EXPECT_EQ((*plan)[0].edits.size(), 2u);
  EXPECT_EQ(requests[1], (BlockRequest{CommandCode::kOutputChannel, 0}));
  EXPECT_EQ(requests[2], (BlockRequest{CommandCode::kEchoType, 1}));
  EXPECT_EQ(requests[3], (BlockRequest{CommandCode::kPassFilter, 4}));
  EXPECT_EQ(after.word(4), 80);
  EXPECT_EQ(after.byte(44), kSlopeLinkwitzRiley24);
}

TEST(NamedEdits, OutputSetsGoOnlyInTheModeThatAddressesThem) {
  std::string error;
  const ParamImage dance = DefaultImage(kModeDance);
  EXPECT_FALSE(PlanEdits(dance, {Parse("main.set1.hpf_hz=100")}, error));
  EXPECT_NE(error.find("only in application mode sing"), std::string::npos) << error;
  EXPECT_NE(error.find("it is in dance"), std::string::npos) << error;
  EXPECT_FALSE(
      PlanEdits(DefaultImage(kModeSing), {Parse("centre_eq_2.band1=peak,100,1,3")}, error));
  EXPECT_NE(error.find("auto or dance"), std::string::npos) << error;

  // A mode set earlier on the same line counts, and starts a new request.
  const auto plan = PlanEdits(
      dance, {Parse("main.set2.hpf_hz=90"), Parse("app_mode=sing"), Parse("main.set1.hpf_hz=100")},
      error);
  ASSERT_TRUE(plan) << error;
  EXPECT_EQ(plan->size(), 3u);
  // Levels of either set travel with code 14 whatever the mode.
  EXPECT_TRUE(PlanEdits(dance, {Parse("main.set1.left_volume=50")}, error)) << error;
  // The short form follows the mode, as the pages do.
  const auto shortForm = PlanEdits(dance, {Parse("eq.main.1=peak,2500,4.0,-12")}, error);
  ASSERT_TRUE(shortForm) << error;
  EXPECT_EQ((*shortForm)[0].edits[0].row->id, BandRow(kEqMainSecond, 0));
}

}  // namespace
}  // namespace tavelo
