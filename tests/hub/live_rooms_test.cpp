// The service's live rooms against tavelo-sim on loopback, with both databases: rooms come
// online with their preset, writes reach the processor only when role and caps allow them,
// a change another program makes is found, kept and announced, a rollback puts the exact
// bytes back, a roll-out stops at the room that fails, and a dropped room returns.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTest>
#include <QWebSocket>
#include <memory>

#include "HubTestSupport.h"
#include "SimVenue.h"
#include "StandInVenue.h"
#include "core/presets/ParamFile.h"
#include "core/sim/VirtualProcessor.h"
#include "hub/Accounts.h"
#include "hub/Api.h"
#include "hub/Database.h"
#include "hub/HttpFront.h"
#include "hub/alarms/AlarmMonitor.h"
#include "hub/alarms/WatchedRooms.h"
#include "hub/rooms/LiveRooms.h"
#include "hub/rooms/Rollouts.h"
#include "platform/SimServer.h"

namespace tavelo::hub {
namespace {

using hubtest::RunCliAt;
using hubtest::SimVenue;
using hubtest::WithValue;

constexpr int kOnlineLimitMs = 15000;

qint64 Now() {
  return QDateTime::currentMSecsSinceEpoch();
}

QJsonObject ObjectOf(const ApiReply& reply) {
  return QJsonDocument::fromJson(reply.body).object();
}

class LiveRoomsTest : public hubtest::BothDatabasesWithStore {
 protected:
  void SetUp() override {
    BothDatabasesWithStore::SetUp();
    if (HasFatalFailure()) return;
    QString error;
    ASSERT_TRUE(accounts_->AddUser(QStringLiteral("ian"), Role::Installer, QStringLiteral("pw-i"),
                                   0, error));
    ASSERT_TRUE(
        accounts_->AddUser(QStringLiteral("sam"), Role::Staff, QStringLiteral("pw-s"), 0, error));
  }

  void TearDown() override {
    front_.reset();
    rollouts_.reset();
    api_.reset();
    rooms_.reset();
  }

  // Rooms room-0.. at the given ports, watched with the given reread and probe intervals.
  void Watch(const std::vector<int>& ports, int rereadSeconds,
             int probeMs = LiveRooms::kDefaultProbeMs) {
    for (std::size_t k = 0; k < ports.size(); ++k)
      ASSERT_TRUE(
          store_->PutRoom(Name(static_cast<int>(k)), QStringLiteral("127.0.0.1"), ports[k]));
    rooms_ = std::make_unique<LiveRooms>(*store_, Now, rereadSeconds, probeMs);
    api_ = std::make_unique<Api>(*store_, *accounts_, *rooms_, Now);
    rollouts_ = std::make_unique<Rollouts>(*store_, *rooms_, Now);
    api_->SetRollouts(rollouts_.get());
    front_ = std::make_unique<HttpFront>(*api_, *accounts_, Now);
    const auto publish = [this](const QJsonObject& event) {
      events_.push_back(event);
      front_->Publish(event);
    };
    api_->SetEventSink(publish);
    rooms_->SetEventSink(publish);
    rollouts_->SetEventSink(publish);
    auto* server = new QTcpServer(front_.get());
    ASSERT_TRUE(server->listen(QHostAddress::LocalHost, 0));
    front_->bind(server);
    httpPort_ = server->serverPort();
    QString error;
    ASSERT_TRUE(rooms_->Start(error)) << error.toStdString();
    installer_ = Login("ian", "pw-i");
    staff_ = Login("sam", "pw-s");
  }

  static QString Name(int k) { return QStringLiteral("room-%1").arg(k); }

  bool AllOnline() {
    return QTest::qWaitFor(
        [this] {
          for (const RoomView& room : rooms_->Rooms())
            if (!room.online) return false;
          return true;
        },
        kOnlineLimitMs);
  }

