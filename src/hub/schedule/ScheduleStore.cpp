#include "hub/schedule/ScheduleStore.h"

#include <QJsonDocument>

#include "hub/StoreSupport.h"

namespace tavelo::hub {

namespace {

QString DefinitionOf(const DayPart& part) {
  return QString::fromUtf8(QJsonDocument(DayPartToJson(part)).toJson(QJsonDocument::Compact));
}

}  // namespace

std::optional<std::vector<DayPart>> ScheduleStore::Parts(QStringList* skipped) {
  QSqlQuery query(db_.Sql());
  if (!RunStatement(query,
                    QStringLiteral("SELECT name, definition, created FROM schedules ORDER BY name"),
                    {}, error_))
    return std::nullopt;
  std::vector<DayPart> parts;
  while (query.next()) {
    QString why;
    auto part =
        DayPartFromJson(QJsonDocument::fromJson(query.value(1).toByteArray()).object(), why);
    if (!part) {
      if (skipped) *skipped << query.value(0).toString() + QStringLiteral(": ") + why;
      continue;
    }
    part->created = query.value(2).toLongLong();
    parts.push_back(std::move(*part));
  }
  return parts;
}

bool ScheduleStore::AddPart(const DayPart& part) {
  QSqlQuery query(db_.Sql());
  if (!RunStatement(query, QStringLiteral("SELECT 1 FROM schedules WHERE name = ?"), {part.name},
                    error_))
    return false;
  if (query.next()) {
    error_ = QStringLiteral("a day-part is already named \"%1\"").arg(part.name);
    return false;
  }
  return RunStatement(
      query, QStringLiteral("INSERT INTO schedules (name, definition, created) VALUES (?, ?, ?)"),
      {part.name, DefinitionOf(part), part.created}, error_);
}

bool ScheduleStore::PutPart(const DayPart& part) {
  QSqlQuery query(db_.Sql());
  return RunStatement(
      query,
      QStringLiteral("INSERT INTO schedules (name, definition, created) VALUES (?, ?, ?) "
                     "ON CONFLICT (name) DO UPDATE SET definition = excluded.definition, "
                     "created = excluded.created"),
      {part.name, DefinitionOf(part), part.created}, error_);
}

bool ScheduleStore::RemovePart(const QString& name) {
  QSqlQuery query(db_.Sql());
  if (!RunStatement(query, QStringLiteral("DELETE FROM schedules WHERE name = ?"), {name}, error_))
    return false;
  if (query.numRowsAffected() == 0) {
    error_ = QStringLiteral("no day-part is named \"%1\"").arg(name);
    return false;
  }
  return true;
}

std::optional<std::map<QString, AppliedMark>> ScheduleStore::Applied() {
  QSqlQuery query(db_.Sql());
  if (!RunStatement(query, QStringLiteral("SELECT room, part, due FROM schedule_applied"), {},
                    error_))
    return std::nullopt;
  std::map<QString, AppliedMark> applied;
  while (query.next())
    applied[query.value(0).toString()] = {query.value(1).toString(), query.value(2).toLongLong()};
  return applied;
}

bool ScheduleStore::SetApplied(const QString& room, const AppliedMark& mark) {
  QSqlQuery query(db_.Sql());
  return RunStatement(
      query,
      QStringLiteral("INSERT INTO schedule_applied (room, part, due) VALUES (?, ?, ?) ON "
                     "CONFLICT (room) DO UPDATE SET part = excluded.part, due = excluded.due"),
      {room, mark.part, mark.due}, error_);
}

}  // namespace tavelo::hub
