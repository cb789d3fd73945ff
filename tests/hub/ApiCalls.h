#pragma once
// Calling the API as a client would, from the loopback address, and logging in for a token.
#include <gtest/gtest.h>

#include <QJsonDocument>

#include "hub/Api.h"

namespace tavelo::hubtest {

inline hub::ApiReply CallApi(hub::Api& api, const QByteArray& method, const QString& path,
                             const QByteArray& auth, const QByteArray& body = {}) {
  return api.Handle({method, path, auth, body, QStringLiteral("127.0.0.1")});
}

// The Authorization header of a fresh session of `user`.
inline QByteArray LoginHeader(hub::Api& api, const char* user, const char* password) {
  const hub::ApiReply reply = CallApi(api, "POST", QStringLiteral("/api/v1/session"), {},
                                      QStringLiteral(R"({"user": "%1", "password": "%2"})")
                                          .arg(QLatin1String(user), QLatin1String(password))
                                          .toUtf8());
  EXPECT_EQ(reply.status, 200) << reply.body.toStdString();
  return "Bearer " + QJsonDocument::fromJson(reply.body)
                         .object()
                         .value(QStringLiteral("token"))
                         .toString()
                         .toLatin1();
}

}  // namespace tavelo::hubtest
