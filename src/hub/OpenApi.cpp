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
     "Every room: name, online, since, state, problem, preset (1..10), preset_name, volumes, "
     "locked, admin_mode, front_panel",
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
     {"200", "400", "401", "403", "404", "409", "413", "422", "502", "503", "504"}},
    {"/api/v1/rooms/{name}/recall",
     "post",
     "Recall preset {\"preset\": 1..10}",
     true,
     {"200", "400", "401", "403", "404", "409", "422", "502", "504"}},
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
     "Versions, newest first: id, time, slot (0 the working set; 1..10 the stored preset, "
     "known when it was just recalled or written), source, user, content, changes by name from "
     "the version of the same slot before it",
     true,
     {"200", "401", "404", "503"}},
    {"/api/v1/rooms/{name}/rollback",
     "post",
     "Roll the room back to {\"version\": ID} of its history (owner, installer): an upload, "
     "then a download that must read back the same bytes. A stored preset's version goes back "
     "into that preset, the working set's into the preset the room plays; \"slot\": 1..10 "
     "names another. The room then plays the preset written. Returns {room, version, slot, "
     "preset, content, verified} and, when not verified, error and differences",
     true,
     {"200", "400", "401", "403", "404", "409", "422", "502", "503", "504"}},
    {"/api/v1/rollouts",
     "post",
     "Start a staged roll-out (owner, installer): {\"version\": ID} or {\"content\": BASE64 "
     "parameter file}, \"rooms\": [NAME, ...] in order, \"first\": N (default 1), \"slot\": "
     "1..10 (default: the preset each room plays). The first N rooms, each verified by a download, "
     "then the rest; the first failure stops it. Returns "
     "202 with the roll-out: {id, state (first, rest, done, stopped), content, slot, first, user, "
     "started, ended, verified, rooms: [{room, state (waiting, uploading, verified, failed, "
     "skipped), error, differences}]}; progress also goes out as events with source "
     "\"rollout\"",
     true,
     {"202", "400", "401", "403", "404", "422", "503"}},
    {"/api/v1/rollouts",
     "get",
     "Every roll-out since the service started, newest first",
     true,
     {"200", "401"}},
    {"/api/v1/rollouts/{id}", "get", "One roll-out's progress", true, {"200", "401", "404"}},
    {"/api/v1/rooms/{name}/curves",
     "get",
     "Every EQ set of the working set: title, bands with markers, and its response in dB at the "
     "frequencies in \"hz\", with the graph's axes",
     true,
     {"200", "401", "404", "409"}},
    {"/api/v1/rooms/{name}/sheet",
     "get",
     "The working set page by page: name, caption and value text with its unit, in English and "
     "Chinese",
     true,
     {"200", "401", "404", "409"}},
    {"/api/v1/names",
     "get",
     "Every name a write may use, with its range and unit, as `tavelo-cli set --list --json` "
     "writes it",
     true,
     {"200", "401"}},
    {"/api/v1/schedules",
     "get",
     "Every day-part: name, time, days, dates, rooms, preset, values, lock, priority, enabled",
     true,
     {"200", "401"}},
    {"/api/v1/schedules",
     "post",
     "Add a day-part (owner, installer): {\"name\", \"time\": \"HH:MM\", \"days\": [\"mon\", "
     "...] and/or \"dates\": [\"YYYY-MM-DD\"], \"rooms\": [NAME or \"*\"], \"preset\", "
     "\"values\", \"lock\", \"priority\", \"enabled\"}. The day-part in force for a room is the "
     "one that fell due last; at one instant the higher priority wins, then the name first in "
     "order",
     true,
     {"201", "400", "401", "403", "409", "422", "503"}},
    {"/api/v1/schedules/{name}",
     "put",
     "Replace a day-part, or add it under this name (owner, installer)",
     true,
     {"200", "400", "401", "403", "422", "503"}},
    {"/api/v1/schedules/{name}",
     "delete",
     "Remove a day-part (owner, installer)",
     true,
     {"200", "401", "403", "404", "503"}},
    {"/api/v1/schedules/dry-run",
     "get",
     "What the day-parts would do in the next 7 days, room by room, in the service's time zone",
     true,
     {"200", "401"}},
    {"/api/v1/alarms",
     "get",
     "Alarms (offline, drift, lock-open, write-refused): the standing ones, then the latest "
     "cleared ones; times in milliseconds since 1970",
     true,
     {"200", "401", "503"}},
    {"/api/v1/rooms/{name}/reference",
     "get",
     "The content hash the room should hold (the drift alarm's reference), or null",
     true,
     {"200", "401", "404"}},
    {"/api/v1/rooms/{name}/reference",
     "put",
     "Set the room's reference: {\"version\": ID} or {\"content\": HASH} (owner, installer)",
     true,
     {"200", "400", "401", "403", "404", "422", "503"}},
    {"/api/v1/rooms/{name}/reference",
     "delete",
     "Remove the room's reference (owner, installer)",
     true,
     {"200", "401", "403", "404", "503"}},
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
      {QStringLiteral("202"), QStringLiteral("started; read its progress")},
      {QStringLiteral("504"), QStringLiteral("the room did not finish in time")},
      {QStringLiteral("201"), QStringLiteral("created")},
      {QStringLiteral("400"), QStringLiteral("the body is not valid JSON or lacks a field")},
      {QStringLiteral("401"), QStringLiteral("not logged in, or the token expired or was revoked")},
      {QStringLiteral("403"),
       QStringLiteral("the role may not do this, or a value is above the room's cap")},
      {QStringLiteral("404"), QStringLiteral("no such room or resource")},
      {QStringLiteral("409"),
       QStringLiteral("the room is offline or not read yet, or the name is taken; nothing "
                      "was sent or changed")},
      {QStringLiteral("405"), QStringLiteral("the path takes another method")},
      {QStringLiteral("413"), QStringLiteral("the body is too large")},
      {QStringLiteral("422"),
       QStringLiteral("an unknown name or an out-of-range value, or a request the room cannot "
                      "take as it is now (the error says why); nothing was sent")},
      {QStringLiteral("429"), QStringLiteral("too many failed logins; see Retry-After")},
      {QStringLiteral("502"),
       QStringLiteral("the link to the processor failed while the change travelled")},
      {QStringLiteral("503"), QStringLiteral("the database cannot be reached")},
      {QStringLiteral("504"),
       QStringLiteral("the processor did not answer in time; the change may or may not have "
                      "reached it")},
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
    const QString path = QLatin1String(op.path);
    const QString parameter = path.contains(QLatin1String("{name}")) ? QStringLiteral("name")
                              : path.contains(QLatin1String("{id}")) ? QStringLiteral("id")
                                                                     : QString();
    if (!parameter.isEmpty())
      operation.insert(QStringLiteral("parameters"),
                       QJsonArray{QJsonObject{
                           {QStringLiteral("name"), parameter},
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
