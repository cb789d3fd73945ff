#pragma once
// Keeps a broker's view of the rooms up to date and carries its commands to the API. The
// bridge publishes each room's state retained and its Home Assistant discovery documents,
// republishes what changed when an event names a room or the refresh timer finds a change,
// and publishes everything again after every (re)connection: a restarted broker may have
// lost its retained messages. Commands act as the bridge's own user, through the API, so the
// same roles and caps apply as to any client.
#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>
#include <vector>

#include "hub/Accounts.h"
#include "hub/Api.h"
#include "hub/MqttRoom.h"

namespace tavelo::hub {

// What the bridge needs of an MQTT client.
class MqttLink {
 public:
  virtual ~MqttLink() = default;
  virtual void Publish(const QString& topic, const QByteArray& payload, bool retain) = 0;
  virtual void Subscribe(const QString& filter) = 0;
};

class MqttBridge : public QObject {
 public:
  using CapsSource = std::function<std::map<QString, int>(const QString& room)>;
  MqttBridge(MqttTopics topics, RoomAccess& rooms, Api& api, Caller caller, CapsSource caps,
             MqttLink& link);

  static constexpr int kRefreshMs = 2000;

  // Connection state as the client reports it.
  void OnConnected();
  void OnDisconnected();
  void OnMessage(const QString& topic, const QByteArray& payload);
  // A change event of the API or the rooms ({"room": NAME, ...}): that room is republished.
  void OnEvent(const QJsonObject& event);
  // Publishes whatever changed since it was last published.
  void Refresh();

  bool Connected() const { return connected_; }
  // Messages refused, for the log and the tests.
  const QStringList& Refusals() const { return refusals_; }

 private:
  std::vector<BridgedRoom> ReadRooms(const QString& only = {}) const;
  void Publish(const BridgedRoom& room);
  void Send(const MqttMessage& message);
  void Refuse(const QString& segment, const QString& why);

  MqttTopics topics_;
  RoomAccess& rooms_;
  Api& api_;
  Caller caller_;
  CapsSource caps_;
  MqttLink& link_;
  QTimer refresh_;
  bool connected_ = false;
  std::map<QString, QByteArray> published_;  // topic -> payload, since the last connection
  std::map<QString, QString> described_;     // room segment -> what its discovery was made of
  QStringList refusals_;
};

}  // namespace tavelo::hub
