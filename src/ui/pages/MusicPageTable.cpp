#include "ui/pages/MusicPageTable.h"

#include <array>

namespace tavelo::music {
namespace {

constexpr std::array<BandColumnIds, kEqBands> kColumns = {{
    {1005, 1012, 1019, 1033, {1700, 1701, 1702}, kNoControl},
    {1006, 1013, 1020, 1034, {1703, 1704, 1705}, kNoControl},
    {1007, 1014, 1021, 1035, {1706, 1707, 1708}, kNoControl},
    {1008, 1015, 1022, 1036, {1709, 1710, 1711}, kNoControl},
    {1009, 1016, 1023, 1037, {1712, 1713, 1714}, kNoControl},
    {1010, 1017, 1024, 1038, {1715, 1716, 1717}, kNoControl},
    {1011, 1018, 1025, 1039, {1718, 1719, 1720}, kNoControl},
}};

constexpr std::array<int, kEqBands> kDefaultFrequencies = {125, 250, 500, 1000, 2000, 4000, 8000};

constexpr Field Byte(int index) {
  return {FieldKind::kByte, index};
}
constexpr Field Word(int index) {
  return {FieldKind::kWord, index};
}

constexpr ReadoutFormat kHz{ReadoutKind::kNumber};
constexpr ReadoutFormat kTrim{ReadoutKind::kSigned, 12};
constexpr ReadoutFormat kKey{ReadoutKind::kMusicKey};
constexpr ReadoutFormat kGate{ReadoutKind::kDecibelsOrOff, 91};
constexpr ReadoutFormat kTone{ReadoutKind::kTenthsDb};

constexpr int kMusicBlock = code::kMusicBlock;
constexpr int kPass = code::kPassFilter;
constexpr int kTone12 = code::kTone;

// id, readout, min, max, log, format, field, code, arg, link, band, edit rule, VR-locked
const std::array<SliderRow, 13> kSliders = {{
    {kHpfSlider, kHpfEdit, 20, 20000, true, kHz, Word(2), kPass, 2, Link::kPassFrequency,
     kHighPassBand, EditRule::kFrequency, false},
    {kLpfSlider, kLpfEdit, 20, 20000, true, kHz, Word(3), kPass, 3, Link::kPassFrequency,
     kLowPassBand, EditRule::kFrequency, false},
    {kInput1Gain, kInput1GainText, 0, 12, false, kTrim, Byte(22), kMusicBlock, 0},
    {kInput2Gain, kInput2GainText, 0, 12, false, kTrim, Byte(23), kMusicBlock, 0},
    {kBtGain, kBtGainText, 0, 12, false, kTrim, Byte(24), kMusicBlock, 0},
    {kUdiskGain, kUdiskGainText, 0, 12, false, kTrim, Byte(25), kMusicBlock, 0},
    {kOpticalGain, kOpticalGainText, 0, 12, false, kTrim, Byte(26), kMusicBlock, 0},
    {kKeySlider, kKeyText, 0, 14, false, kKey, Byte(9), kMusicBlock, 0},
    {kGateSlider, kGateText, 0, 41, false, kGate, Byte(5), kMusicBlock, 0},
    {kBassSlider, kBassEdit, 0, 480, false, kTone, Word(40), kTone12, 0 * 256 + kSetId,
     Link::kToneGain, 0, EditRule::kToneGain, true},
    {kMidSlider, kMidEdit, 0, 480, false, kTone, Word(41), kTone12, 1 * 256 + kSetId,
     Link::kToneGain, 1, EditRule::kToneGain, true},
    {kMidFreqSlider, kMidFreqEdit, 20, 20000, true, kHz, Word(42), kTone12, 2 * 256 + kSetId,
     Link::kToneFrequency, 1, EditRule::kFrequency, true},
    {kTrebleSlider, kTrebleEdit, 0, 480, false, kTone, Word(43), kTone12, 3 * 256 + kSetId,
     Link::kToneGain, 2, EditRule::kToneGain, true},
}};

const std::array<ListRow, 2> kLists = {{
    {kHpfList, Byte(7), kPass, 2, Link::kPassSlope, kHighPassBand},
    {kLpfList, Byte(8), kPass, 3, Link::kPassSlope, kLowPassBand},
}};

const std::array<ChoiceGroup, 1> kChoices = {{
    {std::span<const int>(kInputButtons), Byte(6), kMusicBlock, 0},
}};

PageDefinition MakeSpec() {
  PageDefinition def;
  def.eq.setId = kSetId;
  def.eq.set = kEqMusic;
  def.eq.eqBands = kEqBands;
  def.eq.bandCount = 9;
  def.eq.columns = kColumns;
  def.eq.defaultFrequencies = kDefaultFrequencies;
  def.eq.passFocusSlider[0] = kLpfSlider;  // band 7
  def.eq.passFocusSlider[1] = kHpfSlider;  // band 8
  def.eq.bypassButton = kBypassButton;
  def.eq.switchBit = kSwitchBit;
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
  static const PageDefinition def = MakeSpec();
  return def;
}

}  // namespace tavelo::music
