#include "hub/schedule/Scheduler.h"

#include "hub/WriteGate.h"
#include "hub/schedule/DueTime.h"

namespace tavelo::hub {

namespace {

constexpr qint64 kRecomputeAtLeastEveryMs = 3600LL * 1000;

// A day-part writes as an installer would: every value, held to the room's caps.
const Caller kScheduleCaller{QStringLiteral("schedule"), Role::Installer};

}  // namespace

Scheduler::Scheduler(RoomAccess& rooms, QTimeZone zone, Clock clock, CapsOf caps, Journal journal)
    : rooms_(rooms),
      zone_(std::move(zone)),
      clock_(std::move(clock)),
      caps_(std::move(caps)),
      journal_(std::move(journal)) {}

void Scheduler::SetParts(std::vector<DayPart> parts) {
  parts_ = std::move(parts);
  latest_.clear();
  latestUntil_ = 0;
}

const std::vector<Occurrence>& Scheduler::Latest(qint64 now) {
  if (now >= latestFrom_ && now < latestUntil_) return latest_;
  latest_ = LatestOccurrences(parts_, zone_, now);
  latestFrom_ = now;
  latestUntil_ = now + kRecomputeAtLeastEveryMs;
  for (const DayPart& part : parts_) {
    if (!part.enabled) continue;
    const auto next = DueInstants(part, zone_, now + 1, latestUntil_);
    if (!next.empty()) latestUntil_ = std::min(latestUntil_, next.front());
  }
  return latest_;
}

void Scheduler::Tick() {
  const qint64 now = clock_();
  const std::vector<Occurrence>& latest = Latest(now);
  if (latest.empty()) return;
  for (const RoomView& room : rooms_.Rooms()) {
    const auto occurrence = InForceFor(latest, room.name);
    if (!occurrence) continue;
    const AppliedMark mark{occurrence->part->name, occurrence->due};
    const auto applied = applied_.find(room.name);
    if (applied != applied_.end() && applied->second == mark) continue;
    if (!room.online) {
      const auto waiting = waiting_.find(room.name);
      if (waiting == waiting_.end() || !(waiting->second == mark)) {
        waiting_[room.name] = mark;
        Report(FiringReport::Kind::Waiting, room.name, *occurrence, now,
               QStringLiteral("the room is offline; it gets the day-part when it is back"));
      }
      continue;
    }
    const auto retry = retryAt_.find(room.name);
    if (retry != retryAt_.end() && now < retry->second) continue;
    const bool late = waiting_[room.name] == mark || failed_[room.name] == mark ||
                      now - occurrence->due > kOnTimeGraceMs;
    const Outcome outcome = Apply(room.name, *occurrence->part);
    if (!outcome.ok) {
      retryAt_[room.name] = now + kRetryMs;
      if (!(failed_[room.name] == mark))
        Report(FiringReport::Kind::Failed, room.name, *occurrence, now, outcome.detail);
      failed_[room.name] = mark;
      continue;
    }
    applied_[room.name] = mark;
    retryAt_.erase(room.name);
    Report(late ? FiringReport::Kind::CatchUp : FiringReport::Kind::OnTime, room.name, *occurrence,
           now, outcome.detail);
  }
}

Scheduler::Outcome Scheduler::Apply(const QString& room, const DayPart& part) {
  Outcome outcome;
  QStringList done;
  QString why;
  if (part.preset != 0) {
    if (!rooms_.Recall(room, part.preset, why)) {
      outcome.detail = QStringLiteral("recalling preset %1 failed: %2").arg(part.preset).arg(why);
      return outcome;
    }
    done << QStringLiteral("preset %1").arg(part.preset);
  }
  QString refused;
  if (!part.values.isEmpty()) {
    const auto caps = caps_(room);
    if (!caps) {
      outcome.detail = QStringLiteral("the room's caps cannot be read, so no value was sent");
      return outcome;
    }
    const GateVerdict verdict = JudgeWrites(kScheduleCaller, {}, *caps, part.values);
    if (verdict.status != 200) {
      // Retrying would not help: the room's caps or the catalogue forbid the values.
      refused = QStringLiteral("values not sent: ") + verdict.message;
    } else if (!rooms_.Write(room, verdict.edits, why)) {
      outcome.detail = QStringLiteral("writing the values failed: ") + why;
      return outcome;
    } else {
      for (auto it = part.values.begin(); it != part.values.end(); ++it)
        done << it.key() + QLatin1Char(' ') + SetTextFor(it.value());
    }
  }
  if (part.lock) {
    if (!rooms_.SetLock(room, *part.lock, why)) {
      outcome.detail =
          (*part.lock ? QStringLiteral("locking failed: ") : QStringLiteral("unlocking failed: ")) +
          why;
      return outcome;
    }
    done << (*part.lock ? QStringLiteral("locked") : QStringLiteral("unlocked"));
  }
  if (!refused.isEmpty()) done << refused;
  outcome.ok = true;
  outcome.detail = done.join(QStringLiteral("; "));
  return outcome;
}

void Scheduler::Report(FiringReport::Kind kind, const QString& room, const Occurrence& occurrence,
                       qint64 now, const QString& detail) {
  if (journal_) journal_({kind, room, occurrence.part->name, occurrence.due, now, detail});
}

}  // namespace tavelo::hub
