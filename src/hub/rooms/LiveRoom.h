#pragma once
// One watched room: its room session over the Wi-Fi link (over USB for the room whose host is
// "usb", the processor attached to this machine), connected at start and again,
// after a back-off, whenever it drops; its working set as last read; the work asked of it,
// one job at a time; a probe every probe interval (one request: has the set changed?) and a
// fresh read of the whole set when it has, or every reread interval in any case, to catch
// changes other programs make.
//
// Whatever the room reports goes to its owner through Hooks: every completed read of the set,
// a read that changed it (with what the set was before), and events (front-panel moves, the link
// coming and going). Everything runs on the thread of the owner's event loop; the owner ticks it.
#include <QByteArray>
#include <QJsonObject>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "hub/RoomAccess.h"
#include "hub/Store.h"
#include "hub/rooms/Backoff.h"
#include "hub/rooms/RoomJob.h"
#include "platform/RoomSession.h"

namespace tavelo::hub {

class LiveRoom : private EngineObserver {
 public:
  struct Hooks {
    std::function<qint64()> clock;  // milliseconds since 1970
    // A read of the whole set completed and its content differs from the one before
    // (`before` is empty for the first read since the service started).
    // `user` is who asked for the change that led to the read; empty when no user did.
    std::function<void(LiveRoom&, const QString& source, const QString& user,
                       const QByteArray& before)>
        setChanged;
    std::function<void(const QJsonObject&)> event;
    // Every completed read of the whole set, changed or not (may be empty).
    std::function<void(LiveRoom&)> downloaded;
    // A read that shows what one stored preset holds: the one just recalled or just written
    // (`slot` 1..10). Any other read shows the working set only, which edits may have moved
    // away from its stored preset.
    std::function<void(LiveRoom&, int slot, const QString& source, const QString& user)> presetRead;
  };

  // `lockKey` (four digits) answers the processor's lock prompt and locks or unlocks the
  // room; without one a locked room is reported and never unlocked by guessing.
  // `probeMs` 0 leaves the probe out: other programs' changes are then seen at the reread.
  LiveRoom(const StoredRoom& room, Hooks hooks, int rereadMs, int probeMs,
           std::optional<std::string> lockKey = std::nullopt);
  ~LiveRoom() override;
  LiveRoom(const LiveRoom&) = delete;
  LiveRoom& operator=(const LiveRoom&) = delete;

  const QString& Name() const { return name_; }
  // The 50 ms tick: drives the session, the reconnect and the reread.
  void Tick();
  RoomView View() const;
  // Preset names, mute and lock as far as they are known.
  RoomExtras Extras() const;
  bool Online() const { return phase_ == Phase::kOnline; }
  // The working set as last read or written; empty before the first read.
  const QByteArray& Set() const { return set_; }
  // Queues work; `job.done` hears how it ended. Refused at once while offline.
  void Add(RoomJob job);
  // Jobs queued or under way.
  bool Busy() const { return running_ || !jobs_.empty(); }

 private:
  enum class Phase { kOffline, kConnecting, kOnline };
  enum class Step { kNone, kSending, kUploading, kReading, kLocking };

  std::unique_ptr<Transport> MakeTransport() const;
  void AfterInput();
  void Advance();
  void GoOffline(const QString& why);
  enum class Ask { kNothing, kRead, kProbe };
  void AskDownload(const QString& source, Ask ask);
  void DownloadDone();
  void WatchAgainFrom(qint64 now);
  void StartJob();
  void StepJob();
  void SendBlock();
  void EndJob(const UploadResult& result);
  void SetFromImage(const QString& source);
  QString OfflineText() const;
  QJsonObject Event(const QString& source) const;

  // EngineObserver: what the room reports on its own.
  void OnDistribute() override { distributed_ = true; }
  void OnFrontPanel(const FrontPanel& panel) override;
  void OnLockAdmin(bool locked, int adminMode) override;

  QString name_;
  std::string host_;
  int port_ = 0;
  Hooks hooks_;
  int rereadMs_;
  int probeMs_;
  RoomSession session_;

  Phase phase_ = Phase::kOffline;
  qint64 since_ = 0;
  QString problem_ = QStringLiteral("not connected yet");
  qint64 retryAt_ = 0;
  qint64 rereadAt_ = 0;
  qint64 probeAt_ = 0;
  Backoff backoff_;
  QByteArray set_;
  QJsonObject frontPanel_;
  // The processor does not report its mute: known only from a mute the service sent, until
  // the link drops.
  std::optional<bool> muted_;

  // A read of the whole set the service asked for, and what it is for.
  bool downloadAsked_ = false;
  bool distributed_ = false;
  bool probing_ = false;  // the read asked for is a probe, until the processor's answer
  QString downloadSource_;

  std::deque<RoomJob> jobs_;
  bool running_ = false;
  Step step_ = Step::kNone;
  std::vector<PlannedBlock> plan_;
  std::size_t block_ = 0;

  bool advancing_ = false;
  bool again_ = false;
};

}  // namespace tavelo::hub
