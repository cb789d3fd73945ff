// Day-parts at venue scale: one day-part falling due for 100 rooms at once, timed from the
// tick that finds it due to each room's recall being taken, and the cost of the once-a-second
// tick when nothing is due. The rooms are a stand-in whose recall takes `link_ms` (the time a
// room's link needs to answer; 0 measures the scheduler alone). Run by hand:
//   build/bench/hub_schedule_bench
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QJsonDocument>
#include <chrono>
#include <thread>

#include "hub/schedule/Scheduler.h"

namespace tavelo::hub {
namespace {

using Steady = std::chrono::steady_clock;

class TimedRooms : public RoomAccess {
 public:
  TimedRooms(int count, int linkMs) : linkMs_(linkMs) {
    for (int i = 1; i <= count; ++i)
      views_.push_back(
          hub::ViewOf(QStringLiteral("room-%1").arg(i, 3, 10, QLatin1Char('0')), true, 0, 1, {}));
  }
  std::vector<RoomView> Rooms() const override { return views_; }
  std::optional<RoomView> Room(const QString&) const override { return std::nullopt; }
  std::optional<QByteArray> CurrentSet(const QString&) const override { return std::nullopt; }
  bool Write(const QString&, const std::vector<NamedEdit>&, const QString&, QString&) override {
    return true;
  }
  bool Recall(const QString&, int, const QString&, QString&) override {
    if (linkMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(linkMs_));
    done.push_back(Steady::now());
    return true;
  }
  std::vector<Steady::time_point> done;

 private:
  std::vector<RoomView> views_;
  int linkMs_;
};

DayPart EveryDay(const QString& name, const QString& time, int preset) {
  QString error;
  return *DayPartFromJson(
      QJsonDocument::fromJson(
          QStringLiteral(R"({"name": "%1", "time": "%2", "days": ["mon", "tue", "wed", "thu",
                            "fri", "sat", "sun"], "rooms": ["*"], "preset": %3})")
              .arg(name, time)
              .arg(preset)
              .toUtf8())
          .object(),
      error);
}

const qint64 kStart =
    QDateTime::fromString(QStringLiteral("2027-01-08T20:59:00Z"), Qt::ISODate).toMSecsSinceEpoch();

void BM_HundredRoomsRecallAtOnce(benchmark::State& state) {
  double lastMs = 0;
  for (auto _ : state) {
    TimedRooms rooms(100, static_cast<int>(state.range(0)));
    qint64 now = kStart;
    Scheduler scheduler(
        rooms, QTimeZone("Europe/Berlin"), [&] { return now; },
        [](const QString&) {
          return std::optional<std::map<QString, int>>(std::map<QString, int>{});
        },
        {});
    DayPart part = EveryDay(QStringLiteral("evening"), QStringLiteral("22:00"), 3);
    part.created = kStart;
    scheduler.SetParts({part});
    scheduler.Tick();
    now += 60 * 1000;  // 22:00 in Berlin
    const auto begin = Steady::now();
    scheduler.Tick();
    if (rooms.done.size() != 100) state.SkipWithError("not every room was recalled");
    lastMs = std::chrono::duration<double, std::milli>(rooms.done.back() - begin).count();
  }
  state.counters["last_recall_ms"] = lastMs;
}
BENCHMARK(BM_HundredRoomsRecallAtOnce)->Arg(0)->Arg(5)->Arg(15)->Unit(benchmark::kMillisecond);

void BM_IdleTickHundredRoomsTwentyDayParts(benchmark::State& state) {
  TimedRooms rooms(100, 0);
  qint64 now = kStart;
  Scheduler scheduler(
      rooms, QTimeZone("Europe/Berlin"), [&] { return now; },
      [](const QString&) {
        return std::optional<std::map<QString, int>>(std::map<QString, int>{});
      },
      {});
  std::vector<DayPart> parts;
  for (int i = 0; i < 20; ++i) {
    parts.push_back(EveryDay(QStringLiteral("part-%1").arg(i),
                             QTime(i, 30).toString(QStringLiteral("HH:mm")), 1 + i % 10));
    parts.back().created = kStart - 9LL * 24 * 3600 * 1000;
  }
  scheduler.SetParts(parts);
  scheduler.Tick();  // the rooms take what is in force
  for (auto _ : state) {
    now += 1000;
    scheduler.Tick();
  }
}
BENCHMARK(BM_IdleTickHundredRoomsTwentyDayParts)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavelo::hub
