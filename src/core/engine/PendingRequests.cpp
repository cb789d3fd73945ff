#include "core/engine/PendingRequests.h"

#include <algorithm>

#include "core/link/CommandCode.h"

namespace tavelo {

using C = CommandCode;

int PendingRequests::BlockKey(const BlockRequest& request) {
  const int code = CodeNumber(request.code);
  switch (request.code) {
    case C::kEqBand:         // band * 256 + set id
    case C::kEqSetReset:     // set id (a whole set reset)
    case C::kKeyButton:      // top-bar key button: each button is an action of its own
    case C::kToneValue:      // index * 256 + set
    case C::kOutputChannel:  // output channel
    case C::kPassFilter:     // pass filter n
    case C::kBoostBand:      // band * 256 + boost channel
      return code << 16 | (request.arg.value & 0xFFFF);
    default:
      return code << 16;
  }
}

void PendingRequests::Add(const BlockRequest& request, bool front) {
  const int key = BlockKey(request);
  auto same = std::find_if(entries_.begin(), entries_.end(),
                           [&](const BlockRequest& e) { return BlockKey(e) == key; });
  if (same != entries_.end()) {
    same->arg = request.arg;
    return;
  }
  if (front) {
    entries_.push_front(request);
  } else {
    entries_.push_back(request);
  }
}

std::optional<BlockRequest> PendingRequests::Take() {
  if (entries_.empty()) return std::nullopt;
  BlockRequest head = entries_.front();
  entries_.pop_front();
  return head;
}

}  // namespace tavelo
