// The 1140-byte parameter file: layout, checksum, refusals and the load rule for volumes.
#include <gtest/gtest.h>

#include <vector>

#include "core/presets/ParamFile.h"

namespace tavelo {
namespace {

// An image in which every field the file carries holds a distinct, recognisable value.
ParamImage SampleImage() {
  ParamImage image;
  for (std::size_t i = 0; i < image.bytes.size(); ++i)
    image.bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
  for (std::size_t k = 0; k < image.words.size(); ++k)
    image.words[k] = static_cast<std::uint16_t>(1000 + 37 * k);
  for (std::size_t s = 0; s < kEqSetCount; ++s) {
    for (std::size_t b = 0; b < kMaxBandsPerSet; ++b) {
      image.eq[s][b] =
          EqBand{static_cast<std::int8_t>(b % 8), static_cast<std::int8_t>(b % 5),
                 static_cast<std::int16_t>(100 * s + b + 20), static_cast<std::int16_t>(7 + b),
                 static_cast<std::int16_t>(static_cast<int>(b) * 10 - 60)};
    }
  }
  image.switchWord = 0x03FFE001;
  image.altSwitchWord = 0x00550000;
  image.name = {'L', 'i', 'v', 'i', 'n', 'g', ' ', 'r', 'o', 'o', 'm', ' ', ' ', ' ', ' ', ' '};
  image.powerMode = 2;
  // As the pages hold it: the pass-filter bands follow their filter values.
  for (int s = 0; s < kEqSetCount; ++s)
    DerivePassFilterBands(image, static_cast<EqSet>(s),
                          image.eq[static_cast<std::size_t>(s)].data());
  return image;
}

std::vector<std::uint8_t> FileOf(const ParamImage& image) {
  const auto file = BuildParamFile(image);
  return {file.begin(), file.end()};
}

ParamFileResult Parse(const std::vector<std::uint8_t>& bytes) {
  return ParseParamFile(bytes.data(), bytes.size());
}

TEST(ParamFileLayout, FieldsSitAtTheirFileOffsets) {
  const ParamImage image = SampleImage();
  const auto f = FileOf(image);
  ASSERT_EQ(f.size(), 1140u);
  EXPECT_EQ(f[0], 147);
  EXPECT_EQ(f[1], 0);
  EXPECT_EQ(f[2], 4);
  EXPECT_EQ(f[3], 0);
  EXPECT_EQ(f[8], image.bytes[0]);
  EXPECT_EQ(f[148], image.bytes[140]);
  EXPECT_EQ(f[149], image.bytes[141]);  // spare byte
  EXPECT_EQ(f[150] | f[151] << 8, image.words[0]);
  EXPECT_EQ(f[236] | f[237] << 8, image.words[43]);
  EXPECT_EQ(f[238] | f[239] << 8, image.words[44]);  // spare word
  // Mic EQ A band 0, music EQ band 0 after 24 mic bands, echo EQ last band just before 1096.
  EXPECT_EQ(f[240 + 2] | f[240 + 3] << 8, image.eq[kEqMicA][0].freq);
  EXPECT_EQ(f[432 + 2] | f[432 + 3] << 8, image.eq[kEqMusic][0].freq);
  EXPECT_EQ(f[504 + 72 + 2] | f[504 + 72 + 3] << 8, image.eq[kEqMainSecond][0].freq);
  EXPECT_EQ(f[984 + 2] | f[984 + 3] << 8, image.eq[kEqReverb][0].freq);
  EXPECT_EQ(f[1088], static_cast<std::uint8_t>(image.eq[kEqEcho][6].slope));
  EXPECT_EQ(f[1088 + 2] | f[1088 + 3] << 8, image.eq[kEqEcho][6].freq);
  EXPECT_EQ(f[1096] | f[1097] << 8 | f[1098] << 16 | f[1099] << 24,
            static_cast<int>(image.switchWord));
  EXPECT_EQ(f[1100] | f[1101] << 8 | f[1102] << 16 | f[1103] << 24,
            static_cast<int>(image.altSwitchWord));
  EXPECT_EQ(f[1104], 'L');
  EXPECT_EQ(f[1120], 2);
  for (std::size_t i : {4u, 5u, 6u, 7u, 1121u, 1130u, 1136u, 1138u, 1139u}) EXPECT_EQ(f[i], 0) << i;
}

TEST(ParamFileLayout, OnlyTheBandsEachSetKeepsInMemoryAreWritten) {
  ParamImage a = SampleImage();
  ParamImage b = a;
  // Music keeps 9 bands, the outputs' sets 9 and 7: the slots behind them are not file data.
  b.eq[kEqMusic][9].freq = 12345;
  b.eq[kEqSurroundFirst][7].gain = -99;
  EXPECT_EQ(FileOf(a), FileOf(b));
}

TEST(ParamFileChecksum, CoversExactlyTheListedBytes) {
  const auto good = FileOf(SampleImage());
  ASSERT_EQ(ParamFileChecksumSum(good.data()), 0);
  for (std::size_t i = 0; i < good.size(); ++i) {
    auto changed = good;
    changed[i] = static_cast<std::uint8_t>(changed[i] + 1);
    const bool covered = i == 0 || i == 2 || (i >= 8 && i <= 1120) || i == 1137;
    EXPECT_EQ(ParamFileChecksumSum(changed.data()) != 0, covered) << "byte " << i;
  }
}

TEST(ParamFileParse, RefusesWithTheReason) {
  const auto good = FileOf(SampleImage());
  ASSERT_TRUE(Parse(good).ok());

  std::vector<std::uint8_t> shorter(good.begin(), good.end() - 1);
  EXPECT_EQ(Parse(shorter).error, ParamFileError::kWrongSize);
  EXPECT_EQ(Parse(shorter).message, "wrong size: 1139 bytes");
  auto longer = good;
  longer.push_back(0);
  EXPECT_EQ(Parse(longer).message, "wrong size: 1141 bytes");
  EXPECT_EQ(ParseParamFile(nullptr, 0).message, "wrong size: 0 bytes");

  auto magic = good;
  magic[0] = 148;
  magic[1137] = static_cast<std::uint8_t>(magic[1137] - 1);  // checksum still holds
  EXPECT_EQ(Parse(magic).error, ParamFileError::kBadMagic);
  EXPECT_EQ(Parse(magic).message, "bad magic");

  auto version = good;
  version[2] = 3;
  version[1137] = static_cast<std::uint8_t>(version[1137] + 1);
  EXPECT_EQ(Parse(version).error, ParamFileError::kBadVersion);
  EXPECT_EQ(Parse(version).message, "bad version: 3");

  auto sum = good;
  sum[500] ^= 0x10;
  EXPECT_EQ(Parse(sum).error, ParamFileError::kBadChecksum);
  EXPECT_EQ(Parse(sum).message, "bad checksum");
}

TEST(ParamFileParse, RoundTripsEveryField) {
  const ParamImage image = SampleImage();
  const ParamFileResult parsed = Parse(FileOf(image));
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.data, ParamFileDataFromImage(image));

