#include "hub/rooms/Backoff.h"

#include <algorithm>

namespace tavelo::hub {

std::uint32_t Backoff::Random() {
  // xorshift32: spreading waits needs no more than this.
  random_ ^= random_ << 13;
  random_ ^= random_ >> 17;
  random_ ^= random_ << 5;
  return random_;
}

int Backoff::NextMs() {
  long long wait = kFirstMs;
  for (int i = 0; i < attempts_ && wait < kLongestMs; ++i) wait *= 2;
  wait = std::min<long long>(wait, kLongestMs);
  ++attempts_;
  const long long spread = wait / 4;
  const long long offset = static_cast<long long>(Random() % (2 * spread + 1)) - spread;
  return static_cast<int>(std::clamp<long long>(wait + offset, kFirstMs / 2, kLongestMs));
}

}  // namespace tavelo::hub
