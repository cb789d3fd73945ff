#pragma once
// The Wi-Fi link: a TCP client to the processor. Open() starts connecting and returns at
// once; IsConnected() turns true when the connection stands. Received bytes go into an
// 8192-byte ring that Fetch drains. Runs on the owner's thread (socket notifications come
// through its event loop).
#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <optional>

#include "core/link/Transport.h"
#include "platform/ReceiveRing.h"
#include "platform/WifiEndpoint.h"

namespace tavelo {

class TcpTransport : public QObject, public Transport {
  Q_OBJECT

 public:
  // Without an explicit endpoint the adapter probe chooses one at every Open().
  explicit TcpTransport(std::optional<NetEndpoint> endpoint = std::nullopt,
                        QObject* parent = nullptr);
  ~TcpTransport() override;

  LinkKind Kind() const override { return LinkKind::kWifi; }
  bool Open() override;
  bool IsConnected() const override;
  bool ConnectFailed() const override { return connectFailed_; }
  int Send(const std::uint8_t* frame, int size) override;
  FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) override;
  void Close() override;
  std::string Describe() const override;
  std::string FailureText() const override { return failure_; }

  // The endpoint of the last Open().
  const NetEndpoint& Target() const { return target_; }
  // A socket object exists (a failed connect releases it at once).
  bool HasSocket() const { return socket_ != nullptr; }
  const ReceiveRing& Ring() const { return ring_; }

 private:
  void OnConnected();
  void OnReadyRead();
  void OnError(QAbstractSocket::SocketError error);
  void OnDisconnected();
  void ReleaseSocket();

  std::optional<NetEndpoint> explicit_;
  NetEndpoint target_;
  QPointer<QTcpSocket> socket_;
  ReceiveRing ring_;
  bool connected_ = false;
  bool peerClosed_ = false;     // the connection stood and the processor closed it
  bool connectFailed_ = false;  // the connection never stood and never will
  std::string failure_;
};

}  // namespace tavelo
