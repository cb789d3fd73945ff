#include "hub/schedule/DueTime.h"

#include <QDateTime>

namespace tavelo::hub {

namespace {

constexpr qint64 kHourMs = 3600LL * 1000;
constexpr qint64 kDayMs = 24 * kHourMs;

qint64 OffsetMs(const QTimeZone& zone, qint64 instant) {
  return zone.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(instant, Qt::UTC)) * 1000LL;
}

// The wall clock at an instant, counted as if it were UTC.
qint64 Wall(const QTimeZone& zone, qint64 instant) {
  return instant + OffsetMs(zone, instant);
}

}  // namespace

qint64 DueInstant(QDate date, QTime at, const QTimeZone& zone) {
  const qint64 wall = QDateTime(date, at, Qt::UTC).toMSecsSinceEpoch();
  // Offsets in force half a day either side cover any single change of the clocks.
  const qint64 before = wall - OffsetMs(zone, wall - 14 * kHourMs);
  const qint64 after = wall - OffsetMs(zone, wall + 14 * kHourMs);
  const qint64 first = std::min(before, after);
  const qint64 second = std::max(before, after);
  if (Wall(zone, first) == wall) return first;
  if (Wall(zone, second) == wall) return second;
  // In the gap: the first instant whose wall clock has passed `wall`, found by halving; the
  // wall clock only moves forward between the two candidates.
  qint64 low = first;    // wall clock still before `wall`
  qint64 high = second;  // wall clock already after it
  while (high - low > 1) {
    const qint64 middle = low + (high - low) / 2;
    if (Wall(zone, middle) >= wall)
      high = middle;
    else
      low = middle;
  }
  return high;
}

QDate LocalDate(qint64 instant, const QTimeZone& zone) {
  return QDateTime::fromMSecsSinceEpoch(Wall(zone, instant), Qt::UTC).date();
}

std::vector<qint64> DueInstants(const DayPart& part, const QTimeZone& zone, qint64 from,
                                qint64 to) {
  std::vector<qint64> instants;
  if (to <= from) return instants;
  // One day either side: a due instant may lie on the neighbouring local date.
  const QDate last = LocalDate(to, zone).addDays(1);
  for (QDate day = LocalDate(from, zone).addDays(-1); day <= last; day = day.addDays(1)) {
    if (!part.FallsOn(day)) continue;
    const qint64 due = DueInstant(day, part.at, zone);
    if (due >= from && due < to && due >= part.created) instants.push_back(due);
  }
  return instants;
}

}  // namespace tavelo::hub
