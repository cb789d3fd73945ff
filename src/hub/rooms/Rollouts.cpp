#include "hub/rooms/Rollouts.h"

#include <QJsonArray>
#include <QTimer>

namespace tavelo::hub {

namespace {
const QString kSource = QStringLiteral("rollout");
}  // namespace

Rollouts::Rollouts(Store& store, RoomAccess& rooms, Clock clock)
    : store_(store), rooms_(rooms), clock_(std::move(clock)) {}

qint64 Rollouts::Start(const RolloutPlan& plan) {
  Run run;
  run.id = ++lastId_;
  run.plan = plan;
  run.hash = Store::ContentHash(plan.content);
  run.started = clock_();
  for (const QString& room : plan.rooms) {
    RoomStep step;
    step.room = room;
    run.steps.push_back(step);
  }
  runs_.emplace(run.id, std::move(run));
  const qint64 id = lastId_;
  QTimer::singleShot(0, &context_, [this, id] { Next(id); });
  return id;
}

void Rollouts::Next(qint64 id) {
  Run& run = runs_.at(id);
  if (run.next >= run.steps.size()) {
    run.state = QStringLiteral("done");
    run.ended = clock_();
    Publish(run, nullptr);
    return;
  }
  if (static_cast<int>(run.next) >= run.plan.first) run.state = QStringLiteral("rest");
  const std::size_t index = run.next++;
  RoomStep& step = run.steps[index];
  step.state = QStringLiteral("uploading");
  Publish(run, &step);
  rooms_.Upload(step.room, {run.plan.content, run.plan.slot, kSource, run.plan.user},
                [this, id, index](const UploadResult& r) {
                  // Heard later, or at once when the room is offline: either way the next room
                  // starts from the event loop, not from inside this call.
                  QTimer::singleShot(0, &context_, [this, id, index, r] { Ended(id, index, r); });
                });
}

void Rollouts::Ended(qint64 id, std::size_t index, const UploadResult& result) {
  Run& run = runs_.at(id);
  RoomStep& step = run.steps[index];
  step.state = result.ok ? QStringLiteral("verified") : QStringLiteral("failed");
  step.error = result.error;
  step.differences = result.differences;
  store_.Audit({clock_(),
                run.plan.user,
                run.plan.origin,
                step.room,
                QStringLiteral("rollout %1").arg(run.id),
                {},
                (result.ok ? QStringLiteral("verified ") : QStringLiteral("failed ")) + run.hash});
  Publish(run, &step);
  if (result.ok) {
    Next(id);
    return;
  }
  for (std::size_t i = index + 1; i < run.steps.size(); ++i)
    run.steps[i].state = QStringLiteral("skipped");
  run.next = run.steps.size();
  run.state = QStringLiteral("stopped");
  run.ended = clock_();
  Publish(run, nullptr);
}

std::optional<QJsonObject> Rollouts::Progress(qint64 id) const {
  const auto it = runs_.find(id);
  if (it == runs_.end()) return std::nullopt;
  return Json(it->second);
}

QJsonArray Rollouts::All() const {
  QJsonArray all;
  for (auto it = runs_.rbegin(); it != runs_.rend(); ++it) all.append(Json(it->second));
  return all;
}

QJsonObject Rollouts::Json(const Run& run) const {
  QJsonArray rooms;
  int verified = 0;
  for (const RoomStep& step : run.steps) {
    QJsonObject room{{QStringLiteral("room"), step.room}, {QStringLiteral("state"), step.state}};
    if (!step.error.isEmpty()) room.insert(QStringLiteral("error"), step.error);
    if (!step.differences.isEmpty()) room.insert(QStringLiteral("differences"), step.differences);
    rooms.append(room);
    if (step.state == QStringLiteral("verified")) ++verified;
  }
  return {{QStringLiteral("id"), run.id},
          {QStringLiteral("state"), run.state},
          {QStringLiteral("content"), run.hash},
          {QStringLiteral("slot"), run.plan.slot},
          {QStringLiteral("first"), run.plan.first},
          {QStringLiteral("user"), run.plan.user},
          {QStringLiteral("started"), run.started},
          {QStringLiteral("ended"), run.ended == 0 ? QJsonValue() : QJsonValue(run.ended)},
          {QStringLiteral("verified"), verified},
          {QStringLiteral("rooms"), rooms}};
}

void Rollouts::Publish(const Run& run, const RoomStep* step) {
  if (!sink_) return;
  QJsonObject event{{QStringLiteral("source"), kSource},
                    {QStringLiteral("user"), run.plan.user},
                    {QStringLiteral("time"), clock_()},
                    {QStringLiteral("rollout"), Json(run)}};
  // An event about one room names it; the roll-out's own start and end name none.
  event.insert(QStringLiteral("room"), step ? QJsonValue(step->room) : QJsonValue());
  if (step) event.insert(QStringLiteral("state"), step->state);
  sink_(event);
}

}  // namespace tavelo::hub
