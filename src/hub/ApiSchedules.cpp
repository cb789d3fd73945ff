#include "hub/ApiSchedules.h"

#include <QDateTime>

#include "hub/ApiReplies.h"
#include "hub/schedule/InForce.h"

namespace tavelo::hub {

namespace {

bool MayManage(const Caller& caller) {
  return caller.role != Role::Staff;
}

QJsonObject PartJson(const DayPart& part, const QTimeZone& zone) {
  QJsonObject object = DayPartToJson(part);
  object.insert(QStringLiteral("created"),
                QDateTime::fromMSecsSinceEpoch(part.created, zone).toString(Qt::ISODate));
  return object;
}

}  // namespace

QJsonObject DryRunJson(const std::vector<DayPart>& parts, const QStringList& rooms,
                       const QTimeZone& zone, qint64 from, int days) {
  QJsonArray out;
  QString current;
  QJsonArray firings;
  auto flush = [&] {
    if (!current.isEmpty())
      out.append(
          QJsonObject{{QStringLiteral("room"), current}, {QStringLiteral("firings"), firings}});
    firings = {};
  };
  for (const QString& room : rooms) {
    flush();
    current = room;
    for (const PlannedFiring& firing : DryRun(parts, {room}, zone, from, days)) {
      QJsonObject entry{{QStringLiteral("due"),
                         QDateTime::fromMSecsSinceEpoch(firing.due, zone).toString(Qt::ISODate)},
                        {QStringLiteral("schedule"), firing.part->name},
                        {QStringLiteral("actions"), DescribeActions(*firing.part)}};
      if (firing.outrankedBy)
        entry.insert(QStringLiteral("outranked_by"), firing.outrankedBy->name);
      firings.append(entry);
    }
  }
  flush();
  return {
      {QStringLiteral("time_zone"), QString::fromLatin1(zone.id())},
      {QStringLiteral("from"), QDateTime::fromMSecsSinceEpoch(from, zone).toString(Qt::ISODate)},
      {QStringLiteral("days"), days},
      {QStringLiteral("rooms"), out}};
}

std::optional<ApiReply> ScheduleRoutes::Route(const Caller& caller, const ApiRequest& request,
                                              const QStringList& parts) {
  const QByteArray& method = request.method;
  const QString first = parts.value(0);
  if (first == QStringLiteral("schedules")) {
    if (parts.size() == 1 && method == "GET") return List();
    if (parts.size() == 1 && method == "POST") return Put(caller, request, {}, true);
    if (parts.size() == 2 && parts[1] == QStringLiteral("dry-run") && method == "GET")
      return DryRunReply();
    if (parts.size() == 2 && method == "PUT") return Put(caller, request, parts[1], false);
    if (parts.size() == 2 && method == "DELETE") return Remove(caller, request, parts[1]);
    return std::nullopt;
  }
  if (parts == QStringList{QStringLiteral("alarms")} && method == "GET") return AlarmList();
  if (parts.size() == 3 && first == QStringLiteral("rooms") &&
      parts[2] == QStringLiteral("reference")) {
    if (!rooms_.Room(parts[1]))
      return Error(404, QStringLiteral("no room is named \"%1\"").arg(parts[1].left(64)));
    if (method == "GET") return Reference(parts[1]);
    if (method == "PUT") return PutReference(caller, request, parts[1]);
    if (method == "DELETE") return RemoveReference(caller, request, parts[1]);
  }
  return std::nullopt;
}

ApiReply ScheduleRoutes::List() {
  QJsonArray out;
  for (const DayPart& part : schedules_.Engine().Parts())
    out.append(PartJson(part, schedules_.Engine().Zone()));
  return Json(200, out);
}

std::optional<ApiReply> ScheduleRoutes::Reload() {
  QString error;
  if (!schedules_.Load(error)) return Error(503, error);
  return std::nullopt;
}

ApiReply ScheduleRoutes::Put(const Caller& caller, const ApiRequest& request, const QString& name,
                             bool adding) {
  if (!MayManage(caller)) return Error(403, QStringLiteral("staff may not change schedules"));
  ApiReply refusal;
  auto body = BodyObject(request, refusal);
  if (!body) return refusal;
  if (!adding) {
    const QJsonValue given = body->value(QStringLiteral("name"));
    if (!given.isUndefined() && given.toString() != name)
      return Error(422, QStringLiteral("the body names another day-part than the path"));
    body->insert(QStringLiteral("name"), name);
  }
  QString error;
  auto part = DayPartFromJson(*body, error);
  if (!part) return Error(422, error);
  part->created = schedules_.Now();
  ScheduleStore& stored = schedules_.Schedules();
  if (adding && !stored.AddPart(*part)) {
    const bool taken = stored.lastError().startsWith(QStringLiteral("a day-part is already"));
    return Error(taken ? 409 : 503, stored.lastError());
  }
  if (!adding && !stored.PutPart(*part)) return Error(503, stored.lastError());
  store_.Audit(
      {part->created,
       caller.name,
       request.origin,
       {},
       adding ? QStringLiteral("schedule.add") : QStringLiteral("schedule.replace"),
       {},
       QString::fromUtf8(QJsonDocument(DayPartToJson(*part)).toJson(QJsonDocument::Compact))
           .left(1000)});
  if (auto fault = Reload()) return *fault;
  return Json(adding ? 201 : 200, PartJson(*part, schedules_.Engine().Zone()));
}

ApiReply ScheduleRoutes::Remove(const Caller& caller, const ApiRequest& request,
                                const QString& name) {
  if (!MayManage(caller)) return Error(403, QStringLiteral("staff may not change schedules"));
  ScheduleStore& stored = schedules_.Schedules();
  if (!stored.RemovePart(name)) {
    const bool missing = stored.lastError().startsWith(QStringLiteral("no day-part"));
    return Error(missing ? 404 : 503, stored.lastError());
  }
  store_.Audit({schedules_.Now(),
                caller.name,
                request.origin,
                {},
                QStringLiteral("schedule.remove"),
                name,
                {}});
  if (auto fault = Reload()) return *fault;
  return Json(200, QJsonObject{{QStringLiteral("removed"), name}});
}

ApiReply ScheduleRoutes::DryRunReply() {
  QStringList rooms;
  for (const RoomView& room : rooms_.Rooms()) rooms << room.name;
  return Json(200, DryRunJson(schedules_.Engine().Parts(), rooms, schedules_.Engine().Zone(),
                              schedules_.Now(), kDryRunDays));
}

ApiReply ScheduleRoutes::AlarmList() {
  const auto open = alarms_.Alarms().Open();
  const auto recent = alarms_.Alarms().Recent(kAlarmListLimit);
  if (!open || !recent) return Error(503, alarms_.Alarms().lastError());
  // Standing alarms first, oldest first; then the cleared ones, newest first.
  QJsonArray out;
  for (const Alarm& alarm : *open) out.append(AlarmJson(alarm));
  for (const Alarm& alarm : *recent)
    if (alarm.cleared != 0) out.append(AlarmJson(alarm));
  return Json(200, out);
}

ApiReply ScheduleRoutes::Reference(const QString& room) {
  const auto hash = alarms_.Monitor().Reference(room);
  return Json(200,
              QJsonObject{{QStringLiteral("room"), room},
                          {QStringLiteral("content"), hash ? QJsonValue(*hash) : QJsonValue()}});
}

ApiReply ScheduleRoutes::PutReference(const Caller& caller, const ApiRequest& request,
                                      const QString& room) {
  if (!MayManage(caller)) return Error(403, QStringLiteral("staff may not set references"));
  ApiReply refusal;
  const auto body = BodyObject(request, refusal);
  if (!body) return refusal;
  const QJsonValue version = body->value(QStringLiteral("version"));
  const QJsonValue content = body->value(QStringLiteral("content"));
  QString hash;
  if (version.isDouble() && content.isUndefined()) {
    const auto stored = store_.Version(static_cast<qint64>(version.toDouble()));
    if (!stored) return Error(422, store_.lastError());
    hash = stored->contentHash;
  } else if (content.isString() && version.isUndefined()) {
    if (!store_.Content(content.toString()))
      return Error(
          422,
          QStringLiteral("no stored content has the hash %1").arg(content.toString().left(64)));
    hash = content.toString();
  } else {
    return Error(422, QStringLiteral("give {\"version\": ID} or {\"content\": HASH}"));
  }
  if (!alarms_.Alarms().SetReference(room, hash)) return Error(503, alarms_.Alarms().lastError());
  alarms_.Monitor().SetReference(room, hash);
  alarms_.Rooms().CheckContent(room);
  store_.Audit(
      {schedules_.Now(), caller.name, request.origin, room, QStringLiteral("reference"), {}, hash});
  return Reference(room);
}

ApiReply ScheduleRoutes::RemoveReference(const Caller& caller, const ApiRequest& request,
                                         const QString& room) {
  if (!MayManage(caller)) return Error(403, QStringLiteral("staff may not set references"));
  if (!alarms_.Alarms().RemoveReference(room)) return Error(503, alarms_.Alarms().lastError());
  alarms_.Monitor().SetReference(room, std::nullopt);
  store_.Audit(
      {schedules_.Now(), caller.name, request.origin, room, QStringLiteral("reference"), {}, {}});
  return Reference(room);
}

}  // namespace tavelo::hub
