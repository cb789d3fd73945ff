#include "hub/MqttBridge.h"

#include <QJsonDocument>
#include <iostream>

#include "core/text/Escaped.h"
#include "hub/MqttCommands.h"

namespace tavelo::hub {

namespace {
constexpr int kKeptRefusals = 50;
}

MqttBridge::MqttBridge(MqttTopics topics, RoomAccess& rooms, Api& api, Caller caller,
                       CapsSource caps, MqttLink& link)
    : topics_(std::move(topics)),
      rooms_(rooms),
      api_(api),
      caller_(std::move(caller)),
      caps_(std::move(caps)),
      link_(link) {
  refresh_.setInterval(kRefreshMs);
  connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
}

std::vector<BridgedRoom> MqttBridge::ReadRooms(const QString& only) const {
  std::vector<BridgedRoom> out;
  for (const RoomView& view : rooms_.Rooms()) {
    if (!only.isEmpty() && view.name != only) continue;
    out.push_back(
        BridgeRoom(view, rooms_.Extras(view.name), rooms_.CurrentSet(view.name), caps_(view.name)));
  }
  return out;
}

void MqttBridge::OnConnected() {
  connected_ = true;
  published_.clear();
  described_.clear();
  link_.Publish(topics_.Status(), kMqttOnline, true);
  link_.Subscribe(topics_.CommandFilter());
  Refresh();
  refresh_.start();
}

void MqttBridge::OnDisconnected() {
  connected_ = false;
  refresh_.stop();
}

void MqttBridge::Refresh() {
  if (!connected_) return;
  for (const BridgedRoom& room : ReadRooms()) Publish(room);
}

void MqttBridge::OnEvent(const QJsonObject& event) {
  if (!connected_) return;
  const QString name = event.value(QStringLiteral("room")).toString();
  if (name.isEmpty()) return;
  for (const BridgedRoom& room : ReadRooms(name)) Publish(room);
}

void MqttBridge::Publish(const BridgedRoom& room) {
  // The discovery documents change only with the name, the preset names or the caps: built
  // again only then.
  QString key = room.name + QChar(0x1f) + room.presetNames.join(QChar(0x1f));
  for (const auto& [name, cap] : room.caps)
    key += QChar(0x1f) + name + QLatin1Char('=') + QString::number(cap);
  QString& described = described_[room.segment];
  if (described != key) {
    described = key;
    for (const MqttMessage& message : DiscoveryMessages(topics_, room)) Send(message);
  }
  for (const MqttMessage& message : StateMessages(topics_, room)) Send(message);
}

void MqttBridge::Send(const MqttMessage& message) {
  if (message.retain) {
    const auto it = published_.find(message.topic);
    if (it != published_.end() && it->second == message.payload) return;
    published_[message.topic] = message.payload;
  }
  link_.Publish(message.topic, message.payload, message.retain);
}

void MqttBridge::Refuse(const QString& segment, const QString& why) {
  std::cerr << "tavelo-hub: MQTT command refused: " << QuotedBytes(why.toStdString()) << "\n";
  if (refusals_.size() >= kKeptRefusals) refusals_.removeFirst();
  refusals_ << why;
  if (!segment.isEmpty())
    link_.Publish(
        topics_.Room(segment, QStringLiteral("error")),
        QJsonDocument(QJsonObject{{QStringLiteral("error"), why}}).toJson(QJsonDocument::Compact),
        false);
}

void MqttBridge::OnMessage(const QString& topic, const QByteArray& payload) {
  // Reading a command needs the rooms' names and preset names only: no set is parsed and no
  // cap read for a message that may be refused.
  std::vector<BridgedRoom> rooms;
  for (const RoomView& view : rooms_.Rooms())
    rooms.push_back(BridgeRoom(view, rooms_.Extras(view.name), std::nullopt, {}));
  const ParsedCommand parsed = ParseMqttCommand(topics_, topic, payload, rooms);
  if (!parsed.command) {
    if (!parsed.error.isEmpty()) Refuse({}, parsed.error);
    return;
  }
  const MqttCommand& command = *parsed.command;
  ApiRequest request;
  request.origin = QStringLiteral("mqtt");
  request.source = QStringLiteral("mqtt");
  // The API reads the room from a path it splits at '/'; the name goes in as it stands.
  const QString room = QStringLiteral("/api/v1/rooms/") + command.room;
  if (command.recall != 0) {
    request.method = "POST";
    request.path = room + QStringLiteral("/recall");
    request.body = QJsonDocument(QJsonObject{{QStringLiteral("preset"), command.recall}})
                       .toJson(QJsonDocument::Compact);
  } else {
    request.method = "PATCH";
    request.path = room + QStringLiteral("/values");
    request.body = QJsonDocument(command.values).toJson(QJsonDocument::Compact);
  }
  const ApiReply reply = api_.HandleAs(caller_, request);
  if (reply.status != 200) {
    const QString why =
        QJsonDocument::fromJson(reply.body).object().value(QStringLiteral("error")).toString();
    Refuse(command.segment,
           QStringLiteral("room %1: %2")
               .arg(QString::fromStdString(QuotedBytes(command.room.toStdString())),
                    why.isEmpty() ? QString::number(reply.status) : why));
  }
  // Whatever happened, the room's topics show what the room now holds: a refused change
  // puts a slider the user moved back where it was.
  for (const BridgedRoom& now : ReadRooms(command.room))
    for (const MqttMessage& message : StateMessages(topics_, now)) {
      published_[message.topic] = message.payload;
      link_.Publish(message.topic, message.payload, message.retain);
    }
}

}  // namespace tavelo::hub
