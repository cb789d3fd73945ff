#pragma once
// Commands that arrive on the bridge's set topics, read and checked before anything is done
// with them: the topic must name a known room and a field that takes commands, and the
// payload must be short, UTF-8 and of the field's form. What passes becomes the API request
// the bridge's user makes, so roles and caps are judged in the one place they are.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

#include "hub/MqttRoom.h"

namespace tavelo::hub {

struct MqttCommand {
  QString room;        // the room's own name
  QString segment;     // its topic level
  int recall = 0;      // 1..10: recall this preset
  QJsonObject values;  // otherwise: the values to write, as the API's PATCH takes them
};

struct ParsedCommand {
  std::optional<MqttCommand> command;
  QString error;  // why the message was refused; empty when it is not a command at all
};

inline constexpr qsizetype kMaxCommandBytes = 128;

ParsedCommand ParseMqttCommand(const MqttTopics& topics, const QString& topic,
                               const QByteArray& payload, const std::vector<BridgedRoom>& rooms);

}  // namespace tavelo::hub