  QByteArray Login(const char* user, const char* password) {
    const ApiReply reply = Call("POST", "/api/v1/session", {},
                                QStringLiteral(R"({"user": "%1", "password": "%2"})")
                                    .arg(QLatin1String(user), QLatin1String(password))
                                    .toUtf8());
    EXPECT_EQ(reply.status, 200) << reply.body.toStdString();
    return ObjectOf(reply).value(QStringLiteral("token")).toString().toLatin1();
  }
  ApiReply Call(const QByteArray& method, const QString& path, const QByteArray& token,
                const QByteArray& body = {}) {
    return api_->Handle({method, path, token.isEmpty() ? QByteArray() : "Bearer " + token, body,
                         QStringLiteral("127.0.0.1")});
  }
  QJsonArray History(int k) {
    return QJsonDocument::fromJson(
               Call("GET", QStringLiteral("/api/v1/rooms/%1/history").arg(Name(k)), installer_)
                   .body)
        .array();
  }
  // The value the processor itself reports, read by another program.
  static QJsonValue ShownBy(int port, const QString& name) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pulled.par"));
    const auto pull = RunCliAt(port, {QStringLiteral("pull"), file});
    EXPECT_EQ(pull.exitCode, 0) << pull.err.toStdString();
    const auto show = hubtest::RunCli({QStringLiteral("show"), file, QStringLiteral("--json")});
    return QJsonDocument::fromJson(show.out.toUtf8()).object().value(name);
  }

