// The room session every program uses: connecting reads the whole set through the
// reader-thread wake-up, reports reach the owner's observer, and the unlock prompt is
// answered by the session when it holds the policy and by the observer when it does not.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "core/sim/SimTransport.h"
#include "core/sim/VirtualProcessor.h"
#include "platform/RoomSession.h"
#include "support/event_loop.h"

namespace tavelo {
namespace {

class Recorder : public EngineObserver {
 public:
  void OnStatus(TextId id, const std::string&) override { statuses.push_back(id); }
  void OnDistribute() override { ++distributions; }
  void OnUnlockOpen() override { ++unlockPrompts; }
  void OnMessage(const UserMessage& m) override { messages.push_back(m.id); }
  std::vector<TextId> statuses;
  std::vector<TextId> messages;
  int distributions = 0;
  int unlockPrompts = 0;
};

// A virtual processor behind the in-process USB link; the test's loop polls the link (its
// wake-ups go through the session) and ticks the session.
struct Room {
  VirtualProcessor processor = VirtualProcessor::Seeded(3);
  Recorder recorder;
  QElapsedTimer clock;
  SimHidTransport* link = nullptr;
  bool makesTransport = true;
  int afterInputs = 0;
  RoomSession session{recorder, [this]() -> std::unique_ptr<Transport> {
                        if (!makesTransport) return nullptr;
                        auto t = std::make_unique<SimHidTransport>(
                            processor, [this] { return std::int64_t{clock.elapsed()}; });
                        link = t.get();
                        return t;
                      }};

  Room() {
    test::CoreApp();
    clock.start();
    session.SetAfterInput([this] { ++afterInputs; });
  }

  // Runs the loop (at most 3000 passes) until `done` holds.
  template <typename Done>
  bool Run(Done done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
      if (link && !session.Down()) link->Poll();
      QCoreApplication::processEvents();
      session.Tick();
    }
    return done();
  }
};

TEST(RoomSession, ConnectReadsTheWholeSetAndEveryReportReachesTheOwner) {
  Room room;
  room.processor.Current().byte(img::kMusicVolume) = 17;
  room.session.Connect();
  ASSERT_TRUE(room.Run([&] { return room.session.Ready(); }));
  EXPECT_EQ(room.session.State(), ConnState::kConnected);
  EXPECT_EQ(room.session.Image().byte(img::kMusicVolume), 17);
  EXPECT_GE(room.recorder.distributions, 1);
  EXPECT_EQ(room.recorder.statuses.front(), TextId::kStatusConnecting);
  EXPECT_GT(room.afterInputs, 0);

  // A second read takes over what changed on the processor meanwhile.
  room.processor.Current().byte(img::kMusicVolume) = 30;
  const int shown = room.recorder.distributions;
  room.session.DownloadSet();
  ASSERT_TRUE(
      room.Run([&] { return room.recorder.distributions > shown && room.session.Ready(); }));
  EXPECT_EQ(room.session.Image().byte(img::kMusicVolume), 30);

  room.session.Disconnect();
  EXPECT_TRUE(room.session.Down());
  EXPECT_EQ(room.recorder.statuses.back(), TextId::kStatusIdle);
  room.session.Disconnect();  // already down: nothing happens
  EXPECT_EQ(room.recorder.statuses.back(), TextId::kStatusIdle);
}

TEST(RoomSession, NoTransportEndsTheAttemptAsOpenFailed) {
  Room room;
  room.makesTransport = false;
  room.session.Connect();
  EXPECT_TRUE(room.session.Down());
  EXPECT_EQ(room.recorder.statuses.back(), TextId::kStatusOpenFailed);
  EXPECT_EQ(room.session.engine().FailureDetail(), "no link to open");
}

TEST(RoomSession, TheUnlockPromptIsAnsweredByTheSessionOnlyWhenItHoldsThePolicy) {
  {  // the panel's way: the prompt reaches the observer, the set waits behind it
    Room room;
    room.processor.SetLockEngaged(true);
    room.session.Connect();
    ASSERT_TRUE(room.Run([&] { return room.recorder.unlockPrompts > 0; }));
    EXPECT_FALSE(room.session.Ready());
  }
  {  // the right key: the set is shown
    Room room;
    room.processor.SetLockEngaged(true);
    ASSERT_TRUE(room.processor.SetLockKey("2468"));
    room.session.AnswerUnlockWith("2468");
    room.session.Connect();
    ASSERT_TRUE(room.Run([&] { return room.session.Ready(); }));
    EXPECT_EQ(room.recorder.unlockPrompts, 0);
    EXPECT_FALSE(room.session.LockedWithoutKey());
  }
  {  // a wrong key: refused once, then given up
    Room room;
    room.processor.SetLockEngaged(true);
    ASSERT_TRUE(room.processor.SetLockKey("2468"));
    room.session.AnswerUnlockWith("1111");
    room.session.Connect();
    ASSERT_TRUE(room.Run([&] { return room.session.Down(); }));
    EXPECT_EQ(room.recorder.messages, std::vector<TextId>{TextId::kMsgPasswordError});
    EXPECT_EQ(room.recorder.statuses.back(), TextId::kStatusOpenFailed1);
  }
  {  // no key: given up at once, and the owner hears why
    Room room;
    room.processor.SetLockEngaged(true);
    bool told = false;
    room.session.AnswerUnlockWith(std::nullopt, [&] { told = true; });
    room.session.Connect();
    ASSERT_TRUE(room.Run([&] { return room.session.Down(); }));
    EXPECT_TRUE(told);
    EXPECT_TRUE(room.session.LockedWithoutKey());
    EXPECT_EQ(room.recorder.unlockPrompts, 0);
  }
}

}  // namespace
}  // namespace tavelo
