#pragma once
// The bridge's MQTT client over libmosquitto. The library's own thread keeps the connection,
// reconnecting with back-off (1 s doubling to 30 s) whenever the broker goes away. That
// thread retries only a connection that once succeeded, so until the first one does, a timer
// here tries again on the same back-off. What the thread
// reports reaches this object's thread as queued calls, so the bridge runs on the service's
// event loop only. The broker publishes "offline" on the status topic, retained, as the
// client's last will.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "hub/MqttBridge.h"
#include "hub/MqttOptions.h"

struct mosquitto;
struct mosquitto_message;

namespace tavelo::hub {

class MosquittoClient : public QObject, public MqttLink {
 public:
  struct Handlers {
    std::function<void()> connected;
    std::function<void(const QString& why)> disconnected;
    std::function<void(const QString& topic, const QByteArray& payload)> message;
  };
  MosquittoClient(MqttOptions options, QString willTopic, Handlers handlers);
  ~MosquittoClient() override;

  // Starts the connection; false with `error` when the options are refused (a missing CA
  // file, no memory). A broker that is not there yet is not an error: it is retried.
  bool Start(QString& error);

  void Publish(const QString& topic, const QByteArray& payload, bool retain) override;
  void Subscribe(const QString& filter) override;

 private:
  void TryFirstConnection();

  static void OnConnect(mosquitto*, void* self, int rc);
  static void OnDisconnect(mosquitto*, void* self, int rc);
  static void OnMessage(mosquitto*, void* self, const mosquitto_message* message);

  MqttOptions options_;
  QString willTopic_;
  Handlers handlers_;
  mosquitto* client_ = nullptr;
  bool started_ = false;  // the library's thread runs
  QTimer retry_;
  int retryMs_ = kFirstRetryMs;
  static constexpr int kFirstRetryMs = 1000;
  static constexpr int kLastRetryMs = 30000;
};

}  // namespace tavelo::hub