  std::unique_ptr<LiveRooms> rooms_;
  std::unique_ptr<Api> api_;
  std::unique_ptr<Rollouts> rollouts_;
  std::unique_ptr<HttpFront> front_;
  std::vector<QJsonObject> events_;
  int httpPort_ = 0;
  QByteArray installer_;
  QByteArray staff_;
};

TEST_P(LiveRoomsTest, RoomsComeOnlineAndOnlyAllowedWritesReachTheProcessor) {
  SimVenue sim(2);
  ASSERT_TRUE(sim.Started());
  Watch(sim.Ports(), 600);
  ASSERT_TRUE(AllOnline());
  const QJsonArray rooms =
      QJsonDocument::fromJson(Call("GET", "/api/v1/rooms", staff_).body).array();
  ASSERT_EQ(rooms.size(), 2);
  for (const QJsonValue& room : rooms) {
    EXPECT_TRUE(room[QStringLiteral("online")].toBool());
    EXPECT_EQ(room[QStringLiteral("preset")].toInt(), 1);
    EXPECT_EQ(room[QStringLiteral("preset_name")].toString(), QStringLiteral("USER 1"));
    EXPECT_GE(room[QStringLiteral("volumes")][QStringLiteral("music")].toInt(), 0);
  }
  // The first read of each room is its first version.
  EXPECT_EQ(History(0).at(0)[QStringLiteral("source")].toString(), QStringLiteral("connect"));
  EXPECT_TRUE(History(0).at(0)[QStringLiteral("user")].isNull());

  ASSERT_EQ(Call("PUT", "/api/v1/rooms/room-0/caps", installer_, R"({"music.volume": 50})").status,
            200);
  const std::size_t before = sim.Requests(0).size();
  // Over the cap, or a name staff may not touch: refused, and the processor hears nothing.
  EXPECT_EQ(Call("PATCH", "/api/v1/rooms/room-0/values", staff_, R"({"music.volume": 60})").status,
            403);
  EXPECT_EQ(Call("PATCH", "/api/v1/rooms/room-0/values", staff_,
                 R"({"music.volume": 40, "reverb.level": 10})")
                .status,
            403);
  QTest::qWait(200);
  EXPECT_EQ(sim.Requests(0).size(), before);

  const ApiReply staffWrite =
      Call("PATCH", "/api/v1/rooms/room-0/values", staff_, R"({"music.volume": 45})");
  ASSERT_EQ(staffWrite.status, 200) << staffWrite.body.toStdString();
  EXPECT_EQ(ObjectOf(staffWrite).value(QStringLiteral("music.volume")).toInt(), 45);
  EXPECT_GT(sim.Requests(0).size(), before);
  EXPECT_EQ(ShownBy(sim.Ports()[0], QStringLiteral("music.volume")).toInt(), 45);
  const ApiReply installerWrite =
      Call("PATCH", "/api/v1/rooms/room-0/values", installer_, R"({"reverb.level": 33})");
  ASSERT_EQ(installerWrite.status, 200) << installerWrite.body.toStdString();
  EXPECT_EQ(ShownBy(sim.Ports()[0], QStringLiteral("reverb.level"))
                .toObject()[QStringLiteral("level")]
                .toInt(),
            33);
  // Each write the processor took is a version of its own.
  const QJsonArray history = History(0);
  ASSERT_GE(history.size(), 3);
  EXPECT_EQ(history.at(0)[QStringLiteral("source")].toString(), QStringLiteral("write"));
  // Each carries the user who made it.
  EXPECT_EQ(history.at(0)[QStringLiteral("user")].toString(), QStringLiteral("ian"));
  EXPECT_EQ(history.at(1)[QStringLiteral("user")].toString(), QStringLiteral("sam"));
  EXPECT_EQ(
      history.at(0)[QStringLiteral("changes")].toArray().at(0)[QStringLiteral("name")].toString(),
      QStringLiteral("reverb.level"));
  // The other room was left alone.
  EXPECT_EQ(History(1).size(), 1);

  const ApiReply recall = Call("POST", "/api/v1/rooms/room-1/recall", staff_, R"({"preset": 4})");
  ASSERT_EQ(recall.status, 200) << recall.body.toStdString();
  EXPECT_EQ(ObjectOf(recall).value(QStringLiteral("preset")).toInt(), 4);
  EXPECT_EQ(History(1).at(0)[QStringLiteral("source")].toString(), QStringLiteral("recall"));
  EXPECT_EQ(History(1).at(0)[QStringLiteral("user")].toString(), QStringLiteral("sam"));
}

TEST_P(LiveRoomsTest, AnOutsideChangeIsKeptAnnouncedAndRolledBack) {
  SimVenue sim(1);
  ASSERT_TRUE(sim.Started());
  // No reread within the test: the probe alone finds the change.
  Watch(sim.Ports(), 3600);
  ASSERT_TRUE(AllOnline());
  QWebSocket socket;
  QStringList received;
  QObject::connect(&socket, &QWebSocket::textMessageReceived,
                   [&received](const QString& text) { received << text; });
  socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/v1/events?token=%2")
                       .arg(httpPort_)
                       .arg(QString::fromLatin1(installer_))));
  ASSERT_TRUE(QTest::qWaitFor([&] { return front_->EventClients() == 1; }, 5000));
  const qint64 first = History(0).at(0)[QStringLiteral("id")].toInteger();
  const QByteArray original = *rooms_->CurrentSet(Name(0));
  const QJsonValue originalVolume = ShownBy(sim.Ports()[0], QStringLiteral("music.volume"));
  ASSERT_NE(originalVolume.toInt(), 20);

  const auto set =
      RunCliAt(sim.Ports()[0], {QStringLiteral("set"), QStringLiteral("reverb.level=41"),
                                QStringLiteral("music.volume=20")});
  ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
  QJsonObject outside;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        for (const QString& text : received) {
          const QJsonObject event = QJsonDocument::fromJson(text.toUtf8()).object();
          if (event[QStringLiteral("source")].toString() == QStringLiteral("outside"))
            outside = event;
        }
        return !outside.isEmpty();
      },
      5000));
  EXPECT_EQ(outside[QStringLiteral("room")].toString(), Name(0));
  const QJsonObject values = outside[QStringLiteral("values")].toObject();
  EXPECT_EQ(values[QStringLiteral("music.volume")].toInt(), 20);
  EXPECT_EQ(values[QStringLiteral("reverb.level")][QStringLiteral("level")].toInt(), 41);
  EXPECT_EQ(values.size(), 2);
  const QJsonObject latest = History(0).at(0).toObject();
  EXPECT_EQ(latest[QStringLiteral("source")].toString(), QStringLiteral("outside"));
  EXPECT_TRUE(latest[QStringLiteral("user")].isNull());
  EXPECT_EQ(latest[QStringLiteral("changes")].toArray().size(), 2);

  const ApiReply staffTry = Call("POST", "/api/v1/rooms/room-0/rollback", staff_,
                                 QStringLiteral(R"({"version": %1})").arg(first).toUtf8());
  EXPECT_EQ(staffTry.status, 403);
  EXPECT_EQ(
      Call("POST", "/api/v1/rooms/room-0/rollback", installer_, R"({"version": 999999})").status,
      404);
  const ApiReply rollback = Call("POST", "/api/v1/rooms/room-0/rollback", installer_,
                                 QStringLiteral(R"({"version": %1})").arg(first).toUtf8());
  ASSERT_EQ(rollback.status, 200) << rollback.body.toStdString();
  EXPECT_TRUE(ObjectOf(rollback).value(QStringLiteral("verified")).toBool());
  EXPECT_EQ(*rooms_->CurrentSet(Name(0)), original);
  // Another program reads back what the room held before the outside change.
  EXPECT_EQ(ShownBy(sim.Ports()[0], QStringLiteral("music.volume")), originalVolume);
  EXPECT_EQ(History(0).at(0)[QStringLiteral("source")].toString(), QStringLiteral("rollback"));
  EXPECT_EQ(History(0).at(0)[QStringLiteral("user")].toString(), QStringLiteral("ian"));
  // Its own writes are never mistaken for another program's.
  QTest::qWait(1500);
  EXPECT_EQ(History(0).at(0)[QStringLiteral("source")].toString(), QStringLiteral("rollback"));
  const auto audit = store_->AuditLog(Name(0), 10);
  ASSERT_TRUE(audit && !audit->empty());
  EXPECT_EQ(audit->front().name, QStringLiteral("rollback"));
}

