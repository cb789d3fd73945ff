#pragma once
// The MQTT bridge together with its libmosquitto client: what `serve --mqtt` runs.
#include <QJsonObject>
#include <QString>
#include <memory>

#include "hub/MosquittoClient.h"
#include "hub/MqttBridge.h"

namespace tavelo::hub {

struct MqttSettings {
  MqttOptions broker;
  MqttTopics topics;
  Caller caller;  // the service's user whose role the commands have
};

class MqttService {
 public:
  MqttService(MqttSettings settings, RoomAccess& rooms, Api& api, MqttBridge::CapsSource caps);

  // Starts connecting; see MosquittoClient::Start.
  bool Start(QString& error);
  // A change event: the room it names is republished.
  void OnEvent(const QJsonObject& event) { bridge_->OnEvent(event); }
  MqttBridge& Bridge() { return *bridge_; }

 private:
  std::unique_ptr<MosquittoClient> client_;
  std::unique_ptr<MqttBridge> bridge_;
  QString lastProblem_;
};

}  // namespace tavelo::hub
