#include "hub/alarms/Alarm.h"

namespace tavelo::hub {

namespace {

struct KindName {
  AlarmKind kind;
  const char* name;
};

constexpr KindName kKindNames[] = {{AlarmKind::Offline, "offline"},
                                   {AlarmKind::Drift, "drift"},
                                   {AlarmKind::LockOpen, "lock-open"},
                                   {AlarmKind::WriteRefused, "write-refused"}};

}  // namespace

QString AlarmKindName(AlarmKind kind) {
  for (const KindName& row : kKindNames)
    if (row.kind == kind) return QLatin1String(row.name);
  return {};
}

std::optional<AlarmKind> ParseAlarmKind(const QString& name) {
  for (const KindName& row : kKindNames)
    if (name == QLatin1String(row.name)) return row.kind;
  return std::nullopt;
}

}  // namespace tavelo::hub
