#include "core/params/BlockLayout.h"

#include <algorithm>
#include <initializer_list>
#include <span>

#include "core/link/CommandCode.h"

namespace tavelo {
namespace {

using S = FieldSource;
using C = CommandCode;

constexpr LayoutField B(int offset) {
  return {S::kByte, offset};
}
constexpr LayoutField W(int word) {
  return {S::kWord, word};
}
constexpr LayoutField K(int value) {
  return {S::kConst, value};
}
constexpr LayoutField Arg(int mirrors = kNoMirror) {
  return {S::kArgLow, mirrors};
}
constexpr LayoutField kArgHi{S::kArgHigh, 0};
constexpr LayoutField Buf(int count) {
  return {S::kBuffer, count};
}

constexpr int kAnyArg = -1;

// A block whose data does not depend on its argument. `maxArg` refuses arguments outside
// 0..maxArg (kAnyArg: any argument).
struct FixedBlock {
  CommandCode code;
  int length;
  std::initializer_list<LayoutField> fields;
  int maxArg = kAnyArg;
};

constexpr int kMaxSetId = 10;

const FixedBlock* FindFixed(CommandCode code) {
  static const FixedBlock kBlocks[] = {
      {C::kRecallPreset, 2, {Arg()}, kLastPresetSlot},
      {C::kMusicBlock, 12, {B(0), B(3), B(4), B(6), B(22), B(23), B(24), B(25), B(26), B(9), B(5)}},
      {C::kEqSetReset, 2, {Arg()}, kMaxSetId},
      {C::kMicBlock,
       13,
       {B(1), B(10), B(11), B(14), B(27), B(129), B(12), B(13), B(15), B(16), B(17), B(18)}},
      {C::kKeyButton, 2, {Arg()}},
      {C::kAdjustManner, 2, {Arg(img::kAdjustManner)}},
      {C::kEffectVolume, 2, {B(2)}},
      {C::kEffectInitLevel, 2, {B(21)}},
      // Byte 112 stays in the image but the processor expects 50 in its place.
      {C::kReverbBlock,
       15,
       {B(108), B(109), B(110), B(111), K(50), B(113), W(20), W(21), W(24), W(25)}},
      {C::kEchoBlock,
       22,
       {B(114), B(115), B(116), B(117), B(118), B(119), B(120), B(121), B(122), W(22), W(23), W(26),
        W(27), W(28), W(29)}},
      {C::kSwitchWord, 5, {{S::kSwitchWord, 0}}},
      {C::kUseInitVolume, 2, {{S::kArgFlag, 0}}},
      {C::kResetAll, 1, {K(0)}},
      {C::kMute, 2, {Arg()}},
      {C::kLogoText, 34, {Buf(33)}},
      {C::kUnposted29, 1, {K(0)}},
      {C::kUnposted32, 2, {K(0)}},
      {C::kAppMode, 6, {B(125), B(126), B(127)}},
      {C::kLockKey, 6, {Buf(5)}},
      {C::kLockKeyPassword, 9, {Buf(8)}},
      {C::kAdminMode, 8, {Buf(7)}},
      {C::kAdminPassword, 13, {Buf(12)}},
      {C::kUnposted47, 1, {K(0)}},
      {C::kBoostSwitches, 3, {{S::kArgBoostSwitches, 0}, kArgHi}},
      {C::kBoostRead, 1, {K(0)}},
      {C::kTwoByteSetting, 3, {Arg(), kArgHi}},
      {C::kRecordMixer, 4, {B(131), B(132), B(133), B(134)}},
      {C::kEchoType, 2, {Arg()}},
      {C::kPowerMode, 2, {{S::kPowerMode, 0}}},
      {C::kMicEqLink, 3, {Arg(), kArgHi}},  // shown microphone, then link state
      {C::kOutputDisplay, 2, {Arg(img::kOutputDisplay)}},
      {C::kReadStart, 2, {K(0)}},
      {C::kMicSetting, 2, {B(130)}},
      {C::kRestoreFactory, 1, {K(0)}},
      {C::kBluetoothName, 10, {Buf(9)}},
  };
  for (const FixedBlock& b : kBlocks) {
    if (b.code == code) return &b;
  }
  return nullptr;
}

// Code 14: first image byte of each output channel's 16-byte block, and the delay words.
constexpr std::array<int, 6> kOutputBlockStart = {28, 28, 48, 48, 68, 88};
constexpr int kOutputBlockBytes = 16;
constexpr int kFirstDelayWord = 30;

// Code 17: slope byte and frequency word of each pass filter; n = 4..15 name output
// filters whose second set (the next byte and word) is used outside mode Sing.
constexpr std::array<int, 16> kFilterSlopeByte = {19, 20, 7,  8,  44, 46, 44,  46,
                                                  64, 66, 64, 66, 84, 86, 104, 106};
constexpr std::array<int, 16> kFilterWord = {0, 1, 2, 3, 4, 6, 4, 6, 8, 10, 8, 10, 12, 14, 16, 18};
constexpr int kFirstOutputFilter = 4;

constexpr int kToneValues = 4;  // bass, middle, middle frequency, treble
constexpr int kMicToneWord = 36;
constexpr int kMusicToneWord = 40;

constexpr int kBoostBlockLength = 75;  // switch byte, 14 records, 4 padding bytes

bool InRange(int v, int lo, int hi) {
  return v >= lo && v <= hi;
}

class Builder {
 public:
  explicit Builder(int length) { desc_.length = length; }
  Builder& Add(LayoutField f) {
    desc_.fields[static_cast<std::size_t>(desc_.count++)] = f;
    return *this;
  }
  BlockLayoutDesc Done() const { return desc_; }

