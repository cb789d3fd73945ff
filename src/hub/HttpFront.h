#pragma once
// Carries HTTP requests to the API and its replies back, and keeps the event WebSockets
// (GET /api/v1/events with a bearer token, in the Authorization header or as ?token=).
#include <QAbstractHttpServer>
#include <QJsonObject>
#include <QWebSocket>
#include <functional>
#include <memory>
#include <vector>

#include "hub/Api.h"
#include "hub/MetricsRoute.h"

namespace tavelo::hub {

class HttpFront : public QAbstractHttpServer {
 public:
  using Clock = std::function<qint64()>;
  HttpFront(Api& api, Accounts& accounts, Clock clock);
  ~HttpFront() override;

  // Sends one event to every connected client.
  void Publish(const QJsonObject& event);
  int EventClients() const { return static_cast<int>(clients_.size()); }
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

  Api& api_;
  Accounts& accounts_;
  Clock clock_;
  std::vector<std::unique_ptr<QWebSocket>> clients_;
  const MetricsRoute* metricsRoute_ = nullptr;
  HubMetrics* metrics_ = nullptr;
};

}  // namespace tavelo::hub
