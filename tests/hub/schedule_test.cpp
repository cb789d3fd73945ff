// Day-parts fired by a clock the test moves: once a day across both clock changes in
// Europe/Berlin, a room away when its day-part fell due catching up on the one in force,
// overlapping day-parts settled in one order, caps held, and the dry run's listing.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

#include "HubTestSupport.h"
#include "StandInVenue.h"
#include "hub/ApiSchedules.h"
#include "hub/schedule/DueTime.h"
#include "hub/schedule/Scheduler.h"

namespace tavelo::hub {
namespace {

const QTimeZone kBerlin("Europe/Berlin");

qint64 Utc(const char* iso) {
  return QDateTime::fromString(QLatin1String(iso), Qt::ISODate).toMSecsSinceEpoch();
}

QString Local(qint64 instant) {
  return QDateTime::fromMSecsSinceEpoch(instant, kBerlin).toString(Qt::ISODate);
}

DayPart Part(const char* json) {
  QString error;
  auto part = DayPartFromJson(QJsonDocument::fromJson(json).object(), error);
  EXPECT_TRUE(part) << json << ": " << error.toStdString();
  return part.value_or(DayPart{});
}

class ScheduleTest : public ::testing::Test {
 protected:
  ScheduleTest()
      : venue_({QStringLiteral("room-01"), QStringLiteral("room-02")}),
        scheduler_(
            venue_, kBerlin, [this] { return now_; },
            [this](const QString& room) -> std::optional<std::map<QString, int>> {
              return caps_[room];
            },
            [this](const FiringReport& report) { reports_.push_back(report); }) {}

  // Moves the clock to `until` a minute at a time, ticking at each step.
  void RunUntil(qint64 until) {
    while (now_ < until) {
      now_ = std::min(until, now_ + 60 * 1000);
      scheduler_.Tick();
    }
  }
  std::vector<FiringReport> ReportsFor(const QString& room) const {
    std::vector<FiringReport> out;
    for (const FiringReport& report : reports_)
      if (report.room == room) out.push_back(report);
    return out;
  }

