#include "ui/pages/MusicPageTable.h"

#include <array>

namespace tavelo::music {
namespace {

using enum row::Id;

constexpr std::array<BandColumnIds, kEqBands> kColumns = {{
    {1005, 1012, 1019, 1033, {1700, 1701, 1702}, kNoControl},
    {1006, 1013, 1020, 1034, {1703, 1704, 1705}, kNoControl},
    {1007, 1014, 1021, 1035, {1706, 1707, 1708}, kNoControl},
    {1008, 1015, 1022, 1036, {1709, 1710, 1711}, kNoControl},
    {1009, 1016, 1023, 1037, {1712, 1713, 1714}, kNoControl},
    {1010, 1017, 1024, 1038, {1715, 1716, 1717}, kNoControl},
    {1011, 1018, 1025, 1039, {1718, 1719, 1720}, kNoControl},
}};

constexpr std::array<EqView, 1> kViews = {{
    {BandStore::kImage, kEqMusic, kEqBands, kEqBands + 2, kSwitchMusicEqOn},
}};

constexpr bool kLog = true;
constexpr auto kPassHz = Link::kPassFrequency;
constexpr auto kToneGain = Link::kToneGain;
constexpr auto kToneHz = Link::kToneFrequency;
constexpr auto kTypedHz = EditRule::kFrequency;
constexpr auto kTypedGain = EditRule::kToneGain;
constexpr auto kVr = LockRule::kVrPresent;

// id, readout, catalogue row, logarithmic, link, band, edit rule, lock
constexpr std::array<SliderRow, 13> kSliders = {{
    {kHpfSlider, kHpfEdit, kMusicHpfHz, kLog, kPassHz, kHighPassBand, kTypedHz},
    {kLpfSlider, kLpfEdit, kMusicLpfHz, kLog, kPassHz, kLowPassBand, kTypedHz},
    {kInput1Gain, kInput1GainText, kMusicInput1Gain},
    {kInput2Gain, kInput2GainText, kMusicInput2Gain},
    {kBtGain, kBtGainText, kMusicBtGain},
    {kUdiskGain, kUdiskGainText, kMusicUdiskGain},
    {kOpticalGain, kOpticalGainText, kMusicOpticalGain},
    {kKeySlider, kKeyText, kMusicKey},
    {kGateSlider, kGateText, kMusicNoiseGate},
    {kBassSlider, kBassEdit, kMusicToneBass, false, kToneGain, 0, kTypedGain, kVr},
    {kMidSlider, kMidEdit, kMusicToneMid, false, kToneGain, 1, kTypedGain, kVr},
    {kMidFreqSlider, kMidFreqEdit, kMusicToneMidHz, kLog, kToneHz, 1, kTypedHz, kVr},
    {kTrebleSlider, kTrebleEdit, kMusicToneTreble, false, kToneGain, 2, kTypedGain, kVr},
}};

constexpr std::array<ListRow, 2> kLists = {{
    {kHpfList, kMusicHpfSlope, Link::kPassSlope, kHighPassBand},
    {kLpfList, kMusicLpfSlope, Link::kPassSlope, kLowPassBand},
}};

constexpr std::array<ChoiceGroup, 1> kChoices = {{
    {std::span<const int>(kInputButtons), kMusicInput},
}};

PageDefinition MakeDefinition() {
  PageDefinition def;
  def.eq.views = kViews;
  def.eq.columns = kColumns;
  def.eq.passFocusSlider[0] = kLpfSlider;  // band 7
  def.eq.passFocusSlider[1] = kHpfSlider;  // band 8
  def.eq.bypassButton = kBypassButton;
  def.eq.resetButton = kResetButton;
  def.tone = {0, 1, 3};
  def.sliders = kSliders;
  def.lists = kLists;
  def.choices = kChoices;
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

}  // namespace tavelo::music
