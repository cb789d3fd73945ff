// The API's description, served at /api/v1/openapi.json. One row per operation.
#include <QJsonArray>

#include "hub/Api.h"

namespace tavelo::hub {

namespace {

struct Operation {
  const char* path;
  const char* method;
  const char* summary;
  bool bearer;
  std::initializer_list<const char*> statuses;
};

const Operation kOperations[] = {
    {"/api/v1/session",
     "post",
     "Log in with {\"user\", \"password\"}; returns {\"token\", \"role\"}",
     false,
     {"200", "400", "401", "429", "503"}},
    {"/api/v1/session", "delete", "Log out: the token is revoked", true, {"200", "401"}},
    {"/api/v1/rooms",
     "get",
     "Every room: name, online, since, preset (1..10), preset_name",
     true,
     {"200", "401"}},
    {"/api/v1/rooms/{name}/values",
     "get",
     "Every named value of the room's working set, as `tavelo-cli show --json` writes them",
     true,
     {"200", "401", "404", "409"}},
    {"/api/v1/rooms/{name}/values",
     "patch",
     "Write named values (show --json forms or set text); all or nothing",
     true,
     {"200", "400", "401", "403", "404", "409", "413", "422", "502", "503"}},
    {"/api/v1/rooms/{name}/recall",
     "post",
     "Recall preset {\"preset\": 1..10}",
     true,
     {"200", "400", "401", "403", "404", "409", "422", "502"}},
    {"/api/v1/rooms/{name}/caps",
     "get",
     "The room's caps: {NAME: MAX}",
     true,
     {"200", "401", "404"}},
    {"/api/v1/rooms/{name}/caps",
     "put",
     "Replace the room's caps (owner, installer)",
     true,
     {"200", "400", "401", "403", "404", "422", "503"}},
    {"/api/v1/rooms/{name}/history",
     "get",
     "Versions, newest first: id, time, slot, source, user, content, changes by name",
     true,
     {"200", "401", "404", "503"}},
    {"/api/v1/openapi.json", "get", "This document", false, {"200"}},
    {"/metrics",
     "get",
     "The service's counters in the Prometheus text format (no token needed)",
     false,
     {"200", "405"}},
};

QString Description(const QString& status) {
  static const QHash<QString, QString> texts = {
      {QStringLiteral("200"), QStringLiteral("done")},
      {QStringLiteral("400"), QStringLiteral("the body is not valid JSON or lacks a field")},
      {QStringLiteral("401"), QStringLiteral("not logged in, or the token expired or was revoked")},
      {QStringLiteral("403"),
       QStringLiteral("the role may not do this, or a value is above the room's cap")},
      {QStringLiteral("404"), QStringLiteral("no such room or resource")},
      {QStringLiteral("409"),
       QStringLiteral("the room is offline or not read yet; nothing was sent")},
      {QStringLiteral("405"), QStringLiteral("the path takes another method")},
      {QStringLiteral("413"), QStringLiteral("the body is too large")},
      {QStringLiteral("422"),
       QStringLiteral("an unknown name or an out-of-range value; nothing was sent")},
      {QStringLiteral("429"), QStringLiteral("too many failed logins; see Retry-After")},
      {QStringLiteral("502"), QStringLiteral("the processor did not take the change")},
      {QStringLiteral("503"), QStringLiteral("the database cannot be reached")},
  };
  return texts.value(status);
}

}  // namespace

QJsonObject OpenApiDocument() {
  QJsonObject paths;
  for (const Operation& op : kOperations) {
    QJsonObject responses;
    for (const char* status : op.statuses)
      responses.insert(QLatin1String(status), QJsonObject{{QStringLiteral("description"),
                                                           Description(QLatin1String(status))}});
    QJsonObject operation{{QStringLiteral("summary"), QLatin1String(op.summary)},
                          {QStringLiteral("responses"), responses}};
    if (QString(QLatin1String(op.path)).contains(QLatin1String("{name}")))
      operation.insert(QStringLiteral("parameters"),
                       QJsonArray{QJsonObject{
                           {QStringLiteral("name"), QStringLiteral("name")},
                           {QStringLiteral("in"), QStringLiteral("path")},
                           {QStringLiteral("required"), true},
                           {QStringLiteral("schema"),
                            QJsonObject{{QStringLiteral("type"), QStringLiteral("string")}}}}});
    if (!op.bearer) operation.insert(QStringLiteral("security"), QJsonArray{});
    QJsonObject item = paths.value(QLatin1String(op.path)).toObject();
    item.insert(QLatin1String(op.method), operation);
    paths.insert(QLatin1String(op.path), item);
  }
  return {
      {QStringLiteral("openapi"), QStringLiteral("3.0.3")},
      {QStringLiteral("info"), QJsonObject{{QStringLiteral("title"), QStringLiteral("tavelo-hub")},
                                           {QStringLiteral("version"), QStringLiteral("1")}}},
      {QStringLiteral("paths"), paths},
      {QStringLiteral("components"),
       QJsonObject{
           {QStringLiteral("securitySchemes"),
            QJsonObject{{QStringLiteral("bearer"),
                         QJsonObject{{QStringLiteral("type"), QStringLiteral("http")},
                                     {QStringLiteral("scheme"), QStringLiteral("bearer")}}}}}}},
      {QStringLiteral("security"),
       QJsonArray{QJsonObject{{QStringLiteral("bearer"), QJsonArray{}}}}},
  };
}

}  // namespace tavelo::hub
