#include "hub/HttpFront.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QNetworkRequest>
#include <QUrlQuery>

namespace tavelo::hub {

namespace {

QByteArray MethodName(QHttpServerRequest::Method method) {
  switch (method) {
    case QHttpServerRequest::Method::Get:
      return "GET";
    case QHttpServerRequest::Method::Put:
      return "PUT";
    case QHttpServerRequest::Method::Delete:
      return "DELETE";
    case QHttpServerRequest::Method::Post:
      return "POST";
    case QHttpServerRequest::Method::Patch:
      return "PATCH";
    default:
      return "OTHER";
  }
}

}  // namespace

HttpFront::HttpFront(Api& api, Accounts& accounts, Clock clock)
    : api_(api), accounts_(accounts), clock_(std::move(clock)) {
  connect(this, &QAbstractHttpServer::newWebSocketConnection, this, [this] { AcceptWebSockets(); });
}

HttpFront::~HttpFront() = default;

bool HttpFront::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  // The server hands a WebSocket upgrade to AcceptWebSockets after this: no reply here.
  if (request.value("Upgrade").compare("websocket", Qt::CaseInsensitive) == 0) return true;
  if (metricsRoute_)
    if (const auto metrics =
            metricsRoute_->Handle(MethodName(request.method()), request.url().path())) {
      makeResponder(request, socket)
          .write(metrics->body, metrics->contentType,
                 static_cast<QHttpServerResponder::StatusCode>(metrics->status));
      return true;
    }
  QElapsedTimer timer;
  timer.start();
  ApiRequest in;
  in.method = MethodName(request.method());
  in.path = request.url().path();
  in.authorization = request.value("Authorization");
  in.body = request.body();
  in.origin = request.remoteAddress().toString();
  const ApiReply reply = api_.Handle(in);
  if (metrics_) metrics_->ObserveRequest(static_cast<double>(timer.nsecsElapsed()) / 1e9);
  QHttpServerResponder responder = makeResponder(request, socket);
  const auto status = static_cast<QHttpServerResponder::StatusCode>(reply.status);
  if (reply.retryAfterSeconds > 0)
    responder.write(reply.body,
                    {{"Content-Type", "application/json"},
                     {"Retry-After", QByteArray::number(reply.retryAfterSeconds)}},
                    status);
  else
    responder.write(reply.body, "application/json", status);
  return true;
}

void HttpFront::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  makeResponder(request, socket)
      .write(QByteArray(R"({"error":"no such resource"})"), "application/json",
             QHttpServerResponder::StatusCode::NotFound);
}

void HttpFront::AcceptWebSockets() {
  while (hasPendingWebSocketConnections()) {
    std::unique_ptr<QWebSocket> socket = nextPendingWebSocketConnection();
    if (!socket) continue;
    const QUrl url = socket->requestUrl();
    QByteArray token = socket->request().rawHeader("Authorization");
    token = token.startsWith("Bearer ")
                ? token.mid(7).trimmed()
                : QUrlQuery(url).queryItemValue(QStringLiteral("token")).toLatin1();
    if (url.path() != QStringLiteral("/api/v1/events")) {
      socket->close(QWebSocketProtocol::CloseCodeNormal,
                    QStringLiteral("events are at /api/v1/events"));
      continue;
    }
    if (!accounts_.Authenticate(QString::fromLatin1(token), clock_())) {
      socket->close(QWebSocketProtocol::CloseCodePolicyViolated,
                    QStringLiteral("the token is unknown, expired or revoked"));
      continue;
    }
    QWebSocket* raw = socket.get();
    connect(raw, &QWebSocket::disconnected, this, [this, raw] {
      for (auto it = clients_.begin(); it != clients_.end(); ++it)
        if (it->get() == raw) {
          it->release()->deleteLater();
          clients_.erase(it);
          return;
        }
    });
    clients_.push_back(std::move(socket));
  }
}

void HttpFront::Publish(const QJsonObject& event) {
  const QString text = QString::fromUtf8(QJsonDocument(event).toJson(QJsonDocument::Compact));
  for (const auto& client : clients_) client->sendTextMessage(text);
}

}  // namespace tavelo::hub
