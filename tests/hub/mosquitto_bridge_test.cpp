// The bridge against a real mosquitto broker on loopback: a broker that is late is waited
// for, retained state and discovery reach
// a client, a command from the broker reaches the room, and a broker restarted under the
// bridge gets the whole state again, changes made meanwhile included. As a program, the
// service's last will marks it offline when it dies.
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>

#include "HubTestSupport.h"
#include "MosquittoBroker.h"
#include "StandInVenue.h"
#include "hub/Api.h"
#include "hub/MqttService.h"

namespace tavelo::hub {
namespace {

constexpr int kWaitMs = 15000;

bool IsConfig(const QString& topic) {
  return topic.startsWith(QStringLiteral("homeassistant/")) &&
         topic.endsWith(QStringLiteral("/config"));
}

TEST(MosquittoBridgeTest, StateCommandsAndABrokerRestart) {
  hubtest::App();
  hubtest::MosquittoBroker broker;
  QTemporaryDir dir;
  DatabaseLocation location;
  location.file = dir.filePath(QStringLiteral("hub.sqlite"));
  Database db;
  QString error;
  ASSERT_TRUE(db.Open(location, error)) << error.toStdString();
  Store store(db);
  Accounts accounts(store);
  hubtest::StandInVenue rooms;
  for (const char* name : {"room-01", "Room 2"}) {
    rooms.Add(QLatin1String(name));
    ASSERT_TRUE(store.PutRoom(QLatin1String(name), QStringLiteral("127.0.0.1"), 7000));
  }
  ASSERT_TRUE(store.SetCaps(QStringLiteral("room-01"), {{QStringLiteral("music.volume"), 50}}));
  Api api(store, accounts, rooms, [] { return qint64{1}; });

  MqttSettings settings;
  settings.broker.host = QStringLiteral("127.0.0.1");
  settings.broker.port = broker.Port();
  settings.broker.clientId = QStringLiteral("tavelo-hub-test");
  settings.caller = {QStringLiteral("ha"), Role::Staff};
  MqttService service(settings, rooms, api, [&store](const QString& room) {
    return store.Caps(room).value_or(std::map<QString, int>{});
  });
  api.SetEventSink([&service](const QJsonObject& event) { service.OnEvent(event); });
  // The broker is not there yet when the service starts: that is retried, not fatal.
  ASSERT_TRUE(service.Start(error)) << error.toStdString();
  ASSERT_TRUE(broker.Start()) << broker.Problem().toStdString();
  ASSERT_TRUE(hubtest::WaitUntil([&] { return service.Bridge().Connected(); }, kWaitMs));

  const QString room1 = TopicSegment(QStringLiteral("room-01"));
  const QString room2 = TopicSegment(QStringLiteral("Room 2"));
  const auto topic = [](const QString& segment, const char* field) {
    return QStringLiteral("tavelo/%1/%2").arg(segment, QLatin1String(field));
  };
  {
    hubtest::WatchingClient watcher(broker.Port());
    ASSERT_TRUE(watcher.Connected());
    // A client that comes later gets everything retained.
    ASSERT_TRUE(hubtest::WaitUntil(
        [&] { return watcher.Count(IsConfig) == 10 && watcher.Last(topic(room2, "state")); },
        kWaitMs))
        << watcher.Count(IsConfig);
    EXPECT_EQ(watcher.Last(QStringLiteral("tavelo/status")), QByteArray("online"));
    const QJsonObject state =
        QJsonDocument::fromJson(*watcher.Last(topic(room2, "state"))).object();
    EXPECT_EQ(state.value(QStringLiteral("name")).toString(), QStringLiteral("Room 2"));

    // Commands: one within the cap reaches the room, one above it does not.
    watcher.Publish(topic(room1, "music.volume/set"), "45");
    ASSERT_TRUE(hubtest::WaitUntil(
        [&] { return watcher.Last(topic(room1, "music.volume")) == QByteArray("45"); }, kWaitMs));
    watcher.Publish(topic(room1, "music.volume/set"), "60");
    ASSERT_TRUE(hubtest::WaitUntil([&] { return watcher.Last(topic(room1, "error")).has_value(); },
                                   kWaitMs));
    EXPECT_EQ(rooms.At(QStringLiteral("room-01")).writes, 1);
    EXPECT_EQ(ReadValue(rooms.At(QStringLiteral("room-01")).image, RowOf(row::kMusicVolume)), 45);
  }

  // The broker goes away; a room changes meanwhile; the broker comes back with nothing
  // retained (no persistence). The bridge rejoins and brings it up to date.
  broker.Stop();
  ASSERT_TRUE(hubtest::WaitUntil([&] { return !service.Bridge().Connected(); }, kWaitMs));
  WriteValue(rooms.At(QStringLiteral("Room 2")).image, RowOf(row::kMicVolume), 7);
  rooms.At(QStringLiteral("room-01")).view.online = false;
  ASSERT_TRUE(broker.Start()) << broker.Problem().toStdString();
  ASSERT_TRUE(hubtest::WaitUntil([&] { return service.Bridge().Connected(); }, kWaitMs));
  hubtest::WatchingClient after(broker.Port());
  ASSERT_TRUE(after.Connected());
  ASSERT_TRUE(hubtest::WaitUntil(
      [&] {
        return after.Count(IsConfig) == 10 &&
               after.Last(topic(room2, "mic.volume")) == QByteArray("7") &&
               after.Last(topic(room1, "online")) == QByteArray("offline");
      },
      kWaitMs));
  EXPECT_EQ(after.Last(QStringLiteral("tavelo/status")), QByteArray("online"));
}

TEST(MosquittoBridgeTest, TheServiceSaysOnlineAndItsLastWillSaysOffline) {
  hubtest::App();
  hubtest::MosquittoBroker broker;
  ASSERT_TRUE(broker.Start()) << broker.Problem().toStdString();
  QTemporaryDir dir;
  const QStringList database{QStringLiteral("--database"),
                             dir.filePath(QStringLiteral("hub.sqlite"))};
  QProcess add;
  add.start(QStringLiteral(TAVELO_HUB_PATH),
            QStringList{QStringLiteral("user"), QStringLiteral("add"), QStringLiteral("ha"),
                        QStringLiteral("--role"), QStringLiteral("staff"),
                        QStringLiteral("--password-stdin")} +
                database);
  add.write("pw\n");
  add.closeWriteChannel();
  ASSERT_TRUE(add.waitForFinished(30000));
  ASSERT_EQ(add.exitCode(), 0) << add.readAllStandardError().toStdString();

  // Refused settings stop the service before it serves.
  QProcess refused;
  refused.start(QStringLiteral(TAVELO_HUB_PATH),
                QStringList{QStringLiteral("serve"), QStringLiteral("--listen"),
                            QStringLiteral("127.0.0.1:0"), QStringLiteral("--mqtt"),
                            QStringLiteral("mqtt://127.0.0.1:%1").arg(broker.Port()),
                            QStringLiteral("--mqtt-as"), QStringLiteral("nobody")} +
                    database);
  ASSERT_TRUE(refused.waitForFinished(30000));
  EXPECT_EQ(refused.exitCode(), 1);
  EXPECT_TRUE(refused.readAllStandardError().contains("nobody"));

  QProcess serve;
  serve.start(QStringLiteral(TAVELO_HUB_PATH),
              QStringList{QStringLiteral("serve"), QStringLiteral("--listen"),
                          QStringLiteral("127.0.0.1:0"), QStringLiteral("--mqtt"),
                          QStringLiteral("mqtt://127.0.0.1:%1").arg(broker.Port()),
                          QStringLiteral("--mqtt-as"), QStringLiteral("ha"),
                          QStringLiteral("--mqtt-base"), QStringLiteral("venue/one")} +
                  database);
  ASSERT_TRUE(serve.waitForStarted(10000));
  hubtest::WatchingClient watcher(broker.Port());
  ASSERT_TRUE(watcher.Connected());
  EXPECT_TRUE(hubtest::WaitUntil(
      [&] { return watcher.Last(QStringLiteral("venue/one/status")) == QByteArray("online"); },
      kWaitMs));
  ::kill(static_cast<pid_t>(serve.processId()), SIGKILL);
  serve.waitForFinished(5000);
  // The broker notices the lost connection within one and a half keep-alives at most; a
  // closed socket it notices at once.
  EXPECT_TRUE(hubtest::WaitUntil(
      [&] { return watcher.Last(QStringLiteral("venue/one/status")) == QByteArray("offline"); },
      kWaitMs));
}

}  // namespace
}  // namespace tavelo::hub
