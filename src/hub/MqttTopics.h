#pragma once
// The bridge's topic tree. Under the base (default "tavelo"):
//   BASE/status                      "online" / "offline" (the broker sends "offline" as the
//                                    bridge's last will)
//   BASE/ROOM/state                  the room as one JSON object
//   BASE/ROOM/online                 "online" / "offline"
//   BASE/ROOM/preset                 the active preset as the select shows it ("3 Party")
//   BASE/ROOM/preset_number          1..10
//   BASE/ROOM/preset_name            the active preset's name
//   BASE/ROOM/music.volume ...       each volume as a whole number
//   BASE/ROOM/mute, BASE/ROOM/lock   "ON" / "OFF"
//   BASE/ROOM/preset/set ...         commands: the same topics with "/set" appended
// Everything but the commands is published retained. ROOM is the room's name made safe for a
// topic level and for Home Assistant's ids (TopicSegment).
#include <QString>
#include <QStringList>

namespace tavelo::hub {

inline constexpr const char* kMqttDefaultBase = "tavelo";
inline constexpr const char* kHomeAssistantPrefix = "homeassistant";
inline constexpr const char* kMqttOnline = "online";
inline constexpr const char* kMqttOffline = "offline";
inline constexpr const char* kMqttOn = "ON";
inline constexpr const char* kMqttOff = "OFF";

// A room's name as one topic level: ASCII letters, digits, '_' and '-' are kept, everything
// else (including '/', '+', '#', spaces and non-ASCII) becomes '_'. When anything had to
// change, a short hash of the whole name is appended so that "Room 1" and "Room_1" stay two
// rooms. Never empty.
QString TopicSegment(const QString& roomName);

// Whether `base` may serve as the tree's base: levels of the characters TopicSegment keeps,
// separated by '/', none empty, at most 64 characters.
bool ValidTopicBase(const QString& base);

struct MqttTopics {
  QString base = QString::fromLatin1(kMqttDefaultBase);

  QString Status() const { return base + QStringLiteral("/status"); }
  QString Room(const QString& segment, const QString& field) const {
    return base + QLatin1Char('/') + segment + QLatin1Char('/') + field;
  }
  QString Command(const QString& segment, const QString& field) const {
    return Room(segment, field) + QStringLiteral("/set");
  }
  // The subscription that takes every command.
  QString CommandFilter() const { return base + QStringLiteral("/+/+/set"); }
};

}  // namespace tavelo::hub
