#pragma once
// Raises and clears alarms from what is observed of the rooms. Fed observations (a room's
// view, the hash of its working set after a download, a write taken or refused) and ticked;
// time comes from the clock it is given. Each change goes to the callback once: an alarm
// raised (cleared == 0) or cleared.
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "hub/RoomAccess.h"
#include "hub/alarms/Alarm.h"

namespace tavelo::hub {

struct AlarmLimits {
  qint64 offlineMs = 2 * 60 * 1000;    // offline longer than this raises "offline"
  qint64 lockOpenMs = 15 * 60 * 1000;  // unlocked longer than this raises "lock-open"
};

class AlarmMonitor {
 public:
  using Clock = std::function<qint64()>;
  using Changed = std::function<void(const Alarm&)>;

  AlarmMonitor(AlarmLimits limits, Clock clock, Changed changed);

  // Alarms still standing from before a restart: not raised again.
  void Restore(const std::vector<Alarm>& open);

  // A room's state; `locked` is nothing while not known.
  void Observe(const RoomView& room, std::optional<bool> locked);
  // The hash of the room's working set as last read.
  void Content(const QString& room, const QString& hash);
  // The content the room should hold; nothing for none.
  void SetReference(const QString& room, const std::optional<QString>& hash);
  std::optional<QString> Reference(const QString& room) const;
  void WriteRefused(const QString& room, const QString& why);
  void WriteTaken(const QString& room);

  // Raises what has lasted too long.
  void Tick();

  std::vector<Alarm> Open() const;
  int OpenCount(AlarmKind kind) const;

 private:
  struct Watched {
    bool online = true;
    qint64 offlineSince = 0;
    qint64 unlockedSince = 0;  // 0 while locked or not known
    QString hash;              // empty until read
  };
  void Raise(const QString& room, AlarmKind kind, const QString& detail);
  void Clear(const QString& room, AlarmKind kind);
  void JudgeDrift(const QString& room);

  AlarmLimits limits_;
  Clock clock_;
  Changed changed_;
  std::map<QString, Watched> rooms_;
  std::map<QString, QString> references_;
  std::map<std::pair<QString, AlarmKind>, Alarm> open_;
};

}  // namespace tavelo::hub