// Versions of the stored presets: a recall and a write into a preset show what that preset
// holds; a rollback puts a version into a preset, the version's own by default, and a recall
// of that preset reads it back.
TEST_P(LiveRoomsTest, AStoredPresetKeepsItsOwnVersionsAndRollsBackIntoItsSlot) {
  SimVenue sim(1);
  ASSERT_TRUE(sim.Started());
  Watch(sim.Ports(), 600);
  ASSERT_TRUE(AllOnline());
  const auto musicVolume = [this] {
    return ObjectOf(Call("GET", "/api/v1/rooms/room-0/values", installer_))
        .value(QStringLiteral("music.volume"))
        .toInt();
  };
  const auto recall = [this](int preset) {
    const ApiReply reply = Call("POST", "/api/v1/rooms/room-0/recall", installer_,
                                QStringLiteral(R"({"preset": %1})").arg(preset).toUtf8());
    EXPECT_EQ(reply.status, 200) << reply.body.toStdString();
  };
  const auto rollback = [this](qint64 version, const QString& extra = {}) {
    return Call("POST", "/api/v1/rooms/room-0/rollback", installer_,
                QStringLiteral(R"({"version": %1%2})").arg(version).arg(extra).toUtf8());
  };

  recall(3);
  const QJsonObject preset3 = History(0).at(0).toObject();
  EXPECT_EQ(preset3[QStringLiteral("slot")].toInt(), 3);
  EXPECT_EQ(preset3[QStringLiteral("source")].toString(), QStringLiteral("recall"));
  EXPECT_EQ(preset3[QStringLiteral("user")].toString(), QStringLiteral("ian"));
  const int stored = musicVolume();
  const int edited = stored == 20 ? 21 : 20;

  // A write changes the working set only: no version of preset 3.
  ASSERT_EQ(Call("PATCH", "/api/v1/rooms/room-0/values", installer_,
                 QStringLiteral(R"({"music.volume": %1})").arg(edited).toUtf8())
                .status,
            200);
  const QJsonObject working = History(0).at(0).toObject();
  EXPECT_EQ(working[QStringLiteral("slot")].toInt(), 0);

  // The working set's version into preset 5: the room plays preset 5, which holds it.
  const ApiReply intoFive = rollback(working[QStringLiteral("id")].toInteger(), R"(, "slot": 5)");
  ASSERT_EQ(intoFive.status, 200) << intoFive.body.toStdString();
  EXPECT_TRUE(ObjectOf(intoFive).value(QStringLiteral("verified")).toBool());
  EXPECT_EQ(ObjectOf(intoFive).value(QStringLiteral("slot")).toInt(), 5);
  EXPECT_EQ(ObjectOf(intoFive).value(QStringLiteral("preset")).toInt(), 5);
  EXPECT_EQ(History(0).at(0)[QStringLiteral("slot")].toInt(), 5);
  EXPECT_EQ(History(0).at(0)[QStringLiteral("source")].toString(), QStringLiteral("rollback"));
  recall(3);
  EXPECT_EQ(musicVolume(), stored);  // preset 3 was left alone
  recall(5);
  EXPECT_EQ(musicVolume(), edited);

  // Preset 3 overwritten, then rolled back to its own version: a recall reads the original.
  ASSERT_EQ(rollback(working[QStringLiteral("id")].toInteger(), R"(, "slot": 3)").status, 200);
  recall(1);
  recall(3);
  EXPECT_EQ(musicVolume(), edited);
  const ApiReply back = rollback(preset3[QStringLiteral("id")].toInteger());
  ASSERT_EQ(back.status, 200) << back.body.toStdString();
  EXPECT_EQ(ObjectOf(back).value(QStringLiteral("slot")).toInt(), 3);
  recall(1);
  recall(3);
  EXPECT_EQ(musicVolume(), stored);
  EXPECT_EQ(*rooms_->CurrentSet(Name(0)),
            *store_->Content(preset3[QStringLiteral("content")].toString()));

  // A slot that is no preset is refused, and nothing is sent.
  const std::size_t before = sim.Requests(0).size();
  EXPECT_EQ(rollback(preset3[QStringLiteral("id")].toInteger(), R"(, "slot": 11)").status, 422);
  EXPECT_EQ(rollback(preset3[QStringLiteral("id")].toInteger(), R"(, "slot": "3")").status, 422);
  std::optional<UploadResult> refused;  // the room itself refuses it too, at once
  rooms_->Upload(Name(0), {*rooms_->CurrentSet(Name(0)), 11, QStringLiteral("rollback"), {}},
                 [&refused](const UploadResult& result) { refused = result; });
  ASSERT_TRUE(QTest::qWaitFor([&refused] { return refused.has_value(); }, 5000));
  EXPECT_EQ(refused->fault, RoomFault::kRefused);
  EXPECT_EQ(sim.Requests(0).size(), before);
}

