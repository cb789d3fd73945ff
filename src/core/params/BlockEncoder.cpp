#include "params/BlockEncoder.h"

#include <algorithm>
#include <span>

namespace tavelo {

namespace {

// Where one field of a block's command data comes from.
enum class Src : std::uint8_t {
  kByte,        // image byte `index`
  kWord,        // word `index`, low byte first
  kConst,       // the constant `index`
  kArgLow,      // argument bits 0..7
  kArgHigh,     // argument bits 8..15
  kArgFlag,     // 1 when the argument is non-zero, else 0
  kBuffer,      // `index` bytes of the posting window's buffer
  kSwitchWord,  // the 32-bit switch word, low byte first
  kPowerMode,   // the system page's power-mode selection
};

struct Field {
  Src src;
  int index;
};

constexpr Field B(int offset) {
  return {Src::kByte, offset};
}
constexpr Field W(int word) {
  return {Src::kWord, word};
}
constexpr Field K(int value) {
  return {Src::kConst, value};
}
constexpr Field kArg{Src::kArgLow, 0};
constexpr Field kArgHi{Src::kArgHigh, 0};
constexpr Field Buf(int count) {
  return {Src::kBuffer, count};
}

constexpr int kNoCheck = -1;

// A block whose data is a plain list of fields. `maxArg` refuses arguments outside
// 0..maxArg (kNoCheck: any argument).
struct Recipe {
  int code;
  int length;
  std::span<const Field> fields;
  int maxArg = kNoCheck;
};

constexpr Field kPreset[] = {kArg};
constexpr Field kMusicBlock[] = {B(0),  B(3),  B(4),  B(6), B(22), B(23),
                                 B(24), B(25), B(26), B(9), B(5)};
constexpr Field kSetIdOnly[] = {kArg};
constexpr Field kMicBlock[] = {B(1),  B(10), B(11), B(14), B(27), B(129),
                               B(12), B(13), B(15), B(16), B(17), B(18)};
constexpr Field kArgByte[] = {kArg};
constexpr Field kEffectVolume[] = {B(2)};
constexpr Field kEffectInit[] = {B(21)};
// Byte 112 stays in the image but the processor expects 50 in its place.
constexpr Field kReverbBlock[] = {B(108), B(109), B(110), B(111), K(50),
                                  B(113), W(20),  W(21),  W(24),  W(25)};
constexpr Field kEchoBlock[] = {B(114), B(115), B(116), B(117), B(118), B(119), B(120), B(121),
                                B(122), W(22),  W(23),  W(26),  W(27),  W(28),  W(29)};
constexpr Field kSwitches[] = {{Src::kSwitchWord, 0}};
constexpr Field kToggle[] = {{Src::kArgFlag, 0}};
constexpr Field kZero[] = {K(0)};
constexpr Field kLogo[] = {Buf(33)};
constexpr Field kAppMode[] = {B(125), B(126), B(127)};
constexpr Field kLockKey[] = {Buf(5)};
constexpr Field kLockPassword[] = {Buf(8)};
constexpr Field kAdminMode[] = {Buf(7)};
constexpr Field kAdminPassword[] = {Buf(12)};
constexpr Field kArgWord[] = {kArg, kArgHi};
constexpr Field kRecordMixer[] = {B(131), B(132), B(133), B(134)};
constexpr Field kPowerMode[] = {{Src::kPowerMode, 0}};
constexpr Field kMicSetting[] = {B(130)};
constexpr Field kBtName[] = {Buf(9)};

constexpr int kMaxPreset = 9;
constexpr int kMaxSetId = 10;

constexpr Recipe kRecipes[] = {
    {1, 2, kPreset, kMaxPreset},
    {2, 12, kMusicBlock},
    {4, 2, kSetIdOnly, kMaxSetId},
    {5, 13, kMicBlock},
    {6, 2, kArgByte},
    {7, 2, kArgByte},
    {9, 2, kEffectVolume},
    {10, 2, kEffectInit},
    {11, 15, kReverbBlock},
    {13, 22, kEchoBlock},
    {15, 5, kSwitches},
    {18, 2, kToggle},
    {20, 1, kZero},
    {21, 2, kArgByte},
    {23, 34, kLogo},
    {29, 1, kZero},
    {32, 2, kZero},
    {34, 6, kAppMode},
    {43, 6, kLockKey},
    {44, 9, kLockPassword},
    {45, 8, kAdminMode},
    {46, 13, kAdminPassword},
    {47, 1, kZero},
    {48, 3, kArgWord},
    {50, 1, kZero},
    {53, 3, kArgWord},
    {57, 4, kRecordMixer},
    {58, 2, kArgByte},
    {59, 2, kPowerMode},
    {60, 3, kArgWord},  // shown microphone, then link state
    {61, 2, kArgByte},
    {63, 2, kZero},
    {72, 2, kMicSetting},
    {75, 1, kZero},
    {78, 10, kBtName},
};

// Code 14: first image byte of each output channel's 16-byte block.
constexpr std::array<int, 6> kOutputBlockStart = {28, 28, 48, 48, 68, 88};
constexpr int kOutputBlockBytes = 16;

// Code 17: slope byte and frequency word of each pass filter; n = 4..15 name output filters
// whose second set (the next byte and word) is used outside mode Sing.
constexpr std::array<int, 16> kFilterSlopeByte = {19, 20, 7,  8,  44, 46, 44,  46,
                                                  64, 66, 64, 66, 84, 86, 104, 106};
constexpr std::array<int, 16> kFilterWord = {0, 1, 2, 3, 4, 6, 4, 6, 8, 10, 8, 10, 12, 14, 16, 18};

constexpr int kToneValues = 4;  // bass, middle, middle frequency, treble
constexpr int kMicToneWord = 36;
constexpr int kMusicToneWord = 40;

class Writer {
 public:
  explicit Writer(Payload& p) : p_(p) {}
  void Byte(int v) { p_.data[static_cast<std::size_t>(pos_++)] = static_cast<std::uint8_t>(v); }
  void Le16(int v) {
    Byte(v & 0xFF);
    Byte((v >> 8) & 0xFF);
  }
  void Bytes(const std::uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i) Byte(bytes[i]);
  }
  void Band(const EqBand& band) {
    EncodeWireBand(band, p_.data.data() + pos_);
    pos_ += kWireBandSize;
  }
  int pos() const { return pos_; }

