#include "core/params/Bodies.h"

#include <algorithm>

#include "core/link/LittleEndian.h"

namespace tavelo {

namespace {

// Fixed offsets of the body fields.
constexpr int kWordsAt = kSettingsBytes;                                     // 141
constexpr int kBandsAt = kWordsAt + 2 * kWordCount;                          // 229
constexpr int kSwitchAt = kBandsAt + kWireBandSize * kWireBandCount;         // 634
constexpr int kNameAt = kSwitchAt + 4;                                       // 638
constexpr int kPresetNamesAt = kNameAt + kPresetNameSize;                    // 654
constexpr int kBoostAt = kPresetNamesAt + kStoredPresets * kPresetNameSize;  // 814
constexpr int kBoostBandsAt = kBoostAt + 1;                                  // 815
constexpr int kBoostBandTotal = 14;
constexpr int kToneWordsAt = kBoostBandsAt + kWireBandSize * kBoostBandTotal;  // 885
constexpr int kBtNameAt = kToneWordsAt + 2 * kToneWordCount;                   // 899
constexpr int kBleNameAt = kBtNameAt + kDeviceNameSize;                        // 918
static_assert(kNameAt + kPresetNameSize == kUploadBodySize);
static_assert(kBleNameAt + kDeviceNameSize == kDownloadBodySize);

// T4..T6 carry a Q in their low 12 bits; the upper bits have no meaning.
constexpr int kFirstQToneWord = 4;
constexpr std::uint16_t kToneQMask = 0x0FFF;

template <std::size_t N>
void GetChars(const std::uint8_t* in, int count, std::array<char, N>& out) {
  for (int i = 0; i < count; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>(in[i]);
}

template <std::size_t N>
void PutChars(const std::array<char, N>& in, int count, std::uint8_t* out) {
  for (int i = 0; i < count; ++i)
    out[i] = static_cast<std::uint8_t>(in[static_cast<std::size_t>(i)]);
}

// Calls fn(band, recordIndex) for every band that travels, in body order.
template <typename Image, typename Fn>
void ForEachWireBand(Image& image, Fn fn) {
  for (int s = 0; s < kEqSetCount; ++s) {
    const EqSetInfo& info = kEqSets[static_cast<std::size_t>(s)];
    for (int b = 0; b < info.wireBands; ++b) {
      fn(image.eq[static_cast<std::size_t>(s)][static_cast<std::size_t>(b)], info.firstRecord + b);
    }
  }
}

template <typename Image, typename Fn>
void ForEachBoostBand(Image& image, Fn fn) {
  int record = 0;
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++b) {
      fn(image.boost.bands[static_cast<std::size_t>(ch)][static_cast<std::size_t>(b)], record++);
    }
  }
}

// The 654-byte preset part, shared by both directions of both bodies.
void WritePresetPart(const ParamImage& image, std::uint8_t* out) {
  std::copy_n(image.bytes.begin(), kSettingsBytes, out);
  for (int k = 0; k < kWordCount; ++k) le::Put16(out + kWordsAt + 2 * k, image.word(k));
  ForEachWireBand(image, [out](const EqBand& band, int record) {
    EncodeWireBand(band, out + kBandsAt + kWireBandSize * record);
  });
  le::Put32(out + kSwitchAt, image.switchWord);
  PutChars(image.name, kPresetNameSize, out + kNameAt);
}

void ReadPresetPart(const std::uint8_t* in, ParamImage& image) {
  std::copy_n(in, kSettingsBytes, image.bytes.begin());
  for (int k = 0; k < kWordCount; ++k) image.word(k) = le::Get16(in + kWordsAt + 2 * k);
  ForEachWireBand(image, [in](EqBand& band, int record) {
    band = DecodeWireBand(in + kBandsAt + kWireBandSize * record);
  });
  image.switchWord = le::Get32(in + kSwitchAt);
  GetChars(in + kNameAt, kPresetNameSize, image.name);
}

void ApplyToneWords(ParamImage& image) {
  // Group 2 (microphone, toneGroups[1]) takes T0/T1, group 1 (music) T2/T3 as the
  // frequencies of its bass and treble bands; T4..T6 are the Q of bands 1..3 of both.
  auto& music = image.toneGroups[0];
  auto& mic = image.toneGroups[1];
  mic[1].freq = static_cast<std::int16_t>(image.toneWords[0]);
  mic[3].freq = static_cast<std::int16_t>(image.toneWords[1]);
  music[1].freq = static_cast<std::int16_t>(image.toneWords[2]);
  music[3].freq = static_cast<std::int16_t>(image.toneWords[3]);
  for (int b = 1; b <= 3; ++b) {
    const auto q = static_cast<std::int16_t>(image.toneWords[kFirstQToneWord + b - 1]);
    music[static_cast<std::size_t>(b)].q = q;
    mic[static_cast<std::size_t>(b)].q = q;
  }
}

}  // namespace

