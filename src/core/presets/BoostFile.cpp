#include "presets/BoostFile.h"

namespace tavelo {

std::size_t BoostFileChannelOffset(int channel) {
  std::size_t offset = bfile::kSwitches + 1;
  for (int c : kBoostFileChannelOrder) {
    if (c == channel) break;
    offset +=
        static_cast<std::size_t>(kBoostBandCounts[static_cast<std::size_t>(c)]) * kFileBandSize;
  }
  return offset;
}

std::uint8_t BoostFileChecksumSum(const std::uint8_t* bytes) {
  unsigned sum = kBoostFileMagic;
  for (std::size_t i = 0; i < kBoostFileSize; ++i) sum += bytes[i];
  return static_cast<std::uint8_t>(sum);
}

std::array<std::uint8_t, kBoostFileSize> BuildBoostFile(const BoostBlock& block) {
  std::array<std::uint8_t, kBoostFileSize> out{};
  out[bfile::kMagic] = kBoostFileMagic;
  out[bfile::kSwitches] = block.switches;
  for (int c = 0; c < kBoostChannels; ++c) {
    std::uint8_t* band = out.data() + BoostFileChannelOffset(c);
    const auto channel = static_cast<std::size_t>(c);
    for (int b = 0; b < kBoostBandCounts[channel]; ++b, band += kFileBandSize) {
      WriteFileBand(block.bands[channel][static_cast<std::size_t>(b)], band);
    }
  }
  out[bfile::kChecksum] = static_cast<std::uint8_t>(-BoostFileChecksumSum(out.data()));
  return out;
}

BoostFileResult ParseBoostFile(const std::uint8_t* bytes, std::size_t size) {
  BoostFileResult result;
  if (bytes == nullptr || size != kBoostFileSize) {
    result.error = BoostFileError::kWrongSize;
    result.message = "wrong size: " + std::to_string(bytes == nullptr ? 0 : size) + " bytes";
    return result;
  }
  if (bytes[bfile::kMagic] != kBoostFileMagic) {
    result.error = BoostFileError::kBadMagic;
    result.message = "bad magic";
    return result;
  }
  if (BoostFileChecksumSum(bytes) != 0) {
    result.error = BoostFileError::kBadChecksum;
    result.message = "bad checksum";
    return result;
  }
  result.block.switches = bytes[bfile::kSwitches];
  for (int c = 0; c < kBoostChannels; ++c) {
    const std::uint8_t* band = bytes + BoostFileChannelOffset(c);
    const auto channel = static_cast<std::size_t>(c);
    for (int b = 0; b < kBoostBandCounts[channel]; ++b, band += kFileBandSize) {
      result.block.bands[channel][static_cast<std::size_t>(b)] = ReadFileBand(band);
    }
  }
  return result;
}

void ApplyLoadedBoost(BoostBlock& target, const BoostBlock& loaded) {
  target.switches = loaded.switches;
  for (std::size_t c = 0; c < kBoostChannels; ++c) {
    for (std::size_t b = 0; b < static_cast<std::size_t>(kBoostBandCounts[c]); ++b) {
      target.bands[c][b] = loaded.bands[c][b];
    }
  }
}

}  // namespace tavelo
