#include "sim/BlockApply.h"

#include <array>
#include <initializer_list>

#include "params/BlockEncoder.h"

namespace tavelo {
namespace {

// A field of a flat block: an image byte, a skipped byte, or a 16-bit word (LE).
struct Field {
  enum Kind : std::uint8_t { kByte, kSkip, kWord } kind;
  std::uint8_t index;
};
constexpr Field B(int offset) {
  return {Field::kByte, static_cast<std::uint8_t>(offset)};
}
constexpr Field W(int word) {
  return {Field::kWord, static_cast<std::uint8_t>(word)};
}
constexpr Field kSkipByte{Field::kSkip, 0};

struct FlatBlock {
  std::uint8_t code;
  std::initializer_list<Field> fields;
};

// The blocks that are plain lists of image fields, in the order they travel.
const std::array<FlatBlock, 11>& FlatBlocks() {
  static const std::array<FlatBlock, 11> blocks = {{
      {2, {B(0), B(3), B(4), B(6), B(22), B(23), B(24), B(25), B(26), B(9), B(5)}},
      {5, {B(1), B(10), B(11), B(14), B(27), B(129), B(12), B(13), B(15), B(16), B(17), B(18)}},
      {7, {B(140)}},
      {9, {B(2)}},
      {10, {B(21)}},
      // The reverb block carries a constant where image 112 would be: 112 stays.
      {11, {B(108), B(109), B(110), B(111), kSkipByte, B(113), W(20), W(21), W(24), W(25)}},
      {13,
       {B(114), B(115), B(116), B(117), B(118), B(119), B(120), B(121), B(122), W(22), W(23), W(26),
        W(27), W(28), W(29)}},
      {34, {B(125), B(126), B(127)}},
      {57, {B(131), B(132), B(133), B(134)}},
      {61, {B(135)}},
      {72, {B(130)}},
  }};
  return blocks;
}

int FlatSize(const FlatBlock& block) {
  int size = 0;
  for (const Field& f : block.fields) size += f.kind == Field::kWord ? 2 : 1;
  return size;
}

std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

bool ApplyFlat(ParamImage& image, const FlatBlock& block, const std::uint8_t* data, int length) {
  if (length < FlatSize(block)) return false;
  for (const Field& f : block.fields) {
    switch (f.kind) {
      case Field::kByte:
        image.byte(f.index) = *data++;
        break;
      case Field::kSkip:
        ++data;
        break;
      case Field::kWord:
        image.word(f.index) = Le16(data);
        data += 2;
        break;
    }
  }
  return true;
}

// Code 3: set id, band, wire record.
bool ApplyEqBand(ParamImage& image, const std::uint8_t* data, int length) {
  if (length < 2 + kWireBandSize) return false;
  const int set = EqSetForId(image, data[0]);
  if (set < 0 || data[1] >= kEqSets[static_cast<std::size_t>(set)].wireBands) return false;
  // The slope is not carried; the processor keeps its own (the image keeps the old one).
  EqBand& band = image.set(static_cast<EqSet>(set))[data[1]];
  const std::int8_t slope = band.slope;
  band = DecodeWireBand(data + 2);
  band.slope = slope;
  return true;
}

// Code 4: the set returns to its default bands.
bool ResetEqSet(ParamImage& image, const std::uint8_t* data, int length) {
  if (length < 1) return false;
  const int set = EqSetForId(image, data[0]);
  if (set < 0) return false;
  ParamImage defaults;
  ApplyDefaults(defaults);
  image.eq[static_cast<std::size_t>(set)] = defaults.eq[static_cast<std::size_t>(set)];
  return true;
}

// Code 12: set, index, word (microphone tone words for set 0, music tone words otherwise).
bool ApplyToneValue(ParamImage& image, const std::uint8_t* data, int length) {
  constexpr int kMicToneWord = 36, kMusicToneWord = 40, kToneValues = 4;
  if (length < 4 || data[1] >= kToneValues) return false;
  image.word((data[0] == 0 ? kMicToneWord : kMusicToneWord) + data[1]) = Le16(data + 2);
  return true;
}

// Code 14: channel, 16 block bytes, its delay word, then the partner delay of channels 0, 2.
bool ApplyOutputChannel(ParamImage& image, const std::uint8_t* data, int length) {
  constexpr std::array<int, 6> kBlockStart = {28, 28, 48, 48, 68, 88};
  constexpr int kDelayWord = 30, kBlockBytes = 16;
  if (length < 1 + kBlockBytes + 4 || data[0] >= kBlockStart.size()) return false;
  const int channel = data[0];
  for (int i = 0; i < kBlockBytes; ++i) {
    image.byte(kBlockStart[static_cast<std::size_t>(channel)] + i) = data[1 + i];
  }
  image.word(kDelayWord + channel) = Le16(data + 1 + kBlockBytes);
  if (channel == 0 || channel == 2) image.word(kDelayWord + channel + 1) = Le16(data + 19);
  return true;
}

// Code 17: n, slope, frequency; the second filter of an output pair outside mode Sing.
bool ApplyPassFilter(ParamImage& image, const std::uint8_t* data, int length) {
  constexpr std::array<std::uint8_t, 16> kSlopeByte = {19, 20, 7,  8,  44, 46, 44,  46,
                                                       64, 66, 64, 66, 84, 86, 104, 106};
  constexpr std::array<std::uint8_t, 16> kFreqWord = {0, 1,  2, 3,  4,  6,  4,  6,
                                                      8, 10, 8, 10, 12, 14, 16, 18};
  if (length < 4 || data[0] >= kSlopeByte.size()) return false;
  const int n = data[0];
  const int k = (n >= 4 && image.byte(img::kAppMode) != kModeSing) ? 1 : 0;
  image.byte(kSlopeByte[static_cast<std::size_t>(n)] + k) = data[1];
  image.word(kFreqWord[static_cast<std::size_t>(n)] + k) = Le16(data + 2);
  return true;
}

// Code 15: the switch word, LE.
bool ApplySwitchWord(ParamImage& image, const std::uint8_t* data, int length) {
  if (length < 4) return false;
  image.switchWord =
      static_cast<std::uint32_t>(Le16(data)) | (static_cast<std::uint32_t>(Le16(data + 2)) << 16);
  return true;
}

// Code 48: boost switches (low byte of the argument).
bool ApplyBoostSwitches(ParamImage& image, const std::uint8_t* data, int length) {
  if (length < 1) return false;
  image.boost.switches = data[0];
  return true;
}

// Code 49: boost channel, band, wire record.
bool ApplyBoostBand(ParamImage& image, const std::uint8_t* data, int length) {
  if (length < 2 + kWireBandSize || data[0] >= kBoostChannels ||
      data[1] >= kBoostBandCounts[data[0]]) {
    return false;
  }
  image.boost.bands[data[0]][data[1]] = DecodeWireBand(data + 2);
  return true;
}

// Code 51: the whole boost block, leading byte then 14 wire records.
bool ApplyBoostBlock(ParamImage& image, const std::uint8_t* data, int length) {
  constexpr int kBoostBlockBytes = 1 + 14 * kWireBandSize;
  if (length < kBoostBlockBytes) return false;
  image.boost.switches = data[0];
  const std::uint8_t* record = data + 1;
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++b) {
      image.boost.bands[static_cast<std::size_t>(ch)][static_cast<std::size_t>(b)] =
          DecodeWireBand(record);
      record += kWireBandSize;
    }
  }
  return true;
}

}  // namespace

bool ApplyBlockToImage(ParamImage& image, std::uint8_t code, const std::uint8_t* data,
                       int dataLength) {
  for (const FlatBlock& block : FlatBlocks()) {
    if (block.code == code) return ApplyFlat(image, block, data, dataLength);
  }
  switch (code) {
    case 3:
      return ApplyEqBand(image, data, dataLength);
    case 4:
      return ResetEqSet(image, data, dataLength);
    case 12:
      return ApplyToneValue(image, data, dataLength);
    case 14:
      return ApplyOutputChannel(image, data, dataLength);
    case 15:
      return ApplySwitchWord(image, data, dataLength);
    case 17:
      return ApplyPassFilter(image, data, dataLength);
    case 48:
      return ApplyBoostSwitches(image, data, dataLength);
    case 49:
      return ApplyBoostBand(image, data, dataLength);
    case 51:
      return ApplyBoostBlock(image, data, dataLength);
    default:
      return false;
  }
}

}  // namespace tavelo
