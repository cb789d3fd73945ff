#include "hub/HttpFront.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslServer>
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

HttpFront::HttpFront(Api& api, Accounts& accounts, Clock clock, ConnectionLimits limits)
    : api_(api), accounts_(accounts), clock_(std::move(clock)), guard_(limits) {
  connect(this, &QAbstractHttpServer::newWebSocketConnection, this, [this] { AcceptWebSockets(); });
}

HttpFront::~HttpFront() = default;

ConnectionLimits HttpFront::DefaultLimits() {
  ConnectionLimits limits;
  limits.maxRequestBytes = Api::kMaxBodyBytes + kMaxHeadBytes;
  return limits;
}

std::optional<quint16> HttpFront::Listen(const ListenAddress& where,
                                         const std::optional<QSslConfiguration>& tls,
                                         QString& error) {
  QTcpServer* server = nullptr;
  if (tls) {
    auto* secure = new QSslServer(this);
    secure->setSslConfiguration(*tls);
    connect(secure, &QSslServer::startedEncryptionHandshake, this,
            [this](QSslSocket* socket) { guard_.Admit(socket, true); });
    server = secure;
  } else {
    server = new GuardedTcpServer(guard_, this);
  }
  if (!server->listen(where.address, where.port)) {
    error = QStringLiteral("cannot listen on %1 port %2: %3")
                .arg(where.address.toString())
                .arg(where.port)
                .arg(server->errorString());
    delete server;
    return std::nullopt;
  }
  bind(server);
  return server->serverPort();
}

bool HttpFront::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  // The server hands a WebSocket upgrade to AcceptWebSockets after this: no reply here.
  if (request.value("Upgrade").compare("websocket", Qt::CaseInsensitive) == 0) return true;
  guard_.RequestStarted(socket);
  if (!request.url().path().startsWith(QStringLiteral("/api/")) &&
      request.url().path() != QStringLiteral("/metrics")) {
    ServePanel(request, socket);
    guard_.RequestFinished(socket);
    return true;
  }
  if (metricsRoute_)
    if (const auto metrics =
            metricsRoute_->Handle(MethodName(request.method()), request.url().path())) {
      makeResponder(request, socket)
          .write(metrics->body, metrics->contentType,
                 static_cast<QHttpServerResponder::StatusCode>(metrics->status));
      guard_.RequestFinished(socket);
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
  // A write waits for its room while the event loop runs on: the client may leave meanwhile.
  const QPointer<QTcpSocket> alive(socket);
  const ApiReply reply = api_.Handle(in);
  if (metrics_) metrics_->ObserveRequest(static_cast<double>(timer.nsecsElapsed()) / 1e9);
  if (!alive) return true;
  QHttpServerResponder responder = makeResponder(request, socket);
  const auto status = static_cast<QHttpServerResponder::StatusCode>(reply.status);
  if (reply.retryAfterSeconds > 0)
    responder.write(reply.body,
                    {{"Content-Type", "application/json"},
                     {"Retry-After", QByteArray::number(reply.retryAfterSeconds)}},
                    status);
  else
    responder.write(reply.body, "application/json", status);
  guard_.RequestFinished(socket);
  return true;
}

bool HttpFront::ServePanel(const QHttpServerRequest& request, QTcpSocket* socket) {
  QHttpServerResponder responder = makeResponder(request, socket);
  const auto asset = request.method() == QHttpServerRequest::Method::Get
                         ? assets_.Find(request.url().path())
                         : std::nullopt;
  const QByteArray body = asset ? asset->body : QByteArray("no such page\n");
  responder.writeStatusLine(asset ? QHttpServerResponder::StatusCode::Ok
                                  : QHttpServerResponder::StatusCode::NotFound);
  for (const auto& [name, value] :
       PanelHeaders(asset ? asset->contentType : QByteArray("text/plain; charset=utf-8")))
    responder.writeHeader(name, value);
  responder.writeHeader("Content-Length", QByteArray::number(body.size()));
  responder.writeBody(body);
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
    guard_.Release(socket->peerAddress(), socket->peerPort());
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
