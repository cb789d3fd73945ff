// Alarms raised and cleared from what is seen of the rooms, each change reported once, with a
// clock the test moves.
#include <gtest/gtest.h>

#include "StandInVenue.h"
#include "hub/Store.h"
#include "hub/alarms/AlarmMonitor.h"
#include "hub/alarms/WatchedRooms.h"

namespace tavelo::hub {
namespace {

constexpr qint64 kMinute = 60 * 1000;

class AlarmTest : public ::testing::Test {
 protected:
  AlarmTest()
      : venue_({QStringLiteral("room-01"), QStringLiteral("room-02")}),
        monitor_(
            {2 * kMinute, 10 * kMinute}, [this] { return now_; },
            [this](const Alarm& alarm) {
              changes_ << AlarmKindName(alarm.kind) + QLatin1Char(' ') + alarm.room +
                              (alarm.cleared ? QStringLiteral(" cleared")
                                             : QStringLiteral(" raised"));
            }),
        watched_(venue_, monitor_) {}

  // Sweeps every minute until `minutes` have passed.
  void Pass(int minutes, bool checkContent = false) {
    for (int i = 0; i < minutes; ++i) {
      now_ += kMinute;
      watched_.Sweep(checkContent);
      monitor_.Tick();
    }
  }

  qint64 now_ = 1'000'000;
  hubtest::StandInVenue venue_;
  AlarmMonitor monitor_;
  WatchedRooms watched_;
  QStringList changes_;
};

TEST_F(AlarmTest, OfflineAndUnlockedRoomsRaiseOnlyAfterTheirTimes) {
  Pass(1);
  venue_.rooms[QStringLiteral("room-02")].view.online = false;
  venue_.rooms[QStringLiteral("room-01")].extras.locked = false;
  Pass(1);
  EXPECT_TRUE(changes_.isEmpty());  // a short drop is no alarm
  Pass(2);
  EXPECT_EQ(changes_, QStringList{"offline room-02 raised"});
  Pass(5);
  EXPECT_EQ(changes_.size(), 1);  // raised once, not on every tick
  venue_.rooms[QStringLiteral("room-02")].view.online = true;
  Pass(5);
  EXPECT_EQ(changes_, (QStringList{"offline room-02 raised", "offline room-02 cleared",
                                   "lock-open room-01 raised"}));
  venue_.rooms[QStringLiteral("room-01")].extras.locked = true;
  Pass(1);
  EXPECT_EQ(changes_.back(), QStringLiteral("lock-open room-01 cleared"));
  EXPECT_EQ(monitor_.OpenCount(AlarmKind::Offline) + monitor_.OpenCount(AlarmKind::LockOpen), 0);

  // An offline room whose lock is unknown raises nothing about the lock.
  changes_.clear();
  venue_.rooms[QStringLiteral("room-02")].view.online = false;
  Pass(30);
  EXPECT_EQ(changes_, QStringList{"offline room-02 raised"});
}

TEST_F(AlarmTest, DriftFromTheReferenceAndRefusedWrites) {
  const QString reference = Store::ContentHash(*venue_.CurrentSet(QStringLiteral("room-01")));
  monitor_.SetReference(QStringLiteral("room-01"), reference);
  Pass(1, true);
  EXPECT_TRUE(changes_.isEmpty());

  // A change behind the service's back shows on the timer's check.
  std::string error;
  ApplyNamedEdit(venue_.rooms[QStringLiteral("room-01")].image,
                 *ParseNamedEdit("music.volume=20", error));
  Pass(1);
  EXPECT_TRUE(changes_.isEmpty());  // no content check on this sweep
  Pass(1, true);
  EXPECT_EQ(changes_, QStringList{"drift room-01 raised"});
  EXPECT_TRUE(monitor_.Open().front().detail.contains(reference.left(12)));

  // A refused write raises; the next write taken clears it and checks the content at once.
  QString why;
  venue_.failuresLeft = 1;
  const auto back = ParseNamedEdit("music.volume=35", error);
  EXPECT_FALSE(watched_.Write(QStringLiteral("room-01"), {*back}, {}, why));
  EXPECT_EQ(changes_.back(), QStringLiteral("write-refused room-01 raised"));
  EXPECT_TRUE(watched_.Write(QStringLiteral("room-01"), {*back}, {}, why));
  EXPECT_EQ(changes_, (QStringList{"drift room-01 raised", "write-refused room-01 raised",
                                   "write-refused room-01 cleared", "drift room-01 cleared"}));

  // Removing the reference clears a standing drift; alarms restored after a restart are not
  // raised again.
  monitor_.SetReference(QStringLiteral("room-01"), QStringLiteral("00ff"));
  monitor_.SetReference(QStringLiteral("room-01"), std::nullopt);
  EXPECT_EQ(changes_.back(), QStringLiteral("drift room-01 cleared"));
  changes_.clear();
  AlarmMonitor restarted(
      {2 * kMinute, 10 * kMinute}, [this] { return now_; },
      [this](const Alarm& alarm) { changes_ << alarm.room; });
  restarted.Restore({{7, QStringLiteral("room-02"), AlarmKind::Offline, {}, 5, 0}});
  restarted.Observe(ViewOf(QStringLiteral("room-02"), false, now_ - 60 * kMinute, 0, {}), {});
  restarted.Tick();
  EXPECT_TRUE(changes_.isEmpty());
  restarted.Observe(ViewOf(QStringLiteral("room-02"), true, now_, 1, {}), {});
  EXPECT_EQ(changes_, QStringList{"room-02"});
}

}  // namespace
}  // namespace tavelo::hub
