#include "hub/alarms/WatchedRooms.h"

#include "hub/Store.h"

namespace tavelo::hub {

WatchedRooms::WatchedRooms(RoomAccess& rooms, AlarmMonitor& alarms)
    : rooms_(rooms), alarms_(alarms) {
  rooms_.WatchDownloads([this](const QString& name) {
    CheckContent(name);
    if (downloaded_) downloaded_(name);
  });
}

WatchedRooms::~WatchedRooms() {
  rooms_.WatchDownloads({});
}

bool WatchedRooms::Judged(const QString& name, bool taken, const QString& error) {
  if (!taken) {
    alarms_.WriteRefused(name, error);
    return false;
  }
  alarms_.WriteTaken(name);
  CheckContent(name);
  return true;
}

bool WatchedRooms::Write(const QString& name, const std::vector<NamedEdit>& edits,
                         const QString& user, QString& error) {
  return Judged(name, rooms_.Write(name, edits, user, error), error);
}

bool WatchedRooms::Recall(const QString& name, int preset, const QString& user, QString& error) {
  return Judged(name, rooms_.Recall(name, preset, user, error), error);
}

void WatchedRooms::RecallThen(const QString& name, int preset,
                              std::function<void(const UploadResult&)> done) {
  rooms_.RecallThen(name, preset, [this, name, done = std::move(done)](const UploadResult& result) {
    Judged(name, result.ok, result.error);
    done(result);
  });
}

bool WatchedRooms::SetLock(const QString& name, bool locked, QString& error) {
  return Judged(name, rooms_.SetLock(name, locked, error), error);
}

void WatchedRooms::Sweep(bool checkContent) {
  for (const RoomView& room : rooms_.Rooms()) {
    alarms_.Observe(room, rooms_.Locked(room.name));
    if (checkContent && room.online) CheckContent(room.name);
  }
}

void WatchedRooms::CheckContent(const QString& name) {
  if (const auto set = rooms_.CurrentSet(name)) alarms_.Content(name, Store::ContentHash(*set));
}

}  // namespace tavelo::hub
