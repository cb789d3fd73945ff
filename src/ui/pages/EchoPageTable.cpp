#include "ui/pages/EchoPageTable.h"

namespace tavelo::echo {
namespace {

using enum row::Id;
using effect::kLevelSlider, effect::kLevelText, effect::kLevelSwitch;

constexpr std::array<EqView, 1> kViews = {{
    {BandStore::kImage, kEqEcho, effect::kEqBands, effect::kBandCount, kSwitchEchoEqOn},
}};

constexpr ShowWhen kStereoOnly{kEchoType, 1u << kStereo};
constexpr ShowWhen kDualOnly{kEchoType, 1u << kDual};
constexpr auto kLocked = LockRule::kAdjustLock;

SliderRow Row(int id, int readout, RowId param, LockRule lock = LockRule::kNone,
              ShowWhen show = {}) {
  SliderRow row;
  row.id = id;
  row.readoutId = readout;
  row.param = param;
  row.lock = lock;
  row.show = show;
  return row;
}

// Rows sharing a control follow each other: the first whose type matches drives it.
const std::array<SliderRow, 13> kSliders = {{
    Row(kLevelSlider, kLevelText, kEchoLevel, kLocked),
    Row(kDelaySlider, kDelayText, kEchoDelayMs, kLocked),
    Row(kRepeatSlider, kRepeatText, kEchoRepeat, kLocked),
    Row(kLeftPredelaySlider, kLeftPredelayText, kEchoLeftPredelayMs),
    Row(kDirectSlider, kDirectText, kEchoDirect),
    Row(kRightDelaySlider, kRightDelayText, kEchoRightDelayPercent, LockRule::kNone, kStereoOnly),
    Row(kRightDelaySlider, kRightDelayText, kEchoRightDelayMs, LockRule::kNone, kDualOnly),
    Row(kRightPredelaySlider, kRightPredelayText, kEchoRightPredelayPercent, LockRule::kNone,
        kStereoOnly),
    Row(kRightPredelaySlider, kRightPredelayText, kEchoRightPredelayMs, LockRule::kNone, kDualOnly),
    Row(kRightRepeatSlider, kRightRepeatText, kEchoRightRepeat, LockRule::kNone, kDualOnly),
    Row(kRightLevelSlider, kRightLevelText, kEchoRightLevel, LockRule::kNone, kDualOnly),
    effect::LowPassRow(kEchoLpfHz),
    effect::HighPassRow(kEchoHpfHz),
}};

constexpr std::array<ToggleRow, 3> kToggles = {{
    {kLevelSwitch, kEchoLevelOn},
    {kDirectSwitch, kEchoDirectOn},
    {kRightLevelSwitch, kEchoRightLevelOn, false, SetRule::kNone, kDualOnly},
}};

constexpr std::array<ListRow, 1> kLists = {{{kTypeList, kEchoType}}};

constexpr std::array<effect::QuickSlider, 3> kQuick = {{
    {kLevelSlider, 0},
    {kDelaySlider, 1},
    {kRepeatSlider, 2},
}};

PageDefinition MakeDefinition() {
  PageDefinition def;
  def.eq = effect::Section(kViews);
  def.sliders = kSliders;
  def.toggles = kToggles;
  def.lists = kLists;
  return def;
}

}  // namespace

const PageDefinition& Definition() {
  static const PageDefinition def = MakeDefinition();
  return def;
}

std::span<const effect::QuickSlider> QuickSliders() {
  return kQuick;
}

}  // namespace tavelo::echo