// The room whose host is "usb" is the processor attached to this machine; with none attached
// it stays offline, says why, and refuses work instead of queueing it.
TEST_P(LiveRoomsTest, TheUsbRoomWithoutItsProcessorIsOfflineAndSaysWhy) {
  ASSERT_TRUE(store_->PutRoom(QStringLiteral("desk"), QStringLiteral("usb"), 0));
  Watch({}, 600);
  ASSERT_TRUE(QTest::qWaitFor(
      [this] {
        const auto room = rooms_->Room(QStringLiteral("desk"));
        return room && room->state == QStringLiteral("offline") &&
               room->problem != QStringLiteral("not connected yet");
      },
      kOnlineLimitMs));
  const QString problem = rooms_->Room(QStringLiteral("desk"))->problem;
  EXPECT_TRUE(problem.contains(QStringLiteral("USB"))) << problem.toStdString();
  const ApiReply write =
      Call("PATCH", "/api/v1/rooms/desk/values", installer_, R"({"music.volume": 30})");
  EXPECT_EQ(write.status, 409) << write.body.toStdString();
}

TEST_P(LiveRoomsTest, ARollOutStopsAtTheFailingRoomAndADroppedRoomReturns) {
  SimVenue pair(2);
  auto lone = std::make_unique<SimVenue>(1);
  ASSERT_TRUE(pair.Started() && lone->Started());
  const int lonePort = lone->Ports()[0];
  // room-1 is the lone processor: second in the roll-out's order.
  Watch({pair.Ports()[0], lonePort, pair.Ports()[1]}, 600);
  ASSERT_TRUE(AllOnline());
  // The preset to roll out: room-0's with one value changed.
  const QByteArray untouched = *rooms_->CurrentSet(Name(2));
  const QByteArray wanted = WithValue(*rooms_->CurrentSet(Name(0)), "reverb.level=12");
  ASSERT_NE(wanted, *rooms_->CurrentSet(Name(0)));
  lone->Stop();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !rooms_->Room(Name(1))->online; }, 5000));
  EXPECT_EQ(
      Call("PATCH", "/api/v1/rooms/room-1/values", installer_, R"({"music.volume": 5})").status,
      409);

  const ApiReply started = Call(
      "POST", "/api/v1/rollouts", installer_,
      QStringLiteral(R"({"content": "%1", "rooms": ["room-0", "room-1", "room-2"], "first": 1})")
          .arg(QString::fromLatin1(wanted.toBase64()))
          .toUtf8());
  ASSERT_EQ(started.status, 202) << started.body.toStdString();
  const QString path = QStringLiteral("/api/v1/rollouts/%1")
                           .arg(ObjectOf(started).value(QStringLiteral("id")).toInt());
  QJsonObject progress;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        progress = ObjectOf(Call("GET", path, staff_));
        return !progress[QStringLiteral("ended")].isNull();
      },
      15000));
  EXPECT_EQ(progress[QStringLiteral("state")].toString(), QStringLiteral("stopped"));
  const QJsonArray steps = progress[QStringLiteral("rooms")].toArray();
  EXPECT_EQ(steps.at(0)[QStringLiteral("state")].toString(), QStringLiteral("verified"));
  EXPECT_EQ(steps.at(1)[QStringLiteral("state")].toString(), QStringLiteral("failed"));
  EXPECT_EQ(steps.at(2)[QStringLiteral("state")].toString(), QStringLiteral("skipped"));
  EXPECT_EQ(*rooms_->CurrentSet(Name(0)), wanted);
  EXPECT_EQ(*rooms_->CurrentSet(Name(2)), untouched);
  EXPECT_NE(
      ShownBy(pair.Ports()[1], QStringLiteral("reverb.level"))[QStringLiteral("level")].toInt(),
      12);
  EXPECT_EQ(
      ShownBy(pair.Ports()[0], QStringLiteral("reverb.level"))[QStringLiteral("level")].toInt(),
      12);
  bool announced = false;
  for (const QJsonObject& event : events_)
    announced =
        announced || (event[QStringLiteral("source")].toString() == QStringLiteral("rollout") &&
                      event[QStringLiteral("state")].toString() == QStringLiteral("failed"));
  EXPECT_TRUE(announced);

  // The processor comes back on its port: the room is online again without help.
  // Its port may take a moment to be free again.
  std::unique_ptr<SimVenue> back;
  for (int attempt = 0; attempt < 10 && !(back && back->Started()); ++attempt) {
    if (attempt > 0) QTest::qWait(500);
    back = std::make_unique<SimVenue>(1, lonePort);
  }
  ASSERT_TRUE(back->Started());
  ASSERT_TRUE(QTest::qWaitFor([&] { return rooms_->Room(Name(1))->online; }, 10000));
  EXPECT_EQ(
      Call("PATCH", "/api/v1/rooms/room-1/values", installer_, R"({"music.volume": 5})").status,
      200);
}

