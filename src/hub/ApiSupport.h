#pragma once
// The pieces every group of API routes shares: JSON replies, errors, and reading a body.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <optional>

#include "hub/Api.h"

namespace tavelo::hub {

inline ApiReply Json(int status, const QJsonObject& object) {
  return {status, QJsonDocument(object).toJson(QJsonDocument::Compact), 0};
}
inline ApiReply Json(int status, const QJsonArray& array) {
  return {status, QJsonDocument(array).toJson(QJsonDocument::Compact), 0};
}
inline ApiReply Error(int status, const QString& message) {
  return Json(status, QJsonObject{{QStringLiteral("error"), message}});
}

// The body as a JSON object, or the reply that refuses it.
inline std::optional<QJsonObject> BodyObject(const ApiRequest& request, ApiReply& refusal) {
  QJsonParseError parse;
  const QJsonDocument document = QJsonDocument::fromJson(request.body, &parse);
  if (parse.error != QJsonParseError::NoError) {
    refusal = Error(400, QStringLiteral("the body is not valid JSON (%1 at byte %2)")
                             .arg(parse.errorString())
                             .arg(parse.offset));
    return std::nullopt;
  }
  if (!document.isObject()) {
    refusal = Error(400, QStringLiteral("the body must be a JSON object"));
    return std::nullopt;
  }
  return document.object();
}

}  // namespace tavelo::hub
