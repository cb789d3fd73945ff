// The MQTT bridge over a stand-in client: what it publishes on (re)connection and on change,
// and that its commands meet the same roles and caps as the API's clients.
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <iostream>
#include <set>
#include <utility>

#include "HubTestSupport.h"
#include "StandInVenue.h"
#include "hub/Api.h"
#include "hub/MqttBridge.h"

namespace tavelo::hub {
namespace {

class RecordingLink : public MqttLink {
 public:
  void Publish(const QString& topic, const QByteArray& payload, bool retain) override {
    sent.push_back({topic, payload, retain});
  }
  void Subscribe(const QString& filter) override { filters << filter; }
  std::vector<MqttMessage> sent;
  QStringList filters;
  std::vector<MqttMessage> Take() { return std::exchange(sent, {}); }
};

QByteArray Last(const std::vector<MqttMessage>& messages, const QString& topic) {
  QByteArray out;
  for (const MqttMessage& m : messages)
    if (m.topic == topic) out = m.payload;
  return out;
}

class MqttBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hubtest::App();
    ASSERT_TRUE(dir_.isValid());
    QString error;
    DatabaseLocation location;
    location.file = dir_.filePath(QStringLiteral("hub.sqlite"));
    ASSERT_TRUE(db_.Open(location, error)) << error.toStdString();
    store_ = std::make_unique<Store>(db_);
    accounts_ = std::make_unique<Accounts>(*store_);
    api_ = std::make_unique<Api>(*store_, *accounts_, rooms_, [] { return qint64{5000}; });
    api_->SetMetrics(&metrics_);
    api_->SetEventSink([this](const QJsonObject& event) {
      events_.push_back(event);
      if (bridge_) bridge_->OnEvent(event);
    });
    for (const char* name : {"room-01", "Room 2"}) {
      rooms_.Add(QLatin1String(name));
      ASSERT_TRUE(store_->PutRoom(QLatin1String(name), QStringLiteral("127.0.0.1"), 7000));
    }
  }
  void MakeBridge(Role role) {
    bridge_ = std::make_unique<MqttBridge>(
        MqttTopics{}, rooms_, *api_, Caller{QStringLiteral("ha"), role},
        [this](const QString& room) {
          return store_->Caps(room).value_or(std::map<QString, int>{});
        },
        link_);
  }
  QString Topic(const char* room, const char* field) {
    return MqttTopics{}.Room(TopicSegment(QLatin1String(room)), QLatin1String(field));
  }
  void Command(const char* room, const char* field, const QByteArray& payload) {
    bridge_->OnMessage(
        MqttTopics{}.Command(TopicSegment(QLatin1String(room)), QLatin1String(field)), payload);
  }

  QTemporaryDir dir_;
  Database db_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<Accounts> accounts_;
  hubtest::StandInVenue rooms_;
  HubMetrics metrics_;
  std::unique_ptr<Api> api_;
  RecordingLink link_;
  std::unique_ptr<MqttBridge> bridge_;
  std::vector<QJsonObject> events_;
};

TEST_F(MqttBridgeTest, PublishesEverythingOnEachConnectionAndThenOnlyChanges) {
  MakeBridge(Role::Installer);
  bridge_->Refresh();
  EXPECT_TRUE(link_.Take().empty()) << "nothing is sent before the broker is there";

  bridge_->OnConnected();
  EXPECT_EQ(link_.filters, QStringList{QStringLiteral("tavelo/+/+/set")});
  const std::vector<MqttMessage> first = link_.Take();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.front().topic, QStringLiteral("tavelo/status"));
  EXPECT_EQ(first.front().payload, "online");
  int configs = 0;
  for (const MqttMessage& m : first) {
    EXPECT_TRUE(m.retain);
    configs += m.topic.startsWith(QStringLiteral("homeassistant/")) ? 1 : 0;
  }
  EXPECT_EQ(configs, 2 * 5);
  EXPECT_EQ(Last(first, Topic("Room 2", "music.volume")),
            QByteArray::number(RowOf(row::kMusicVolume).def));

  bridge_->Refresh();
  EXPECT_TRUE(link_.Take().empty()) << "nothing changed, nothing sent";

  // A change behind the bridge's back (front panel): the next refresh carries exactly it.
  WriteValue(rooms_.At(QStringLiteral("Room 2")).image, RowOf(row::kMicVolume), 9);
  rooms_.At(QStringLiteral("room-01")).view.online = false;
  bridge_->Refresh();
  std::vector<MqttMessage> changed = link_.Take();
  std::set<QString> topics;
  for (const MqttMessage& m : changed) topics.insert(m.topic);
  EXPECT_EQ(topics, (std::set<QString>{Topic("Room 2", "mic.volume"), Topic("Room 2", "state"),
                                       Topic("room-01", "online"), Topic("room-01", "state")}));
  EXPECT_EQ(Last(changed, Topic("Room 2", "mic.volume")), "9");

  // A new cap changes the number's maximum in the room's discovery document, and only there.
  ASSERT_TRUE(store_->SetCaps(QStringLiteral("Room 2"), {{QStringLiteral("music.volume"), 44}}));
  bridge_->Refresh();
  changed = link_.Take();
  int documents = 0;
  for (const MqttMessage& m : changed) {
    if (!m.topic.startsWith(QStringLiteral("homeassistant/"))) continue;
    ++documents;
    EXPECT_TRUE(m.topic.contains(TopicSegment(QStringLiteral("Room 2")))) << m.topic.toStdString();
    if (m.topic.contains(QStringLiteral("music_volume"))) {
      EXPECT_EQ(QJsonDocument::fromJson(m.payload).object().value(QStringLiteral("max")).toInt(),
                44);
    }
  }
  EXPECT_EQ(documents, 1);

  // After a reconnection (the broker may have lost its retained messages) all of it again.
  bridge_->OnDisconnected();
  bridge_->Refresh();
  EXPECT_TRUE(link_.Take().empty());
  bridge_->OnConnected();
  EXPECT_EQ(link_.Take().size(), first.size());
}