TEST_P(LiveRoomsTest, FrontPanelMovesGoOutAsTheyAreSeen) {
  VirtualProcessor processor;
  SimServer server(processor);
  ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0, 0));
  Watch({server.Port()}, 600);
  ASSERT_TRUE(AllOnline());
  const std::size_t seen = events_.size();
  processor.SetPanelPositions({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0x01});
  QJsonObject moved;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        for (std::size_t i = seen; i < events_.size(); ++i)
          if (events_[i][QStringLiteral("source")].toString() == QStringLiteral("front-panel"))
            moved = events_[i];
        return !moved.isEmpty();
      },
      5000));
  const QJsonArray positions =
      moved[QStringLiteral("front_panel")][QStringLiteral("positions")].toArray();
  ASSERT_EQ(positions.size(), 7);
  EXPECT_EQ(positions.at(0).toInt(), 0x12);
  EXPECT_EQ(positions.at(6).toInt(), 0x01);
  // The room's state shows the panel as last reported; a still panel sends nothing more.
  EXPECT_EQ(rooms_->Room(Name(0))->frontPanel, moved[QStringLiteral("front_panel")].toObject());
  const std::size_t after = events_.size();
  QTest::qWait(1500);
  EXPECT_EQ(events_.size(), after);
}

TEST_P(LiveRoomsTest, LockMuteAndPresetNamesGoThroughTheSession) {
  VirtualProcessor open;
  VirtualProcessor locked;
  locked.SetLockEngaged(true);
  SimServer openServer(open);
  SimServer lockedServer(locked);
  ASSERT_TRUE(openServer.Listen(QHostAddress::LocalHost, 0, 0));
  ASSERT_TRUE(lockedServer.Listen(QHostAddress::LocalHost, 0, 0));
  ASSERT_TRUE(store_->SetSetting(QStringLiteral("lock_key"), QStringLiteral("1234")));
  Watch({openServer.Port(), lockedServer.Port()}, 600);
  // With the key the service keeps watching a room that was locked when it connected.
  ASSERT_TRUE(AllOnline());
  EXPECT_TRUE(locked.LockEngaged());
  EXPECT_EQ(rooms_->Extras(Name(1)).locked, std::optional<bool>(true));

  RoomExtras extras = rooms_->Extras(Name(0));
  ASSERT_EQ(extras.presetNames.size(), 10);
  EXPECT_EQ(extras.presetNames.front(), QStringLiteral("USER 1"));
  EXPECT_EQ(extras.presetNames.back(), QStringLiteral("USER 10"));
  EXPECT_EQ(extras.locked, std::optional<bool>(false));
  EXPECT_FALSE(extras.muted.has_value());  // the processor does not report it

  QString error;
  ASSERT_TRUE(rooms_->SetLock(Name(0), true, error)) << error.toStdString();
  EXPECT_TRUE(open.LockEngaged());
  EXPECT_EQ(rooms_->Extras(Name(0)).locked, std::optional<bool>(true));
  ASSERT_TRUE(rooms_->SetLock(Name(0), false, error)) << error.toStdString();
  EXPECT_FALSE(open.LockEngaged());

  // A wrong key is refused by the processor and said so; a key that is not four digits, or
  // none, sends nothing.
  ASSERT_TRUE(store_->SetSetting(QStringLiteral("lock_key.room-0"), QStringLiteral("9999")));
  EXPECT_FALSE(rooms_->SetLock(Name(0), true, error));
  EXPECT_TRUE(error.contains(QStringLiteral("refused"))) << error.toStdString();
  EXPECT_FALSE(open.LockEngaged());
  EXPECT_EQ(rooms_->Extras(Name(0)).locked, std::optional<bool>(false));
  ASSERT_TRUE(store_->SetSetting(QStringLiteral("lock_key.room-0"), QStringLiteral("12a4")));
  EXPECT_FALSE(rooms_->SetLock(Name(0), true, error));
  EXPECT_TRUE(error.contains(QStringLiteral("no lock key"))) << error.toStdString();

  std::string why;
  ASSERT_TRUE(rooms_->Write(Name(0), {*ParseNamedEdit("mute=on", why)}, QString(), error))
      << error.toStdString();
  EXPECT_TRUE(open.Muted());
  EXPECT_EQ(rooms_->Extras(Name(0)).muted, std::optional<bool>(true));
  ASSERT_TRUE(rooms_->Write(Name(0), {*ParseNamedEdit("mute=off", why)}, QString(), error));
  EXPECT_FALSE(open.Muted());
  EXPECT_EQ(rooms_->Extras(Name(0)).muted, std::optional<bool>(false));

  // Recalls started together all end, each with its room's preset.
  int ended = 0;
  for (int k = 0; k < 2; ++k)
    rooms_->RecallThen(Name(k), 3, [&ended](const UploadResult& result) {
      EXPECT_TRUE(result.ok) << result.error.toStdString();
      ++ended;
    });
  ASSERT_TRUE(QTest::qWaitFor([&] { return ended == 2; }, 10000));
  EXPECT_EQ(open.CurrentPreset(), 2);
  EXPECT_EQ(locked.CurrentPreset(), 2);
  EXPECT_EQ(rooms_->Room(Name(0))->preset, 3);
}

