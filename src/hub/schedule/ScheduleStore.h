#pragma once
// The day-parts and what each room last received, in the service's database. Like the Store,
// a failed call returns false (or nothing) and leaves lastError() saying why.
#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "hub/Database.h"
#include "hub/schedule/DayPart.h"
#include "hub/schedule/Scheduler.h"

namespace tavelo::hub {

class ScheduleStore {
 public:
  explicit ScheduleStore(Database& db) : db_(db) {}
  const QString& lastError() const { return error_; }

  // Every day-part by name. A row that no longer passes the checks is left out, and
  // `skipped` names it with the reason.
  std::optional<std::vector<DayPart>> Parts(QStringList* skipped = nullptr);
  // Adds a new day-part; a taken name is refused.
  bool AddPart(const DayPart& part);
  // Adds or replaces; the day-part counts from `part.created`.
  bool PutPart(const DayPart& part);
  bool RemovePart(const QString& name);

  std::optional<std::map<QString, AppliedMark>> Applied();
  bool SetApplied(const QString& room, const AppliedMark& mark);

 private:
  Database& db_;
  QString error_;
};

}  // namespace tavelo::hub
