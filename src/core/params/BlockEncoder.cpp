#include "core/params/BlockEncoder.h"

#include <algorithm>

#include "core/link/CommandCode.h"
#include "core/link/LittleEndian.h"
#include "core/params/BlockLayout.h"
#include "core/params/LevelTable.h"

namespace tavelo {

namespace {

using S = FieldSource;

class Writer {
 public:
  explicit Writer(Payload& p) : p_(p) {}
  void Byte(int v) { p_.data[static_cast<std::size_t>(pos_++)] = static_cast<std::uint8_t>(v); }
  void Le16(int v) {
    le::Put16(p_.data.data() + pos_, static_cast<std::uint16_t>(v));
    pos_ += 2;
  }
  void Bytes(const std::uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i) Byte(bytes[i]);
  }
  void Band(const EqBand& band) {
    EncodeWireBand(band, p_.data.data() + pos_);
    pos_ += kWireBandSize;
  }

 private:
  Payload& p_;
  int pos_ = 0;
};

void WriteField(const ParamImage& image, const BlockArg& arg, const LayoutField& f, Writer& w) {
  switch (f.source) {
    case S::kByte:
      w.Byte(image.byte(f.index));
      break;
    case S::kWord:
      w.Le16(image.word(f.index));
      break;
    case S::kConst:
      w.Byte(f.index);
      break;
    case S::kArgLow:
    case S::kArgBoostSwitches:
      w.Byte(arg.value & 0xFF);
      break;
    case S::kArgHigh:
      w.Byte((arg.value >> 8) & 0xFF);
      break;
    case S::kArgFlag:
      w.Byte(arg.value != 0 ? 1 : 0);
      break;
    case S::kBuffer:
      // The buffer is a fixed-size copy, zero beyond what the sender filled.
      w.Bytes(arg.buffer.data(), FieldSize(f));
      break;
    case S::kSwitchWord:
      w.Le16(static_cast<int>(image.switchWord & 0xFFFF));
      w.Le16(static_cast<int>(image.switchWord >> 16));
      break;
    case S::kPowerMode:
      w.Byte(image.powerMode);
      break;
    case S::kBoostSwitchByte:
      w.Byte(image.boost.switches);
      break;
    case S::kEqBand:
      w.Band(image.eq[static_cast<std::size_t>(f.index)][static_cast<std::size_t>(f.band)]);
      break;
    case S::kBoostBand:
      w.Band(
          image.boost.bands[static_cast<std::size_t>(f.index)][static_cast<std::size_t>(f.band)]);
      break;
    case S::kZeroWord:
      w.Le16(0);
      break;
  }
}

Payload EncodeLayout(const ParamImage& image, int code, const BlockArg& arg,
                     const BlockLayoutDesc& layout) {
  Payload p;
  p.code = static_cast<std::uint8_t>(code);
  Writer w(p);
  for (int i = 0; i < layout.count; ++i) {
    WriteField(image, arg, layout.fields[static_cast<std::size_t>(i)], w);
  }
  p.length = layout.length;
  return p;
}

bool IsOwnFrameCode(int code) {
  return code == CodeNumber(CommandCode::kBoostBlock) ||
         code == CodeNumber(CommandCode::kWriteStart) ||
         code == CodeNumber(CommandCode::kWriteChunk) ||
         code == CodeNumber(CommandCode::kWriteFinish);
}

void PutLe16(Payload& p, int at, int v) {
  le::Put16(p.data.data() + at, static_cast<std::uint16_t>(v));
}

}  // namespace

BlockArg BlockArg::Buffer(const std::uint8_t* bytes, int size) {
  BlockArg a;
  const int n = bytes == nullptr ? 0 : std::clamp(size, 0, kMaxArgBuffer);
  std::copy(bytes, bytes + n, a.buffer.begin());
  a.bufferSize = n;
  return a;
}

bool ClampVolumes(ParamImage& image, int code) {
  for (const VolumeLevel& level : kVolumeLevels) {
    const CatalogueRow& value = RowOf(level.value);
    if (!level.maximum || CodeNumber(value.carrier.code) != code) continue;
    const int maximum = ReadValue(image, RowOf(*level.maximum));
    if (maximum >= ReadValue(image, value)) return false;
    WriteValue(image, value, maximum);
    return true;
  }
  return false;
}

int EqSetForId(const ParamImage& image, int setId) {
  return EqSetForSetId(setId, image.byte(img::kAppMode));
}

EncodeResult EncodeBlock(const ParamImage& image, int code, const BlockArg& arg, Payload& out) {
  if (IsOwnFrameCode(code)) return EncodeResult::kOwnFrame;
  if (code == CodeNumber(CommandCode::kReadChunk)) {
    // Through the encoder the argument packs the chunk as offset + 65536 * count.
    const auto v = static_cast<std::uint32_t>(arg.value);
    out = ChunkRequestPayload(static_cast<int>(v & 0xFFFF), static_cast<int>(v >> 16));
    return EncodeResult::kPayload;
  }
  // Built aside so that a refused request leaves the caller's staged data as it was.
  const auto layout = BlockLayout(code, arg.value, image.byte(img::kAppMode));
  if (!layout) return EncodeResult::kIgnored;
  out = EncodeLayout(image, code, arg, *layout);
  return EncodeResult::kPayload;
}

Payload BoostBlockPayload(const ParamImage& image) {
  const int code = CodeNumber(CommandCode::kBoostBlock);
  return EncodeLayout(image, code, {}, *BlockLayout(code, 0, kModeSing));
}

Payload ChunkRequestPayload(int offset, int count) {
  Payload p;
  p.code = static_cast<std::uint8_t>(CommandCode::kReadChunk);
  PutLe16(p, 0, offset);
  PutLe16(p, 2, count);
  p.length = 5;
  return p;
}

Payload UploadStartPayload(int total, std::uint8_t checksum) {
  Payload p;
  p.code = static_cast<std::uint8_t>(CommandCode::kWriteStart);
  PutLe16(p, 0, total);
  p.data[2] = checksum;
  p.length = 7;
  return p;
}

Payload UploadChunkPayload(int offset, const std::uint8_t* bytes, int count) {
  constexpr int kFraming = 8;  // offset, count and four zero bytes
  Payload p;
  p.code = static_cast<std::uint8_t>(CommandCode::kWriteChunk);
  // A chunk never exceeds 60 bytes; anything larger (or a missing source) is cut so the
  // frame cannot run past its buffer.
  const int n = bytes == nullptr ? 0 : std::clamp(count, 0, kMaxCommandData - kFraming);
  PutLe16(p, 0, offset);
  PutLe16(p, 2, n);
  std::copy(bytes, bytes + n, p.data.begin() + 4);
  p.length = n + kFraming;
  return p;
}

Payload UploadFinishPayload(std::uint8_t slotByte, std::uint8_t powerMode) {
  Payload p;
  p.code = static_cast<std::uint8_t>(CommandCode::kWriteFinish);
  p.data[0] = slotByte;
  p.data[1] = powerMode;
  p.length = 6;
  return p;
}

}  // namespace tavelo
