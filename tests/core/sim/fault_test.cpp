// Named faults: parsing, and that each one shows on the wire the way the panel will meet it.
#include <gtest/gtest.h>

#include "core/sim/Faults.h"
#include "core/sim/sim_test_util.h"

namespace tavelo {
namespace {

using simtest::Answer;
using simtest::Ask;

SimFaultSpec Fault(const char* text) {
  std::optional<SimFaultSpec> parsed = ParseSimFault(text);
  EXPECT_TRUE(parsed.has_value()) << text;
  return parsed.value_or(SimFaultSpec{});
}

TEST(SimFaults, NamesAndArgumentsParse) {
  EXPECT_EQ(Fault("wrong-version").fault, SimFault::kWrongVersion);
  EXPECT_EQ(Fault("wrong-version").arg, -1);
  EXPECT_EQ(Fault("slow-reply=250").arg, 250);
  EXPECT_EQ(Fault("unplug-after=5").fault, SimFault::kCutAfter);
  EXPECT_EQ(Fault("drop-after-7").arg, 7);
  EXPECT_EQ(Fault("drop-reply=28").arg, 28);
  EXPECT_EQ(Fault("oversized-total").fault, SimFault::kOversizedTotal);
  for (const char* bad : {"", "nonsense", "slow-reply=", "slow-reply=abc", "slow-reply=-3",
                          "drop-after", "lockedx", "wrong-version=2x", "slow-reply-5"}) {
    EXPECT_FALSE(ParseSimFault(bad).has_value()) << bad;
  }
  EXPECT_NE(SimFaultNames().find("corrupt-reply-checksum"), std::string::npos);
  EXPECT_EQ(SimFaultName(SimFault::kLocked), "locked");
}

// A refusal tells a bad argument from an unknown name and lists the faults either way.
TEST(SimFaults, RefusalsSayWhatIsWrong) {
  const struct {
    const char* text;
    const char* says;
  } cases[] = {
      {"slow-reply=abc", "bad argument 'abc' for fault slow-reply"},
      {"slow-reply=", "bad argument '' for fault slow-reply"},
      {"drop-after-x", "bad argument 'x' for fault drop-after"},
      {"unplug-after", "unplug-after needs a count: unplug-after=N"},
      {"lockedx", "unknown fault 'lockedx'"},
      {"slow-reply-5", "unknown fault 'slow-reply-5'"},
      {"", "unknown fault ''"},
  };
  for (const auto& c : cases) {
    ASSERT_FALSE(ParseSimFault(c.text).has_value()) << c.text;
    const std::string error = SimFaultError(c.text);
    EXPECT_EQ(error.rfind(c.says, 0), 0u) << error;
    EXPECT_NE(error.find("(faults: " + SimFaultNames() + ")"), std::string::npos) << error;
  }
}

TEST(SimFaults, HandshakeFaults) {
  {
    VirtualProcessor p;
    p.AddFault(Fault("wrong-version"));
    EXPECT_EQ(Ask(p, 28).data[1], 2);
    p.ClearFaults();
    p.AddFault(Fault("wrong-version=4"));
    EXPECT_EQ(Ask(p, 28).data[1], 4);
  }
  {
    VirtualProcessor p;
    p.AddFault(Fault("wrong-signature"));
    Answer a = Ask(p, 63);
    EXPECT_NE(std::vector<std::uint8_t>(a.data.begin() + 1, a.data.begin() + 5),
              (std::vector<std::uint8_t>{23, 1, 2, 5}));
  }
  {
    VirtualProcessor p;
    p.AddFault(Fault("bad-body-checksum"));
    Answer start = Ask(p, 63);
    const auto body = p.DownloadBody();
    EXPECT_NE(BodyChecksum(body.data(), body.size()), start.data[19]);
  }
  {
    VirtualProcessor p;
    p.AddFault(Fault("oversized-total"));
    EXPECT_EQ(simtest::Le16(Ask(p, 63).data, 17), 5000);
    p.ClearFaults();
    p.AddFault(Fault("oversized-total=4097"));
    EXPECT_EQ(simtest::Le16(Ask(p, 63).data, 17), 4097);
    // A short total comes with the checksum of the bytes it announces, so only the total
    // itself gives it away.
    p.ClearFaults();
    p.AddFault(Fault("short-total=100"));
    const Answer start = Ask(p, 63);
    const auto body = p.DownloadBody();
    EXPECT_EQ(simtest::Le16(start.data, 17), 100);
    EXPECT_EQ(BodyChecksum(body.data(), 100), start.data[19]);
  }
  {
    VirtualProcessor p;
    p.AddFault(Fault("locked"));
    EXPECT_TRUE(p.LockEngaged());
    EXPECT_EQ(Ask(p, 63).data[7] & 1, 1);
  }
}

TEST(SimFaults, ReplyFaultsHitAllOrOneCode) {
  VirtualProcessor p;
  p.AddFault(Fault("corrupt-reply-checksum=28"));
  Answer poll = Ask(p, 28);
  EXPECT_FALSE(poll.valid);  // the parser drops it, so the request times out
  EXPECT_EQ(poll.frame.size(), 16u);
  EXPECT_TRUE(Ask(p, 63).valid);

  p.ClearFaults();
  p.AddFault(Fault("drop-reply"));
  EXPECT_TRUE(Ask(p, 28).frame.empty());
  EXPECT_TRUE(Ask(p, 63).frame.empty());
  // A dropped reply still lets the request act.
  Ask(p, 9, {66});
  EXPECT_EQ(p.Current().byte(2), 66);

  p.ClearFaults();
  EXPECT_EQ(Ask(p, 28).raw.latencyMs, 0);
  p.AddFault(Fault("slow-reply"));
  EXPECT_EQ(Ask(p, 28).raw.latencyMs, 500);
  p.ClearFaults();
  p.AddFault(Fault("slow-reply=3500"));
  p.SetLatencyMs(20);
  EXPECT_EQ(Ask(p, 28).raw.latencyMs, 3500);
  p.ClearFaults();
  EXPECT_EQ(Ask(p, 28).raw.latencyMs, 20);
}

TEST(SimFaults, CutAfterFiresOnceAfterTheNthReply) {
  VirtualProcessor p;
  p.AddFault(Fault("drop-after=3"));
  EXPECT_FALSE(Ask(p, 28).raw.cutLink);
  EXPECT_FALSE(Ask(p, 63).raw.cutLink);
  Answer third = Ask(p, ChunkRequestPayload(0, 58));
  EXPECT_TRUE(third.valid);
  EXPECT_TRUE(third.raw.cutLink);
  EXPECT_TRUE(p.LinkCut());
  // Spent: after the link is restored, the processor answers normally.
  p.RestoreLink();
  EXPECT_FALSE(p.LinkCut());
  EXPECT_FALSE(Ask(p, 28).raw.cutLink);

  VirtualProcessor q;
  q.AddFault(Fault("unplug-after=0"));
  Answer none = Ask(q, 28);
  EXPECT_TRUE(none.frame.empty());
  EXPECT_TRUE(none.raw.cutLink);
}

}  // namespace
}  // namespace tavelo
