#pragma once
// The panel's mirror of the processor's current preset, laid out by field as the
// 654-byte preset body, with the extras of a full download behind it.
#include <array>
#include <cstdint>

#include "core/params/EqBand.h"

namespace tavelo {

inline constexpr int kSettingsBytes = 141;  // image bytes 0..140
inline constexpr int kWordCount = 44;       // W0..W43
inline constexpr int kPresetNameSize = 16;
inline constexpr int kStoredPresets = 10;  // preset slots 0..kLastPresetSlot
inline constexpr int kLastPresetSlot = kStoredPresets - 1;
inline constexpr int kDeviceNameSize = 19;  // Bluetooth and low-energy names
inline constexpr int kToneWordCount = 7;    // T0..T6 of a full download

// EQ sets in image order. Records count 5-byte wire records from body offset 229.
enum EqSet : int {
  kEqMicA = 0,
  kEqMicB,
  kEqMusic,
  kEqMainFirst,
  kEqMainSecond,
  kEqSurroundFirst,
  kEqSurroundSecond,
  kEqCentreFirst,
  kEqCentreSecond,
  kEqSubFirst,
  kEqSubSecond,
  kEqReverb,
  kEqEcho,
  kEqSetCount
};

struct EqSetInfo {
  int firstRecord;   // first wire record in the body
  int wireBands;     // bands that travel to the processor
  int memoryBands;   // bands the page keeps (the extra ones are its pass filters)
  const char* name;  // readable name for tools and diffs
};

inline constexpr std::array<EqSetInfo, kEqSetCount> kEqSets = {{
    {0, 10, 12, "mic_eq_a"},
    {10, 10, 12, "mic_eq_b"},
    {20, 7, 9, "music_eq"},
    {27, 7, 9, "main_eq_1"},
    {34, 7, 9, "main_eq_2"},
    {41, 5, 7, "surround_eq_1"},
    {46, 5, 7, "surround_eq_2"},
    {51, 5, 7, "centre_eq_1"},
    {56, 5, 7, "centre_eq_2"},
    {61, 5, 7, "sub_eq_1"},
    {66, 5, 7, "sub_eq_2"},
    {71, 5, 7, "reverb_eq"},
    {76, 5, 7, "echo_eq"},
}};
inline constexpr int kMaxBandsPerSet = 12;
inline constexpr int kWireBandCount = 81;

// Boost block: a switch byte and four short EQ sets (microphone 5 bands; music,
// reverb and echo 3 bands each).
inline constexpr int kBoostChannels = 4;
inline constexpr std::array<int, kBoostChannels> kBoostBandCounts = {5, 3, 3, 3};

struct BoostBlock {
  std::uint8_t switches = 0;  // bit 0 mic, 1 music, 2 reverb, 3 echo
  std::array<std::array<EqBand, 5>, kBoostChannels> bands{};
  friend bool operator==(const BoostBlock&, const BoostBlock&) = default;
};

// Application modes (image 125).
enum AppMode : std::uint8_t { kModeAuto = 0, kModeSing = 1, kModeDance = 2 };

// Well-known image byte offsets, short names the engine uses; the catalogue (Catalogue.h)
// holds every value, these among them, and a test keeps the two equal.
namespace img {
inline constexpr int kMusicVolume = 0;
inline constexpr int kMicVolume = 1;
inline constexpr int kEffectVolume = 2;
inline constexpr int kMusicInitVolume = 3;
inline constexpr int kMusicMaxVolume = 4;
inline constexpr int kMusicInput = 6;
inline constexpr int kMicInitVolume = 10;
inline constexpr int kMicMaxVolume = 11;
inline constexpr int kEffectInitLevel = 21;
inline constexpr int kEchoType = 114;
inline constexpr int kAppMode = 125;
inline constexpr int kOutputDisplay = 135;
inline constexpr int kMasterLevel = 139;
inline constexpr int kAdjustManner = 140;
}  // namespace img

struct ParamImage {
  // Settings bytes 0..140 and the spare byte behind them (carried by PC files only).
  std::array<std::uint8_t, kSettingsBytes + 1> bytes{};
  // W0..W43 and the spare word behind them (carried by PC files only).
  std::array<std::uint16_t, kWordCount + 1> words{};
  // EQ sets in image order; only kEqSets[s].memoryBands of each are in use.
  std::array<std::array<EqBand, kMaxBandsPerSet>, kEqSetCount> eq{};
  std::uint32_t switchWord = 0;
  std::uint32_t altSwitchWord = 0;  // used by the output pages while image 135 is non-zero
  std::array<char, kPresetNameSize> name{};
  std::array<std::array<char, kPresetNameSize>, kStoredPresets> presetNames{};
  BoostBlock boost{};
  std::array<std::uint16_t, kToneWordCount> toneWords{};
  // The two status band groups: [0] music page (group 1), [1] microphone page (group 2).
  // Bands 1, 2, 3 of a group are that page's bass, middle and treble tone bands; the
  // status poll writes their gains and middle frequency, a download their frequencies and Q.
  std::array<std::array<EqBand, 7>, 2> toneGroups{};
  std::array<char, kDeviceNameSize + 1> btName{};   // NUL terminated
  std::array<char, kDeviceNameSize + 1> bleName{};  // NUL terminated
  std::uint8_t powerMode = 0;                       // system page "Power Mode", code 59
  // The microphone EQ link as last sent with code 60 (1 on): the preset body does not carry
  // it, so it is the panel's record of the processor's state.
  std::uint8_t micEqLink = 0;

  friend bool operator==(const ParamImage&, const ParamImage&) = default;

  std::uint8_t& byte(int offset) { return bytes[static_cast<std::size_t>(offset)]; }
  std::uint8_t byte(int offset) const { return bytes[static_cast<std::size_t>(offset)]; }
  std::uint16_t& word(int k) { return words[static_cast<std::size_t>(k)]; }
  std::uint16_t word(int k) const { return words[static_cast<std::size_t>(k)]; }
  EqBand* set(EqSet s) { return eq[static_cast<std::size_t>(s)].data(); }
  const EqBand* set(EqSet s) const { return eq[static_cast<std::size_t>(s)].data(); }
};

// Fills the image with the processor's default parameter set.
void ApplyDefaults(ParamImage& image);

}  // namespace tavelo
