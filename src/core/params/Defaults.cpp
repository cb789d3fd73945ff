// The parameter set the panel shows before any processor has been read, and again after a
// locked processor's set was downloaded but never unlocked.
#include <algorithm>
#include <initializer_list>

#include "params/ParamImage.h"

namespace tavelo {

namespace {

constexpr std::array<std::uint8_t, kSettingsBytes> kDefaultBytes = {
    // 0..19
    35, 35, 35, 35, 84, 11, 0, 0, 0, 7, 35, 84, 100, 100, 15, 10, 4, 1, 1, 6,
    // 20..39
    0, 35, 12, 12, 6, 6, 6, 3, 99, 99, 99, 99, 50, 50, 50, 50, 50, 50, 50, 50,
    // 40..59
    10, 4, 1, 1, 0, 0, 0, 0, 99, 99, 99, 99, 50, 50, 50, 50, 50, 50, 50, 50,
    // 60..79
    10, 4, 1, 1, 0, 0, 0, 0, 99, 99, 99, 99, 50, 50, 50, 50, 50, 50, 50, 50,
    // 80..99
    10, 4, 1, 1, 0, 0, 0, 0, 75, 75, 75, 75, 50, 50, 50, 50, 50, 50, 50, 50,
    // 100..119
    10, 4, 1, 1, 0, 0, 6, 6, 0, 1, 0, 50, 0, 85, 1, 100, 60, 100, 60, 64,
    // 120..140
    0, 50, 50, 50, 50, 1, 10, 6, 10, 0, 2, 99, 50, 50, 50, 0, 52, 0, 1, 84, 0};

constexpr std::array<std::uint16_t, kWordCount> kDefaultWords = {
    // W0..W10: microphone, music and main output filter frequencies
    50, 20000, 20, 20000, 20, 20, 20000, 20000, 20, 20, 20000,
    // W11..W21: surround, centre, subwoofer filters; reverb filters
    20000, 20, 20, 20000, 20000, 20, 20, 125, 125, 100, 15200,
    // W22..W32: echo filters, reverb decay/predelay, echo delays, output delays
    61, 7700, 2680, 0, 200, 0, 200, 0, 0, 0, 0,
    // W33..W43: output delays, microphone tone, music tone
    0, 0, 0, 240, 240, 1000, 240, 240, 240, 1000, 240};

constexpr std::uint32_t kDefaultSwitchWord = 0x03FFE000;
constexpr std::uint32_t kDefaultAltSwitchWord = 0x00550000;

struct SetFrequencies {
  EqSet set;
  std::initializer_list<int> freqs;
};

// Memory bands, in band order: the last one or two of each list are the pass filters.
const SetFrequencies kSetFrequencies[] = {
    {kEqMicA, {63, 125, 250, 500, 1000, 2000, 4000, 6300, 8000, 16000, 20000, 20}},
    {kEqMicB, {63, 125, 250, 500, 1000, 2000, 4000, 6300, 8000, 16000, 20000, 20}},
    {kEqMusic, {125, 250, 500, 1000, 2000, 4000, 8000, 20000, 20}},
    {kEqMainFirst, {125, 250, 500, 1000, 2000, 4000, 8000, 20000, 20}},
    {kEqMainSecond, {125, 250, 500, 1000, 2000, 4000, 8000, 20000, 20}},
    {kEqSurroundFirst, {125, 250, 1000, 2500, 8000, 20000, 20}},
    {kEqSurroundSecond, {125, 250, 1000, 2500, 8000, 20000, 20}},
    {kEqCentreFirst, {125, 250, 1000, 2500, 8000, 20000, 20}},
    {kEqCentreSecond, {125, 250, 1000, 2500, 8000, 20000, 20}},
    {kEqSubFirst, {31, 63, 125, 250, 500, 20000, 20}},
    {kEqSubSecond, {31, 63, 125, 250, 500, 20000, 20}},
    {kEqReverb, {125, 250, 1000, 2500, 8000, 15200, 100}},
    {kEqEcho, {125, 250, 1000, 2500, 8000, 7700, 61}},
};

constexpr std::array<int, 5> kBoostFrequencies = {125, 250, 1000, 2500, 8000};

// Status tone groups. The processor reports only gains (status poll) and frequencies and Q
// (download), so the band types are ours to choose: bass a low shelf, middle a peak, treble a
// high shelf, matching the tone controls they stand for. Gains start flat (as after a link
// close); the middle frequency follows the tone words' default 1000 Hz; bass, treble and Q
// are common tone-control values until a download replaces them.
constexpr int kToneBassFreq = 100;
constexpr int kToneMiddleFreq = 1000;
constexpr int kToneTrebleFreq = 10000;
constexpr int kToneQ = 7;

EqBand FlatBand(int freq) {
  EqBand band;
  band.slope = 0;
  band.type = kBandPeak;
  band.freq = static_cast<std::int16_t>(freq);
  band.q = 10;
  band.gain = 0;
  return band;
}

void ApplyToneDefaults(ParamImage& image) {
  for (auto& group : image.toneGroups) {
    group.fill(FlatBand(kToneMiddleFreq));
    group[1] = {0, kBandLowShelf, kToneBassFreq, kToneQ, 0};
    group[2] = {0, kBandPeak, kToneMiddleFreq, kToneQ, 0};
    group[3] = {0, kBandHighShelf, kToneTrebleFreq, kToneQ, 0};
  }
  // The tone words say the same as the groups, so a download body built from a fresh image
  // carries them unchanged.
  image.toneWords = {kToneBassFreq, kToneTrebleFreq, kToneBassFreq, kToneTrebleFreq,
                     kToneQ,        kToneQ,          kToneQ};
}

}  // namespace

void ApplyDefaults(ParamImage& image) {
  // Start from a clean record so nothing of a previously downloaded (possibly locked)
  // preset survives: names, boost switches and Bluetooth names included.
  image = ParamImage{};
  std::copy(kDefaultBytes.begin(), kDefaultBytes.end(), image.bytes.begin());
  std::copy(kDefaultWords.begin(), kDefaultWords.end(), image.words.begin());
  image.switchWord = kDefaultSwitchWord;
  image.altSwitchWord = kDefaultAltSwitchWord;

  for (const auto& entry : kSetFrequencies) {
    EqBand* bands = image.set(entry.set);
    int b = 0;
    for (int freq : entry.freqs) bands[b++] = FlatBand(freq);
  }
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    auto& bands = image.boost.bands[static_cast<std::size_t>(ch)];
    for (std::size_t b = 0; b < bands.size(); ++b) bands[b] = FlatBand(kBoostFrequencies[b]);
  }
  ApplyToneDefaults(image);
}

}  // namespace tavelo
