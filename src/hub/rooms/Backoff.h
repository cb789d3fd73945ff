#pragma once
// The wait before a dropped room is tried again: one second, doubling with every failed
// attempt up to thirty, each wait spread by up to a quarter either way so that a venue's
// rooms, dropped together by one switch, do not all knock at the same moment.
#include <cstdint>

namespace tavelo::hub {

class Backoff {
 public:
  static constexpr int kFirstMs = 1000;
  static constexpr int kLongestMs = 30000;

  explicit Backoff(std::uint32_t seed = 1) : random_(seed == 0 ? 1 : seed) {}

  // The wait before the next attempt; each call counts one more failed attempt.
  int NextMs();
  // The room answered: the next drop starts again from the first wait.
  void Reset() { attempts_ = 0; }
  int Attempts() const { return attempts_; }

 private:
  std::uint32_t Random();

  int attempts_ = 0;
  std::uint32_t random_;
};

}  // namespace tavelo::hub
