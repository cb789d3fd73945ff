#include "core/presets/ParamFile.h"

#include <algorithm>

#include "core/link/LittleEndian.h"
#include "core/params/Catalogue.h"

namespace tavelo {

std::size_t ParamFileEqOffset(EqSet s) {
  std::size_t offset = pfile::kEqSets;
  for (int i = 0; i < s; ++i) {
    offset +=
        static_cast<std::size_t>(kEqSets[static_cast<std::size_t>(i)].memoryBands) * kFileBandSize;
  }
  return offset;
}

void DerivePassFilterBands(const ParamImage& image, EqSet set, EqBand* bands) {
  const auto& info = kEqSets[static_cast<std::size_t>(set)];
  for (int b = info.wireBands; b < info.memoryBands; ++b) {
    const auto pass = PassFilterOf(RowOf(BandRow(set, b)));
    if (!pass) continue;
    EqBand& band = bands[b];
    band.type = static_cast<std::int8_t>(b == info.wireBands ? kBandLowPass : kBandHighPass);
    const CatalogueRow& frequency = RowOf(pass->frequency);
    band.freq = static_cast<std::int16_t>(
        std::clamp(ReadValue(image, frequency), frequency.min, frequency.max));
    if (pass->slope) {
      band.slope = static_cast<std::int8_t>(
          std::clamp(ReadValue(image, RowOf(*pass->slope)), 0, kSlopeCount - 1));
    }
  }
}

ParamFileData ParamFileDataFromImage(const ParamImage& image) {
  ParamFileData data;
  data.bytes = image.bytes;
  data.words = image.words;
  for (int s = 0; s < kEqSetCount; ++s) {
    const auto set = static_cast<std::size_t>(s);
    const auto bands = static_cast<std::size_t>(kEqSets[set].memoryBands);
    std::copy_n(image.eq[set].begin(), bands, data.eq[set].begin());
    DerivePassFilterBands(image, static_cast<EqSet>(s), data.eq[set].data());
  }
  data.switchWord = image.switchWord;
  data.altSwitchWord = image.altSwitchWord;
  data.name = image.name;
  data.powerMode = image.powerMode;
  return data;
}

std::uint8_t ParamFileChecksumSum(const std::uint8_t* bytes) {
  unsigned sum = bytes[0] + bytes[2] + bytes[pfile::kPowerMode] + bytes[pfile::kChecksum];
  for (std::size_t i = pfile::kImageBytes; i < pfile::kPowerMode; ++i) sum += bytes[i];
  return static_cast<std::uint8_t>(sum);
}

std::array<std::uint8_t, kParamFileSize> BuildParamFile(const ParamFileData& data) {
  std::array<std::uint8_t, kParamFileSize> out{};
  std::uint8_t* p = out.data();
  le::Put16(p + pfile::kMagic, kParamFileMagic);
  le::Put16(p + pfile::kVersion, kParamFileVersion);
  std::copy(data.bytes.begin(), data.bytes.end(), p + pfile::kImageBytes);
  for (std::size_t k = 0; k < data.words.size(); ++k)
    le::Put16(p + pfile::kWords + 2 * k, data.words[k]);
  for (int s = 0; s < kEqSetCount; ++s) {
    const auto set = static_cast<std::size_t>(s);
    std::uint8_t* band = p + ParamFileEqOffset(static_cast<EqSet>(s));
    for (int b = 0; b < kEqSets[set].memoryBands; ++b, band += kFileBandSize) {
      WriteFileBand(data.eq[set][static_cast<std::size_t>(b)], band);
    }
  }
  le::Put32(p + pfile::kSwitchWord, data.switchWord);
  le::Put32(p + pfile::kAltSwitchWord, data.altSwitchWord);
  std::copy(data.name.begin(), data.name.end(), p + pfile::kPresetName);
  p[pfile::kPowerMode] = data.powerMode;
  p[pfile::kChecksum] = static_cast<std::uint8_t>(-ParamFileChecksumSum(p));
  return out;
}

std::array<std::uint8_t, kParamFileSize> BuildParamFile(const ParamImage& image) {
  return BuildParamFile(ParamFileDataFromImage(image));
}

ParamFileResult ParseParamFile(const std::uint8_t* bytes, std::size_t size) {
  ParamFileResult result;
  if (bytes == nullptr || size != kParamFileSize) {
    result.error = ParamFileError::kWrongSize;
    result.message = "wrong size: " + std::to_string(bytes == nullptr ? 0 : size) + " bytes";
    return result;
  }
  if (le::Get16(bytes + pfile::kMagic) != kParamFileMagic) {
    result.error = ParamFileError::kBadMagic;
    result.message = "bad magic";
    return result;
  }
  if (const auto version = le::Get16(bytes + pfile::kVersion); version != kParamFileVersion) {
    result.error = ParamFileError::kBadVersion;
    result.message = "bad version: " + std::to_string(version);
    return result;
  }
  if (ParamFileChecksumSum(bytes) != 0) {
    result.error = ParamFileError::kBadChecksum;
    result.message = "bad checksum";
    return result;
  }
  ParamFileData& data = result.data;
  std::copy_n(bytes + pfile::kImageBytes, data.bytes.size(), data.bytes.begin());
  for (std::size_t k = 0; k < data.words.size(); ++k)
    data.words[k] = le::Get16(bytes + pfile::kWords + 2 * k);
  for (int s = 0; s < kEqSetCount; ++s) {
    const auto set = static_cast<std::size_t>(s);
    const std::uint8_t* band = bytes + ParamFileEqOffset(static_cast<EqSet>(s));
    for (int b = 0; b < kEqSets[set].memoryBands; ++b, band += kFileBandSize) {
      data.eq[set][static_cast<std::size_t>(b)] = ReadFileBand(band);
    }
  }
  data.switchWord = le::Get32(bytes + pfile::kSwitchWord);
  data.altSwitchWord = le::Get32(bytes + pfile::kAltSwitchWord);
  std::copy_n(bytes + pfile::kPresetName, data.name.size(), data.name.begin());
  data.powerMode = bytes[pfile::kPowerMode];
  return result;
}

void CopyFileFields(ParamImage& image, const ParamFileData& data) {
  image.powerMode = data.powerMode;
  image.bytes = data.bytes;
  image.words = data.words;
  for (int s = 0; s < kEqSetCount; ++s) {
    const auto set = static_cast<std::size_t>(s);
    const auto bands = static_cast<std::size_t>(kEqSets[set].memoryBands);
    std::copy_n(data.eq[set].begin(), bands, image.eq[set].begin());
  }
  image.switchWord = data.switchWord;
  image.altSwitchWord = data.altSwitchWord;
  image.name = data.name;
}

void ApplyLoadedFile(ParamImage& image, const ParamFileData& data) {
  const std::uint8_t musicVolume = image.byte(img::kMusicVolume);
  const std::uint8_t micVolume = image.byte(img::kMicVolume);
  const std::uint8_t effectVolume = image.byte(img::kEffectVolume);
  CopyFileFields(image, data);

  // The volumes belong to the room, not to the preset; the loaded maxima still bound them.
  image.byte(img::kMusicVolume) = std::min(musicVolume, image.byte(img::kMusicMaxVolume));
  image.byte(img::kMicVolume) = std::min(micVolume, image.byte(img::kMicMaxVolume));
  image.byte(img::kEffectVolume) = effectVolume;
}

}  // namespace tavelo
