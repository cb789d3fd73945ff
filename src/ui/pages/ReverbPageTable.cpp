#include "ui/pages/ReverbPageTable.h"

namespace tavelo::reverb {
namespace {

using enum row::Id;
using effect::kLevelSlider, effect::kLevelText, effect::kLevelSwitch;

constexpr std::array<EqView, 1> kViews = {{
    {BandStore::kImage, kEqReverb, effect::kEqBands, effect::kBandCount, kSwitchReverbEqOn},
}};

SliderRow Row(int id, int readout, RowId param, LockRule lock = LockRule::kNone) {
  SliderRow row;
  row.id = id;
  row.readoutId = readout;
  row.param = param;
  row.lock = lock;
  return row;
}

const std::array<SliderRow, 6> kSliders = {{
    Row(kLevelSlider, kLevelText, kReverbLevel, LockRule::kAdjustLock),
    Row(kDecaySlider, kDecayText, kReverbDecayMs, LockRule::kAdjustLock),
    Row(kPredelaySlider, kPredelayText, kReverbPredelayMs, LockRule::kAdjustLock),
    Row(kDirectSlider, kDirectText, kReverbDirect),
    effect::LowPassRow(kReverbLpfHz),
    effect::HighPassRow(kReverbHpfHz),
}};

constexpr std::array<ToggleRow, 2> kToggles = {{
    {kLevelSwitch, kReverbLevelOn},
    {kDirectSwitch, kReverbDirectOn},
}};

constexpr std::array<effect::QuickSlider, 3> kQuick = {{
    {kLevelSlider, 0},
    {kDecaySlider, 1},
    {kPredelaySlider, 2},
}};

PageDefinition MakeDefinition() {
  PageDefinition def;
  def.eq = effect::Section(kViews);
  def.sliders = kSliders;
  def.toggles = kToggles;
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

}  // namespace tavelo::reverb
