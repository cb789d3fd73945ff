#pragma once
// The rooms the service watches, live: one LiveRoom per room of the store, all ticked from
// one 50 ms timer on the service's event loop. Every read that finds a new working set
// records a version; a change found by the probe or the periodic reread was made by another
// program and goes out as an "outside" event with the changed names and values. Writes, recalls and
// locks answer once the processor has them.
//
// Lock keys come from the settings: "lock_key.ROOM" for one room, else "lock_key" for every
// room (four digits each), read when the rooms start (to answer a locked processor) and at
// every lock or unlock. With a key the service keeps watching a locked room and can lock and
// unlock it; without one a locked room is reported as such.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "hub/RoomAccess.h"
#include "hub/Store.h"
#include "hub/rooms/LiveRoom.h"

namespace tavelo::hub {

class LiveRooms : public RoomAccess {
 public:
  using Clock = std::function<qint64()>;
  static constexpr int kDefaultRereadSeconds = 60;
  // Each room is asked this often whether its set changed: one short request, a whole read
  // only when it did. Another program's change shows within about this time.
  static constexpr int kDefaultProbeMs = 500;
  // How long a write or a recall may wait for its room (the link's own time-outs end most
  // waits much sooner).
  static constexpr int kJobLimitMs = 20000;

  LiveRooms(Store& store, Clock clock, int rereadSeconds = kDefaultRereadSeconds,
            int probeMs = kDefaultProbeMs);
  ~LiveRooms() override;

  // Makes a room for every room the store holds and starts connecting them.
  bool Start(QString& error);
  void SetEventSink(std::function<void(const QJsonObject&)> sink) { sink_ = std::move(sink); }

  std::vector<RoomView> Rooms() const override;
  std::optional<RoomView> Room(const QString& name) const override;
  std::optional<QByteArray> CurrentSet(const QString& name) const override;
  bool Write(const QString& name, const std::vector<NamedEdit>& edits, const QString& user,
             QString& error) override;
  bool Recall(const QString& name, int preset, const QString& user, QString& error) override;
  void RecallThen(const QString& name, int preset,
                  std::function<void(const UploadResult&)> done) override;
  bool SetLock(const QString& name, bool locked, QString& error) override;
  RoomExtras Extras(const QString& name) const override;
  void WatchDownloads(std::function<void(const QString& name)> downloaded) override {
    downloaded_ = std::move(downloaded);
  }
  // Known while the room is online: the status poll reports it.
  std::optional<bool> Locked(const QString& name) const override {
    const auto room = Room(name);
    if (!room || !room->online) return std::nullopt;
    return room->locked;
  }
  void Upload(const QString& name, const SetUpload& upload,
              std::function<void(const UploadResult&)> done) override;
  RoomFault LastFault(const QString&) const override { return lastFault_; }

 private:
  LiveRoom* Find(const QString& name) const;
  bool RunJob(const QString& name, RoomJob job, QString& error);
  void SetChanged(LiveRoom& room, const QString& source, const QString& user,
                  const QByteArray& before);
  void AddJob(const QString& name, RoomJob job);
  static RoomJob RecallJob(int preset, const QString& user);
  // The room's lock key from the settings; nothing when none is set or it is not four digits.
  std::optional<std::string> LockKey(const QString& name);
  void Publish(const QJsonObject& event);

  Store& store_;
  Clock clock_;
  int rereadMs_;
  int probeMs_;
  std::function<void(const QJsonObject&)> sink_;
  std::function<void(const QString&)> downloaded_;
  std::vector<std::unique_ptr<LiveRoom>> rooms_;
  QTimer tick_;
  // Set as each job's wait returns, so the caller reads its own before anything else runs.
  RoomFault lastFault_ = RoomFault::kLink;
};

}  // namespace tavelo::hub
