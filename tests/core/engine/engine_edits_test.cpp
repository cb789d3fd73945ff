// Edits posted by the pages: one request in flight, none lost, repeated blocks coalesced.
#include <algorithm>

#include "engine_harness.h"

namespace tavelo::test {
namespace {

int CountOk(const Recorder& r, std::size_t from) {
  return static_cast<int>(std::count(r.statuses.begin() + static_cast<std::ptrdiff_t>(from),
                                     r.statuses.end(), std::string("OK")));
}

TEST(EngineEdits, BlocksPostedWhileOneIsInFlightAllGoOutInPostingOrder) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  h.processor.SetLatencyMs(100);  // each reply takes two ticks
  const std::size_t mark = h.wire.size();
  const std::size_t okMark = h.recorder.statuses.size();
  EqBand* music = h.engine.Image().set(kEqMusic);

  h.engine.PostBlock(2);  // goes out at once
  music[1].gain = 30;
  h.engine.PostBlock(3, 1 * 256 + 2);
  music[2].gain = -40;
  h.engine.PostBlock(3, 2 * 256 + 2);
  h.engine.PostBlock(5);
  music[1].gain = 60;
  h.engine.PostBlock(3, 1 * 256 + 2);  // same block again: replaces the waiting one
  h.engine.PostBlock(12, 0 * 256 + 2);
  EXPECT_EQ(h.engine.Pending().Size(), 4);

  for (int i = 0; i < 40; ++i) {
    h.Step();
    const int sent = static_cast<int>(h.wire.size() - mark);
    const int answered = CountOk(h.recorder, okMark);
    ASSERT_LE(sent - answered, 1) << "two requests in flight at step " << i;
  }
  EXPECT_EQ(h.Codes(mark), (std::vector<int>{2, 3, 3, 5, 12}));
  const auto bands = h.WithCode(3, mark);
  EXPECT_EQ(bands[0].data[1], 1);  // band 1 first, with its newest gain
  EXPECT_EQ(DecodeWireBand(bands[0].data.data() + 2).gain, 60);
  EXPECT_EQ(DecodeWireBand(bands[1].data.data() + 2).gain, -40);
  EXPECT_EQ(h.processor.Current().set(kEqMusic)[1].gain, 60);
}

TEST(EngineEdits, NothingIsSentOrQueuedWithoutAConnectionButVolumesStillClamp) {
  EngineHarness h;
  h.engine.Image().byte(img::kMusicMaxVolume) = 60;
  h.engine.Image().byte(img::kMusicVolume) = 70;
  h.engine.PostBlock(2);
  h.engine.PostBlock(3, 2);
  EXPECT_EQ(h.engine.Image().byte(img::kMusicVolume), 60);
  EXPECT_EQ(h.recorder.topBar.music, 60);
  EXPECT_TRUE(h.engine.Pending().Empty());
  EXPECT_TRUE(h.wire.empty());
}

TEST(EngineEdits, OutOfRangeRequestsAreIgnoredAndBuffersTravelByValue) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  const std::size_t mark = h.wire.size();
  h.engine.PostBlock(1, 12);   // preset above 9
  h.engine.PostBlock(17, 16);  // filter n above 15
  h.engine.PostBlock(99);      // not a command
  EXPECT_EQ(h.wire.size(), mark);

  h.processor.SetLatencyMs(100);
  h.engine.PostBlock(9);
  std::uint8_t logo[33] = {1, 'A'};
  h.engine.Post(msg::Block{CommandCode::kLogoText, BlockArg::Buffer(logo, 33)});
  logo[1] = 'B';  // the sender's buffer changes after posting; the request keeps its copy
  h.engine.Post(msg::Block{CommandCode::kLogoText, BlockArg::Buffer(logo, 33)});
  logo[1] = 'C';
  ASSERT_TRUE(h.Settle());
  EXPECT_EQ(h.Codes(mark), (std::vector<int>{9, 23}));
  EXPECT_EQ(h.WithCode(23, mark)[0].data[1], 'B');
}

// The request a wire number names.
CommandCode Wire(int code) {
  return static_cast<CommandCode>(code);
}

TEST(PendingRequests, CoalescesPerBlockIdentityAndKeepsPlace) {
  PendingRequests p;
  p.Add({Wire(3), 0x0102});
  p.Add({Wire(17), 4});
  p.Add({Wire(3), 0x0202});  // another band: its own entry
  p.Add({Wire(17), 5});      // another filter
  p.Add({Wire(2), 0});
  p.Add({Wire(3), 0x0102});  // repeated: no new entry
  p.Add({Wire(14), 0});
  p.Add({Wire(14), 2});
  p.Add({Wire(4), 2});  // a whole set reset: each set is a block of its own
  p.Add({Wire(4), 0});
  p.Add({Wire(6), 0});  // two different key buttons are two presses
  p.Add({Wire(6), 1});
  p.Add({Wire(64), {}}, /*front=*/true);
  std::vector<std::pair<int, int>> order;
  while (auto e = p.Take()) order.emplace_back(CodeNumber(e->code), e->arg.value);
  EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{64, 0},
                                                     {3, 0x0102},
                                                     {17, 4},
                                                     {3, 0x0202},
                                                     {17, 5},
                                                     {2, 0},
                                                     {14, 0},
                                                     {14, 2},
                                                     {4, 2},
                                                     {4, 0},
                                                     {6, 0},
                                                     {6, 1}}));
}

// The boost store's time-out (2.5 s) ends before a USB read for it would (3 s): an edit
// waiting behind it must not go out in between, or two requests would share one read.
TEST(EngineEdits, NothingGoesOutAfterATimeOutUntilTheLinkIsDown) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  h.processor.AddFault({SimFault::kDropReply, 51});
  const std::size_t mark = h.wire.size();
  h.engine.PostBlock(51);
  h.engine.PostBlock(2);  // waits for the boost store
  ASSERT_TRUE(h.StepUntil([&] { return h.engine.State() == ConnState::kIdle; }, 200));
  EXPECT_EQ(h.Codes(mark), std::vector<int>{51});
  EXPECT_EQ(h.recorder.statuses.back(), "Idle");
}

}  // namespace
}  // namespace tavelo::test
