#include "ui/pages/MicPageTable.h"

#include <array>

namespace tavelo::mic {
namespace {

using enum row::Id;

constexpr std::array<BandColumnIds, kEqBands> kColumns = {{
    {1085, 1084, 1086, 1088, {1700, 1701, 1702}, 1087},
    {1093, 1094, 1095, 1097, {1703, 1704, 1705}, 1096},
    {1101, 1102, 1103, 1105, {1706, 1707, 1708}, 1104},
    {1109, 1110, 1111, 1113, {1709, 1710, 1711}, 1112},
    {1117, 1118, 1119, 1121, {1712, 1713, 1714}, 1120},
    {1125, 1126, 1127, 1129, {1715, 1716, 1717}, 1128},
    {1133, 1134, 1135, 1137, {1718, 1719, 1720}, 1136},
    {1141, 1142, 1143, 1145, {1721, 1722, 1723}, 1144},
    {1149, 1150, 1151, 1153, {1724, 1725, 1726}, 1152},
    {1157, 1158, 1159, 1161, {1727, 1728, 1729}, 1160},
}};

// View 0 is microphone 1, view 1 microphone 2; the page's buttons choose between them.
constexpr std::array<EqView, 2> kViews = {{
    {BandStore::kImage, kEqMicA, kEqBands, kEqBands + 2, kSwitchMicMic1EqOn, kCurveColour[0],
     kBandColour[0]},
    {BandStore::kImage, kEqMicB, kEqBands, kEqBands + 2, kSwitchMicMic2EqOn, kCurveColour[1],
     kBandColour[1]},
}};

constexpr bool kLog = true;
constexpr auto kPassHz = Link::kPassFrequency;
constexpr auto kToneGain = Link::kToneGain;
constexpr auto kToneHz = Link::kToneFrequency;
constexpr auto kTypedHz = EditRule::kFrequency;
constexpr auto kTypedGain = EditRule::kToneGain;
constexpr auto kLocked = LockRule::kAdjustLock;

// id, readout, catalogue row, logarithmic, link, band, edit rule, lock
constexpr std::array<SliderRow, 14> kSliders = {{
    {kHpfSlider, kHpfEdit, kMicHpfHz, kLog, kPassHz, kHighPassBand, kTypedHz},
    {kLpfSlider, kLpfEdit, kMicLpfHz, kLog, kPassHz, kLowPassBand, kTypedHz},
    {kFbxSlider, kFbxText, kMicFbx},
    {kGateSlider, kGateText, kMicNoiseGate},
    {kMicAVolSlider, kMicAVolText, kMicMic1Volume},
    {kMicBVolSlider, kMicBVolText, kMicMic2Volume},
    {kCompThSlider, kCompThText, kMicCompThreshold},
    {kCompRatioSlider, kCompRatioText, kMicCompRatio},
    {kCompAttackSlider, kCompAttackText, kMicCompAttack},
    {kCompReleaseSlider, kCompReleaseText, kMicCompRelease},
    {kBassSlider, kBassEdit, kMicToneBass, false, kToneGain, 0, kTypedGain, kLocked},
    {kMidSlider, kMidEdit, kMicToneMid, false, kToneGain, 1, kTypedGain, kLocked},
    {kMidFreqSlider, kMidFreqEdit, kMicToneMidHz, kLog, kToneHz, 1, kTypedHz, kLocked},
    {kTrebleSlider, kTrebleEdit, kMicToneTreble, false, kToneGain, 2, kTypedGain, kLocked},
}};

constexpr std::array<ListRow, 2> kLists = {{
    {kHpfList, kMicHpfSlope, Link::kPassSlope, kHighPassBand},
    {kLpfList, kMicLpfSlope, Link::kPassSlope, kLowPassBand},
}};

// The volume buttons are lit while their microphone is on; "Comp Bypass" while the
// compressor is bypassed (its enable bit clear).
constexpr std::array<ToggleRow, 3> kToggles = {{
    {kMicAVolOn, kMicMic1VolumeOn},
    {kMicBVolOn, kMicMic2VolumeOn},
    {kCompBypass, kSwitchMicCompOn, true},
}};

PageDefinition MakeDefinition() {
  PageDefinition def;
  def.eq.views = kViews;
  def.eq.passFiltersShared = true;  // a filter slider or list writes both microphones
  def.eq.columns = kColumns;
  def.eq.passFocusSlider[0] = kLpfSlider;  // band 10
  def.eq.passFocusSlider[1] = kHpfSlider;  // band 11
  def.eq.bypassButton = kBypassButton;
  def.eq.resetButton = kResetButton;
  def.tone = {1, 1, 3};  // the microphone's status band group, bands 1..3
  def.sliders = kSliders;
  def.lists = kLists;
  def.toggles = kToggles;
  return def;
}

}  // namespace

const BandColumnIds& Column(int band) {
  return kColumns[static_cast<std::size_t>(band)];
}

const PageDefinition& Definition() {
  static const PageDefinition def = MakeDefinition();
  return def;
}

}  // namespace tavelo::mic
