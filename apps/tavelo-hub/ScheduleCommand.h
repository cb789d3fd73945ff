#pragma once
// tavelo-hub schedule list | add JSON|- | remove NAME | dry-run, on the database directly.
#include <QTimeZone>
#include <optional>

#include "HubCommandLine.h"
#include "hub/Database.h"
#include "hub/Store.h"

namespace tavelo::hub {

// The zone --time-zone names, or the system's; nothing (with `error`) for an unknown name.
std::optional<QTimeZone> ServiceTimeZone(const HubCommandLine& line, QString& error);

int ScheduleCommand(const HubCommandLine& line, Database& db, Store& store, qint64 now);

}  // namespace tavelo::hub
