#pragma once
// When a wall-clock time happens in a time zone, with daylight-saving changes settled one way:
// a time that happens twice (the clocks go back) counts at its first occurrence; a time that
// never happens (the clocks go forward over it) counts at the first instant after the gap.
// So a day-part falls due exactly once on each of its days.
#include <QDate>
#include <QTime>
#include <QTimeZone>
#include <vector>

#include "hub/schedule/DayPart.h"

namespace tavelo::hub {

// Milliseconds since 1970 (UTC) at which `at` on `date` falls due in `zone`.
qint64 DueInstant(QDate date, QTime at, const QTimeZone& zone);

// The local date in `zone` at an instant.
QDate LocalDate(qint64 instant, const QTimeZone& zone);

// The instants in [from, to) at which the day-part falls due, oldest first; none before it was
// created.
std::vector<qint64> DueInstants(const DayPart& part, const QTimeZone& zone, qint64 from, qint64 to);

}  // namespace tavelo::hub
