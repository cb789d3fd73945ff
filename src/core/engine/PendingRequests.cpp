#include "engine/PendingRequests.h"

#include <algorithm>

#include "link/CommandCode.h"

namespace tavelo {

using C = CommandCode;

int PendingRequests::BlockKey(int code, const BlockArg& arg) {
  switch (code) {
    case CodeNumber(C::kEqBand):         // band * 256 + set id
    case CodeNumber(C::kEqSetReset):     // set id (a whole set reset)
    case CodeNumber(C::kKeyButton):      // top-bar key button: each button is an action of its own
    case CodeNumber(C::kToneValue):      // index * 256 + set
    case CodeNumber(C::kOutputChannel):  // output channel
    case CodeNumber(C::kPassFilter):     // pass filter n
    case CodeNumber(C::kBoostBand):      // band * 256 + boost channel
      return code << 16 | (arg.value & 0xFFFF);
    default:
      return code << 16;
  }
}

void PendingRequests::Add(int code, const BlockArg& arg, bool front) {
  const int key = BlockKey(code, arg);
  auto same = std::find_if(entries_.begin(), entries_.end(),
                           [&](const PendingRequest& e) { return BlockKey(e.code, e.arg) == key; });
  if (same != entries_.end()) {
    same->arg = arg;
    return;
  }
  if (front) {
    entries_.push_front({code, arg});
  } else {
    entries_.push_back({code, arg});
  }
}

std::optional<PendingRequest> PendingRequests::Take() {
  if (entries_.empty()) return std::nullopt;
  PendingRequest head = entries_.front();
  entries_.pop_front();
  return head;
}

}  // namespace tavelo
