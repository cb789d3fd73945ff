#include "engine/PendingRequests.h"

#include <algorithm>

namespace tavelo {

int PendingRequests::BlockKey(int code, const BlockArg& arg) {
  switch (code) {
    case 3:   // band * 256 + set id
    case 4:   // set id (a whole set reset)
    case 6:   // top-bar key button: each button is an action of its own
    case 12:  // index * 256 + set
    case 14:  // output channel
    case 17:  // pass filter n
    case 49:  // band * 256 + boost channel
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
