#pragma once
// The microphone page as a table: two 10-band equalisers (one per microphone) with their
// pass filters, the tone controls, volumes, feedback suppression, noise gate and
// compressor, with the ids of their controls and the catalogue rows they edit.
#include "ui/pages/PageTable.h"

namespace tavelo::mic {

inline constexpr int kEqBands = 10;
inline constexpr int kLowPassBand = 10, kHighPassBand = 11;

// Control ids of the microphone page.
inline constexpr int kHpfSlider = 1209, kHpfEdit = 1352, kHpfList = 1488;
inline constexpr int kLpfSlider = 1213, kLpfEdit = 1351, kLpfList = 1489;
inline constexpr int kFbxSlider = 1207, kFbxText = 1212;
inline constexpr int kGateSlider = 1215, kGateText = 1216;
inline constexpr int kMicAVolSlider = 1272, kMicAVolText = 1273, kMicAVolOn = 1862;
inline constexpr int kMicBVolSlider = 1274, kMicBVolText = 1275, kMicBVolOn = 1863;
inline constexpr int kCompThSlider = 1934, kCompThText = 1933;
inline constexpr int kCompRatioSlider = 1937, kCompRatioText = 1936;
inline constexpr int kCompAttackSlider = 1940, kCompAttackText = 1939;
inline constexpr int kCompReleaseSlider = 1943, kCompReleaseText = 1942;
inline constexpr int kCompBypass = 1928;
inline constexpr int kBassSlider = 1214, kBassEdit = 1353;
inline constexpr int kMidSlider = 1218, kMidEdit = 1354;
inline constexpr int kMidFreqSlider = 1220, kMidFreqEdit = 1355;
inline constexpr int kTrebleSlider = 1221, kTrebleEdit = 1356;
inline constexpr int kMicButtons[2] = {1809, 1810};  // show microphone 1, 2
inline constexpr int kLinkButton = 1739;
inline constexpr int kBypassButton = 1923, kResetButton = 1924;

// Graph colours while each microphone is shown (0xRRGGBB): curve, selected band.
inline constexpr std::uint32_t kCurveColour[2] = {0x14C800, 0xD56028};
inline constexpr std::uint32_t kBandColour[2] = {0x008080, 0xC80000};

const BandColumnIds& Column(int band);
const PageDefinition& Definition();

}  // namespace tavelo::mic
