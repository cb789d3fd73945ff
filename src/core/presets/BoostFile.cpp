#include "core/presets/BoostFile.h"

namespace tavelo {

namespace {

constexpr std::array<const char*, kBoostChannels> kChannelNames = {"microphone", "music", "reverb",
                                                                   "echo"};

// Why a band read from a file cannot be shown and sent as it is; empty when it can.
std::string BandProblem(const EqBand& b) {
  if (b.type < kBandPeak || b.type > kBandHighShelf)
    return "type " + std::to_string(b.type) + " is not peaking or shelving";
  if (b.freq < kBandMinFrequency || b.freq > kBandMaxFrequency)
    return "frequency " + std::to_string(b.freq) + " Hz outside " +
           std::to_string(kBandMinFrequency) + ".." + std::to_string(kBandMaxFrequency);
  if (b.q < kBandMinQ || b.q > BandMaxQ(b.type))
    return "Q " + std::to_string(b.q) + " tenths outside " + std::to_string(kBandMinQ) + ".." +
           std::to_string(BandMaxQ(b.type));
  if (b.gain < -kBandGainLimit || b.gain > kBandGainLimit)
    return "gain " + std::to_string(b.gain) + " tenths of a dB outside +-" +
           std::to_string(kBandGainLimit);
  if (b.slope < 0 || b.slope >= kSlopeCount) return "slope " + std::to_string(b.slope);
  return {};
}

}  // namespace

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

std::string BoostBandProblem(const BoostBlock& block) {
  for (std::size_t c = 0; c < kBoostChannels; ++c) {
    for (int b = 0; b < kBoostBandCounts[c]; ++b) {
      const std::string problem = BandProblem(block.bands[c][static_cast<std::size_t>(b)]);
      if (!problem.empty())
        return std::string(kChannelNames[c]) + " band " + std::to_string(b + 1) + ": " + problem;
    }
  }
  return {};
}

BoostLoad LoadBoostFile(const std::filesystem::path& path) {
  BoostLoad load;
  // One byte more than a boost file, so that a longer file reads as "wrong size".
  const ReadResult read = ReadWholeFile(path, kBoostFileSize + 1);
  if (!read.ok && !read.tooLarge) {
    load.reason = read.message;
    return load;
  }
  const BoostFileResult parsed = read.tooLarge
                                     ? ParseBoostFile(nullptr, 0)
                                     : ParseBoostFile(read.bytes.data(), read.bytes.size());
  if (!parsed.ok()) {
    load.outcome = BoostLoadOutcome::kRefused;
    load.reason = read.tooLarge
                      ? "wrong size: more than " + std::to_string(kBoostFileSize) + " bytes"
                      : parsed.message;
    return load;
  }
  if (std::string problem = BoostBandProblem(parsed.block); !problem.empty()) {
    load.outcome = BoostLoadOutcome::kRefused;
    load.reason = std::move(problem);
    return load;
  }
  load.outcome = BoostLoadOutcome::kLoaded;
  load.block = parsed.block;
  return load;
}

FileResult SaveBoostFile(const std::filesystem::path& path, const BoostBlock& block) {
  const auto bytes = BuildBoostFile(block);
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace tavelo
