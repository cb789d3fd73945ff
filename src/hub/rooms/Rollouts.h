#pragma once
// Staged roll-outs of one preset to many rooms: the first N rooms one after another, each
// proven by a download that reads back the same bytes, then the rest the same way; the
// first room that fails stops the roll-out and the rooms after it are left as they are.
// Progress is kept for reading and goes out as events; each room's outcome is audited.
#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>

#include "hub/RoomAccess.h"
#include "hub/Store.h"

namespace tavelo::hub {

struct RolloutPlan {
  QByteArray content;  // a parameter file
  int slot = 0;        // the preset 1..10 it goes into; 0: the one each room plays
  QStringList rooms;   // in the order they are to get it
  int first = 1;       // rooms in the first stage
  QString user;
  QString origin;
};

class Rollouts {
 public:
  using Clock = std::function<qint64()>;
  Rollouts(Store& store, RoomAccess& rooms, Clock clock);

  void SetEventSink(std::function<void(const QJsonObject&)> sink) { sink_ = std::move(sink); }

  // Starts a roll-out and returns its id; the rooms are worked from the event loop.
  qint64 Start(const RolloutPlan& plan);
  std::optional<QJsonObject> Progress(qint64 id) const;
  QJsonArray All() const;

 private:
  struct RoomStep {
    QString room;
    QString state = QStringLiteral("waiting");  // uploading, verified, failed, skipped
    QString error;
    QJsonArray differences;
  };
  struct Run {
    qint64 id = 0;
    RolloutPlan plan;
    QString hash;
    QString state = QStringLiteral("first");  // first, rest, done, stopped
    qint64 started = 0;
    qint64 ended = 0;
    std::vector<RoomStep> steps;
    std::size_t next = 0;
  };

  void Next(qint64 id);
  void Ended(qint64 id, std::size_t index, const UploadResult& result);
  QJsonObject Json(const Run& run) const;
  void Publish(const Run& run, const RoomStep* step);

  Store& store_;
  RoomAccess& rooms_;
  Clock clock_;
  std::function<void(const QJsonObject&)> sink_;
  std::map<qint64, Run> runs_;
  qint64 lastId_ = 0;
  QObject context_;  // queues each room's start on the event loop
};

}  // namespace tavelo::hub
