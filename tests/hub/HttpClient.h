#pragma once
// One HTTP exchange with the service for a test, waited for on the event loop (the service
// may run in the same thread).
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace tavelo::hubtest {

struct HttpReply {
  int status = 0;
  QByteArray body;
  QByteArray retryAfter;
};

inline HttpReply Http(QNetworkAccessManager& net, const QByteArray& method, const QString& url,
                      const QByteArray& token = {}, const QByteArray& body = {}) {
  QNetworkRequest request{QUrl(url)};
  request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
  if (!token.isEmpty()) request.setRawHeader("Authorization", "Bearer " + token);
  QNetworkReply* reply = net.sendCustomRequest(request, method, body);
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  HttpReply out{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                reply->readAll(), reply->rawHeader("Retry-After")};
  reply->deleteLater();
  return out;
}

}  // namespace tavelo::hubtest
