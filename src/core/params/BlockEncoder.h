#pragma once
// The block encoder: from (image, command code, argument) to the command data that
// follows the code in a request frame, byte for byte, padding included.
#include <array>
#include <cstdint>

#include "core/link/CommandCode.h"
#include "core/params/ParamImage.h"

namespace tavelo {

inline constexpr int kMaxArgBuffer = 33;  // the longest window buffer (logo text, code 23)
inline constexpr int kMaxCommandData = 80;

// A block request's argument. Codes 23, 43..46 and 78 carry a copy of the posting
// window's buffer (by value: nothing points back into the sender's memory).
// A plain number converts implicitly, so a value request reads `{code, 3}`.
struct BlockArg {
  int value = 0;
  std::array<std::uint8_t, kMaxArgBuffer> buffer{};
  int bufferSize = 0;

  constexpr BlockArg() = default;
  constexpr BlockArg(int v) : value(v) {}  // NOLINT(google-explicit-constructor)

  static BlockArg Value(int v) {
    BlockArg a;
    a.value = v;
    return a;
  }
  static BlockArg Buffer(const std::uint8_t* bytes, int size);
  friend bool operator==(const BlockArg&, const BlockArg&) = default;
};

// One block request as it travels from a page (or a tool) to the encoder: which block,
// and the argument that says which band, set, channel or value.
struct BlockRequest {
  CommandCode code = CommandCode::kNone;
  BlockArg arg;
  friend bool operator==(const BlockRequest&, const BlockRequest&) = default;
};

// Command code plus its data; N = length + 1.
struct Payload {
  std::uint8_t code = 0;
  std::array<std::uint8_t, kMaxCommandData> data{};
  int length = 0;  // L
};

enum class EncodeResult {
  kPayload,   // `out` holds the command data
  kIgnored,   // not an encoder code, or argument out of range: nothing is sent
  kOwnFrame,  // 51, 65, 66, 67: built by the transfer code, not by EncodeBlock
};

// Volume clamping that runs before anything else for codes 2 and 5, connected or not:
// the music (mic) volume is lowered to its maximum. Returns true when a volume changed.
bool ClampVolumes(ParamImage& image, int code);

// Builds the command data of `code` for `arg` from the image as it is now. The pass
// filter and EQ set choice of codes 3 and 17 follow the application mode (image 125).
// Arguments that are not image values: code 18 takes the "Use init vol" toggle state in
// `arg.value` (sent as 1 when non-zero, else 0); code 59 sends image.powerMode; code 64,
// when it goes through the encoder, takes offset + 65536 * count in `arg.value` (the
// transfer normally uses ChunkRequestPayload). Refused (kIgnored, `out` untouched): preset
// > 9 (1), set id > 10 (3, 4), a band the set does not carry (3, 49), tone index > 3 (12),
// channel > 5 (14), n > 15 (17), boost channel > 3 (49), negative arguments of these.
EncodeResult EncodeBlock(const ParamImage& image, int code, const BlockArg& arg, Payload& out);
inline EncodeResult EncodeBlock(const ParamImage& image, const BlockRequest& request,
                                Payload& out) {
  return EncodeBlock(image, CodeNumber(request.code), request.arg, out);
}

// The EQ set that a code-3 set id names in the current application mode, or -1.
int EqSetForId(const ParamImage& image, int setId);

// Frames that the transfers build themselves.
Payload BoostBlockPayload(const ParamImage& image);                            // code 51, L = 75
Payload ChunkRequestPayload(int offset, int count);                            // code 64, L = 5
Payload UploadStartPayload(int total, std::uint8_t checksum);                  // code 65, L = 7
Payload UploadChunkPayload(int offset, const std::uint8_t* bytes, int count);  // 66, L = count + 8
Payload UploadFinishPayload(std::uint8_t slotByte, std::uint8_t powerMode);    // 67, L = 6

}  // namespace tavelo
