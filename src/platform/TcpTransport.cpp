#include "platform/TcpTransport.h"

#include <QByteArray>

namespace tavelo {

TcpTransport::TcpTransport(std::optional<NetEndpoint> endpoint, QObject* parent)
    : QObject(parent), explicit_(std::move(endpoint)) {}

TcpTransport::~TcpTransport() {
  ReleaseSocket();
}

bool TcpTransport::Open() {
  Close();  // every connect gets a new socket
  failure_.clear();
  target_ = ResolveWifiEndpoint(explicit_);
  socket_ = new QTcpSocket(this);
  connect(socket_, &QTcpSocket::connected, this, &TcpTransport::OnConnected);
  connect(socket_, &QTcpSocket::readyRead, this, &TcpTransport::OnReadyRead);
  connect(socket_, &QTcpSocket::errorOccurred, this, &TcpTransport::OnError);
  connect(socket_, &QTcpSocket::disconnected, this, &TcpTransport::OnDisconnected);
  socket_->connectToHost(QString::fromStdString(target_.host), target_.port);
  return true;
}

bool TcpTransport::IsConnected() const {
  return connected_ && socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void TcpTransport::OnConnected() {
  connected_ = true;
  // Requests are small and each waits for its reply: send them without delay.
  socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  Wake();
}

void TcpTransport::OnReadyRead() {
  if (!socket_) return;
  const QByteArray bytes = socket_->readAll();
  ring_.Write(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
              static_cast<std::size_t>(bytes.size()));
  Wake();
}

std::string TcpTransport::Describe() const {
  const NetEndpoint& shown = socket_ || !explicit_ ? target_ : *explicit_;
  if (shown.host.empty()) return "Wi-Fi (the processor's own network)";
  return "Wi-Fi " + shown.host + ":" + std::to_string(shown.port);
}

void TcpTransport::OnError(QAbstractSocket::SocketError error) {
  const std::string where = target_.host + ":" + std::to_string(target_.port);
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      failure_ = "connection refused by " + where + ": nothing listens on that port";
      break;
    case QAbstractSocket::HostNotFoundError:
      failure_ = "unknown host " + target_.host;
      break;
    case QAbstractSocket::RemoteHostClosedError:
      failure_ = "the processor at " + where + " closed the connection";
      break;
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::SocketTimeoutError:
      failure_ = where + " is unreachable (" + socket_->errorString().toStdString() + ")";
      break;
    default:
      failure_ = where + ": " + socket_->errorString().toStdString();
      break;
  }
  if (!connected_) {
    // The connect failed: nothing will come of this socket, so let it go now, and say so
    // at once (a refusal is an answer, not a reason to wait out the connect window).
    ReleaseSocket();
    connectFailed_ = true;
    Wake();
    return;
  }
  OnDisconnected();
}

void TcpTransport::OnDisconnected() {
  if (!connected_) return;
  // Bytes that arrived before the close are still handed over; then Fetch fails.
  if (socket_ && socket_->bytesAvailable() > 0) OnReadyRead();
  connected_ = false;
  peerClosed_ = true;
  Wake();
}

int TcpTransport::Send(const std::uint8_t* frame, int size) {
  if (!IsConnected() || size <= 0) return 0;
  const qint64 written = socket_->write(reinterpret_cast<const char*>(frame), size);
  return written > 0 ? static_cast<int>(written) : 0;
}

FetchStatus TcpTransport::Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) {
  got = ring_.Read(out, capacity);
  if (got > 0) return FetchStatus::kBytes;
  if (peerClosed_ || !socket_) return FetchStatus::kFailed;
  return FetchStatus::kNothing;
}

void TcpTransport::Close() {
  ReleaseSocket();
  ring_.Clear();
  connected_ = false;
  peerClosed_ = false;
  connectFailed_ = false;
}

void TcpTransport::ReleaseSocket() {
  if (!socket_) return;
  QTcpSocket* socket = socket_;
  socket_ = nullptr;
  socket->disconnect(this);
  socket->abort();
  socket->deleteLater();
}

}  // namespace tavelo