  qint64 now_ = 0;
  hubtest::StandInVenue venue_;
  std::map<QString, std::map<QString, int>> caps_;
  std::vector<FiringReport> reports_;
  Scheduler scheduler_;
};

TEST(DueTimeTest, ClockChangesNeitherRepeatNorSkipATime) {
  ASSERT_TRUE(kBerlin.isValid());
  // An ordinary winter and summer day.
  EXPECT_EQ(DueInstant(QDate(2027, 1, 10), QTime(22, 0), kBerlin), Utc("2027-01-10T21:00:00Z"));
  EXPECT_EQ(DueInstant(QDate(2027, 7, 10), QTime(22, 0), kBerlin), Utc("2027-07-10T20:00:00Z"));
  // 28 March 2027: 02:00 becomes 03:00, so 02:30 never happens: due at 03:00 local.
  EXPECT_EQ(DueInstant(QDate(2027, 3, 28), QTime(2, 30), kBerlin), Utc("2027-03-28T01:00:00Z"));
  EXPECT_EQ(DueInstant(QDate(2027, 3, 28), QTime(3, 0), kBerlin), Utc("2027-03-28T01:00:00Z"));
  EXPECT_EQ(DueInstant(QDate(2027, 3, 28), QTime(1, 59), kBerlin), Utc("2027-03-28T00:59:00Z"));
  // 31 October 2027: 03:00 becomes 02:00, so 02:30 happens twice: the first one counts.
  EXPECT_EQ(DueInstant(QDate(2027, 10, 31), QTime(2, 30), kBerlin), Utc("2027-10-31T00:30:00Z"));
  EXPECT_EQ(DueInstant(QDate(2027, 10, 31), QTime(3, 0), kBerlin), Utc("2027-10-31T02:00:00Z"));
  // A zone far from UTC: the local date decides the day, not the UTC one.
  const QTimeZone auckland("Pacific/Auckland");
  DayPart monday = Part(R"({"name": "m", "time": "08:00", "days": ["mon"], "rooms": ["*"],
                            "preset": 1})");
  const auto dues =
      DueInstants(monday, auckland, Utc("2027-01-03T00:00:00Z"), Utc("2027-01-05T00:00:00Z"));
  ASSERT_EQ(dues.size(), 1u);
  EXPECT_EQ(dues[0], Utc("2027-01-03T19:00:00Z"));  // Monday 08:00 at +13:00
}

TEST_F(ScheduleTest, AWeekAcrossEachClockChangeFiresOnceADay) {
  for (const char* start : {"2027-03-24T12:00:00Z", "2027-10-27T12:00:00Z"}) {
    reports_.clear();
    now_ = Utc(start);
    DayPart part = Part(R"({"name": "night", "time": "02:30",
                            "days": ["mon", "tue", "wed", "thu", "fri", "sat", "sun"],
                            "rooms": ["room-01"], "preset": 4})");
    part.created = now_;
    scheduler_.SetParts({part});
    RunUntil(now_ + 7LL * 24 * 3600 * 1000);
    std::vector<QString> fired;
    for (const FiringReport& report : ReportsFor(QStringLiteral("room-01"))) {
      EXPECT_EQ(report.kind, FiringReport::Kind::OnTime) << Local(report.due).toStdString();
      EXPECT_LT(report.time - report.due, 60 * 1000);
      fired.push_back(Local(report.due));
    }
    ASSERT_EQ(fired.size(), 7u) << start;
    if (QLatin1String(start).startsWith(QLatin1String("2027-03"))) {
      EXPECT_EQ(fired[3], QStringLiteral("2027-03-28T03:00:00+02:00"));  // after the gap
      EXPECT_EQ(fired[4], QStringLiteral("2027-03-29T02:30:00+02:00"));
    } else {
      EXPECT_EQ(fired[3], QStringLiteral("2027-10-31T02:30:00+02:00"));  // the first 02:30
      EXPECT_EQ(fired[4], QStringLiteral("2027-11-01T02:30:00+01:00"));
    }
  }
}

TEST_F(ScheduleTest, ARoomAwayGetsTheDayPartInForceWhenBackAndNothingTwice) {
  now_ = Utc("2027-01-08T18:00:00Z");  // Friday 19:00 in Berlin
  DayPart evening = Part(R"({"name": "evening", "time": "22:00", "days": ["fri"],
                             "rooms": ["*"], "preset": 3})");
  DayPart night = Part(R"({"name": "night", "time": "23:00", "days": ["fri"],
                           "rooms": ["*"], "preset": 5, "lock": true})");
  evening.created = night.created = now_;
  scheduler_.SetParts({evening, night});
  venue_.rooms[QStringLiteral("room-02")].view.online = false;

  RunUntil(Utc("2027-01-08T22:30:00Z"));  // 23:30 local: both fell due while room-02 was away
  venue_.rooms[QStringLiteral("room-02")].view.online = true;
  RunUntil(Utc("2027-01-09T06:00:00Z"));

  EXPECT_EQ(venue_.log, (QStringList{"room-01 recall 3", "room-01 recall 5", "room-01 lock",
                                     "room-02 recall 5", "room-02 lock"}));
  const auto away = ReportsFor(QStringLiteral("room-02"));
  ASSERT_EQ(away.size(), 3u);
  EXPECT_EQ(away[0].kind, FiringReport::Kind::Waiting);
  EXPECT_EQ(away[0].part, QStringLiteral("evening"));
  EXPECT_EQ(away[1].kind, FiringReport::Kind::Waiting);
  EXPECT_EQ(away[2].kind, FiringReport::Kind::CatchUp);
  EXPECT_EQ(away[2].part, QStringLiteral("night"));
  EXPECT_EQ(away[2].due, Utc("2027-01-08T22:00:00Z"));
  EXPECT_EQ(away[2].detail, QStringLiteral("preset 5; locked"));

  // A restart with what the rooms received repeats nothing.
  reports_.clear();
  Scheduler again(
      venue_, kBerlin, [this] { return now_; },
      [](const QString&) {
        return std::optional<std::map<QString, int>>(std::map<QString, int>{});
      },
      [this](const FiringReport& report) { reports_.push_back(report); });
  again.SetParts({evening, night});
  again.RestoreApplied(scheduler_.Applied());
  again.Tick();
  EXPECT_TRUE(reports_.empty());

  // Removing the day-part in force brings nothing older back.
  scheduler_.SetParts({evening});
  RunUntil(now_ + 3600 * 1000);
  EXPECT_TRUE(reports_.empty());
  EXPECT_EQ(venue_.log.size(), 5);
}

