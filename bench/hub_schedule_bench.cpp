// Day-parts at venue scale: one day-part falling due for 100 rooms at once, timed from the
// tick that finds it due to each room's recall being taken, and the cost of the once-a-second
// tick when nothing is due. The rooms are a stand-in whose recall takes `link_ms` (the time a
// room's link needs to answer; 0 measures the scheduler alone), and 100 processors of
// tavelo-sim on loopback watched by the service's own live rooms. Run by hand:
//   build/bench/hub_schedule_bench
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <thread>

#include "hub/Database.h"
#include "hub/Store.h"
#include "hub/rooms/LiveRooms.h"
#include "hub/rooms/NestedWait.h"
#include "hub/schedule/Scheduler.h"

namespace tavelo::hub {
namespace {

using Steady = std::chrono::steady_clock;

// The answers of rooms come from the event loop.
QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "hub_schedule_bench";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

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
  // Each room's link answers `link_ms` after it was asked, all links at once.
  void RecallThen(const QString&, int, std::function<void(const UploadResult&)> answer) override {
    QTimer::singleShot(linkMs_, [this, answer] {
      done.push_back(Steady::now());
      answer({true, {}, {}});
    });
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
  App();
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

#ifdef TAVELO_SIM_PATH
// The real thing: 100 simulated processors, each room on its own link, one day-part for all.
void BM_HundredSimulatedRoomsRecallAtOnce(benchmark::State& state) {
  App();
  constexpr int kRooms = 100;
  QTemporaryDir dir;
  QProcess sim;
  sim.start(QStringLiteral(TAVELO_SIM_PATH),
            {QStringLiteral("--listen"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
             QStringLiteral("0"), QStringLiteral("--count"), QString::number(kRooms)});
  QString out;
  for (QDeadlineTimer limit(30000); !out.contains(QStringLiteral("processors listening")) &&
                                    !limit.hasExpired() && sim.waitForReadyRead(1000);)
    out += QString::fromUtf8(sim.readAllStandardOutput());
  Database db;
  DatabaseLocation location;
  location.file = dir.filePath(QStringLiteral("hub.sqlite"));
  QString error;
  if (!db.Open(location, error)) {
    state.SkipWithError(error.toStdString().c_str());
    return;
  }
  Store store(db);
  static const QRegularExpression kLine(
      QStringLiteral("^processor (\\d+): listening on 127\\.0\\.0\\.1:(\\d+)$"),
      QRegularExpression::MultilineOption);
  for (auto it = kLine.globalMatch(out); it.hasNext();) {
    const auto match = it.next();
    store.PutRoom(QStringLiteral("room-%1").arg(match.captured(1).toInt(), 3, 10, QLatin1Char('0')),
                  QStringLiteral("127.0.0.1"), match.captured(2).toInt());
  }
  qint64 now = kStart;
  LiveRooms live(
      store, [] { return QDateTime::currentMSecsSinceEpoch(); }, 600);
  if (!live.Start(error) || !WaitUntil(
                                [&live] {
                                  for (const RoomView& room : live.Rooms())
                                    if (!room.online) return false;
                                  return live.Rooms().size() == kRooms;
                                },
                                60000)) {
    state.SkipWithError("not every simulated room came online");
    return;
  }
  double worstMs = 0;
  int preset = 2;
  for (auto _ : state) {
    Scheduler scheduler(
        live, QTimeZone("Europe/Berlin"), [&] { return now; },
        [](const QString&) {
          return std::optional<std::map<QString, int>>(std::map<QString, int>{});
        },
        {});
    preset = preset % 10 + 1;
    DayPart part = EveryDay(QStringLiteral("evening"), QStringLiteral("22:00"), preset);
    part.created = now;
    scheduler.SetParts({part});
    scheduler.Tick();
    now += 60 * 1000;
    const auto begin = Steady::now();
    scheduler.Tick();  // returns once every room has answered
    const double ms = std::chrono::duration<double, std::milli>(Steady::now() - begin).count();
    worstMs = std::max(worstMs, ms);
    for (const RoomView& room : live.Rooms())
      if (room.preset != preset) state.SkipWithError("a room did not take its preset");
    now += 24LL * 3600 * 1000 - 60 * 1000;  // the same time the next day
  }
  state.counters["worst_all_recalled_ms"] = worstMs;
  sim.terminate();
  sim.waitForFinished(5000);
}
BENCHMARK(BM_HundredSimulatedRoomsRecallAtOnce)->Iterations(5)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace tavelo::hub
