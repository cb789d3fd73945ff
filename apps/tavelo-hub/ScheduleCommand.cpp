#include "ScheduleCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <iostream>
#include <iterator>
#include <string>

#include "core/text/Escaped.h"
#include "hub/ApiSchedules.h"
#include "hub/schedule/ScheduleStore.h"

namespace tavelo::hub {

namespace {

constexpr std::size_t kMaxDefinitionBytes = 64 * 1024;

void Say(const QString& text) {
  std::cout << TerminalSafe(text.toStdString()) << "\n";
}

QString When(const DayPart& part) {
  QJsonObject json = DayPartToJson(part);
  QStringList days;
  for (const QJsonValue day : json.value(QStringLiteral("days")).toArray()) days << day.toString();
  for (const QJsonValue date : json.value(QStringLiteral("dates")).toArray())
    days << date.toString();
  return part.at.toString(QStringLiteral("HH:mm")) + QLatin1Char(' ') + days.join(QLatin1Char(','));
}

int List(ScheduleStore& schedules) {
  QStringList skipped;
  const auto parts = schedules.Parts(&skipped);
  if (!parts) return Refuse(schedules.lastError());
  for (const DayPart& part : *parts)
    Say(QStringLiteral("%1  %2  rooms %3  %4  priority %5%6")
            .arg(part.name, When(part), part.rooms.join(QLatin1Char(',')), DescribeActions(part))
            .arg(part.priority)
            .arg(part.enabled ? QString() : QStringLiteral("  (disabled)")));
  for (const QString& line : skipped) Say(QStringLiteral("left out: ") + line);
  return 0;
}

int Add(ScheduleStore& schedules, const QString& operand, qint64 now) {
  QByteArray text = operand.toUtf8();
  if (operand == QStringLiteral("-")) {
    const std::string input((std::istreambuf_iterator<char>(std::cin)),
                            std::istreambuf_iterator<char>());
    if (input.size() > kMaxDefinitionBytes)
      return Refuse(QStringLiteral("the day-part on standard input is over 64 KiB"));
    text = QByteArray::fromStdString(input);
  }
  QJsonParseError parse;
  const QJsonDocument document = QJsonDocument::fromJson(text, &parse);
  if (parse.error != QJsonParseError::NoError || !document.isObject())
    return Refuse(QStringLiteral("the day-part is not a JSON object (%1 at byte %2)")
                      .arg(parse.errorString())
                      .arg(parse.offset));
  QString error;
  auto part = DayPartFromJson(document.object(), error);
  if (!part) return Refuse(error);
  part->created = now;
  if (!schedules.AddPart(*part)) return Refuse(schedules.lastError());
  Say(QStringLiteral("added %1: %2, %3").arg(part->name, When(*part), DescribeActions(*part)));
  return 0;
}

int DryRunListing(ScheduleStore& schedules, Store& store, const QTimeZone& zone, qint64 now) {
  const auto parts = schedules.Parts();
  const auto rooms = store.Rooms();
  if (!parts) return Refuse(schedules.lastError());
  if (!rooms) return Refuse(store.lastError());
  QStringList names;
  for (const StoredRoom& room : *rooms) names << room.name;
  const QJsonObject plan = DryRunJson(*parts, names, zone, now, ScheduleRoutes::kDryRunDays);
  Say(QStringLiteral("the next %1 days in %2:")
          .arg(ScheduleRoutes::kDryRunDays)
          .arg(QString::fromLatin1(zone.id())));
  for (const QJsonValue room : plan.value(QStringLiteral("rooms")).toArray()) {
    const QJsonObject entry = room.toObject();
    Say(entry.value(QStringLiteral("room")).toString());
    const QJsonArray firings = entry.value(QStringLiteral("firings")).toArray();
    if (firings.isEmpty()) Say(QStringLiteral("  nothing"));
    for (const QJsonValue value : firings) {
      const QJsonObject firing = value.toObject();
      const QString outranked = firing.value(QStringLiteral("outranked_by")).toString();
      Say(QStringLiteral("  %1  %2  %3")
              .arg(firing.value(QStringLiteral("due")).toString(),
                   firing.value(QStringLiteral("schedule")).toString(),
                   outranked.isEmpty() ? firing.value(QStringLiteral("actions")).toString()
                                       : QStringLiteral("(outranked by %1)").arg(outranked)));
    }
  }
  return 0;
}

}  // namespace

std::optional<QTimeZone> ServiceTimeZone(const HubCommandLine& line, QString& error) {
  if (line.timeZone.isEmpty()) return QTimeZone::systemTimeZone();
  const QTimeZone zone(line.timeZone.toUtf8());
  if (!zone.isValid()) {
    error = QStringLiteral(
                "--time-zone: unknown zone %1; give an IANA name such as "
                "Europe/Berlin or UTC")
                .arg(QString::fromStdString(ShownArgument(line.timeZone.toStdString())));
    return std::nullopt;
  }
  return zone;
}

int ScheduleCommand(const HubCommandLine& line, Database& db, Store& store, qint64 now) {
  ScheduleStore schedules(db);
  const QString action = line.operands.value(1);
  const qsizetype count = line.operands.size();
  if (action == QStringLiteral("list") && count == 2) return List(schedules);
  if (action == QStringLiteral("add") && count == 3) return Add(schedules, line.operands[2], now);
  if (action == QStringLiteral("remove") && count == 3) {
    if (!schedules.RemovePart(line.operands[2])) return Refuse(schedules.lastError());
    Say(QStringLiteral("removed %1").arg(line.operands[2]));
    return 0;
  }
  if (action == QStringLiteral("dry-run") && count == 2) {
    QString error;
    const auto zone = ServiceTimeZone(line, error);
    if (!zone) return Refuse(error);
    return DryRunListing(schedules, store, *zone, now);
  }
  return Refuse(QStringLiteral("schedule list | add JSON|- | remove NAME | dry-run"));
}

}  // namespace tavelo::hub
