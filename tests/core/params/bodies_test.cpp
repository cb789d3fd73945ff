#include "core/params/Bodies.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <numeric>
#include <random>

namespace tavelo {
namespace {

// A default image scrambled everywhere a body carries data.
ParamImage RandomImage(unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> byte(0, 255), type(0, 7), freq(20, 20000), q(1, 4095),
      gain(-240, 240), letter('A', 'Z');
  auto band = [&] {
    return EqBand{0, static_cast<std::int8_t>(type(rng)), static_cast<std::int16_t>(freq(rng)),
                  static_cast<std::int16_t>(q(rng)), static_cast<std::int16_t>(gain(rng))};
  };
  ParamImage image;
  ApplyDefaults(image);
  for (int n = 0; n < kSettingsBytes; ++n) image.byte(n) = static_cast<std::uint8_t>(byte(rng));
  for (int k = 0; k < kWordCount; ++k) image.word(k) = static_cast<std::uint16_t>(byte(rng) * 251);
  for (int s = 0; s < kEqSetCount; ++s) {
    for (int b = 0; b < kEqSets[s].wireBands; ++b)
      image.eq[s][static_cast<std::size_t>(b)] = band();
  }
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++b) {
      image.boost.bands[static_cast<std::size_t>(ch)][static_cast<std::size_t>(b)] = band();
    }
  }
  image.boost.switches = static_cast<std::uint8_t>(byte(rng));
  image.switchWord = 0x89ABCDEFu ^ seed;
  for (char& c : image.name) c = static_cast<char>(letter(rng));
  for (auto& n : image.presetNames) {
    for (char& c : n) c = static_cast<char>(letter(rng));
  }
  for (int i = 0; i < kDeviceNameSize; ++i) {
    image.btName[static_cast<std::size_t>(i)] = static_cast<char>(letter(rng));
    image.bleName[static_cast<std::size_t>(i)] = static_cast<char>(letter(rng));
  }
  image.toneWords = {90, 12000, 110, 9000, 7, 15, 30};
  return image;
}

TEST(DownloadBody, BuiltBodyDecodesBackToTheSameImage) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const ParamImage source = RandomImage(seed);
    std::array<std::uint8_t, kDownloadBodySize> body{};
    BuildDownloadBody(source, body);

    ParamImage decoded;
    ApplyDefaults(decoded);
    ASSERT_TRUE(DecodeDownloadBody(body.data(), body.size(), decoded));
    EXPECT_EQ(decoded.bytes, source.bytes);
    EXPECT_EQ(decoded.words, source.words);
    EXPECT_EQ(decoded.eq, source.eq);
    EXPECT_EQ(decoded.switchWord, source.switchWord);
    EXPECT_EQ(decoded.name, source.name);
    EXPECT_EQ(decoded.presetNames, source.presetNames);
    EXPECT_EQ(decoded.boost, source.boost);
    EXPECT_EQ(decoded.toneWords, source.toneWords);
    EXPECT_EQ(decoded.btName, source.btName);
    EXPECT_EQ(decoded.bleName, source.bleName);
  }
}

TEST(DownloadBody, FieldsSitAtTheirFixedOffsets) {
  std::array<std::uint8_t, kDownloadBodySize> body{};
  body[140] = 0x77;               // adjust manner, last settings byte
  body[141 + 2 * 43] = 0x34;      // W43 low
  body[141 + 2 * 43 + 1] = 0x12;  // W43 high
  const std::uint8_t record[] = {0xE8, 0x03, 0x07, 0xA0, 0x78};
  std::memcpy(&body[229 + 5 * 27], record, 5);  // main output first set, band 0
  std::memcpy(&body[229 + 5 * 80], record, 5);  // echo set, band 4
  body[634] = 0x11;
  body[637] = 0x44;
  body[638] = 'N';
  body[654 + 16 * 9] = 'P';  // stored preset 9
  body[814] = 0x0F;
  std::memcpy(&body[815 + 5 * 13], record, 5);  // boost channel 3 band 2
  body[899] = 'b';
  body[917] = 'z';
  body[918] = 'l';

  ParamImage image;
  ApplyDefaults(image);
  image.eq[kEqMainFirst][0].slope = kSlopeButter24;
  ASSERT_TRUE(DecodeDownloadBody(body.data(), body.size(), image));
  const EqBand expected{0, kBandHighShelf, 1000, 7, -120};
  EXPECT_EQ(image.byte(140), 0x77);
  EXPECT_EQ(image.word(43), 0x1234);
  EXPECT_EQ(image.eq[kEqMainFirst][0], expected);  // slope reset to 0
  EXPECT_EQ(image.eq[kEqEcho][4], expected);
  EXPECT_EQ(image.switchWord, 0x44000011u);
  EXPECT_EQ(image.name[0], 'N');
  EXPECT_EQ(image.presetNames[9][0], 'P');
  EXPECT_EQ(image.boost.switches, 0x0F);
  EXPECT_EQ(image.boost.bands[3][2], expected);
  EXPECT_EQ(image.btName[0], 'b');
  EXPECT_EQ(image.btName[18], 'z');
  EXPECT_EQ(image.btName[19], '\0');
  EXPECT_EQ(image.bleName[0], 'l');
  EXPECT_EQ(image.bleName[19], '\0');
  // The page's extra (filter) bands are not in the body and keep their values.
  EXPECT_EQ(image.eq[kEqEcho][5].freq, 7700);
}