 private:
  BlockLayoutDesc desc_;
};

std::optional<BlockLayoutDesc> EqBandLayout(int arg, int appMode) {
  if (arg < 0) return std::nullopt;
  const int setId = arg & 0xFF;
  const int band = arg >> 8;
  const int set = EqSetForSetId(setId, appMode);
  // Only the bands that travel exist on the processor; a page's filter bands go with 17.
  if (set < 0 || !InRange(band, 0, kEqSets[static_cast<std::size_t>(set)].wireBands - 1)) {
    return std::nullopt;
  }
  return Builder(8).Add(Arg()).Add(kArgHi).Add({S::kEqBand, set, band}).Done();
}

std::optional<BlockLayoutDesc> ToneLayout(int arg) {
  if (arg < 0) return std::nullopt;
  const int set = arg & 0xFF;
  const int index = arg >> 8;
  if (!InRange(index, 0, kToneValues - 1)) return std::nullopt;
  // Microphone tone words for set 0, music tone words for any other set.
  return Builder(5)
      .Add(Arg())
      .Add(kArgHi)
      .Add(W((set == 0 ? kMicToneWord : kMusicToneWord) + index))
      .Done();
}

// Channel, its 16-byte output block, its delay word, then the right-hand delay of the
// stereo pairs that start at channels 0 and 2.
std::optional<BlockLayoutDesc> OutputChannelLayout(int ch) {
  if (!InRange(ch, 0, static_cast<int>(kOutputBlockStart.size()) - 1)) return std::nullopt;
  Builder b(36);
  b.Add(Arg());
  const int start = kOutputBlockStart[static_cast<std::size_t>(ch)];
  for (int i = 0; i < kOutputBlockBytes; ++i) b.Add(B(start + i));
  b.Add(W(kFirstDelayWord + ch));
  if (ch == 0 || ch == 2) {
    b.Add(W(kFirstDelayWord + ch + 1));
  } else {
    b.Add({S::kZeroWord, 0});
  }
  return b.Done();
}

std::optional<BlockLayoutDesc> PassFilterLayout(int n, int appMode) {
  if (!InRange(n, 0, static_cast<int>(kFilterSlopeByte.size()) - 1)) return std::nullopt;
  const int k = (n >= kFirstOutputFilter && appMode != kModeSing) ? 1 : 0;
  return Builder(5)
      .Add(Arg())
      .Add(B(kFilterSlopeByte[static_cast<std::size_t>(n)] + k))
      .Add(W(kFilterWord[static_cast<std::size_t>(n)] + k))
      .Done();
}

std::optional<BlockLayoutDesc> BoostBandLayout(int arg) {
  if (arg < 0) return std::nullopt;
  const int ch = arg & 0xFF;
  const int band = arg >> 8;
  if (!InRange(ch, 0, kBoostChannels - 1) ||
      !InRange(band, 0, kBoostBandCounts[static_cast<std::size_t>(ch)] - 1)) {
    return std::nullopt;
  }
  return Builder(8).Add(Arg()).Add(kArgHi).Add({S::kBoostBand, ch, band}).Done();
}

BlockLayoutDesc BoostBlockLayout() {
  Builder b(kBoostBlockLength);
  b.Add({S::kBoostSwitchByte, 0});
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    for (int band = 0; band < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++band) {
      b.Add({S::kBoostBand, ch, band});
    }
  }
  return b.Done();
}

}  // namespace

int FieldSize(const LayoutField& field) {
  switch (field.source) {
    case S::kWord:
    case S::kZeroWord:
      return 2;
    case S::kBuffer:
      return std::min(field.index, 33);
    case S::kSwitchWord:
      return 4;
    case S::kEqBand:
    case S::kBoostBand:
      return kWireBandSize;
    default:
      return 1;
  }
}

int EqSetForSetId(int setId, int appMode) {
  const bool sing = appMode == kModeSing;
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

std::optional<BlockLayoutDesc> BlockLayout(int code, int arg, int appMode) {
  const auto c = static_cast<CommandCode>(code);
  if (code < 0 || code > 255) return std::nullopt;
  if (const FixedBlock* fixed = FindFixed(c)) {
    if (fixed->maxArg != kAnyArg && !InRange(arg, 0, fixed->maxArg)) return std::nullopt;
    Builder b(fixed->length);
    for (const LayoutField& f : fixed->fields) b.Add(f);
    return b.Done();
  }
  switch (c) {
    case C::kEqBand:
      return EqBandLayout(arg, appMode);
    case C::kToneValue:
      return ToneLayout(arg);
    case C::kOutputChannel:
      return OutputChannelLayout(arg);
    case C::kPassFilter:
      return PassFilterLayout(arg, appMode);
    case C::kBoostBand:
      return BoostBandLayout(arg);
    case C::kBoostBlock:
      return BoostBlockLayout();
    default:
      return std::nullopt;
  }
}

int ArgumentInData(int code, const std::uint8_t* data, int length) {
  const auto layout = BlockLayout(code, 0, kModeSing);
  if (!layout) return 0;
  int arg = 0;
  int pos = 0;
  for (int i = 0; i < layout->count && pos < length; ++i) {
    const LayoutField& f = layout->fields[static_cast<std::size_t>(i)];
    if (f.source == S::kArgLow) {
      arg |= data[pos];
    } else if (f.source == S::kArgHigh) {
      arg |= data[pos] << 8;
    } else {
      break;
    }
    ++pos;
  }
  return arg;
}

}  // namespace tavelo
