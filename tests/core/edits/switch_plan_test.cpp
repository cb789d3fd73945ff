// Moving the processor between two images by blocks: which rows differ, which requests
// carry them (each once, the mode first), what no block can carry now, and that applying
// the plan leaves the image equal to the target.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/edits/RowValues.h"
#include "core/edits/SwitchPlan.h"

namespace tavelo {
namespace {

ParamImage Defaults(int mode = kModeSing) {
  ParamImage image;
  ApplyDefaults(image);
  WriteValue(image, RowOf(row::kAppMode), mode);
  return image;
}

bool Has(const std::vector<BlockRequest>& requests, const BlockRequest& r) {
  return std::find(requests.begin(), requests.end(), r) != requests.end();
}

bool Listed(const SwitchPlan& plan, RowId id) {
  return std::any_of(plan.uncarried.begin(), plan.uncarried.end(),
                     [id](const UncarriedRow& u) { return u.row == id; });
}

TEST(SwitchPlanTest, SendsExactlyTheBlocksOfTheDifferingRowsEachOnce) {
  const ParamImage a = Defaults();
  EXPECT_TRUE(PlanSwitch(a, a).Empty());
  EXPECT_TRUE(PlanSwitch(a, a).requests.empty());

  ParamImage b = a;
  // Two values of one block, a band, and a switch bit.
  WriteValue(b, RowOf(row::kMusicVolume), 40);
  WriteValue(b, RowOf(row::kMusicMaxVolume), 70);
  BandOf(b, RowOf(BandRow(kEqMusic, 3))).gain = 55;
  WriteValue(b, RowOf(row::kSwitchMusicEqOn), !ReadValue(a, RowOf(row::kSwitchMusicEqOn)));

  const SwitchPlan plan = PlanSwitch(a, b);
  EXPECT_EQ(plan.changed.size(), 4u);
  EXPECT_TRUE(plan.Complete());
  EXPECT_FALSE(plan.modeChange);
  // In catalogue order: named rows, then the bands.
  const std::vector<BlockRequest> expected{RequestFor(b, RowOf(row::kMusicVolume)),
                                           RequestFor(b, RowOf(row::kSwitchMusicEqOn)),
                                           RequestFor(b, RowOf(BandRow(kEqMusic, 3)))};
  EXPECT_EQ(plan.requests, expected);
  // The whole switch word is not named beside its bit.
  EXPECT_EQ(std::count(plan.changed.begin(), plan.changed.end(), row::kSwitchWord), 0);
}

TEST(SwitchPlanTest, ModeGoesFirstAndOutputSetsOfTheOtherModeAreListed) {
  const ParamImage a = Defaults(kModeSing);
  ParamImage b = a;
  WriteValue(b, RowOf(row::kAppMode), kModeDance);
  BandOf(b, RowOf(BandRow(kEqMainSecond, 0))).gain = 30;  // travels outside Sing: carried
  BandOf(b, RowOf(BandRow(kEqMainFirst, 0))).gain = 30;   // travels only in Sing: not now
  WriteValue(b, RowOf(row::kMusicVolume), 11);

  const SwitchPlan plan = PlanSwitch(a, b);
  ASSERT_TRUE(plan.modeChange);
  ASSERT_FALSE(plan.requests.empty());
  EXPECT_EQ(plan.requests.front().code, RowOf(row::kAppMode).carrier.code);
  EXPECT_TRUE(Has(plan.requests, RequestFor(b, RowOf(BandRow(kEqMainSecond, 0)))));
  EXPECT_TRUE(Has(plan.requests, RequestFor(b, RowOf(row::kMusicVolume))));
  ASSERT_EQ(plan.uncarried.size(), 1u);
  EXPECT_EQ(plan.uncarried[0].row, BandRow(kEqMainFirst, 0));
  EXPECT_EQ(plan.uncarried[0].why, Carry::kNeedsSing);

  // Held back, the listed value stays as it was; taken, the image is the target's.
  ParamImage partial = a;
  ApplySwitch(partial, b, plan, false);
  EXPECT_EQ(BandOf(partial, RowOf(BandRow(kEqMainFirst, 0))).gain,
            BandOf(a, RowOf(BandRow(kEqMainFirst, 0))).gain);
  EXPECT_EQ(ReadValue(partial, RowOf(row::kMusicVolume)), 11);
  ParamImage whole = a;
  ApplySwitch(whole, b, plan, true);
  EXPECT_TRUE(ChangedRows(whole, b).empty());
}

TEST(SwitchPlanTest, ValuesNoBlockCarriesAreListedNotSkipped) {
  const ParamImage a = Defaults();
  ParamImage b = a;
  b.name[0] = static_cast<char>(b.name[0] == 'Z' ? 'Y' : 'Z');
  WriteValue(b, RowOf(AltSwitchBitRow(3)), !ReadValue(a, RowOf(AltSwitchBitRow(3))));
  const SwitchPlan plan = PlanSwitch(a, b);
  EXPECT_FALSE(plan.Complete());
  EXPECT_TRUE(plan.requests.empty());
  EXPECT_TRUE(Listed(plan, row::kPresetName));
  EXPECT_TRUE(Listed(plan, AltSwitchBitRow(3)));
  EXPECT_EQ(plan.uncarried.size(), 2u);  // the alternate word itself is not named twice
}

TEST(SwitchPlanTest, EveryBitOfTheWholeWordsIsARowOfItsOwn) {
  // Summary rows are left out of the comparison: a bit without a row would go unnoticed.
  const ParamImage a = Defaults();
  for (int bit = 0; bit < 32; ++bit) {
    ParamImage b = a;
    b.switchWord ^= 1u << bit;
    EXPECT_EQ(ChangedRows(a, b).size(), 1u) << "switch bit " << bit;
    b = a;
    b.altSwitchWord ^= 1u << bit;
    EXPECT_EQ(ChangedRows(a, b).size(), 1u) << "alternate bit " << bit;
  }
  for (int bit = 0; bit < 8; ++bit) {
    ParamImage b = a;
    b.boost.switches = static_cast<std::uint8_t>(b.boost.switches ^ (1u << bit));
    EXPECT_EQ(ChangedRows(a, b).size(), 1u) << "boost bit " << bit;
  }
}

TEST(SwitchPlanTest, AnyTargetIsReachedAndEveryCarriedRowHasItsRequest) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 20; ++round) {
    const ParamImage a = Defaults(round % 3);
    ParamImage b = a;
    for (const CatalogueRow& r : AllRows()) {
      if (SummaryRow(r) || random() % 4 != 0) continue;
      if (r.kind == ValueKind::kBand) {
        EqBand& band = BandOf(b, r);
        band.gain = static_cast<std::int16_t>(static_cast<int>(random() % 481) - 240);
        band.freq = static_cast<std::int16_t>(20 + random() % 19980);
      } else if (r.kind == ValueKind::kText) {
        b.name[1] = static_cast<char>('A' + random() % 26);
      } else if (r.max > r.min) {
        WriteValue(b, r,
                   r.min + static_cast<int>(random() % static_cast<unsigned>(r.max - r.min + 1)));
      }
    }
    const SwitchPlan plan = PlanSwitch(a, b);
    ParamImage after = a;
    ApplySwitch(after, b, plan, true);
    EXPECT_TRUE(ChangedRows(after, b).empty()) << "round " << round;
    for (std::size_t i = 0; i < plan.requests.size(); ++i)
      for (std::size_t j = i + 1; j < plan.requests.size(); ++j)
        EXPECT_FALSE(plan.requests[i] == plan.requests[j]) << "round " << round;
    for (RowId id : plan.changed) {
      const CatalogueRow& r = RowOf(id);
      if (CanCarry(after, r) == Carry::kOk)
        EXPECT_TRUE(Has(plan.requests, RequestFor(after, r))) << r.name;
      else
        EXPECT_TRUE(Listed(plan, id)) << r.name;
    }
  }
}

}  // namespace
}  // namespace tavelo
