#pragma once
// The command data of every block request, field by field. The block encoder reads the
// fields from the image in this order; the virtual processor writes them back in the same
// order. One description, read in opposite directions, so the two cannot drift.
#include <array>
#include <cstdint>
#include <optional>

#include "core/params/ParamImage.h"

namespace tavelo {

enum class FieldSource : std::uint8_t {
  kByte,              // image byte `index`
  kWord,              // word `index`, low byte first
  kConst,             // the constant `index` (the processor ignores it)
  kArgLow,            // argument bits 0..7; `index` >= 0: the image byte it mirrors
  kArgHigh,           // argument bits 8..15
  kArgFlag,           // 1 when the argument is non-zero, else 0
  kArgBoostSwitches,  // argument bits 0..7, kept as the boost switch byte
  kBuffer,            // `index` bytes of the posting window's buffer
  kSwitchWord,        // the 32-bit switch word, low byte first
  kPowerMode,         // the system page's power-mode selection
  kBoostSwitchByte,   // the boost block's switch byte
  kEqBand,            // wire record of band `band` of EQ set `index`
  kBoostBand,         // wire record of band `band` of boost channel `index`
  kZeroWord,          // two zero bytes
};

struct LayoutField {
  FieldSource source = FieldSource::kConst;
  int index = 0;
  int band = 0;
};

inline constexpr int kNoMirror = -1;
inline constexpr int kMaxLayoutFields = 24;

struct BlockLayoutDesc {
  int length = 0;  // L: data bytes sent, padding included
  std::array<LayoutField, kMaxLayoutFields> fields{};
  int count = 0;
};

// Bytes a field occupies in the command data.
int FieldSize(const LayoutField& field);

// The layout of `code` for argument `arg` in application mode `appMode` (codes 3 and 17
// address the output sets through the mode). Nothing for a code the encoder does not build
// from a layout (own frames, the chunk request) or an argument it refuses: preset > kLastPresetSlot
// (1), set id > 10 (3, 4), a band the set does not carry (3, 49), tone index > 3 (12), channel > 5
// (14), n > 15 (17), boost channel > 3 (49), negative arguments of these. Code 51's layout
// is the boost block frame's data.
std::optional<BlockLayoutDesc> BlockLayout(int code, int arg, int appMode);

// The argument a block's data starts with (codes whose layout depends on it), read back
// from the data: the processor's side of kArgLow / kArgHigh.
int ArgumentInData(int code, const std::uint8_t* data, int length);

// The EQ set that a code-3 set id names in application mode `appMode`, or -1.
int EqSetForSetId(int setId, int appMode);

}  // namespace tavelo
