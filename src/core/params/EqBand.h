#pragma once
// The equaliser band record shared by every page, the response computation, the
// parameter image and the PC files, plus its two serialised forms.
#include <array>
#include <cstdint>

namespace tavelo {

// Band types. Any other value is drawn flat.
enum BandType : std::int8_t {
  kBandPeak = 0,
  kBandLowShelf = 1,
  kBandHighShelf = 2,
  kBandLowPass = 3,
  kBandHighPass = 4,
};

// Pass-filter slope codes (list index on the pages). Any other value is drawn flat.
enum SlopeCode : std::int8_t {
  kSlopeBypass = 0,
  kSlopeBessel12 = 1,
  kSlopeButter12 = 2,
  kSlopeBessel18 = 3,
  kSlopeButter18 = 4,
  kSlopeBessel24 = 5,
  kSlopeButter24 = 6,
  kSlopeLinkwitzRiley24 = 7,
};
inline constexpr int kSlopeCount = 8;

// 8-byte packed band, little-endian in files: slope, type, freq (Hz), q (tenths),
// gain (tenths of a dB, signed).
struct EqBand {
  std::int8_t slope = 0;
  std::int8_t type = 0;
  std::int16_t freq = 0;
  std::int16_t q = 10;
  std::int16_t gain = 0;

  friend bool operator==(const EqBand&, const EqBand&) = default;
};
static_assert(sizeof(EqBand) == 8);

// The ranges the pages, the graph and the band text keep an edited band within.
inline constexpr int kBandGainLimit = 240;  // tenths of a dB either side of 0
inline constexpr int kBandMinFrequency = 20;
inline constexpr int kBandMaxFrequency = 20000;
inline constexpr int kBandMinQ = 4;  // tenths
constexpr int BandMaxQ(int type) {
  return (type == kBandLowShelf || type == kBandHighShelf) ? 20 : 999;
}

inline constexpr int kWireBandSize = 5;
inline constexpr int kFileBandSize = 8;

// The 5-byte form in which a band travels to and from the processor. The slope is not
// carried: decoding sets it to 0.
std::array<std::uint8_t, kWireBandSize> EncodeWireBand(const EqBand& band);
void EncodeWireBand(const EqBand& band, std::uint8_t* out);
EqBand DecodeWireBand(const std::uint8_t* in);

// The 8-byte little-endian record of parameter and boost files.
void WriteFileBand(const EqBand& band, std::uint8_t* out);
EqBand ReadFileBand(const std::uint8_t* in);

}  // namespace tavelo
