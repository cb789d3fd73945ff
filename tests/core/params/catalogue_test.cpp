// The catalogue's own consistency: names, ids, per-set pairs and value access.
#include "core/params/Catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/text/Texts.h"

namespace tavelo {
namespace {

TEST(CatalogueTest, EveryRowHasOneIdAndOneName) {
  std::set<std::string_view> names;
  const auto rows = AllRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CatalogueRow& r = rows[i];
    EXPECT_EQ(r.id, i) << r.name;
    EXPECT_TRUE(names.insert(r.name).second) << "duplicate name " << r.name;
    EXPECT_EQ(FindRow(r.name), &r) << r.name;
    EXPECT_LE(r.min, r.max) << r.name;
  }
  EXPECT_EQ(FindRow("music.volume"), &RowOf(row::kMusicVolume));
  EXPECT_EQ(FindRow("no.such.value"), nullptr);
  EXPECT_EQ(RowOf(BandRow(kEqMusic, 3)).name, "music_eq.band4");
  EXPECT_EQ(RowOf(BoostBandRow(2, 1)).name, "boost_reverb.band2");
  EXPECT_EQ(RowOf(AltSwitchBitRow(0)).name, "alt_switch.main.left_mute");
  EXPECT_EQ(RowOf(AltSwitchBitRow(7)).name, "alt_switch.bit7");
}

TEST(CatalogueTest, PerSetRowsPairUpByNameAndPosition) {
  int pairs = 0;
  for (const CatalogueRow& r : AllRows()) {
    if (r.perSet.sets != 2 || r.perSet.set != 0) continue;
    const CatalogueRow& other = RowOf(InSet(r.id, 1));
    ASSERT_NE(&other, &r) << r.name;
    EXPECT_EQ(other.perSet.set, 1) << r.name;
    EXPECT_EQ(InSet(other.id, 0), r.id) << r.name;
    std::string expected(r.name);
    if (const auto at = expected.find("set1"); at != std::string::npos) {
      expected.replace(at, 4, "set2");
    } else if (const auto eq = expected.find("_1."); eq != std::string::npos) {
      expected.replace(eq, 3, "_2.");
    }
    EXPECT_EQ(other.name, expected);
    EXPECT_EQ(other.place.where, r.place.where);
    EXPECT_EQ(other.place.index, r.place.index + 1) << r.name;
    EXPECT_EQ(other.place.band, r.place.band);
    EXPECT_EQ(other.carrier.code, r.carrier.code) << r.name;
    ++pairs;
  }
  EXPECT_EQ(pairs, 98);  // 64 scalar values, 30 bands, 4 alternate switch bits
}

TEST(CatalogueTest, LevelsAndTheirOnBitsShareAByteWithoutTouchingEachOther) {
  ParamImage image;
  const CatalogueRow& level = RowOf(row::kMainSet2MusicLevel);
  const CatalogueRow& on = RowOf(row::kMainSet2MusicLevelOn);
  EXPECT_EQ(level.place, (Place{Where::kLevel, 35}));
  EXPECT_EQ(on.place, (Place{Where::kLevelOn, 35}));
  WriteValue(image, on, 1);
  WriteValue(image, level, 100);
  EXPECT_EQ(image.byte(35), 0x80 | 100);
  WriteValue(image, on, 0);
  EXPECT_EQ(ReadValue(image, level), 100);
  EXPECT_EQ(ReadValue(image, on), 0);
  EXPECT_EQ(RowAt({Where::kByte, 35}), &level);

  WriteValue(image, RowOf(row::kSwitchSubSet2EqOn), 1);
  EXPECT_EQ(image.switchWord, 1U << 23);
  WriteValue(image, RowOf(row::kBoostSwitchReverb), 1);
  EXPECT_EQ(image.boost.switches, 4);
}

TEST(CatalogueTest, OutputSetsTravelOnlyInTheModeThatAddressesThem) {
  ParamImage image;
  image.byte(img::kAppMode) = kModeDance;
  EXPECT_EQ(CanCarry(image, RowOf(row::kMainSet1HpfHz)), Carry::kNeedsSing);
  EXPECT_EQ(CanCarry(image, RowOf(row::kMainSet2HpfHz)), Carry::kOk);
  EXPECT_EQ(CanCarry(image, RowOf(BandRow(kEqCentreFirst, 0))), Carry::kNeedsSing);
  EXPECT_EQ(CanCarry(image, RowOf(BandRow(kEqMainSecond, 0))), Carry::kOk);
  EXPECT_EQ(CanCarry(image, RowOf(row::kMainSet1LeftVolume)), Carry::kOk);  // code 14: both
  EXPECT_EQ(CanCarry(image, RowOf(row::kReverbLiveliness)), Carry::kNotCarried);
  image.byte(img::kAppMode) = kModeSing;
  EXPECT_EQ(CanCarry(image, RowOf(row::kMainSet2LpfSlope)), Carry::kNeedsOtherThanSing);
  EXPECT_EQ(CanCarry(image, RowOf(BandRow(kEqSubSecond, 4))), Carry::kNeedsOtherThanSing);

  EXPECT_EQ(CanCarry(image, RowOf(BandRow(kEqMainSecond, 0))), Carry::kNeedsOtherThanSing);
  // The pages' set ids: the surround's 5 names its first set in Sing, its second otherwise.
  EXPECT_EQ(RequestFor(image, RowOf(BandRow(kEqSurroundSecond, 2))),
            (BlockRequest{CommandCode::kEqBand, 2 * 256 + 5}));
  EXPECT_EQ(EqSetIdOf(kEqSubSecond), 8);
  EXPECT_EQ(EqSetIdOf(kEqEcho), 10);
  EXPECT_EQ(RequestFor(image, RowOf(row::kMusicToneMidHz)),
            (BlockRequest{CommandCode::kToneValue, 2 * 256 + 2}));
  image.byte(img::kEchoType) = 2;
  EXPECT_EQ(RequestFor(image, RowOf(row::kEchoType)), (BlockRequest{CommandCode::kEchoType, 2}));
}

TEST(CatalogueTest, FilterBandsTravelAsTheirPassFilter) {
  const auto music = PassFilterOf(RowOf(BandRow(kEqMusic, 8)));
  ASSERT_TRUE(music);
  EXPECT_EQ(music->frequency, row::kMusicHpfHz);
  EXPECT_EQ(music->slope, row::kMusicHpfSlope);
  EXPECT_EQ(RowOf(BandRow(kEqMusic, 8)).carrier.code, CommandCode::kPassFilter);
  const auto echo = PassFilterOf(RowOf(BandRow(kEqEcho, 5)));
  ASSERT_TRUE(echo);
  EXPECT_EQ(echo->frequency, row::kEchoLpfHz);
  EXPECT_FALSE(echo->slope);
  EXPECT_FALSE(PassFilterOf(RowOf(BandRow(kEqEcho, 4))));
}

TEST(CatalogueTest, EveryFieldOfTheImageHasARowAndTheShortNamesAgree) {
  for (int n = 0; n <= kSettingsBytes; ++n) {
    EXPECT_NE(RowAt({Where::kByte, n}), nullptr) << "image byte " << n;
  }
  for (int k = 0; k <= kWordCount; ++k) EXPECT_NE(RowAt({Where::kWord, k}), nullptr) << "W" << k;
  for (int bit = 0; bit < 32; ++bit) {
    EXPECT_NE(RowAt({Where::kSwitchBit, bit}), nullptr) << "switch bit " << bit;
    EXPECT_NE(RowAt({Where::kAltSwitchBit, bit}), nullptr) << "alternate switch bit " << bit;
  }
  // The few positions ParamImage.h names for the engine are the catalogue's.
  const std::pair<int, RowId> shortNames[] = {
      {img::kMusicVolume, row::kMusicVolume},
      {img::kMicVolume, row::kMicVolume},
      {img::kEffectVolume, row::kEffectVolume},
      {img::kMusicInitVolume, row::kMusicInitVolume},
      {img::kMusicMaxVolume, row::kMusicMaxVolume},
      {img::kMusicInput, row::kMusicInput},
      {img::kMicInitVolume, row::kMicInitVolume},
      {img::kMicMaxVolume, row::kMicMaxVolume},
      {img::kEffectInitLevel, row::kEffectInitLevel},
      {img::kEchoType, row::kEchoType},
      {img::kAppMode, row::kAppMode},
      {img::kOutputDisplay, row::kOutputDisplay},
      {img::kMasterLevel, row::kMasterLevel},
      {img::kAdjustManner, row::kAdjustManner},
  };
  for (const auto& [offset, id] : shortNames) {
    EXPECT_EQ(RowOf(id).place, (Place{Where::kByte, offset})) << RowOf(id).name;
  }
}

// A list's entries are named twice: by the catalogue (the names `set` takes) and by the
// panel's language table (what its lists show, and what a Chinese report prints). The
// English words must stay the same, entry for entry.
TEST(CatalogueTest, ListEntriesAreThePanelsEnglishWords) {
  const std::pair<RowId, std::span<const TextId>> lists[] = {
      {row::kMusicInput, InputSourceTexts()},
      {row::kReverbType, ReverbTypeTexts()},
      {row::kEchoType, EchoTypeTexts()},
  };
  for (const auto& [id, texts] : lists) {
    const CatalogueRow& r = RowOf(id);
    ASSERT_EQ(r.choices.size(), texts.size()) << r.name;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(r.choices[i], Text(texts[i], Lang::kEnglish)) << r.name << " " << i;
    }
  }
}

}  // namespace
}  // namespace tavelo