TEST_F(ScheduleTest, AFailedStepIsRetriedAloneAndGivenUpAfterSomeTries) {
  now_ = Utc("2027-01-08T18:00:00Z");
  DayPart closing = Part(R"({"name": "closing", "time": "20:00", "days": ["fri"],
                             "rooms": ["room-01"], "preset": 1, "lock": true})");
  closing.created = now_;
  scheduler_.SetParts({closing});
  venue_.lockRefused = true;
  RunUntil(Utc("2027-01-08T21:00:00Z"));
  // The recall went once; the lock was tried until given up, and reported twice only.
  EXPECT_EQ(venue_.log, QStringList{"room-01 recall 1"});
  const auto reports = ReportsFor(QStringLiteral("room-01"));
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].kind, FiringReport::Kind::Failed);
  EXPECT_TRUE(reports[1].detail.startsWith(QStringLiteral("given up after 5 tries")))
      << reports[1].detail.toStdString();
}

// Recalls answered later, from the event loop, as the rooms' links answer them.
class SlowVenue : public hubtest::StandInVenue {
 public:
  using StandInVenue::StandInVenue;
  void RecallThen(const QString& name, int preset,
                  std::function<void(const UploadResult&)> done) override {
    log << name + QStringLiteral(" start");
    if (during) QTimer::singleShot(0, during);
    QTimer::singleShot(30, [this, name, preset, done] {
      QString error;
      const bool ok = Recall(name, preset, QString(), error);
      done({ok, error, {}});
    });
  }
  std::function<void()> during;
};

TEST(ScheduleAtOnceTest, EveryRoomsRecallStartsBeforeAnyIsAnsweredAndNoneTwice) {
  hubtest::App();  // the answers come from the event loop
  qint64 now = Utc("2027-01-08T18:59:00Z");
  SlowVenue venue(
      {QStringLiteral("room-01"), QStringLiteral("room-02"), QStringLiteral("room-03")});
  std::vector<FiringReport> reports;
  Scheduler scheduler(
      venue, kBerlin, [&now] { return now; },
      [](const QString&) -> std::optional<std::map<QString, int>> {
        return std::map<QString, int>{};
      },
      [&reports](const FiringReport& report) { reports.push_back(report); });
  DayPart evening = Part(R"({"name": "evening", "time": "20:00", "days": ["fri"],
                             "rooms": ["*"], "preset": 4, "values": {"music.volume": 30}})");
  evening.created = now;
  scheduler.SetParts({evening});
  // A tick that comes while the rooms are awaited starts nothing more.
  venue.during = [&scheduler] { scheduler.Tick(); };
  now = Utc("2027-01-08T19:00:30Z");
  scheduler.Tick();
  ASSERT_GE(venue.log.size(), 6);
  EXPECT_EQ(venue.log.mid(0, 3), (QStringList{"room-01 start", "room-02 start", "room-03 start"}));
  EXPECT_EQ(venue.log.filter(QStringLiteral("start")).size(), 3);
  EXPECT_EQ(venue.log.filter(QStringLiteral("recall 4")).size(), 3);
  EXPECT_EQ(venue.log.filter(QStringLiteral("write")).size(), 3);
  ASSERT_EQ(reports.size(), 3u);
  for (const FiringReport& report : reports) {
    EXPECT_EQ(report.kind, FiringReport::Kind::OnTime);
    EXPECT_EQ(report.detail, QStringLiteral("preset 4; music.volume 30"));
  }
}

