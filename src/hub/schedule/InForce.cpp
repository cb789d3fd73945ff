#include "hub/schedule/InForce.h"

#include <algorithm>

#include "hub/schedule/DueTime.h"

namespace tavelo::hub {

bool Outranks(const DayPart& a, const DayPart& b) {
  if (a.priority != b.priority) return a.priority > b.priority;
  return a.name < b.name;
}

std::vector<Occurrence> LatestOccurrences(const std::vector<DayPart>& parts, const QTimeZone& zone,
                                          qint64 now) {
  std::vector<Occurrence> latest;
  for (const DayPart& part : parts) {
    if (!part.enabled) continue;
    const auto dues = DueInstants(part, zone, now - kLookBackMs + 1, now + 1);
    if (!dues.empty()) latest.push_back({&part, dues.back()});
  }
  return latest;
}

std::optional<Occurrence> InForceFor(const std::vector<Occurrence>& latest, const QString& room) {
  std::optional<Occurrence> best;
  for (const Occurrence& occurrence : latest) {
    if (!occurrence.part->AppliesTo(room)) continue;
    if (!best || occurrence.due > best->due ||
        (occurrence.due == best->due && Outranks(*occurrence.part, *best->part)))
      best = occurrence;
  }
  return best;
}

std::vector<PlannedFiring> DryRun(const std::vector<DayPart>& parts, const QStringList& rooms,
                                  const QTimeZone& zone, qint64 from, int days) {
  const qint64 to = from + days * 24LL * 3600 * 1000;
  std::vector<Occurrence> all;
  for (const DayPart& part : parts) {
    if (!part.enabled) continue;
    for (qint64 due : DueInstants(part, zone, from, to)) all.push_back({&part, due});
  }
  std::sort(all.begin(), all.end(), [](const Occurrence& a, const Occurrence& b) {
    if (a.due != b.due) return a.due < b.due;
    return Outranks(*a.part, *b.part);
  });
  std::vector<PlannedFiring> plan;
  for (const QString& room : rooms) {
    const Occurrence* winner = nullptr;  // of the instant being listed
    for (const Occurrence& occurrence : all) {
      if (!occurrence.part->AppliesTo(room)) continue;
      if (!winner || winner->due != occurrence.due) {
        winner = &occurrence;
        plan.push_back({room, occurrence.due, occurrence.part, nullptr});
      } else {
        plan.push_back({room, occurrence.due, occurrence.part, winner->part});
      }
    }
  }
  return plan;
}

}  // namespace tavelo::hub