TEST(DownloadBody, ToneWordsFeedBothStatusGroups) {
  std::array<std::uint8_t, kDownloadBodySize> body{};
  const std::uint16_t words[7] = {80, 12000, 120, 8000, 0xF00A, 0x1014, 0x001E};
  for (int t = 0; t < 7; ++t) {
    body[static_cast<std::size_t>(885 + 2 * t)] = static_cast<std::uint8_t>(words[t] & 0xFF);
    body[static_cast<std::size_t>(886 + 2 * t)] = static_cast<std::uint8_t>(words[t] >> 8);
  }
  ParamImage image;
  ApplyDefaults(image);
  image.toneGroups[0][1].gain = 40;  // gains belong to the status poll: kept
  ASSERT_TRUE(DecodeDownloadBody(body.data(), body.size(), image));
  const auto& music = image.toneGroups[0];
  const auto& mic = image.toneGroups[1];
  EXPECT_EQ(mic[1].freq, 80);
  EXPECT_EQ(mic[3].freq, 12000);
  EXPECT_EQ(music[1].freq, 120);
  EXPECT_EQ(music[3].freq, 8000);
  for (const auto* group : {&music, &mic}) {
    EXPECT_EQ((*group)[1].q, 0x00A);  // upper four bits dropped
    EXPECT_EQ((*group)[2].q, 0x014);
    EXPECT_EQ((*group)[3].q, 0x01E);
  }
  EXPECT_EQ(music[1].gain, 40);
  EXPECT_EQ(image.toneWords[4], 0x00A);
}

TEST(DownloadBody, ShortInputIsRefusedWithoutReadingIt) {
  ParamImage image;
  ApplyDefaults(image);
  const ParamImage before = image;
  // Exactly-sized heap blocks: the address sanitizer reports any read past them.
  for (std::size_t size :
       {std::size_t{0}, std::size_t{1}, std::size_t{654}, std::size_t{kDownloadBodySize - 1}}) {
    auto bytes = std::make_unique<std::uint8_t[]>(size + 1);
    std::memset(bytes.get(), 0xFF, size + 1);
    EXPECT_FALSE(DecodeDownloadBody(bytes.get(), size, image)) << size;
    EXPECT_EQ(image, before);
  }
  EXPECT_FALSE(DecodeDownloadBody(nullptr, kDownloadBodySize, image));
  auto exact = std::make_unique<std::uint8_t[]>(kDownloadBodySize);
  std::memset(exact.get(), 0, kDownloadBodySize);
  EXPECT_TRUE(DecodeDownloadBody(exact.get(), kDownloadBodySize, image));
}

TEST(UploadBody, IsThePresetPartOfTheDownloadAndDecodesBack) {
  const ParamImage source = RandomImage(9);
  std::array<std::uint8_t, kUploadBodySize> upload{};
  std::array<std::uint8_t, kDownloadBodySize> download{};
  BuildUploadBody(source, upload);
  BuildDownloadBody(source, download);
  EXPECT_TRUE(std::equal(upload.begin(), upload.end(), download.begin()));

  ParamImage stored;
  ApplyDefaults(stored);
  DecodeUploadBody(upload.data(), stored);
  EXPECT_EQ(stored.bytes, source.bytes);
  EXPECT_EQ(stored.words, source.words);
  EXPECT_EQ(stored.eq, source.eq);
  EXPECT_EQ(stored.switchWord, source.switchWord);
  EXPECT_EQ(stored.name, source.name);
  EXPECT_NE(stored.presetNames, source.presetNames);  // not part of a preset body
}

TEST(UploadBody, ChecksumMakesTheBodySumToZero) {
  for (unsigned seed : {4u, 5u, 6u, 7u}) {
    std::array<std::uint8_t, kUploadBodySize> body{};
    BuildUploadBody(RandomImage(seed), body);
    const std::uint8_t check = BodyChecksum(body.data(), body.size());
    const unsigned sum = std::accumulate(body.begin(), body.end(), 0u) + check;
    EXPECT_EQ(sum % 256, 0u);
  }
  EXPECT_EQ(BodyChecksum(nullptr, 0), 0);
  const std::uint8_t one[] = {1};
  EXPECT_EQ(BodyChecksum(one, 1), 0xFF);
}

}  // namespace
}  // namespace tavelo