 private:
  Payload& p_;
  int pos_ = 0;
};

void WriteField(const ParamImage& image, const BlockArg& arg, const Field& f, Writer& w) {
  switch (f.src) {
    case Src::kByte:
      w.Byte(image.byte(f.index));
      break;
    case Src::kWord:
      w.Le16(image.word(f.index));
      break;
    case Src::kConst:
      w.Byte(f.index);
      break;
    case Src::kArgLow:
      w.Byte(arg.value & 0xFF);
      break;
    case Src::kArgHigh:
      w.Byte((arg.value >> 8) & 0xFF);
      break;
    case Src::kArgFlag:
      w.Byte(arg.value != 0 ? 1 : 0);
      break;
    case Src::kBuffer:
      // The buffer is a fixed-size copy, zero beyond what the sender filled.
      w.Bytes(arg.buffer.data(), std::min(f.index, kMaxArgBuffer));
      break;
    case Src::kSwitchWord:
      w.Le16(static_cast<int>(image.switchWord & 0xFFFF));
      w.Le16(static_cast<int>(image.switchWord >> 16));
      break;
    case Src::kPowerMode:
      w.Byte(image.powerMode);
      break;
  }
}

const Recipe* FindRecipe(int code) {
  for (const Recipe& r : kRecipes) {
    if (r.code == code) return &r;
  }
  return nullptr;
}

bool InRange(int v, int lo, int hi) {
  return v >= lo && v <= hi;
}

// Code 3: set id, band index, the band's wire record.
bool EncodeEqBand(const ParamImage& image, const BlockArg& arg, Writer& w) {
  if (arg.value < 0) return false;
  const int setId = arg.value & 0xFF;
  const int band = arg.value >> 8;
  const int set = EqSetForId(image, setId);
  if (set < 0) return false;
  // Only the bands that travel exist on the processor; the page's extra (filter) bands
  // are sent with code 17.
  if (!InRange(band, 0, kEqSets[static_cast<std::size_t>(set)].wireBands - 1)) return false;
  w.Byte(setId);
  w.Byte(band);
  w.Band(image.set(static_cast<EqSet>(set))[band]);
  return true;
}

// Code 12: set, index, the tone word (microphone words for set 0, music words otherwise).
bool EncodeToneValue(const ParamImage& image, const BlockArg& arg, Writer& w) {
  if (arg.value < 0) return false;
  const int set = arg.value & 0xFF;
  const int index = arg.value >> 8;
  if (!InRange(index, 0, kToneValues - 1)) return false;
  w.Byte(set);
  w.Byte(index);
  w.Le16(image.word((set == 0 ? kMicToneWord : kMusicToneWord) + index));
  return true;
}

// Code 14: channel, its 16-byte output block, its delay word, then the right-hand delay of
// the stereo pairs that start at channels 0 and 2.
bool EncodeOutputChannel(const ParamImage& image, const BlockArg& arg, Writer& w) {
  const int ch = arg.value;
  if (!InRange(ch, 0, static_cast<int>(kOutputBlockStart.size()) - 1)) return false;
  w.Byte(ch);
  const int start = kOutputBlockStart[static_cast<std::size_t>(ch)];
  for (int i = 0; i < kOutputBlockBytes; ++i) w.Byte(image.byte(start + i));
  w.Le16(image.word(30 + ch));
  if (ch == 0) {
    w.Le16(image.word(31));
  } else if (ch == 2) {
    w.Le16(image.word(33));
  } else {
    w.Le16(0);
  }
  return true;
}

// Code 17: n, slope byte, frequency word; output filters use their second set outside Sing.
bool EncodePassFilter(const ParamImage& image, const BlockArg& arg, Writer& w) {
  const int n = arg.value;
  if (!InRange(n, 0, static_cast<int>(kFilterSlopeByte.size()) - 1)) return false;
  const int k = (n >= 4 && image.byte(img::kAppMode) != kModeSing) ? 1 : 0;
  w.Byte(n);
  w.Byte(image.byte(kFilterSlopeByte[static_cast<std::size_t>(n)] + k));
  w.Le16(image.word(kFilterWord[static_cast<std::size_t>(n)] + k));
  return true;
}

// Code 49: boost channel, band, the band's wire record.
bool EncodeBoostBand(const ParamImage& image, const BlockArg& arg, Writer& w) {
  if (arg.value < 0) return false;
  const int ch = arg.value & 0xFF;
  const int band = arg.value >> 8;
  if (!InRange(ch, 0, kBoostChannels - 1)) return false;
  if (!InRange(band, 0, kBoostBandCounts[static_cast<std::size_t>(ch)] - 1)) return false;
  w.Byte(ch);
  w.Byte(band);
  w.Band(image.boost.bands[static_cast<std::size_t>(ch)][static_cast<std::size_t>(band)]);
  return true;
}

// Code 64 through the encoder: the argument packs the chunk as offset + 65536 * count.
bool EncodeChunkRequest(const BlockArg& arg, Writer& w) {
  const auto v = static_cast<std::uint32_t>(arg.value);
  w.Le16(static_cast<int>(v & 0xFFFF));
  w.Le16(static_cast<int>(v >> 16));
  return true;
}

struct Special {
  int code;
  int length;
};
constexpr Special kSpecials[] = {{3, 8}, {12, 5}, {14, 36}, {17, 5}, {49, 8}, {64, 5}};

bool EncodeSpecial(const ParamImage& image, int code, const BlockArg& arg, Writer& w) {
  switch (code) {
    case 3:
      return EncodeEqBand(image, arg, w);
    case 12:
      return EncodeToneValue(image, arg, w);
    case 14:
      return EncodeOutputChannel(image, arg, w);
    case 17:
      return EncodePassFilter(image, arg, w);
    case 49:
      return EncodeBoostBand(image, arg, w);
    case 64:
      return EncodeChunkRequest(arg, w);
    default:
      return false;
  }
}

bool IsOwnFrameCode(int code) {
  return code == 51 || code == 65 || code == 66 || code == 67;
}

void PutLe16(Payload& p, int at, int v) {
  p.data[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(v & 0xFF);
  p.data[static_cast<std::size_t>(at + 1)] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
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
  int volume = 0;
  int maximum = 0;
  if (code == 2) {
    volume = img::kMusicVolume;
    maximum = img::kMusicMaxVolume;
  } else if (code == 5) {
    volume = img::kMicVolume;
    maximum = img::kMicMaxVolume;
  } else {
    return false;
  }
  if (image.byte(maximum) >= image.byte(volume)) return false;
  image.byte(volume) = image.byte(maximum);
  return true;
}

int EqSetForId(const ParamImage& image, int setId) {
  const bool sing = image.byte(img::kAppMode) == kModeSing;
  switch (setId) {
    case 0:
      return kEqMicA;
    case 1:
      return kEqMicB;
    case 2:
      return kEqMusic;
    case 3:
      return sing ? kEqMainFirst : kEqMainSecond;
    case 4:
      return kEqMainSecond;
    case 5:
      return sing ? kEqSurroundFirst : kEqSurroundSecond;
    case 6:
      return kEqSurroundSecond;
    case 7:
      return sing ? kEqCentreFirst : kEqCentreSecond;
    case 8:
      return sing ? kEqSubFirst : kEqSubSecond;
    case 9:
      return kEqReverb;
    case 10:
      return kEqEcho;
    default:
      return -1;
  }
}

EncodeResult EncodeBlock(const ParamImage& image, int code, const BlockArg& arg, Payload& out) {
  if (IsOwnFrameCode(code)) return EncodeResult::kOwnFrame;
  // Built aside so that a refused request leaves the caller's staged data as it was.
  Payload p;
  p.code = static_cast<std::uint8_t>(code);
  Writer w(p);
  if (const Recipe* r = FindRecipe(code)) {
    if (r->maxArg != kNoCheck && !InRange(arg.value, 0, r->maxArg)) return EncodeResult::kIgnored;
    for (const Field& f : r->fields) WriteField(image, arg, f, w);
    p.length = r->length;
  } else {
    const auto* s = std::find_if(std::begin(kSpecials), std::end(kSpecials),
                                 [code](const Special& e) { return e.code == code; });
    if (s == std::end(kSpecials) || !EncodeSpecial(image, code, arg, w)) {
      return EncodeResult::kIgnored;
    }
    p.length = s->length;
  }
  out = p;
  return EncodeResult::kPayload;
}

Payload BoostBlockPayload(const ParamImage& image) {
  Payload p;
  p.code = 51;
  Writer w(p);
  w.Byte(image.boost.switches);
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++b) {
      w.Band(image.boost.bands[static_cast<std::size_t>(ch)][static_cast<std::size_t>(b)]);
    }
  }
  p.length = w.pos() + 4;  // four padding bytes behind the 71 data bytes
  return p;
}

Payload ChunkRequestPayload(int offset, int count) {
  Payload p;
  p.code = 64;
  PutLe16(p, 0, offset);
  PutLe16(p, 2, count);
  p.length = 5;
  return p;
}

Payload UploadStartPayload(int total, std::uint8_t checksum) {
  Payload p;
  p.code = 65;
  PutLe16(p, 0, total);
  p.data[2] = checksum;
  p.length = 7;
  return p;
}

Payload UploadChunkPayload(int offset, const std::uint8_t* bytes, int count) {
  constexpr int kFraming = 8;  // offset, count and four zero bytes
  Payload p;
  p.code = 66;
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
  p.code = 67;
  p.data[0] = slotByte;
  p.data[1] = powerMode;
  p.length = 6;
  return p;
}

}  // namespace tavelo
