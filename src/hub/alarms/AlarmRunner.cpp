#include "hub/alarms/AlarmRunner.h"

#include <QDebug>

#include "core/text/Escaped.h"

namespace tavelo::hub {

QJsonObject AlarmJson(const Alarm& alarm) {
  return {
      {QStringLiteral("id"), alarm.id == 0 ? QJsonValue() : QJsonValue(alarm.id)},
      {QStringLiteral("room"), alarm.room},
      {QStringLiteral("kind"), AlarmKindName(alarm.kind)},
      {QStringLiteral("detail"), alarm.detail},
      {QStringLiteral("raised"), alarm.raised},
      {QStringLiteral("cleared"), alarm.cleared == 0 ? QJsonValue() : QJsonValue(alarm.cleared)}};
}

AlarmRunner::AlarmRunner(Database& db, RoomAccess& rooms, AlarmLimits limits, qint64 driftEveryMs,
                         Clock clock)
    : store_(db),
      clock_(clock),
      monitor_(limits, clock, [this](const Alarm& alarm) { Changed(alarm); }),
      watched_(rooms, monitor_),
      driftEveryMs_(driftEveryMs) {}

bool AlarmRunner::Load(QString& error) {
  const auto open = store_.Open();
  const auto references = store_.References();
  if (!open || !references) {
    error = QStringLiteral("the alarms cannot be read: ") + store_.lastError();
    return false;
  }
  monitor_.Restore(*open);
  for (const auto& [room, hash] : *references) monitor_.SetReference(room, hash);
  return true;
}

void AlarmRunner::Tick() {
  const qint64 now = clock_();
  const bool drift = now >= nextDriftCheck_;
  if (drift) nextDriftCheck_ = now + driftEveryMs_;
  watched_.Sweep(drift);
  monitor_.Tick();
}

void AlarmRunner::Changed(const Alarm& alarm) {
  if (!store_.Record(alarm))
    qWarning(
        "tavelo-hub: %s",
        TerminalSafe(("an alarm cannot be stored: " + store_.lastError()).toStdString()).c_str());
  if (!sink_) return;
  QJsonObject event = AlarmJson(alarm);
  event.insert(QStringLiteral("source"), QStringLiteral("alarm"));
  event.insert(QStringLiteral("state"),
               alarm.cleared == 0 ? QStringLiteral("raised") : QStringLiteral("cleared"));
  sink_(event);
}

}  // namespace tavelo::hub
