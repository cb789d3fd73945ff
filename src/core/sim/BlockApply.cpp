#include "core/sim/BlockApply.h"

#include "core/link/CommandCode.h"
#include "core/link/LittleEndian.h"
#include "core/params/BlockEncoder.h"
#include "core/params/BlockLayout.h"

namespace tavelo {
namespace {

using S = FieldSource;

int DataSize(const BlockLayoutDesc& layout) {
  int size = 0;
  for (int i = 0; i < layout.count; ++i)
    size += FieldSize(layout.fields[static_cast<std::size_t>(i)]);
  return size;
}

// Stores one field of the data; returns whether it lands in the image.
bool StoreField(ParamImage& image, const LayoutField& f, const std::uint8_t* data) {
  switch (f.source) {
    case S::kByte:
      image.byte(f.index) = data[0];
      return true;
    case S::kWord:
      image.word(f.index) = le::Get16(data);
      return true;
    case S::kArgLow:
      if (f.index == kNoMirror) return false;
      image.byte(f.index) = data[0];
      return true;
    case S::kArgBoostSwitches:
    case S::kBoostSwitchByte:
      image.boost.switches = data[0];
      return true;
    case S::kSwitchWord:
      image.switchWord = le::Get32(data);
      return true;
    case S::kEqBand: {
      // The slope is not carried; the processor keeps its own.
      EqBand& band = image.eq[static_cast<std::size_t>(f.index)][static_cast<std::size_t>(f.band)];
      const std::int8_t slope = band.slope;
      band = DecodeWireBand(data);
      band.slope = slope;
      return true;
    }
    case S::kBoostBand:
      image.boost.bands[static_cast<std::size_t>(f.index)][static_cast<std::size_t>(f.band)] =
          DecodeWireBand(data);
      return true;
    case S::kConst:  // the reverb block's constant stands where image 112 would be: 112 stays
    case S::kArgHigh:
    case S::kArgFlag:
    case S::kBuffer:
    case S::kPowerMode:
    case S::kZeroWord:
      return false;
  }
  return false;
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

}  // namespace

bool ApplyBlockToImage(ParamImage& image, std::uint8_t code, const std::uint8_t* data,
                       int dataLength) {
  if (code == CodeNumber(CommandCode::kEqSetReset)) return ResetEqSet(image, data, dataLength);
  const int arg = ArgumentInData(code, data, dataLength);
  const auto layout = BlockLayout(code, arg, image.byte(img::kAppMode));
  if (!layout || dataLength < DataSize(*layout)) return false;
  // Applied to a copy: a block that carries nothing into the image leaves it untouched.
  ParamImage next = image;
  bool stored = false;
  for (int i = 0; i < layout->count; ++i) {
    const LayoutField& f = layout->fields[static_cast<std::size_t>(i)];
    stored = StoreField(next, f, data) || stored;
    data += FieldSize(f);
  }
  if (stored) image = next;
  return stored;
}

}  // namespace tavelo
