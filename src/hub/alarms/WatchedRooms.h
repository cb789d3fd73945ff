#pragma once
// The rooms as everyone else in the service reaches them, with the alarms watching: a write,
// recall or lock the processor does not take raises "write-refused", the next one it takes
// clears it and has the working set checked against the room's reference, as does every
// completed read of a room's whole set. Sweep() feeds the monitor each room's state, and on
// request the hash of each room's working set.
#include "hub/RoomAccess.h"
#include "hub/alarms/AlarmMonitor.h"

namespace tavelo::hub {

class WatchedRooms : public RoomAccess {
 public:
  WatchedRooms(RoomAccess& rooms, AlarmMonitor& alarms);
  ~WatchedRooms() override;
  WatchedRooms(const WatchedRooms&) = delete;
  WatchedRooms& operator=(const WatchedRooms&) = delete;

  std::vector<RoomView> Rooms() const override { return rooms_.Rooms(); }
  std::optional<RoomView> Room(const QString& name) const override { return rooms_.Room(name); }
  std::optional<QByteArray> CurrentSet(const QString& name) const override {
    return rooms_.CurrentSet(name);
  }
  std::optional<bool> Locked(const QString& name) const override { return rooms_.Locked(name); }
  bool Write(const QString& name, const std::vector<NamedEdit>& edits, const QString& user,
             QString& error) override;
  bool Recall(const QString& name, int preset, const QString& user, QString& error) override;
  void RecallThen(const QString& name, int preset,
                  std::function<void(const UploadResult&)> done) override;
  RoomExtras Extras(const QString& name) const override { return rooms_.Extras(name); }
  // Heard after the content check.
  void WatchDownloads(std::function<void(const QString& name)> downloaded) override {
    downloaded_ = std::move(downloaded);
  }
  bool SetLock(const QString& name, bool locked, QString& error) override;
  RoomFault LastFault(const QString& name) const override { return rooms_.LastFault(name); }
  void Upload(const QString& name, const SetUpload& upload,
              std::function<void(const UploadResult&)> done) override {
    rooms_.Upload(name, upload, std::move(done));
  }

  void Sweep(bool checkContent);
  // After a download: compares the working set with the room's reference.
  void CheckContent(const QString& name);

 private:
  bool Judged(const QString& name, bool taken, const QString& error);

  RoomAccess& rooms_;
  AlarmMonitor& alarms_;
  std::function<void(const QString&)> downloaded_;
};

}  // namespace tavelo::hub
