#include "hub/schedule/ScheduleRunner.h"

#include <QDateTime>
#include <QDebug>

#include "core/text/Escaped.h"

namespace tavelo::hub {

QString FiringKindName(FiringReport::Kind kind) {
  switch (kind) {
    case FiringReport::Kind::OnTime:
      return QStringLiteral("on-time");
    case FiringReport::Kind::CatchUp:
      return QStringLiteral("catch-up");
    case FiringReport::Kind::Waiting:
      return QStringLiteral("waiting");
    case FiringReport::Kind::Failed:
      return QStringLiteral("failed");
  }
  return {};
}

ScheduleRunner::ScheduleRunner(Database& db, Store& store, RoomAccess& rooms, QTimeZone zone,
                               Clock clock)
    : store_(store),
      schedules_(db),
      clock_(clock),
      scheduler_(
          rooms, std::move(zone), clock, [this](const QString& room) { return store_.Caps(room); },
          [this](const FiringReport& report) { Journal(report); }) {}

bool ScheduleRunner::Load(QString& error) {
  QStringList skipped;
  auto parts = schedules_.Parts(&skipped);
  auto applied = schedules_.Applied();
  if (!parts || !applied) {
    error = QStringLiteral("the schedules cannot be read: ") + schedules_.lastError();
    return false;
  }
  scheduler_.SetParts(std::move(*parts));
  scheduler_.RestoreApplied(std::move(*applied));
  if (!skipped.isEmpty())
    error = QStringLiteral("day-parts left out: ") + skipped.join(QStringLiteral("; "));
  return true;
}

void ScheduleRunner::Journal(const FiringReport& report) {
  const QString due =
      QDateTime::fromMSecsSinceEpoch(report.due, scheduler_.Zone()).toString(Qt::ISODate);
  const QString kind = FiringKindName(report.kind);
  const bool applied =
      report.kind == FiringReport::Kind::OnTime || report.kind == FiringReport::Kind::CatchUp;
  if (applied && !schedules_.SetApplied(report.room, {report.part, report.due}))
    qWarning("tavelo-hub: %s",
             TerminalSafe(("what room " + report.room +
                           " received cannot be stored: " + schedules_.lastError())
                              .toStdString())
                 .c_str());
  // The audit log tells why a room changed: which day-part, due when, and whether late.
  const QString text =
      QStringLiteral("%1 due %2, %3: %4").arg(report.part, due, kind, report.detail);
  if (!store_.Audit({report.time,
                     QLatin1String(kAuditName),
                     QLatin1String(kAuditName) + QLatin1Char(':') + report.part,
                     report.room,
                     QLatin1String(kAuditName),
                     {},
                     text}))
    qWarning("tavelo-hub: %s",
             TerminalSafe(("the audit log cannot be written: " + store_.lastError()).toStdString())
                 .c_str());
  if (sink_)
    sink_({{QStringLiteral("room"), report.room},
           {QStringLiteral("source"), QLatin1String(kAuditName)},
           {QStringLiteral("schedule"), report.part},
           {QStringLiteral("outcome"), kind},
           {QStringLiteral("due"), due},
           {QStringLiteral("detail"), report.detail}});
}

}  // namespace tavelo::hub
