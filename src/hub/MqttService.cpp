#include "hub/MqttService.h"

#include <iostream>

#include "core/text/Escaped.h"

namespace tavelo::hub {

MqttService::MqttService(MqttSettings settings, RoomAccess& rooms, Api& api,
                         MqttBridge::CapsSource caps) {
  const QString where = QStringLiteral("%1:%2").arg(settings.broker.host).arg(settings.broker.port);
  MosquittoClient::Handlers handlers;
  handlers.connected = [this, where] {
    std::cout << "MQTT: connected to " << QuotedBytes(where.toStdString()) << "\n" << std::flush;
    lastProblem_.clear();
    bridge_->OnConnected();
  };
  handlers.disconnected = [this, where](const QString& why) {
    bridge_->OnDisconnected();
    if (why == lastProblem_) return;  // said once, not at every retry
    lastProblem_ = why;
    std::cerr << "tavelo-hub: MQTT: no connection to " << QuotedBytes(where.toStdString()) << ": "
              << QuotedBytes(why.toStdString()) << "; retrying\n";
  };
  handlers.message = [this](const QString& topic, const QByteArray& payload) {
    bridge_->OnMessage(topic, payload);
  };
  client_ = std::make_unique<MosquittoClient>(settings.broker, settings.topics.Status(),
                                              std::move(handlers));
  bridge_ = std::make_unique<MqttBridge>(settings.topics, rooms, api, settings.caller,
                                         std::move(caps), *client_);
}

bool MqttService::Start(QString& error) {
  return client_->Start(error);
}

}  // namespace tavelo::hub
