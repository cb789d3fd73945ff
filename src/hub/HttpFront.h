#pragma once
// Carries HTTP requests to the API and its replies back, keeps the event WebSockets
// (GET /api/v1/events with a bearer token, in the Authorization header or as ?token=), and
// serves the web panel's files compiled into the program everywhere outside /api/.
#include <QAbstractHttpServer>
#include <QJsonObject>
#include <QWebSocket>
#include <functional>
#include <memory>
#include <vector>

#include "hub/Api.h"
#include "hub/WebAssets.h"

namespace tavelo::hub {

class HttpFront : public QAbstractHttpServer {
 public:
  using Clock = std::function<qint64()>;
  HttpFront(Api& api, Accounts& accounts, Clock clock);
  ~HttpFront() override;

  // Sends one event to every connected client.
  void Publish(const QJsonObject& event);
  int EventClients() const { return static_cast<int>(clients_.size()); }

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
  std::vector<std::unique_ptr<QWebSocket>> clients_;
};

}  // namespace tavelo::hub
