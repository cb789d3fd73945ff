#include "hub/ConnectionGuard.h"

#include <QTimer>

namespace tavelo::hub {

namespace {

// A reply written straight to the socket, for connections the HTTP server never handles.
void ReplyAndClose(QTcpSocket* socket, const QByteArray& status, const QString& message) {
  const QByteArray body = R"({"error":")" + message.toUtf8() + R"("})";
  socket->write("HTTP/1.1 " + status +
                "\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
                QByteArray::number(body.size()) + "\r\n\r\n" + body);
  socket->disconnectFromHost();
  // A peer that never reads must not keep the socket: it goes a second later regardless.
  QTimer::singleShot(1000, socket, [socket] {
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
    // The HTTP server reads no more of it; the rest is read and dropped until the client
    // goes quiet, so it sees the reply instead of a reset connection.
    QObject::disconnect(socket_, &QIODevice::readyRead, nullptr, nullptr);
    if (socket_->isTransactionStarted()) socket_->commitTransaction();
    socket_->readAll();
    const qint64 limit = guard_->limits_.maxRequestBytes;
    const QByteArray body =
        R"({"error":"the request is larger than )" + QByteArray::number(limit) + R"( bytes"})";
    socket_->write(
        "HTTP/1.1 413 Payload Too Large\r\nContent-Type: application/json\r\nConnection: "
        "close\r\nContent-Length: " +
        QByteArray::number(body.size()) + "\r\n\r\n" + body);
    auto* quiet = new QTimer(this);
    quiet->setSingleShot(true);
    connect(quiet, &QTimer::timeout, this, [this] { Close(); });
    connect(socket_, &QIODevice::readyRead, this, [this, quiet] {
      socket_->readAll();
      quiet->start(300);
    });
    quiet->start(300);
    QTimer::singleShot(5000, this, [this] { Close(); });
  }
  void TimedOut() {
    if (refused_) return;
    refused_ = true;
    QObject::disconnect(socket_, &QIODevice::readyRead, nullptr, nullptr);
    ReplyAndClose(socket_, "408 Request Timeout",
                  QStringLiteral("the request did not arrive within %1 ms")
                      .arg(guard_ ? guard_->limits_.requestTimeoutMs : 0));
  }
  void Close() {
    socket_->disconnectFromHost();
    QTimer::singleShot(1000, socket_, [socket = socket_] {
      socket->abort();
      socket->deleteLater();
    });
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
  if (Connections() >= limits_.maxConnections) {
    if (encrypted) {
      // No HTTP can be said before the handshake: the connection just closes.
      QTimer::singleShot(0, socket, [socket] {
        socket->abort();
        socket->deleteLater();
      });
    } else {
      ReplyAndClose(socket, "503 Service Unavailable",
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