TEST_F(ScheduleTest, OverlapsFollowOneOrderAndRefusalsAreReported) {
  now_ = Utc("2027-01-08T10:00:00Z");  // Friday 11:00
  std::vector<DayPart> parts = {
      Part(R"({"name": "friday", "time": "12:00", "days": ["fri"], "rooms": ["*"], "preset": 2})"),
      Part(R"({"name": "afternoon", "time": "14:00", "days": ["fri"], "rooms": ["*"],
               "preset": 6})"),
      // Same instant: the higher priority wins in room-01; in room-02 the name first in order.
      Part(R"({"name": "zz-event", "time": "18:00", "days": ["fri"], "rooms": ["room-01"],
               "preset": 9, "priority": 5})"),
      Part(R"({"name": "quiet", "time": "18:00", "days": ["fri"], "rooms": ["*"],
               "values": {"music.volume": 60}})"),
      Part(R"({"name": "later", "time": "18:00", "days": ["fri"], "rooms": ["room-02"],
               "preset": 8})"),
  };
  for (DayPart& part : parts) part.created = now_;
  caps_[QStringLiteral("room-02")] = {{QStringLiteral("music.volume"), 50}};
  scheduler_.SetParts(parts);
  venue_.failuresLeft = 1;  // room-01's first recall at 12:00 is refused, then retried
  RunUntil(Utc("2027-01-08T18:00:00Z"));

  EXPECT_EQ(venue_.log, (QStringList{"room-02 recall 2", "room-01 recall 2", "room-01 recall 6",
                                     "room-02 recall 6", "room-01 recall 9", "room-02 recall 8"}));
  const auto first = ReportsFor(QStringLiteral("room-01"));
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(first[0].kind, FiringReport::Kind::Failed);
  EXPECT_TRUE(first[0].detail.contains(QStringLiteral("did not answer")));
  EXPECT_EQ(first[1].kind, FiringReport::Kind::CatchUp);  // taken on the retry a minute later

  // A value above a room's cap is not sent there, and the report says why.
  venue_.log.clear();
  DayPart quieter = parts[3];
  quieter.at = QTime(19, 30);
  scheduler_.SetParts({quieter});
  RunUntil(Utc("2027-01-08T18:30:00Z"));
  EXPECT_EQ(venue_.log, QStringList{"room-01 write music.volume=60"});
  const auto capped = ReportsFor(QStringLiteral("room-02")).back();
  EXPECT_EQ(capped.kind, FiringReport::Kind::OnTime);
  EXPECT_TRUE(capped.detail.contains(QStringLiteral("values not sent")))
      << capped.detail.toStdString();
  EXPECT_TRUE(capped.detail.contains(QStringLiteral("at most 50")));
}

