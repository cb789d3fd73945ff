#pragma once
// Carries HTTP requests to the API and its replies back, keeps the event WebSockets
// (GET /api/v1/events with a bearer token, in the Authorization header or as ?token=), and
// serves the web panel's files compiled into the program everywhere outside /api/.
#include <QAbstractHttpServer>
#include <QJsonObject>
#include <QSslConfiguration>
#include <QWebSocket>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "hub/Api.h"
#include "hub/ConnectionGuard.h"
#include "hub/Listening.h"
#include "hub/MetricsRoute.h"
#include "hub/WebAssets.h"

namespace tavelo::hub {

class HttpFront : public QAbstractHttpServer {
 public:
  using Clock = std::function<qint64()>;
  HttpFront(Api& api, Accounts& accounts, Clock clock, ConnectionLimits limits = DefaultLimits());
  ~HttpFront() override;

  // A request's head may take this much beside the API's largest body.
  static constexpr qint64 kMaxHeadBytes = 16 * 1024;
  static ConnectionLimits DefaultLimits();

  // Listens on `where`, with TLS when a configuration is given. On failure `error` says why.
  // Returns the port (the chosen one for port 0).
  std::optional<quint16> Listen(const ListenAddress& where,
                                const std::optional<QSslConfiguration>& tls, QString& error);

  // Sends one event to every connected client.
  void Publish(const QJsonObject& event);
  int EventClients() const { return static_cast<int>(clients_.size()); }
  // Open HTTP connections (WebSockets not counted).
  int Connections() const { return guard_.Connections(); }
  // Serves /metrics from `route` and times every API request into `metrics`.
  void SetMetrics(const MetricsRoute* route, HubMetrics* metrics) {
    metricsRoute_ = route;
    metrics_ = metrics;
  }

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  void AcceptWebSockets();
  bool ServePanel(const QHttpServerRequest& request, QTcpSocket* socket);

  Api& api_;
  Accounts& accounts_;
  Clock clock_;
  WebAssets assets_{QStringLiteral(":/web")};
  ConnectionGuard guard_;
  std::vector<std::unique_ptr<QWebSocket>> clients_;
  const MetricsRoute* metricsRoute_ = nullptr;
  HubMetrics* metrics_ = nullptr;
};

}  // namespace tavelo::hub
