// The MQTT bridge's topics, payloads and discovery documents, and how it reads commands,
// without a broker.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "StandInVenue.h"
#include "hub/MqttCommands.h"
#include "hub/MqttOptions.h"
#include "hub/MqttRoom.h"

namespace tavelo::hub {
namespace {

BridgedRoom RoomNamed(const QString& name, std::map<QString, int> caps = {}) {
  hubtest::StandInVenue rooms;
  rooms.Add(name).view.preset = 3;
  rooms.At(name).view.presetName = QStringLiteral("Preset 3");
  WriteValue(rooms.At(name).image, RowOf(row::kMusicVolume), 42);
  return BridgeRoom(*rooms.Room(name), rooms.Extras(name), rooms.CurrentSet(name), std::move(caps));
}

QJsonObject Json(const QByteArray& payload) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(payload, &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << payload.toStdString();
  return document.object();
}

std::map<QString, QByteArray> ByTopic(const std::vector<MqttMessage>& messages) {
  std::map<QString, QByteArray> out;
  for (const MqttMessage& m : messages) {
    EXPECT_FALSE(out.count(m.topic)) << "published twice: " << m.topic.toStdString();
    out[m.topic] = m.payload;
  }
  return out;
}

TEST(MqttTopicsTest, RoomNamesBecomeSafeDistinctLevels) {
  const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9_-]+$"));
  EXPECT_EQ(TopicSegment(QStringLiteral("room-01")), QStringLiteral("room-01"));
  const QStringList awkward = {QStringLiteral("Room 1"),
                               QStringLiteral("Room_1"),
                               QStringLiteral("a/b"),
                               QStringLiteral("a+b"),
                               QStringLiteral("#"),
                               QStringLiteral("包间"),
                               QStringLiteral("包厢"),
                               QString(),
                               QString(200, QLatin1Char('x')),
                               QString(200, QLatin1Char('x')) + QLatin1Char('y')};
  QSet<QString> seen;
  for (const QString& name : awkward) {
    const QString segment = TopicSegment(name);
    EXPECT_TRUE(safe.match(segment).hasMatch()) << segment.toStdString();
    EXPECT_LE(segment.size(), 64);
    EXPECT_EQ(segment, TopicSegment(name)) << "stable";
    seen.insert(segment);
  }
  EXPECT_EQ(seen.size(), awkward.size()) << "two rooms share a topic";

