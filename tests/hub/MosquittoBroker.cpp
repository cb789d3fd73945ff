#include "MosquittoBroker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace tavelo::hubtest {

bool WaitUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return true;
}

MosquittoBroker::MosquittoBroker() {
  QTcpServer probe;
  if (probe.listen(QHostAddress::LocalHost, 0)) port_ = probe.serverPort();
}

bool MosquittoBroker::Start() {
  if (!dir_.isValid() || port_ == 0) {
    problem_ = QStringLiteral("no temporary folder or free port");
    return false;
  }
  const QString config = dir_.filePath(QStringLiteral("mosquitto.conf"));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) {
    problem_ = file.errorString();
    return false;
  }
  file.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\npersistence false\n"
                            "log_dest stderr\n")
                 .arg(port_)
                 .toUtf8());
  file.close();
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QString::fromLatin1(kProgram), {QStringLiteral("-c"), config});
  if (!process_.waitForStarted(5000)) {
    problem_ = QStringLiteral("mosquitto did not start: ") + process_.errorString();
    return false;
  }
  const bool up = WaitUntil(
      [this] {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
        return socket.waitForConnected(200);
      },
      5000);
  if (!up) problem_ = QStringLiteral("mosquitto takes no connection on port %1").arg(port_);
  return up;
}

void MosquittoBroker::Stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(5000)) process_.kill();
  process_.waitForFinished(2000);
}

WatchingClient::WatchingClient(int port) {
  mosquitto_lib_init();
  client_ = mosquitto_new(nullptr, true, this);
  if (!client_) return;
  mosquitto_message_callback_set(client_, &WatchingClient::OnMessage);
  connected_ = mosquitto_connect(client_, "127.0.0.1", port, 30) == MOSQ_ERR_SUCCESS &&
               mosquitto_subscribe(client_, nullptr, "#", 1) == MOSQ_ERR_SUCCESS &&
               mosquitto_loop_start(client_) == MOSQ_ERR_SUCCESS;
}

WatchingClient::~WatchingClient() {
  if (!client_) return;
  mosquitto_disconnect(client_);
  mosquitto_loop_stop(client_, false);
  mosquitto_destroy(client_);
}

void WatchingClient::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
  auto* client = static_cast<WatchingClient*>(self);
  const std::lock_guard lock(client->mutex_);
  client->last_[QString::fromUtf8(message->topic)] =
      QByteArray(static_cast<const char*>(message->payload), message->payloadlen);
}

std::optional<QByteArray> WatchingClient::Last(const QString& topic) const {
  const std::lock_guard lock(mutex_);
  const auto it = last_.find(topic);
  if (it == last_.end()) return std::nullopt;
  return it->second;
}

int WatchingClient::Count(const std::function<bool(const QString&)>& topicMatches) const {
  const std::lock_guard lock(mutex_);
  int count = 0;
  for (const auto& [topic, payload] : last_) count += topicMatches(topic) ? 1 : 0;
  return count;
}

void WatchingClient::Publish(const QString& topic, const QByteArray& payload) {
  mosquitto_publish(client_, nullptr, topic.toUtf8().constData(), static_cast<int>(payload.size()),
                    payload.constData(), 1, false);
}

}  // namespace tavelo::hubtest
