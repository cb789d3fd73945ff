#include "hub/ConnectionGuard.h"

#include <QTimer>

namespace tavelo::hub {

namespace {

constexpr int kQuietMs = 300;
constexpr int kLingerMs = 3000;

// Ends a connection the HTTP server will not handle further. Whatever the client still sends
// is read and dropped until it goes quiet, so it sees the reply (if any) instead of a reset
// connection; a client that never goes quiet is cut off after a few seconds.
void Close(QTcpSocket* socket, const QByteArray& status = {}, const QString& message = {}) {
  QObject::disconnect(socket, &QIODevice::readyRead, nullptr, nullptr);
  if (socket->isTransactionStarted()) socket->commitTransaction();
  socket->readAll();
  if (!status.isEmpty()) {
    const QByteArray body = R"({"error":")" + message.toUtf8() + R"("})";
    socket->write("HTTP/1.1 " + status +
                  "\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
  }
  auto* quiet = new QTimer(socket);
  quiet->setSingleShot(true);
  QObject::connect(quiet, &QTimer::timeout, socket, [socket] { socket->disconnectFromHost(); });
  QObject::connect(socket, &QIODevice::readyRead, quiet, [socket, quiet] {
    socket->readAll();
    quiet->start(kQuietMs);
  });
  quiet->start(kQuietMs);
  QTimer::singleShot(kLingerMs, socket, [socket] {
    socket->abort();
    socket->deleteLater();
  });
}

}  // namespace

// One connection's deadline and byte count; a child of its socket, so it ends with it.
class ConnectionWatch : public QObject {
 public:
  ConnectionWatch(ConnectionGuard& guard, QTcpSocket* socket)
      : QObject(socket), guard_(&guard), socket_(socket) {
    guard.watches_[socket] = this;
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { TimedOut(); });
    // Connected before the HTTP server's own reader, so the bytes are counted before it
    // takes them.
    connect(socket, &QIODevice::readyRead, this, [this] { Arrived(); });
    Arm();
  }
  ~ConnectionWatch() override {
    if (guard_) guard_->watches_.erase(socket_);
  }
  void Detach() { guard_ = nullptr; }
  void Arm() {
    bytes_ = 0;
    deadline_.start(guard_->limits_.requestTimeoutMs);
  }
  void Pause() { deadline_.stop(); }

 private:
  void Arrived() {
    if (!guard_ || refused_) return;
    bytes_ += socket_->bytesAvailable();
    if (bytes_ <= guard_->limits_.maxRequestBytes) return;
    refused_ = true;
    deadline_.stop();
    Close(
        socket_, "413 Payload Too Large",
        QStringLiteral("the request is larger than %1 bytes").arg(guard_->limits_.maxRequestBytes));
  }
  void TimedOut() {
    if (refused_) return;
    refused_ = true;
    // An idle connection between requests just closes: a client reusing it would take a 408
    // for the answer to its next request.
    if (bytes_ == 0 && socket_->bytesAvailable() == 0)
      Close(socket_);
    else
      Close(socket_, "408 Request Timeout",
            QStringLiteral("the request did not arrive within %1 ms")
                .arg(guard_ ? guard_->limits_.requestTimeoutMs : 0));
  }

  ConnectionGuard* guard_;
  QTcpSocket* socket_;
  QTimer deadline_;
  qint64 bytes_ = 0;
  bool refused_ = false;
};

ConnectionGuard::~ConnectionGuard() {
  for (const auto& [socket, watch] : watches_) watch->Detach();
}

bool ConnectionGuard::Admit(QTcpSocket* socket, bool encrypted) {
  // Replies go out as a header write and a body write: without this, Nagle's rule holds the
  // body back until the client's delayed acknowledgement, some 40 ms a request.
  socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  if (Connections() >= limits_.maxConnections) {
    if (encrypted) {
      // No HTTP can be said before the handshake: the connection just closes.
      QTimer::singleShot(0, socket, [socket] {
        socket->abort();
        socket->deleteLater();
      });
    } else {
      Close(socket, "503 Service Unavailable",
            QStringLiteral("too many open connections (%1); try again shortly")
                .arg(limits_.maxConnections));
    }
    return false;
  }
  new ConnectionWatch(*this, socket);
  return true;
}

ConnectionWatch* ConnectionGuard::WatchOf(const QTcpSocket* socket) const {
  const auto it = watches_.find(socket);
  return it == watches_.end() ? nullptr : it->second;
}

void ConnectionGuard::RequestStarted(QTcpSocket* socket) {
  if (ConnectionWatch* watch = WatchOf(socket)) watch->Pause();
}

void ConnectionGuard::RequestFinished(QTcpSocket* socket) {
  if (ConnectionWatch* watch = WatchOf(socket)) watch->Arm();
}

void ConnectionGuard::Release(const QHostAddress& peer, quint16 peerPort) {
  for (const auto& [socket, watch] : watches_)
    if (socket->peerPort() == peerPort && socket->peerAddress() == peer) {
      delete watch;
      return;
    }
}

void GuardedTcpServer::incomingConnection(qintptr descriptor) {
  auto* socket = new QTcpSocket(this);
  if (!socket->setSocketDescriptor(descriptor)) {
    delete socket;
    return;
  }
  if (guard_.Admit(socket, false)) addPendingConnection(socket);
}

}  // namespace tavelo::hub
