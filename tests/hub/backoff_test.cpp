// The reconnect waits: they grow to the longest and no further, stay spread, and start over
// once a room has answered.
#include "hub/rooms/Backoff.h"

#include <gtest/gtest.h>

namespace tavelo::hub {
namespace {

TEST(BackoffTest, DoublesToTheLongestWithSpreadAndStartsOverAfterAnAnswer) {
  Backoff backoff(7);
  int expected = Backoff::kFirstMs;
  for (int attempt = 0; attempt < 12; ++attempt) {
    const int wait = backoff.NextMs();
    EXPECT_GE(wait, expected * 3 / 4) << attempt;
    EXPECT_LE(wait, std::min(expected * 5 / 4, Backoff::kLongestMs)) << attempt;
    expected = std::min(expected * 2, Backoff::kLongestMs);
  }
  backoff.Reset();
  EXPECT_LE(backoff.NextMs(), Backoff::kFirstMs * 5 / 4);

  // Rooms dropped together do not all come back at the same moment.
  Backoff a(1), b(2);
  bool differ = false;
  for (int i = 0; i < 4; ++i) differ = differ || a.NextMs() != b.NextMs();
  EXPECT_TRUE(differ);
}

}  // namespace
}  // namespace tavelo::hub