std::uint8_t BodyChecksum(const std::uint8_t* body, std::size_t size) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < size; ++i) sum += body[i];
  return static_cast<std::uint8_t>((0x100u - (sum & 0xFFu)) & 0xFFu);
}

bool DecodeDownloadBody(const std::uint8_t* body, std::size_t size, ParamImage& image) {
  if (body == nullptr || size < static_cast<std::size_t>(kDownloadBodySize)) return false;
  ReadPresetPart(body, image);
  for (int slot = 0; slot < kStoredPresets; ++slot) {
    GetChars(body + kPresetNamesAt + kPresetNameSize * slot, kPresetNameSize,
             image.presetNames[static_cast<std::size_t>(slot)]);
  }
  image.boost.switches = body[kBoostAt];
  ForEachBoostBand(image, [body](EqBand& band, int record) {
    band = DecodeWireBand(body + kBoostBandsAt + kWireBandSize * record);
  });
  for (int t = 0; t < kToneWordCount; ++t) {
    std::uint16_t word = le::Get16(body + kToneWordsAt + 2 * t);
    if (t >= kFirstQToneWord) word &= kToneQMask;
    image.toneWords[static_cast<std::size_t>(t)] = word;
  }
  ApplyToneWords(image);
  image.btName.fill('\0');
  image.bleName.fill('\0');
  GetChars(body + kBtNameAt, kDeviceNameSize, image.btName);
  GetChars(body + kBleNameAt, kDeviceNameSize, image.bleName);
  return true;
}

void BuildUploadBody(const ParamImage& image, std::array<std::uint8_t, kUploadBodySize>& out) {
  out.fill(0);
  WritePresetPart(image, out.data());
}

void BuildDownloadBody(const ParamImage& image, std::array<std::uint8_t, kDownloadBodySize>& out) {
  out.fill(0);
  std::uint8_t* body = out.data();
  WritePresetPart(image, body);
  for (int slot = 0; slot < kStoredPresets; ++slot) {
    PutChars(image.presetNames[static_cast<std::size_t>(slot)], kPresetNameSize,
             body + kPresetNamesAt + kPresetNameSize * slot);
  }
  body[kBoostAt] = image.boost.switches;
  ForEachBoostBand(image, [body](const EqBand& band, int record) {
    EncodeWireBand(band, body + kBoostBandsAt + kWireBandSize * record);
  });
  for (int t = 0; t < kToneWordCount; ++t) {
    le::Put16(body + kToneWordsAt + 2 * t, image.toneWords[static_cast<std::size_t>(t)]);
  }
  PutChars(image.btName, kDeviceNameSize, body + kBtNameAt);
  PutChars(image.bleName, kDeviceNameSize, body + kBleNameAt);
}

void DecodeUploadBody(const std::uint8_t* body, ParamImage& image) {
  if (body == nullptr) return;
  ReadPresetPart(body, image);
}

}  // namespace tavelo