  EXPECT_TRUE(ValidTopicBase(QStringLiteral("tavelo")));
  EXPECT_TRUE(ValidTopicBase(QStringLiteral("venue/floor-2")));
  for (const char* bad : {"", "a//b", "/a", "a/", "a/+", "a/#", "a b"})
    EXPECT_FALSE(ValidTopicBase(QString::fromLatin1(bad))) << bad;
}

TEST(MqttRoomTest, StateIsRetainedAndReadsBackTheActivePreset) {
  const BridgedRoom room = RoomNamed(QStringLiteral("room-01"));
  const MqttTopics topics;
  const std::vector<MqttMessage> messages = StateMessages(topics, room);
  for (const MqttMessage& m : messages) EXPECT_TRUE(m.retain) << m.topic.toStdString();
  const auto state = ByTopic(messages);
  EXPECT_EQ(state.at(QStringLiteral("tavelo/room-01/online")), "online");
  EXPECT_EQ(state.at(QStringLiteral("tavelo/room-01/preset")), "3 Preset 3");
  EXPECT_EQ(state.at(QStringLiteral("tavelo/room-01/preset_number")), "3");
  EXPECT_EQ(state.at(QStringLiteral("tavelo/room-01/music.volume")), "42");
  EXPECT_EQ(state.at(QStringLiteral("tavelo/room-01/mute")), "OFF");
  EXPECT_EQ(state.at(QStringLiteral("tavelo/room-01/lock")), "OFF");
  const QJsonObject json = Json(state.at(QStringLiteral("tavelo/room-01/state")));
  EXPECT_EQ(json.value(QStringLiteral("preset")).toInt(), 3);
  EXPECT_EQ(json.value(QStringLiteral("music.volume")).toInt(), 42);
  EXPECT_EQ(json.value(QStringLiteral("online")).toBool(), true);

  // Before the room is read, nothing unknown is published as a value.
  BridgedRoom unread;
  unread.name = unread.segment = QStringLiteral("new");
  const auto bare = ByTopic(StateMessages(topics, unread));
  EXPECT_EQ(bare.size(), 2u);  // state and online
  EXPECT_EQ(bare.at(QStringLiteral("tavelo/new/online")), "offline");
}

TEST(MqttRoomTest, DiscoveryDescribesASelectNumbersAndASwitchPerRoom) {
  const QString name = QStringLiteral("Room \"A\"/1");
  const BridgedRoom room = RoomNamed(
      name, {{QStringLiteral("music.volume"), 70}, {QStringLiteral("effect.volume"), 500}});
  const MqttTopics topics{QStringLiteral("venue/x")};
  const auto state = ByTopic(StateMessages(topics, room));
  const auto docs = ByTopic(DiscoveryMessages(topics, room));
  const QRegularExpression configTopic(QStringLiteral(
      "^homeassistant/(select|number|switch)/[A-Za-z0-9_-]+/[A-Za-z0-9_-]+/config$"));
  std::map<QString, int> components;
  QSet<QString> uniqueIds;
  for (const auto& [topic, payload] : docs) {
    const auto match = configTopic.match(topic);
    ASSERT_TRUE(match.hasMatch()) << topic.toStdString();
    ++components[match.captured(1)];
    const QJsonObject doc = Json(payload);
    // Fields every one of these entities needs, and whose topics the bridge really serves.
    for (const char* field : {"name", "unique_id", "state_topic", "command_topic", "device"})
      EXPECT_TRUE(doc.contains(QLatin1String(field))) << topic.toStdString() << " " << field;
    uniqueIds.insert(doc.value(QStringLiteral("unique_id")).toString());
    EXPECT_TRUE(state.count(doc.value(QStringLiteral("state_topic")).toString()))
        << "no state published at "
        << doc.value(QStringLiteral("state_topic")).toString().toStdString();
    EXPECT_EQ(doc.value(QStringLiteral("command_topic")).toString(),
              doc.value(QStringLiteral("state_topic")).toString() + QStringLiteral("/set"));
    const QJsonObject device = doc.value(QStringLiteral("device")).toObject();
    EXPECT_EQ(device.value(QStringLiteral("name")).toString(), name);
    EXPECT_FALSE(device.value(QStringLiteral("identifiers")).toArray().isEmpty());
    const QJsonArray availability = doc.value(QStringLiteral("availability")).toArray();
    ASSERT_EQ(availability.size(), 2);
    EXPECT_EQ(availability[0].toObject().value(QStringLiteral("topic")).toString(),
              QStringLiteral("venue/x/status"));

    const QString component = match.captured(1);
    if (component == QStringLiteral("select")) {
      const QJsonArray options = doc.value(QStringLiteral("options")).toArray();
      ASSERT_EQ(options.size(), 10);
      EXPECT_EQ(options[0].toString(), QStringLiteral("1 House"));
      EXPECT_EQ(options[9].toString(), QStringLiteral("10 Preset 10"));
      // The state names the active preset as one of the options.
      EXPECT_EQ(QString::fromUtf8(state.at(doc.value(QStringLiteral("state_topic")).toString())),
                options[2].toString());
    } else if (component == QStringLiteral("number")) {
      for (const char* field : {"min", "max", "step"})
        EXPECT_TRUE(doc.value(QLatin1String(field)).isDouble()) << field;
      const QString object = doc.value(QStringLiteral("state_topic")).toString().section('/', -1);
      const int max = doc.value(QStringLiteral("max")).toInt();
      const std::map<QString, int> expected = {
          {QStringLiteral("music.volume"), 70},  // held to the cap
          {QStringLiteral("mic.volume"), RowOf(row::kMicVolume).max},
          {QStringLiteral("effect.volume"), RowOf(row::kEffectVolume).max}};  // cap above range
      EXPECT_EQ(max, expected.at(object)) << object.toStdString();
    } else {
      EXPECT_EQ(doc.value(QStringLiteral("payload_on")).toString(), QStringLiteral("ON"));
      EXPECT_EQ(doc.value(QStringLiteral("payload_off")).toString(), QStringLiteral("OFF"));
    }
  }
  EXPECT_EQ(components[QStringLiteral("select")], 1);
  EXPECT_EQ(components[QStringLiteral("number")], 3);
  EXPECT_EQ(components[QStringLiteral("switch")], 1);
  EXPECT_EQ(uniqueIds.size(), 5);
}

TEST(MqttRoomTest, PresetsOfOneNameStayDistinctOptions) {
  BridgedRoom room = RoomNamed(QStringLiteral("r"));
  for (QString& name : room.presetNames) name = QStringLiteral("Same");
  room.presetNames[4].clear();
  const QStringList options = PresetOptions(room);
  EXPECT_EQ(QSet<QString>(options.begin(), options.end()).size(), 10);
  EXPECT_EQ(options[4], QStringLiteral("5"));
  // Unknown names: the options are the slot numbers.
  room.presetNames.clear();
  EXPECT_EQ(PresetOptions(room)[9], QStringLiteral("10"));
}

TEST(MqttCommandTest, CommandsAreCheckedBeforeUse) {
  BridgedRoom room = RoomNamed(QStringLiteral("Room 1"));
  room.presetNames[6] = QStringLiteral("Dance");
  room.presetNames[7] = QStringLiteral("Twice");
  room.presetNames[8] = QStringLiteral("Twice");
  const std::vector<BridgedRoom> rooms{room};
  const MqttTopics topics;
  const auto parse = [&](const QString& field, const QByteArray& payload) {
    return ParseMqttCommand(topics, topics.Command(room.segment, field), payload, rooms);
  };

  struct Good {
    const char* field;
    QByteArray payload;
    int recall;
    const char* values;
  };
  for (const Good& good : std::vector<Good>{
           {"preset", "4", 4, "{}"},
           {"preset", "7 Dance", 7, "{}"},
           {"preset", "Dance", 7, "{}"},
           {"preset", " 10 ", 10, "{}"},
           {"music.volume", "70", 0, R"({"music.volume":70})"},
           {"mic.volume", "12.0", 0, R"({"mic.volume":12})"},
           {"effect.volume", "999", 0, R"({"effect.volume":999})"},  // the API judges ranges
           {"mute", "ON", 0, R"({"mute":true})"},
           {"mute", "off", 0, R"({"mute":false})"},
       }) {
    const ParsedCommand parsed = parse(QLatin1String(good.field), good.payload);
    ASSERT_TRUE(parsed.command) << good.field << " " << good.payload.toStdString() << ": "
                                << parsed.error.toStdString();
    EXPECT_EQ(parsed.command->room, QStringLiteral("Room 1"));
    EXPECT_EQ(parsed.command->recall, good.recall) << good.payload.toStdString();
    EXPECT_EQ(QJsonDocument(parsed.command->values).toJson(QJsonDocument::Compact),
              QByteArray(good.values));
  }

  struct Bad {
    const char* field;
    QByteArray payload;
  };
  for (const Bad& bad : std::vector<Bad>{
           {"preset", "0"},
           {"preset", "11"},
           {"preset", "Twice"},  // two slots hold that name
           {"preset", "Nowhere"},
           {"preset", ""},
           {"music.volume", "loud"},
           {"music.volume", "7e1"},
           {"music.volume", "70.5"},
           {"music.volume", "0x40"},
           {"music.volume", "1234567890123"},
           {"music.volume", QByteArray(200, '7')},
           {"music.volume", QByteArray("7\xff", 2)},
           {"mute", "yes"},
           {"music.max_volume", "40"},  // not offered over MQTT
           {"lock", "ON"},
       }) {
    const ParsedCommand parsed = parse(QLatin1String(bad.field), bad.payload);
    EXPECT_FALSE(parsed.command) << bad.field << " " << bad.payload.toStdString();
    EXPECT_FALSE(parsed.error.isEmpty()) << bad.field;
    EXPECT_FALSE(parsed.error.contains(QChar(0xFFFD))) << "raw bytes in the message";
  }

  // Topics that are not commands of this tree, or name no room.
  for (const QString& topic :
       {QStringLiteral("other/%1/preset/set"), QStringLiteral("tavelo/%1/preset"),
        QStringLiteral("tavelo/%1/x/preset/set"), QStringLiteral("tavelo/%1/set")})
    EXPECT_FALSE(ParseMqttCommand(topics, topic.arg(room.segment), "1", rooms).command)
        << topic.toStdString();
  const ParsedCommand ghost =
      ParseMqttCommand(topics, QStringLiteral("tavelo/ghost/preset/set"), "1", rooms);
  EXPECT_FALSE(ghost.command);
  EXPECT_TRUE(ghost.error.contains(QStringLiteral("ghost")));
}

TEST(MqttOptionsTest, BrokerAddressesAndPasswordFiles) {
  QString error;
  const auto plain = ParseMqttUrl(QStringLiteral("mqtt://broker.local"), error);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->port, 1883);
  EXPECT_FALSE(plain->tls);
  const auto secure = ParseMqttUrl(QStringLiteral("mqtts://[::1]:9000"), error);
  ASSERT_TRUE(secure);
  EXPECT_EQ(secure->host, QStringLiteral("::1"));
  EXPECT_EQ(secure->port, 9000);
  EXPECT_TRUE(secure->tls);
  EXPECT_EQ(ParseMqttUrl(QStringLiteral("mqtts://b"), error)->port, 8883);
  // Credentials in the address would show in the process list: refused.
  for (const char* bad : {"http://b", "mqtt://", "mqtt://u:pw@b", "mqtt://b:0", "mqtt://b:99999",
                          "mqtt://b/topic", "b:1883", "mqtt://b?x=1"}) {
    error.clear();
    EXPECT_FALSE(ParseMqttUrl(QLatin1String(bad), error)) << bad;
    EXPECT_FALSE(error.isEmpty()) << bad;
  }

  QTemporaryDir dir;
  const auto write = [&](const char* name, const QByteArray& bytes) {
    QFile file(dir.filePath(QLatin1String(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  };
  EXPECT_EQ(ReadPasswordFile(write("crlf", "s3cret pw\r\nsecond line\n"), error),
            QStringLiteral("s3cret pw"));
  EXPECT_FALSE(ReadPasswordFile(write("empty", "\n"), error));
  EXPECT_FALSE(ReadPasswordFile(dir.filePath(QStringLiteral("missing")), error));
  EXPECT_TRUE(error.contains(QStringLiteral("missing")));
}

}  // namespace
}  // namespace tavelo::hub
