#include "platform/WifiModuleSocket.h"

#include <QByteArray>

namespace tavelo {

WifiModuleSocket::WifiModuleSocket(NetEndpoint endpoint, QObject* parent)
    : QObject(parent), endpoint_(std::move(endpoint)) {
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &WifiModuleSocket::Second);
  timer_.start();
  connectTimer_.setSingleShot(true);
  connectTimer_.setInterval(kConnectTimeoutMs);
  connect(&connectTimer_, &QTimer::timeout, this, [this] {
    if (session_.IsConnected() || !socket_) return;
    socket_->abort();
    emit connectFailed(QStringLiteral("no answer within %1 s").arg(kConnectTimeoutMs / 1000));
  });
}

WifiModuleSocket::~WifiModuleSocket() {
  if (socket_) socket_->abort();
}

void WifiModuleSocket::SetTimerEnabled(bool enabled) {
  if (enabled) {
    timer_.start();
  } else {
    timer_.stop();
  }
}

void WifiModuleSocket::Connect() {
  if (session_.IsConnected()) return;
  if (!socket_) {
    socket_ = new QTcpSocket(this);
    socket_->setReadBufferSize(static_cast<qint64>(ModuleSession::kReadBufferBytes));
    connect(socket_, &QTcpSocket::connected, this, &WifiModuleSocket::OnConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &WifiModuleSocket::OnReadyRead);
    connect(socket_, &QTcpSocket::errorOccurred, this, &WifiModuleSocket::OnError);
    // A close by the module is not acted on: missed heartbeats drop the connection.
  }
  socket_->abort();
  socket_->connectToHost(QString::fromStdString(endpoint_.host), endpoint_.port);
  connectTimer_.start();
}

void WifiModuleSocket::Disconnect() {
  connectTimer_.stop();
  const bool wasConnected = session_.IsConnected();
  session_.Disconnected();
  if (wasConnected || socket_) Drop();
}

void WifiModuleSocket::OnConnected() {
  connectTimer_.stop();
  session_.Connected();
  emit connectedChanged(true);
}

void WifiModuleSocket::OnError() {
  // Errors of an established link are left to the missed heartbeats; only a failed
  // attempt is reported, so the user knows why nothing happened.
  if (session_.IsConnected() || !socket_) return;
  connectTimer_.stop();
  emit connectFailed(socket_->errorString());
}

void WifiModuleSocket::OnReadyRead() {
  if (!socket_) return;
  // One read of what is there (the socket buffers at most kReadBufferBytes) is one reply
  // candidate.
  const QByteArray bytes = socket_->readAll();
  const ModuleCommand pending = session_.Pending();
  const auto notice =
      session_.BytesReceived(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size()));
  if (!session_.SpeaksProtocol()) {
    // A flood or another service on the port: nothing it sends can be a reply.
    session_.Disconnected();
    Drop();
    if (pending != ModuleCommand::kNone) emit settingUnanswered();
    return;
  }
  if (notice != ModuleSession::Notice::kNone)
    emit settingAnswered(notice == ModuleSession::Notice::kSetOk);
}

ModuleSettingCheck WifiModuleSocket::SetAp(const std::string& name, const std::string& password) {
  return SendSetting(ModuleCommand::kSetAp, CheckApSetting(name, password), name, password);
}

ModuleSettingCheck WifiModuleSocket::SetSta(const std::string& name, const std::string& password) {
  return SendSetting(ModuleCommand::kSetSta, CheckStaSetting(name, password), name, password);
}

ModuleSettingCheck WifiModuleSocket::SendSetting(ModuleCommand command, ModuleSettingCheck check,
                                                 const std::string& name,
                                                 const std::string& password) {
  if (check != ModuleSettingCheck::kOk || !session_.IsConnected() || !socket_) return check;
  const ModuleSettingMessage message = BuildModuleSetting(command, name, password);
  session_.CommandSent(command);
  socket_->write(reinterpret_cast<const char*>(message.data()), message.size());
  return check;
}

void WifiModuleSocket::Restore() {
  if (!session_.IsConnected() || !socket_) return;
  const ModuleShortMessage message = BuildModuleRestore();
  socket_->write(reinterpret_cast<const char*>(message.data()), message.size());
}

void WifiModuleSocket::Second() {
  switch (session_.Second()) {
    case ModuleSession::TickAction::kSendHeartbeat:
      if (socket_) {
        const ModuleShortMessage beat = BuildModuleHeartbeat();
        socket_->write(reinterpret_cast<const char*>(beat.data()), beat.size());
      }
      break;
    case ModuleSession::TickAction::kDrop:
      Drop();
      break;
    case ModuleSession::TickAction::kDropUnanswered:
      Drop();
      emit settingUnanswered();
      break;
    case ModuleSession::TickAction::kNothing:
      break;
  }
}

void WifiModuleSocket::Drop() {
  if (socket_) {
    QTcpSocket* socket = socket_;
    socket_ = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
  }
  emit connectedChanged(false);
}

}  // namespace tavelo