TEST(DryRunTest, ListsTheNextSevenDaysRoomByRoom) {
  std::vector<DayPart> parts = {
      Part(R"({"name": "evening", "time": "22:00", "days": ["fri", "sat"], "rooms": ["*"],
               "preset": 3, "values": {"music.volume": 60}})"),
      Part(R"({"name": "party", "time": "22:00", "days": ["sat"], "rooms": ["room-02"],
               "preset": 7, "priority": 1})"),
      Part(R"({"name": "nye", "time": "02:30", "dates": ["2027-03-28"], "rooms": ["room-01"],
               "lock": true})"),
      Part(R"({"name": "off", "time": "09:00", "days": ["mon"], "rooms": ["*"], "preset": 1,
               "enabled": false})"),
  };
  const QJsonObject plan = DryRunJson(parts, {QStringLiteral("room-01"), QStringLiteral("room-02")},
                                      kBerlin, Utc("2027-03-22T00:00:00Z"), 7);
  EXPECT_EQ(plan.value(QStringLiteral("time_zone")).toString(), QStringLiteral("Europe/Berlin"));
  const QJsonArray rooms = plan.value(QStringLiteral("rooms")).toArray();
  ASSERT_EQ(rooms.size(), 2);
  auto lines = [&](int room) {
    QStringList out;
    for (const QJsonValue value :
         rooms[room].toObject().value(QStringLiteral("firings")).toArray()) {
      const QJsonObject firing = value.toObject();
      out << firing.value(QStringLiteral("due")).toString() + QLatin1Char(' ') +
                 firing.value(QStringLiteral("schedule")).toString() + QLatin1Char(' ') +
                 (firing.contains(QStringLiteral("outranked_by"))
                      ? QStringLiteral("<") +
                            firing.value(QStringLiteral("outranked_by")).toString()
                      : firing.value(QStringLiteral("actions")).toString());
    }
    return out;
  };
  EXPECT_EQ(rooms[0].toObject().value(QStringLiteral("room")).toString(),
            QStringLiteral("room-01"));
  EXPECT_EQ(lines(0), (QStringList{"2027-03-26T22:00:00+01:00 evening preset 3; music.volume 60",
                                   "2027-03-27T22:00:00+01:00 evening preset 3; music.volume 60",
                                   "2027-03-28T03:00:00+02:00 nye lock"}));
  EXPECT_EQ(lines(1), (QStringList{"2027-03-26T22:00:00+01:00 evening preset 3; music.volume 60",
                                   "2027-03-27T22:00:00+01:00 party preset 7",
                                   "2027-03-27T22:00:00+01:00 evening <party"}));
}

TEST(DayPartTest, RefusalsSayWhichFieldAndHow) {
  struct Case {
    const char* json;
    const char* says;
  };
  const Case cases[] = {
      {R"({"name": "", "time": "22:00", "days": ["fri"], "rooms": ["*"], "preset": 1})", "name"},
      {R"({"name": "a", "time": "24:00", "days": ["fri"], "rooms": ["*"], "preset": 1})", "HH:MM"},
      {R"({"name": "a", "time": "22:00", "days": ["friday"], "rooms": ["*"], "preset": 1})",
       "weekdays"},
      {R"({"name": "a", "time": "22:00", "dates": ["2027-02-30"], "rooms": ["*"], "preset": 1})",
       "YYYY-MM-DD"},
      {R"({"name": "a", "time": "22:00", "rooms": ["*"], "preset": 1})", "\"days\""},
      {R"({"name": "a", "time": "22:00", "days": ["fri"], "rooms": [], "preset": 1})", "rooms"},
      {R"({"name": "a", "time": "22:00", "days": ["fri"], "rooms": ["*"], "preset": 11})", "1..10"},
      {R"({"name": "a", "time": "22:00", "days": ["fri"], "rooms": ["*"],
           "values": {"music.volume": 85}})",
       "music.volume"},
      {R"({"name": "a", "time": "22:00", "days": ["fri"], "rooms": ["*"]})", "does nothing"},
      {R"({"name": "a", "time": "22:00", "days": ["fri"], "rooms": ["*"], "lock": "yes"})",
       "true or false"},
      {R"({"name": "a", "time": "22:00", "days": ["fri"], "rooms": ["*"], "preset": 1,
           "when": 1})",
       "unknown field"},
  };
  for (const Case& c : cases) {
    QString error;
    EXPECT_FALSE(DayPartFromJson(QJsonDocument::fromJson(c.json).object(), error)) << c.json;
    EXPECT_TRUE(error.contains(QLatin1String(c.says))) << c.json << " -> " << error.toStdString();
  }
  // What is written back reads back the same.
  const DayPart part = Part(R"({"name": "x", "time": "07:05", "days": ["sun", "mon"],
                                "dates": ["2027-12-24"], "rooms": ["a", "b"], "preset": 2,
                                "values": {"mute": "on"}, "lock": false, "priority": -3})");
  QString error;
  const auto again = DayPartFromJson(DayPartToJson(part), error);
  ASSERT_TRUE(again) << error.toStdString();
  EXPECT_EQ(DayPartToJson(*again), DayPartToJson(part));
  EXPECT_EQ(again->weekdays, 0b1000001u);
}

}  // namespace
}  // namespace tavelo::hub