TEST_P(LiveRoomsTest, EveryReadOfASetIsCheckedAgainstTheReference) {
  VirtualProcessor processor;
  SimServer server(processor);
  ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0, 0));
  Watch({server.Port()}, 1);
  QStringList changes;
  AlarmMonitor monitor({}, Now, [&changes](const Alarm& alarm) {
    changes << AlarmKindName(alarm.kind) +
                   (alarm.cleared ? QStringLiteral(" cleared") : QStringLiteral(" raised"));
  });
  WatchedRooms watched(*rooms_, monitor);
  ASSERT_TRUE(AllOnline());
  // What the MQTT bridge reads goes through the watch unchanged.
  EXPECT_EQ(watched.Extras(Name(0)).presetNames.size(), 10);
  monitor.SetReference(Name(0), Store::ContentHash(*rooms_->CurrentSet(Name(0))));
  // Changed behind the service's back: the reread finds it and the drift is raised at once,
  // with no sweep of the rooms.
  const std::uint8_t volume = processor.Current().byte(img::kMusicVolume);
  processor.Current().byte(img::kMusicVolume) = volume == 7 ? 8 : 7;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !changes.isEmpty(); }, 5000));
  EXPECT_EQ(changes, QStringList{QStringLiteral("drift raised")});
  // Put back, and the next read clears it.
  processor.Current().byte(img::kMusicVolume) = volume;
  ASSERT_TRUE(QTest::qWaitFor([&] { return changes.size() == 2; }, 5000));
  EXPECT_EQ(changes.back(), QStringLiteral("drift cleared"));
}

TAVELO_BOTH_DATABASES(LiveRoomsTest);

}  // namespace
}  // namespace tavelo::hub