  // Loaded into an image with the same volumes, the image comes back field for field.
  ParamImage loaded;
  loaded.bytes[img::kMusicVolume] = image.bytes[img::kMusicVolume];
  loaded.bytes[img::kMicVolume] = image.bytes[img::kMicVolume];
  loaded.bytes[img::kEffectVolume] = image.bytes[img::kEffectVolume];
  // The sample's volumes must not be clamped for this comparison to hold.
  ASSERT_LE(image.bytes[img::kMusicVolume], image.bytes[img::kMusicMaxVolume]);
  ASSERT_LE(image.bytes[img::kMicVolume], image.bytes[img::kMicMaxVolume]);
  ApplyLoadedFile(loaded, parsed.data);
  EXPECT_EQ(ParamFileDataFromImage(loaded), ParamFileDataFromImage(image));
  EXPECT_EQ(FileOf(loaded), FileOf(image));
}

TEST(ParamFileLoad, KeepsTheRoomsVolumesWithinTheLoadedMaxima) {
  ParamImage file = SampleImage();
  file.bytes[img::kMusicVolume] = 80;
  file.bytes[img::kMusicMaxVolume] = 60;
  file.bytes[img::kMicVolume] = 10;
  file.bytes[img::kMicMaxVolume] = 70;
  file.bytes[img::kEffectVolume] = 99;
  const ParamFileData data = ParamFileDataFromImage(file);

  ParamImage image;
  image.bytes[img::kMusicVolume] = 70;
  image.bytes[img::kMicVolume] = 50;
  image.bytes[img::kEffectVolume] = 33;
  image.eq[kEqMusic][10].freq = 777;  // a slot the file does not carry
  image.boost.switches = 5;           // not part of a parameter file
  ApplyLoadedFile(image, data);
  EXPECT_EQ(image.bytes[img::kMusicVolume], 60);  // kept 70, limited by the loaded maximum
  EXPECT_EQ(image.bytes[img::kMicVolume], 50);    // kept, below the loaded maximum
  EXPECT_EQ(image.bytes[img::kEffectVolume], 33);
  EXPECT_EQ(image.bytes[img::kMusicMaxVolume], 60);
  EXPECT_EQ(image.name, file.name);
  EXPECT_EQ(image.powerMode, file.powerMode);
  EXPECT_EQ(image.altSwitchWord, file.altSwitchWord);
  EXPECT_EQ(image.eq[kEqMusic][8], file.eq[kEqMusic][8]);
  EXPECT_EQ(image.eq[kEqMusic][10].freq, 777);
  EXPECT_EQ(image.boost.switches, 5);

  image.bytes[img::kMicVolume] = 75;
  ApplyLoadedFile(image, data);
  EXPECT_EQ(image.bytes[img::kMicVolume], 70);
}

}  // namespace
}  // namespace tavelo
