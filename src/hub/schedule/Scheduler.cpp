#include "hub/schedule/Scheduler.h"

#include <memory>

#include "hub/WriteGate.h"
#include "hub/rooms/NestedWait.h"
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
  // A room's answer is awaited with the event loop running, which may tick again: one firing
  // at a time, or a room could be sent its day-part twice.
  if (ticking_) return;
  ticking_ = true;
  const qint64 now = clock_();
  std::vector<Firing> firings = Due(now);
  RecallAtOnce(firings);
  for (Firing& firing : firings) {
    if (firing.waiting) {
      Report(FiringReport::Kind::Waiting, firing.room, firing.mark, now,
             QStringLiteral("the room is offline; it gets the day-part when it is back"));
    } else {
      Finish(firing, now);
    }
  }
  ticking_ = false;
}

std::vector<Scheduler::Firing> Scheduler::Due(qint64 now) {
  std::vector<Firing> firings;
  const std::vector<Occurrence>& latest = Latest(now);
  if (latest.empty()) return firings;
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
        // Reported in its room's turn, after the recalls have gone out.
        firings.push_back({room.name, *occurrence->part, mark, false, true, {}, nullptr});
      }
      continue;
    }
    const auto retry = retryAt_.find(room.name);
    if (retry != retryAt_.end() && now < retry->second) continue;
    Progress& progress = progress_[room.name];
    if (!(progress.mark == mark)) progress = {mark, 0, 0, {}};
    const bool late =
        waiting_[room.name] == mark || progress.tries > 0 || now - occurrence->due > kOnTimeGraceMs;
    // The day-part is copied: the parts may be read again while rooms are awaited.
    firings.push_back({room.name, *occurrence->part, mark, late, false, {}, nullptr});
  }
  return firings;
}

// Every room has its own link: all recalls go out together and are awaited together, so a
// venue's rooms change preset at the same moment rather than one after another.
void Scheduler::RecallAtOnce(std::vector<Firing>& firings) {
  auto pending = std::make_shared<int>(0);
  for (Firing& firing : firings) {
    if (firing.waiting || firing.part.preset == 0 || progress_[firing.room].step != 0) continue;
    ++*pending;
    // The answer may come after the wait has given up: it then lands nowhere.
    auto answer = std::make_shared<std::optional<UploadResult>>();
    firing.recall = answer;
    rooms_.RecallThen(firing.room, firing.part.preset,
                      [answer, pending](const UploadResult& result) {
                        *answer = result;
                        --*pending;
                      });
  }
  if (*pending > 0) WaitUntil([pending] { return *pending == 0; }, kRecallLimitMs);
  for (Firing& firing : firings) {
    if (!firing.recall) continue;
    Progress& progress = progress_[firing.room];
    if (!firing.recall->has_value()) {
      firing.recallError = QStringLiteral("recalling preset %1 failed: no answer within %2 s")
                               .arg(firing.part.preset)
                               .arg(kRecallLimitMs / 1000);
    } else if (!(*firing.recall)->ok) {
      firing.recallError = QStringLiteral("recalling preset %1 failed: %2")
                               .arg(firing.part.preset)
                               .arg((*firing.recall)->error);
    } else {
      progress.done << QStringLiteral("preset %1").arg(firing.part.preset);
      progress.step = 1;
    }
  }
}

void Scheduler::Finish(Firing& firing, qint64 now) {
  Progress& progress = progress_[firing.room];
  QString why = firing.recallError;
  if (why.isEmpty() && Apply(firing.room, firing.part, progress, why)) {
    applied_[firing.room] = firing.mark;
    retryAt_.erase(firing.room);
    Report(firing.late ? FiringReport::Kind::CatchUp : FiringReport::Kind::OnTime, firing.room,
           firing.mark, now, progress.done.join(QStringLiteral("; ")));
    progress_.erase(firing.room);
    return;
  }
  ++progress.tries;
  retryAt_[firing.room] = now + kRetryMs;
  if (progress.tries < kMaxTries) {
    if (progress.tries == 1) Report(FiringReport::Kind::Failed, firing.room, firing.mark, now, why);
    return;
  }
  // Given up: the room keeps what it took, and the report says what it did not.
  applied_[firing.room] = firing.mark;
  Report(FiringReport::Kind::Failed, firing.room, firing.mark, now,
         QStringLiteral("given up after %1 tries: %2").arg(kMaxTries).arg(why));
  progress_.erase(firing.room);
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

void Scheduler::Report(FiringReport::Kind kind, const QString& room, const AppliedMark& mark,
                       qint64 now, const QString& detail) {
  if (journal_) journal_({kind, room, mark.part, mark.due, now, detail});
}

}  // namespace tavelo::hub
