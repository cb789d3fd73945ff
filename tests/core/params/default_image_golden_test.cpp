// The default parameter set is what a fresh panel, the virtual processor and every file
// written before a download start from: its bytes must not move when the catalogue is
// edited. The golden file holds them as they were when the defaults lived in one array.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/params/ParamImage.h"

namespace tavelo {
namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutBand(std::vector<std::uint8_t>& out, const EqBand& b) {
  Put(out, static_cast<std::uint8_t>(b.slope), 1);
  Put(out, static_cast<std::uint8_t>(b.type), 1);
  Put(out, static_cast<std::uint16_t>(b.freq), 2);
  Put(out, static_cast<std::uint16_t>(b.q), 2);
  Put(out, static_cast<std::uint16_t>(b.gain), 2);
}

// Every field of the image, little-endian, in declaration order.
std::vector<std::uint8_t> Serialise(const ParamImage& image) {
  std::vector<std::uint8_t> out(image.bytes.begin(), image.bytes.end());
  for (auto w : image.words) Put(out, w, 2);
  for (const auto& set : image.eq) {
    for (const EqBand& b : set) PutBand(out, b);
  }
  Put(out, image.switchWord, 4);
  Put(out, image.altSwitchWord, 4);
  out.insert(out.end(), image.name.begin(), image.name.end());
  for (const auto& n : image.presetNames) out.insert(out.end(), n.begin(), n.end());
  Put(out, image.boost.switches, 1);
  for (const auto& ch : image.boost.bands) {
    for (const EqBand& b : ch) PutBand(out, b);
  }
  for (auto w : image.toneWords) Put(out, w, 2);
  for (const auto& group : image.toneGroups) {
    for (const EqBand& b : group) PutBand(out, b);
  }
  out.insert(out.end(), image.btName.begin(), image.btName.end());
  out.insert(out.end(), image.bleName.begin(), image.bleName.end());
  Put(out, image.powerMode, 1);
  Put(out, image.micEqLink, 1);
  return out;
}

std::vector<std::uint8_t> Golden() {
  std::ifstream in(TAVELO_SOURCE_DIR "/tests/core/params/data/default-image.bin", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DefaultImage, IsByteForByteTheGolden) {
  ParamImage image;
  image.byte(3) = 9;  // a value of an earlier preset, which the defaults replace
  image.presetNames[4][0] = 'X';
  ApplyDefaults(image);
  const std::vector<std::uint8_t> golden = Golden();
  ASSERT_FALSE(golden.empty()) << "default-image.bin is missing";
  EXPECT_EQ(Serialise(image), golden);
}

}  // namespace
}  // namespace tavelo
