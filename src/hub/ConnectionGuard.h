#pragma once
// Keeps the HTTP front's connections within bounds the HTTP server itself does not set: a
// request (head and body) must arrive within a time limit, and an idle connection closes
// after it, so clients that send a byte now and then cannot hold sockets open; a request
// larger than the limit is answered 413 before its body is read into memory; and beyond a
// number of open connections new ones are answered 503 and closed.
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <map>

namespace tavelo::hub {

struct ConnectionLimits {
  int maxConnections = 512;
  int requestTimeoutMs = 10000;
  qint64 maxRequestBytes = 80 * 1024;  // head and body
};

class ConnectionWatch;

class ConnectionGuard : public QObject {
 public:
  explicit ConnectionGuard(ConnectionLimits limits) : limits_(limits) {}
  ~ConnectionGuard() override;

  // Watches a new connection; false when it was one too many (it is then answered and closed).
  // Call it before the HTTP server sees the socket, so the size check reads bytes first.
  bool Admit(QTcpSocket* socket, bool encrypted);
  // While a request is handled its connection has no deadline; afterwards the clock starts
  // again for the next request.
  void RequestStarted(QTcpSocket* socket);
  void RequestFinished(QTcpSocket* socket);
  // The connection became a WebSocket: its own rules apply from now on.
  void Release(const QHostAddress& peer, quint16 peerPort);

  int Connections() const { return static_cast<int>(watches_.size()); }
  const ConnectionLimits& Limits() const { return limits_; }

 private:
  friend class ConnectionWatch;
  ConnectionWatch* WatchOf(const QTcpSocket* socket) const;

  ConnectionLimits limits_;
  std::map<const QTcpSocket*, ConnectionWatch*> watches_;
};

// A plain TCP server whose connections the guard admits.
class GuardedTcpServer : public QTcpServer {
 public:
  GuardedTcpServer(ConnectionGuard& guard, QObject* parent) : QTcpServer(parent), guard_(guard) {}

 protected:
  void incomingConnection(qintptr descriptor) override;

 private:
  ConnectionGuard& guard_;
};

}  // namespace tavelo::hub
