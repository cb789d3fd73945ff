#pragma once
// The small pieces every route of the API answers with.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <optional>

#include "core/params/ParamImage.h"
#include "hub/Api.h"
#include "hub/RoomAccess.h"

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

// The status a change a room did not take is answered with: the request does not fit the room
// now (422), the room is away (409), the link failed (502) or did not answer in time (504).
inline int StatusForFault(RoomFault fault) {
  switch (fault) {
    case RoomFault::kRefused:
      return 422;
    case RoomFault::kOffline:
      return 409;
    case RoomFault::kTimedOut:
      return 504;
    case RoomFault::kLink:
      break;
  }
  return 502;
}

// A preset as the panel numbers them, 1..10, from a body; nothing for anything else.
inline std::optional<int> PresetNumber(const QJsonValue& value) {
  const int number = value.toInt(0);
  if (!value.isDouble() || value.toDouble() != number || number < 1 || number > kStoredPresets)
    return std::nullopt;
  return number;
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
