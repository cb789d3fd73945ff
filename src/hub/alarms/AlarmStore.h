#pragma once
// Alarms with their times, and each room's reference content, in the service's database.
// A failed call returns false (or nothing) and leaves lastError() saying why.
#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "hub/Database.h"
#include "hub/alarms/Alarm.h"

namespace tavelo::hub {

class AlarmStore {
 public:
  explicit AlarmStore(Database& db) : db_(db) {}
  const QString& lastError() const { return error_; }

  // Stores a raised alarm (cleared == 0) or closes the standing one of its room and kind.
  bool Record(const Alarm& alarm);
  // The standing alarms, oldest first.
  std::optional<std::vector<Alarm>> Open();
  // The latest alarms, standing or cleared, newest first.
  std::optional<std::vector<Alarm>> Recent(int limit);

  std::optional<std::map<QString, QString>> References();
  bool SetReference(const QString& room, const QString& contentHash);
  bool RemoveReference(const QString& room);

 private:
  std::optional<std::vector<Alarm>> Select(const QString& where, const QVariant& limit);

  Database& db_;
  QString error_;
};

}  // namespace tavelo::hub
