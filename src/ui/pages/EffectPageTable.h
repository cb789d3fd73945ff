#pragma once
// What the echo and reverb pages share as data: a 5-band equaliser on the effect return
// with its low-pass (band 5) and high-pass (band 6) filter on linear sliders, the same
// band column ids, the level slider with its switch, bypass, reset and the button that
// hands the quick values back from the front panel. Each page's own table adds its rows.
#include <array>
#include <span>

#include "ui/pages/PageTable.h"

namespace tavelo::effect {

inline constexpr int kEqBands = 5;
inline constexpr int kLowPassBand = 5, kHighPassBand = 6;
inline constexpr int kBandCount = 7;
inline constexpr int kLpfSlider = 1486, kLpfEdit = 1351;
inline constexpr int kHpfSlider = 1483, kHpfEdit = 1352;
inline constexpr int kLevelSlider = 1224, kLevelText = 1225, kLevelSwitch = 1852;
inline constexpr int kBypassButton = 1923, kResetButton = 1924;
// Shown in the "Adj Manner:" row: the quick values go back to the page ("Param").
inline constexpr int kVrOffButton = 1828;

const BandColumnIds& Column(int band);

// The equaliser over the effect's band array, whose bypass is `enable` cleared.
EqSection Section(std::span<const EqView> views);

// The filter sliders: position = frequency, linear over the catalogue row's range; a typed
// frequency outside it brings the stored one back.
SliderRow LowPassRow(RowId frequency);
SliderRow HighPassRow(RowId frequency);

// A slider whose value the processor's front-panel knob owns while the adjustment lock
// is set; `quick` is its index among the page's three quick values.
struct QuickSlider {
  int slider;
  int quick;
};

}  // namespace tavelo::effect
