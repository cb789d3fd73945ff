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
    if (applied != applied_.end() && occurrence->due <= applied->second.due) continue;
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
    Progress& progress = progress_[room.name];
    if (!(progress.mark == mark)) progress = {mark, 0, 0, {}};
    const bool late =
        waiting_[room.name] == mark || progress.tries > 0 || now - occurrence->due > kOnTimeGraceMs;
    QString why;
    if (!Apply(room.name, *occurrence->part, progress, why)) {
      ++progress.tries;
      retryAt_[room.name] = now + kRetryMs;
      if (progress.tries < kMaxTries) {
        if (progress.tries == 1)
          Report(FiringReport::Kind::Failed, room.name, *occurrence, now, why);
        continue;
      }
      // Given up: the room keeps what it took, and the report says what it did not.
      applied_[room.name] = mark;
      Report(FiringReport::Kind::Failed, room.name, *occurrence, now,
             QStringLiteral("given up after %1 tries: %2").arg(kMaxTries).arg(why));
      progress_.erase(room.name);
      continue;
    }
    applied_[room.name] = mark;
    retryAt_.erase(room.name);
    Report(late ? FiringReport::Kind::CatchUp : FiringReport::Kind::OnTime, room.name, *occurrence,
           now, progress.done.join(QStringLiteral("; ")));
    progress_.erase(room.name);
  }
}

bool Scheduler::Apply(const QString& room, const DayPart& part, Progress& progress, QString& why) {
  QString error;
  if (progress.step == 0) {
    if (part.preset != 0) {
      if (!rooms_.Recall(room, part.preset, {}, error)) {
        why = QStringLiteral("recalling preset %1 failed: %2").arg(part.preset).arg(error);
        return false;
      }
      progress.done << QStringLiteral("preset %1").arg(part.preset);
    }
    progress.step = 1;
  }
  if (progress.step == 1) {
    if (!part.values.isEmpty()) {
      const auto caps = caps_(room);
      if (!caps) {
        why = QStringLiteral("the room's caps cannot be read, so no value was sent");
        return false;
      }
      const GateVerdict verdict = JudgeWrites(kScheduleCaller, {}, *caps, part.values);
      if (verdict.status != 200) {
        // Retrying would not help: the room's caps or the catalogue forbid the values.
        progress.done << QStringLiteral("values not sent: ") + verdict.message;
      } else if (!rooms_.Write(room, verdict.edits, {}, error)) {
        why = QStringLiteral("writing the values failed: ") + error;
        return false;
      } else {
        for (auto it = part.values.begin(); it != part.values.end(); ++it)
          progress.done << it.key() + QLatin1Char(' ') + SetTextFor(it.value());
      }
    }
    progress.step = 2;
  }
  if (part.lock) {
    if (!rooms_.SetLock(room, *part.lock, error)) {
      why =
          (*part.lock ? QStringLiteral("locking failed: ") : QStringLiteral("unlocking failed: ")) +
          error;
      return false;
    }
    progress.done << (*part.lock ? QStringLiteral("locked") : QStringLiteral("unlocked"));
  }
  progress.step = 3;
  return true;
}

void Scheduler::Report(FiringReport::Kind kind, const QString& room, const Occurrence& occurrence,
                       qint64 now, const QString& detail) {
  if (journal_) journal_({kind, room, occurrence.part->name, occurrence.due, now, detail});
}

}  // namespace tavelo::hub
