// The parameter set the panel shows before any processor has been read, and again after a
// locked processor's set was downloaded but never unlocked. Every named value's default is
// its catalogue row's; the EQ, boost and tone bands, which no scalar row holds, are here.
#include "core/params/Defaults.h"

#include <initializer_list>

#include "core/params/Catalogue.h"
#include "core/params/ParamImage.h"

namespace tavelo {

namespace {

// Whether the row's default is its own: the whole-word rows (switch words, boost switch
// byte) are made of their bit rows, whose defaults they would otherwise overwrite.
bool HoldsOwnDefault(const CatalogueRow& r) {
  switch (r.place.where) {
    case Where::kByte:
    case Where::kLevel:
    case Where::kLevelOn:
    case Where::kWord:
    case Where::kSwitchBit:
    case Where::kAltSwitchBit:
    case Where::kBoostSwitchBit:
    case Where::kPowerMode:
      return true;
    case Where::kSwitchWord:
    case Where::kAltSwitchWord:
    case Where::kBoostSwitches:
    case Where::kEqBand:
    case Where::kBoostBand:
    case Where::kPresetName:
      return false;
  }
  return false;
}

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

int DefaultBandFrequency(EqSet set, int band) {
  for (const auto& entry : kSetFrequencies) {
    if (entry.set != set) continue;
    if (band < 0 || band >= static_cast<int>(entry.freqs.size())) return 0;
    return entry.freqs.begin()[band];
  }
  return 0;
}

void ApplyDefaults(ParamImage& image) {
  // Start from a clean record so nothing of a previously downloaded (possibly locked)
  // preset survives: names, boost switches and Bluetooth names included.
  image = ParamImage{};
  for (const CatalogueRow& r : AllRows()) {
    if (HoldsOwnDefault(r)) WriteValue(image, r, r.def);
  }

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
