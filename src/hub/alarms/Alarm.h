#pragma once
// An alarm the service raises about a room, and clears when the cause is gone.
#include <QString>
#include <optional>

namespace tavelo::hub {

enum class AlarmKind {
  Offline,       // the room has been unreachable longer than the set time
  Drift,         // the room's working set differs from its reference
  LockOpen,      // the room's adjustments have been unlocked longer than the set time
  WriteRefused,  // the processor did not take a write; cleared by the next one it takes
};

inline constexpr AlarmKind kAlarmKinds[] = {AlarmKind::Offline, AlarmKind::Drift,
                                            AlarmKind::LockOpen, AlarmKind::WriteRefused};

// "offline", "drift", "lock-open", "write-refused": the names the API, the database and the
// events use.
QString AlarmKindName(AlarmKind kind);
std::optional<AlarmKind> ParseAlarmKind(const QString& name);

struct Alarm {
  qint64 id = 0;  // the database's, once stored
  QString room;
  AlarmKind kind = AlarmKind::Offline;
  QString detail;
  qint64 raised = 0;   // milliseconds since 1970
  qint64 cleared = 0;  // 0 while the alarm stands
};

}  // namespace tavelo::hub
