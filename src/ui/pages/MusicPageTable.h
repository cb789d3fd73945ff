#pragma once
// The music page as a table: its band columns, equaliser section, sliders, slope lists
// and input buttons, each naming its catalogue row.
#include "ui/pages/PageTable.h"

namespace tavelo::music {

// Control ids of the music page.
inline constexpr int kHpfSlider = 1130, kHpfEdit = 1352, kHpfList = 1546;
inline constexpr int kLpfSlider = 1144, kLpfEdit = 1351, kLpfList = 1547;
inline constexpr int kInput1Gain = 1061, kInput2Gain = 1062, kBtGain = 1063;
inline constexpr int kUdiskGain = 1071, kOpticalGain = 1072;
inline constexpr int kInput1GainText = 1064, kInput2GainText = 1065, kBtGainText = 1066;
inline constexpr int kUdiskGainText = 1073, kOpticalGainText = 1074;
inline constexpr int kInputButtons[5] = {1800, 1801, 1802, 1803, 1804};
inline constexpr int kKeySlider = 1139, kKeyText = 1148;
inline constexpr int kGateSlider = 1864, kGateText = 1865;
inline constexpr int kBassSlider = 1214, kBassEdit = 1353;
inline constexpr int kMidSlider = 1218, kMidEdit = 1354;
inline constexpr int kMidFreqSlider = 1220, kMidFreqEdit = 1355;
inline constexpr int kTrebleSlider = 1221, kTrebleEdit = 1356;
inline constexpr int kBypassButton = 1923, kResetButton = 1924;
inline constexpr int kLowPassBand = 7, kHighPassBand = 8;
inline constexpr int kEqBands = 7;

const BandColumnIds& Column(int band);
const PageDefinition& Definition();

}  // namespace tavelo::music