TEST_F(MqttBridgeTest, CommandsMeetTheRolesAndCapsOfTheBridgesUser) {
  ASSERT_TRUE(store_->SetCaps(QStringLiteral("room-01"), {{QStringLiteral("music.volume"), 60}}));
  ASSERT_TRUE(store_->SetSetting(QStringLiteral("staff.names"),
                                 QStringLiteral("music.volume,mute,preset.recall")));
  MakeBridge(Role::Staff);
  bridge_->OnConnected();
  link_.Take();
  auto& room = rooms_.At(QStringLiteral("room-01"));
  const int before = ReadValue(room.image, RowOf(row::kMusicVolume));

  Command("room-01", "music.volume", "65");  // above the cap
  Command("room-01", "mic.volume", "10");    // not a name this staff may write
  EXPECT_EQ(room.writes, 0) << "a refused command reached the room";
  std::vector<MqttMessage> sent = link_.Take();
  const QJsonObject error = QJsonDocument::fromJson(Last(sent, Topic("room-01", "error"))).object();
  EXPECT_TRUE(
      error.value(QStringLiteral("error")).toString().contains(QStringLiteral("mic.volume")));
  // The slider a user moved goes back to what the room holds.
  EXPECT_EQ(Last(sent, Topic("room-01", "music.volume")), QByteArray::number(before));
  EXPECT_EQ(bridge_->Refusals().size(), 2);

  Command("room-01", "music.volume", "55");
  Command("room-01", "mute", "ON");
  Command("room-01", "preset", "4 Preset 4");
  EXPECT_EQ(room.writes, 2);
  EXPECT_EQ(room.recalls, 1);
  sent = link_.Take();
  EXPECT_EQ(Last(sent, Topic("room-01", "music.volume")), "55");
  EXPECT_EQ(Last(sent, Topic("room-01", "mute")), "ON");
  EXPECT_EQ(Last(sent, Topic("room-01", "preset")), "4 Preset 4");
  ASSERT_EQ(events_.size(), 3u);
  for (const QJsonObject& event : events_) {
    EXPECT_EQ(event.value(QStringLiteral("source")).toString(), QStringLiteral("mqtt"));
    EXPECT_EQ(event.value(QStringLiteral("user")).toString(), QStringLiteral("ha"));
  }
  const auto audit = store_->AuditLog(QStringLiteral("room-01"), 10);
  ASSERT_TRUE(audit);
  ASSERT_FALSE(audit->empty());
  EXPECT_EQ(audit->front().user, QStringLiteral("ha"));

  // An offline room is refused, never queued.
  room.view.online = false;
  Command("room-01", "music.volume", "20");
  EXPECT_EQ(room.writes, 2);

  const auto& writes = metrics_.Writes();
  EXPECT_EQ(writes.at({QStringLiteral("mqtt"), QStringLiteral("refused")}), 2u);
  EXPECT_EQ(writes.at({QStringLiteral("mqtt"), QStringLiteral("ok")}), 3u);
  EXPECT_EQ(writes.at({QStringLiteral("mqtt"), QStringLiteral("offline")}), 1u);
}

TEST_F(MqttBridgeTest, AnInstallerBridgeWritesWhatStaffMayNot) {
  ASSERT_TRUE(store_->SetSetting(QStringLiteral("staff.names"), QStringLiteral("mute")));
  MakeBridge(Role::Installer);
  bridge_->OnConnected();
  Command("Room 2", "mic.volume", "10");
  Command("Room 2", "mic.volume", "81");  // beyond the catalogue's range: refused by the API
  EXPECT_EQ(rooms_.At(QStringLiteral("Room 2")).writes, 1);
  EXPECT_EQ(ReadValue(rooms_.At(QStringLiteral("Room 2")).image, RowOf(row::kMicVolume)), 10);
}

TEST_F(MqttBridgeTest, AHundredRoomsRefreshWellWithinThePeriod) {
  for (int i = 3; i <= 100; ++i)
    rooms_.Add(QStringLiteral("room-%1").arg(i, 3, 10, QLatin1Char('0')));
  MakeBridge(Role::Installer);
  QElapsedTimer timer;
  timer.start();
  bridge_->OnConnected();
  const qint64 firstMs = timer.elapsed();
  EXPECT_EQ(link_.Take().size(), 1u + 100u * 15u);  // status; 5 configs and 10 state topics each
  timer.restart();
  bridge_->Refresh();
  const qint64 refreshMs = timer.elapsed();
  EXPECT_TRUE(link_.Take().empty());
  std::cout << "MQTT bridge, 100 rooms: first publication " << firstMs << " ms, refresh "
            << refreshMs << " ms (every " << MqttBridge::kRefreshMs << " ms)\n";
  EXPECT_LT(refreshMs, MqttBridge::kRefreshMs / 4);
}

}  // namespace
}  // namespace tavelo::hub
