// Reproducible, varied presets for demos and tests: every value stays inside the range its
// control allows, so a panel shows them as a real processor's settings would look.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/sim/VirtualProcessor.h"

namespace tavelo {
namespace {

// splitmix64: tiny, and identical on every platform (unlike the standard distributions).
class SeedSequence {
 public:
  explicit SeedSequence(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Between(int low, int high) {
    return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
  }

 private:
  std::uint64_t state_;
};

void VaryPreset(ParamImage& image, SeedSequence& seq, const char* name) {
  image.byte(img::kMusicMaxVolume) = static_cast<std::uint8_t>(seq.Between(60, 84));
  image.byte(img::kMusicVolume) =
      static_cast<std::uint8_t>(seq.Between(0, image.byte(img::kMusicMaxVolume)));
  image.byte(img::kMicMaxVolume) = static_cast<std::uint8_t>(seq.Between(60, 80));
  image.byte(img::kMicVolume) =
      static_cast<std::uint8_t>(seq.Between(0, image.byte(img::kMicMaxVolume)));
  image.byte(img::kEffectVolume) = static_cast<std::uint8_t>(seq.Between(0, 99));
  image.byte(img::kMusicInput) = static_cast<std::uint8_t>(seq.Between(0, 5));
  image.byte(img::kEchoType) = static_cast<std::uint8_t>(seq.Between(0, 2));
  image.byte(img::kAppMode) = static_cast<std::uint8_t>(seq.Between(0, 2));
  for (int s = 0; s < kEqSetCount; ++s) {
    for (int b = 0; b < kEqSets[static_cast<std::size_t>(s)].wireBands; ++b) {
      EqBand& band = image.eq[static_cast<std::size_t>(s)][static_cast<std::size_t>(b)];
      band.gain = static_cast<std::int16_t>(seq.Between(-24, 24) * 5);  // -12.0..+12.0 dB
      band.q = static_cast<std::int16_t>(seq.Between(5, 60));
    }
  }
  image.switchWord ^= static_cast<std::uint32_t>(seq.Next() & 0x1FFF);
  image.name.fill(' ');
  std::memcpy(image.name.data(), name, std::min<std::size_t>(std::strlen(name), kPresetNameSize));
}

}  // namespace

VirtualProcessor VirtualProcessor::Seeded(std::uint32_t seed) {
  SeedSequence seq(seed);
  VirtualProcessor processor;
  char name[kPresetNameSize + 1];
  for (int slot = 0; slot < kStoredPresets; ++slot) {
    std::snprintf(name, sizeof name, "SEED%u-%d", seed % 100000u, slot + 1);
    VaryPreset(processor.stored_[static_cast<std::size_t>(slot)], seq, name);
  }
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    auto& bands = processor.current_.boost.bands[static_cast<std::size_t>(ch)];
    for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++b) {
      bands[static_cast<std::size_t>(b)].gain = static_cast<std::int16_t>(seq.Between(-12, 12) * 5);
    }
  }
  processor.current_.boost.switches = static_cast<std::uint8_t>(seq.Between(0, 15));
  processor.currentPreset_ = seq.Between(0, kStoredPresets - 1);
  processor.Recall(processor.currentPreset_);
  return processor;
}

}  // namespace tavelo
