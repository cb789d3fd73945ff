#include "hub/MosquittoClient.h"

#include <mosquitto.h>

#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace tavelo::hub {

namespace {

constexpr int kQos = 1;
constexpr int kKeepAliveSeconds = 30;

void InitLibraryOnce() {
  static std::once_flag once;
  std::call_once(once, [] { mosquitto_lib_init(); });
}

QString Why(int rc) {
  return QString::fromUtf8(mosquitto_strerror(rc));
}

}  // namespace

MosquittoClient::MosquittoClient(MqttOptions options, QString willTopic, Handlers handlers)
    : options_(std::move(options)),
      willTopic_(std::move(willTopic)),
      handlers_(std::move(handlers)) {
  InitLibraryOnce();
  retry_.setSingleShot(true);
  connect(&retry_, &QTimer::timeout, this, [this] { TryFirstConnection(); });
}

MosquittoClient::~MosquittoClient() {
  if (!client_) return;
  if (started_) {
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, false);
  }
  mosquitto_destroy(client_);
}

bool MosquittoClient::Start(QString& error) {
  client_ = mosquitto_new(options_.clientId.toUtf8().constData(), true, this);
  if (!client_) {
    error = QStringLiteral("the MQTT client could not be made (out of memory)");
    return false;
  }
  mosquitto_int_option(client_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
  mosquitto_connect_callback_set(client_, &MosquittoClient::OnConnect);
  mosquitto_disconnect_callback_set(client_, &MosquittoClient::OnDisconnect);
  mosquitto_message_callback_set(client_, &MosquittoClient::OnMessage);
  mosquitto_reconnect_delay_set(client_, kFirstRetryMs / 1000, kLastRetryMs / 1000, true);
  int rc = mosquitto_will_set(client_, willTopic_.toUtf8().constData(),
                              static_cast<int>(qstrlen(kMqttOffline)), kMqttOffline, kQos, true);
  if (rc == MOSQ_ERR_SUCCESS && !options_.user.isEmpty())
    rc = mosquitto_username_pw_set(
        client_, options_.user.toUtf8().constData(),
        options_.password.isEmpty() ? nullptr : options_.password.toUtf8().constData());
  if (rc == MOSQ_ERR_SUCCESS && options_.tls) {
    const QByteArray ca = options_.caFile.toUtf8();
    // Without a CA file the system's authorities are used.
    rc = options_.caFile.isEmpty()
             ? mosquitto_int_option(client_, MOSQ_OPT_TLS_USE_OS_CERTS, 1)
             : mosquitto_tls_set(client_, ca.constData(), nullptr, nullptr, nullptr, nullptr);
  }
  if (rc != MOSQ_ERR_SUCCESS) {
    error = QStringLiteral("the MQTT client refused its settings: %1").arg(Why(rc));
    return false;
  }
  TryFirstConnection();
  return true;
}

void MosquittoClient::TryFirstConnection() {
  // Resolving the name blocks; the connection itself does not.
  const int rc = mosquitto_connect_async(client_, options_.host.toUtf8().constData(), options_.port,
                                         kKeepAliveSeconds);
  if (rc == MOSQ_ERR_SUCCESS) {
    const int loop = mosquitto_loop_start(client_);
    if (loop == MOSQ_ERR_SUCCESS) {
      started_ = true;
      return;
    }
    if (handlers_.disconnected) handlers_.disconnected(Why(loop));
  } else if (handlers_.disconnected) {
    handlers_.disconnected(rc == MOSQ_ERR_ERRNO ? QString::fromLocal8Bit(strerror(errno))
                                                : Why(rc));
  }
  retry_.start(retryMs_);
  retryMs_ = std::min(retryMs_ * 2, kLastRetryMs);
}

void MosquittoClient::Publish(const QString& topic, const QByteArray& payload, bool retain) {
  if (!client_) return;
  // While the broker is away this fails; everything is published again on reconnection.
  mosquitto_publish(client_, nullptr, topic.toUtf8().constData(), static_cast<int>(payload.size()),
                    payload.constData(), kQos, retain);
}

void MosquittoClient::Subscribe(const QString& filter) {
  if (client_) mosquitto_subscribe(client_, nullptr, filter.toUtf8().constData(), kQos);
}

void MosquittoClient::OnConnect(mosquitto*, void* self, int rc) {
  auto* client = static_cast<MosquittoClient*>(self);
  QMetaObject::invokeMethod(
      client,
      [client, rc] {
        if (rc == 0) {
          if (client->handlers_.connected) client->handlers_.connected();
        } else if (client->handlers_.disconnected) {
          client->handlers_.disconnected(QStringLiteral("the broker refused the connection: %1")
                                             .arg(QString::fromUtf8(mosquitto_connack_string(rc))));
        }
      },
      Qt::QueuedConnection);
}

void MosquittoClient::OnDisconnect(mosquitto*, void* self, int rc) {
  auto* client = static_cast<MosquittoClient*>(self);
  QMetaObject::invokeMethod(
      client,
      [client, rc] {
        if (client->handlers_.disconnected) client->handlers_.disconnected(Why(rc));
      },
      Qt::QueuedConnection);
}

void MosquittoClient::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
  auto* client = static_cast<MosquittoClient*>(self);
  QString topic = QString::fromUtf8(message->topic);
  QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
  QMetaObject::invokeMethod(
      client,
      [client, topic = std::move(topic), payload = std::move(payload)] {
        if (client->handlers_.message) client->handlers_.message(topic, payload);
      },
      Qt::QueuedConnection);
}

}  // namespace tavelo::hub
