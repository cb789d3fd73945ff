#include "ui/pages/SysPageTable.h"

#include <array>

namespace tavelo::ui::sys_page {
namespace {

constexpr SliderRow Slider(int id, RowId param) {
  SliderRow row;
  row.id = id;
  row.readoutId = kReadoutOffset + id;
  row.param = param;
  return row;
}

constexpr ToggleRow Toggle(int id, RowId param) {
  ToggleRow row;
  row.id = id;
  row.param = param;
  return row;
}

constexpr std::array kSliders = {
    Slider(kMusicMax, row::kMusicMaxVolume),
    Slider(kMusicInit, row::kMusicInitVolume),
    Slider(kMicMax, row::kMicMaxVolume),
    Slider(kMicInit, row::kMicInitVolume),
    Slider(kEffectInit, row::kEffectInitLevel),
    Slider(kSwMicThreshold, row::kDanceMicThreshold),
    Slider(kSwMicTime, row::kDanceMicTime),
    Slider(kOutputVol, row::kRecordMixerOutputVolume),
    Slider(kMusicLeft, row::kRecordMixerMusicLevel),
    Slider(kMicDirect, row::kRecordMixerMicDirectLevel),
    Slider(kEffectLeft, row::kRecordMixerEffectLevel),
};

constexpr std::array kToggles = {
    Toggle(kOutputVolOn, row::kRecordMixerOutputVolumeOn),
    Toggle(kMusicLeftOn, row::kRecordMixerMusicLevelOn),
    Toggle(kMicDirectOn, row::kRecordMixerMicDirectLevelOn),
    Toggle(kEffectLeftOn, row::kRecordMixerEffectLevelOn),
};

const PageDefinition kDefinition = [] {
  PageDefinition def;
  def.sliders = kSliders;
  def.toggles = kToggles;
  return def;
}();

}  // namespace

const PageDefinition& Definition() {
  return kDefinition;
}

std::span<const SliderRow> Sliders() {
  return kSliders;
}

}  // namespace tavelo::ui::sys_page
