#pragma once
// The messages the engine's owner (and the engine itself) posts. Payloads travel by value;
// each is handled once, first in, first out.
#include <string>
#include <variant>
#include <vector>

#include "core/engine/EngineObserver.h"
#include "core/params/BlockEncoder.h"

namespace tavelo::msg {

// The Connect button: connects when idle, disconnects when connected.
struct Connect {};
// A block request: a page wrote the image and asks for the block to be sent.
using Block = BlockRequest;
// Refresh every page from the image.
struct Distribute {};
struct OpenWait {
  WaitKind kind = WaitKind::kConnecting;
};
struct CloseWait {};
// Save To PC: writes the image as `pcName` into the preset folder. The caller has asked
// "overwrite ?" already when the name is listed.
struct SaveToPc {
  std::string pcName;
};
// Load From PC: a row of the PC file list, or a file path used as given (path wins when
// not empty).
struct LoadFromPc {
  int row = -1;
  std::string path;
};
// Load a PC file into processor slot `slot` (0..9); only while connected.
struct LoadIntoSlot {
  int row = -1;
  int slot = 0;
  std::string path;
};
// Mass upload: file i goes into slot i (at most 10 files; names in the preset folder, or
// absolute paths); the factory variant writes the factory presets.
struct MassUpload {
  std::vector<std::string> files;
  bool factory = false;
};
// The unlock prompt was closed without the right password: the connection is abandoned.
struct UnlockClosed {};
// The "VR" / "Param" buttons: image 140, code 7 when it changes.
struct SetAdjustManner {
  int manner = 0;
};

// Posted by the engine to itself.
struct TransferResult {
  int result = 0;  // 3 answered, 1 timed out
};
struct Notice {
  int code = 0;  // notification << 8 | result byte
};
struct UnlockResult {
  int result = 0;
};
struct ShowUnlock {};

}  // namespace tavelo::msg

namespace tavelo {

using Message = std::variant<msg::Connect, msg::Block, msg::Distribute, msg::OpenWait,
                             msg::CloseWait, msg::SaveToPc, msg::LoadFromPc, msg::LoadIntoSlot,
                             msg::MassUpload, msg::UnlockClosed, msg::SetAdjustManner,
                             msg::TransferResult, msg::Notice, msg::UnlockResult, msg::ShowUnlock>;

}  // namespace tavelo
