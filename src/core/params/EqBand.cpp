#include "core/params/EqBand.h"

#include <cstdlib>

#include "core/link/LittleEndian.h"

namespace tavelo {

namespace {

// Band fields are signed; the little-endian helper works on their bit patterns.
void PutLe16(std::uint8_t* out, std::int16_t value) {
  le::Put16(out, static_cast<std::uint16_t>(value));
}

std::int16_t GetLe16(const std::uint8_t* in) {
  return static_cast<std::int16_t>(le::Get16(in));
}

}  // namespace

void EncodeWireBand(const EqBand& band, std::uint8_t* out) {
  const auto q = static_cast<unsigned>(static_cast<std::uint16_t>(band.q));
  // The type has three bits on the wire; masking keeps a stray value out of the sign bit.
  const auto type = static_cast<unsigned>(band.type) & 0x7u;
  const int magnitude = std::abs(static_cast<int>(band.gain));
  PutLe16(out, band.freq);
  out[2] = static_cast<std::uint8_t>(q & 0xFF);
  out[3] = static_cast<std::uint8_t>((((type << 12) | (q & 0x0FFF)) >> 8) |
                                     (band.gain < 0 ? 0x80u : 0u));
  out[4] = static_cast<std::uint8_t>(magnitude & 0xFF);
}

std::array<std::uint8_t, kWireBandSize> EncodeWireBand(const EqBand& band) {
  std::array<std::uint8_t, kWireBandSize> out{};
  EncodeWireBand(band, out.data());
  return out;
}

EqBand DecodeWireBand(const std::uint8_t* in) {
  EqBand band;
  band.slope = 0;  // pass-filter slopes travel as image bytes, never in the record
  band.type = static_cast<std::int8_t>((in[3] >> 4) & 0x7);
  band.freq = GetLe16(in);
  band.q = static_cast<std::int16_t>(((in[3] & 0x0F) << 8) | in[2]);
  band.gain = static_cast<std::int16_t>((in[3] & 0x80) != 0 ? -in[4] : in[4]);
  return band;
}

void WriteFileBand(const EqBand& band, std::uint8_t* out) {
  out[0] = static_cast<std::uint8_t>(band.slope);
  out[1] = static_cast<std::uint8_t>(band.type);
  PutLe16(out + 2, band.freq);
  PutLe16(out + 4, band.q);
  PutLe16(out + 6, band.gain);
}

EqBand ReadFileBand(const std::uint8_t* in) {
  EqBand band;
  band.slope = static_cast<std::int8_t>(in[0]);
  band.type = static_cast<std::int8_t>(in[1]);
  band.freq = GetLe16(in + 2);
  band.q = GetLe16(in + 4);
  band.gain = GetLe16(in + 6);
  return band;
}

}  // namespace tavelo
