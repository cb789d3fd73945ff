#pragma once
// Which day-part is in force for a room, and the listing of what the next days bring.
//
// The order when day-parts overlap, the one rule everything here follows: for a room, the
// day-part in force is the one that fell due most recently. When several fall due at the same
// instant, the higher "priority" wins, then the name that sorts first; the others do nothing
// at that instant. Disabled day-parts and those not naming the room never count.
#include <QTimeZone>
#include <optional>
#include <vector>

#include "hub/schedule/DayPart.h"

namespace tavelo::hub {

// A catch-up looks back this far: a room away longer gets what fell due within it.
inline constexpr qint64 kLookBackMs = 8LL * 24 * 3600 * 1000;

struct Occurrence {
  const DayPart* part = nullptr;
  qint64 due = 0;  // milliseconds since 1970
};

// True when `a` wins over `b` at the same instant.
bool Outranks(const DayPart& a, const DayPart& b);

// The latest occurrence of every enabled day-part in (now - kLookBackMs, now], one per part.
std::vector<Occurrence> LatestOccurrences(const std::vector<DayPart>& parts, const QTimeZone& zone,
                                          qint64 now);

// Of those, the one in force for `room`.
std::optional<Occurrence> InForceFor(const std::vector<Occurrence>& latest, const QString& room);

// One line of a dry run: at `due`, in `room`, `part` fires, or is outranked by `winner`.
struct PlannedFiring {
  QString room;
  qint64 due = 0;
  const DayPart* part = nullptr;
  const DayPart* outrankedBy = nullptr;  // null when this one fires
};

// What would happen in [from, from + days), room by room (rooms in the order given, then time).
std::vector<PlannedFiring> DryRun(const std::vector<DayPart>& parts, const QStringList& rooms,
                                  const QTimeZone& zone, qint64 from, int days);

}  // namespace tavelo::hub
