#include "hub/rooms/LiveRooms.h"

#include <iostream>

#include "core/params/LockKeyBlock.h"
#include "core/text/Escaped.h"
#include "hub/SetFields.h"
#include "hub/rooms/NestedWait.h"
#include "platform/TickDriver.h"

namespace tavelo::hub {

LiveRooms::LiveRooms(Store& store, Clock clock, int rereadSeconds, int probeMs)
    : store_(store), clock_(std::move(clock)), rereadMs_(rereadSeconds * 1000), probeMs_(probeMs) {
  tick_.setInterval(TickDriver::kTickMs);
  tick_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&tick_, &QTimer::timeout, [this] {
    for (const auto& room : rooms_) room->Tick();
  });
}

LiveRooms::~LiveRooms() {
  tick_.stop();
  rooms_.clear();
}

bool LiveRooms::Start(QString& error) {
  const auto stored = store_.Rooms();
  if (!stored) {
    error = QStringLiteral("the rooms cannot be read from the database: ") + store_.lastError();
    return false;
  }
  LiveRoom::Hooks hooks;
  hooks.clock = clock_;
  hooks.setChanged = [this](LiveRoom& room, const QString& source, const QString& user,
                            const QByteArray& before) { SetChanged(room, source, user, before); };
  hooks.event = [this](const QJsonObject& event) { Publish(event); };
  hooks.presetRead = [this](LiveRoom& room, int slot, const QString& source, const QString& user) {
    if (!store_.RecordVersion(room.Name(), slot, room.Set(), clock_(), source, user).ok)
      std::cerr << "tavelo-hub: room " << TerminalSafe(room.Name().toStdString()) << ": preset "
                << slot
                << " could not be stored: " << TerminalSafe(store_.lastError().toStdString())
                << "\n";
  };
  hooks.downloaded = [this](LiveRoom& room) {
    if (downloaded_) downloaded_(room.Name());
  };
  for (const StoredRoom& room : *stored)
    rooms_.push_back(
        std::make_unique<LiveRoom>(room, hooks, rereadMs_, probeMs_, LockKey(room.name)));
  tick_.start();
  return true;
}

LiveRoom* LiveRooms::Find(const QString& name) const {
  for (const auto& room : rooms_)
    if (room->Name() == name) return room.get();
  return nullptr;
}

std::vector<RoomView> LiveRooms::Rooms() const {
  std::vector<RoomView> views;
  views.reserve(rooms_.size());
  for (const auto& room : rooms_) views.push_back(room->View());
  return views;
}

std::optional<RoomView> LiveRooms::Room(const QString& name) const {
  if (const LiveRoom* room = Find(name)) return room->View();
  return std::nullopt;
}

std::optional<QByteArray> LiveRooms::CurrentSet(const QString& name) const {
  const LiveRoom* room = Find(name);
  if (!room || room->Set().isEmpty()) return std::nullopt;
  return room->Set();
}

bool LiveRooms::RunJob(const QString& name, RoomJob job, QString& error) {
  LiveRoom* room = Find(name);
  if (!room) {
    error = QStringLiteral("no room is named \"%1\"").arg(name);
    lastFault_ = RoomFault::kRefused;
    return false;
  }
  // The job ends through its callback; the flag outlives the wait either way.
  auto ended = std::make_shared<std::optional<UploadResult>>();
  job.done = [ended](const UploadResult& result) { *ended = result; };
  room->Add(std::move(job));
  if (!WaitUntil([&ended] { return ended->has_value(); }, kJobLimitMs)) {
    error = QStringLiteral(
                "room \"%1\" did not answer within %2 s; the change may or may not "
                "have reached it")
                .arg(name)
                .arg(kJobLimitMs / 1000);
    lastFault_ = RoomFault::kTimedOut;
    return false;
  }
  if (!(*ended)->ok) error = (*ended)->error;
  lastFault_ = (*ended)->fault;
  return (*ended)->ok;
}

bool LiveRooms::Write(const QString& name, const std::vector<NamedEdit>& edits, const QString& user,
                      QString& error) {
  RoomJob job;
  job.kind = RoomJob::Kind::kWrite;
  job.edits = edits;
  job.source = QStringLiteral("write");
  job.user = user;
  return RunJob(name, std::move(job), error);
}

RoomJob LiveRooms::RecallJob(int preset, const QString& user) {
  RoomJob job;
  job.kind = RoomJob::Kind::kRecall;
  job.preset = preset;
  job.source = QStringLiteral("recall");
  job.user = user;
  return job;
}

bool LiveRooms::Recall(const QString& name, int preset, const QString& user, QString& error) {
  return RunJob(name, RecallJob(preset, user), error);
}

void LiveRooms::RecallThen(const QString& name, int preset,
                           std::function<void(const UploadResult&)> done) {
  RoomJob job = RecallJob(preset, {});
  job.done = std::move(done);
  AddJob(name, std::move(job));
}

std::optional<std::string> LiveRooms::LockKey(const QString& name) {
  for (const QString& key : {QStringLiteral("lock_key.") + name, QStringLiteral("lock_key")}) {
    const auto value = store_.Setting(key);
    if (!value) continue;
    const std::string digits = value->trimmed().toStdString();
    if (IsLockKey(digits)) return digits;
    std::cerr << "tavelo-hub: setting " << QuotedBytes(key.toStdString())
              << " is not four digits; it is not used\n";
    return std::nullopt;
  }
  return std::nullopt;
}

bool LiveRooms::SetLock(const QString& name, bool locked, QString& error) {
  const auto key = LockKey(name);
  if (!key) {
    error = QStringLiteral(
                "room \"%1\" cannot be %2: the service holds no lock key for it (setting "
                "\"lock_key\" or \"lock_key.%1\", four digits); nothing was sent")
                .arg(name, locked ? QStringLiteral("locked") : QStringLiteral("unlocked"));
    return false;
  }
  RoomJob job;
  job.kind = RoomJob::Kind::kLock;
  job.locked = locked;
  job.lockKey = *key;
  job.source = QStringLiteral("lock");
  return RunJob(name, std::move(job), error);
}

RoomExtras LiveRooms::Extras(const QString& name) const {
  if (const LiveRoom* room = Find(name)) return room->Extras();
  return {};
}

void LiveRooms::AddJob(const QString& name, RoomJob job) {
  LiveRoom* room = Find(name);
  if (!room) {
    job.done({false, QStringLiteral("no room is named \"%1\"").arg(name), {}});
    return;
  }
  room->Add(std::move(job));
}

void LiveRooms::Upload(const QString& name, const SetUpload& upload,
                       std::function<void(const UploadResult&)> done) {
  RoomJob job;
  job.kind = RoomJob::Kind::kUpload;
  job.set = upload.set;
  job.slot = upload.slot;
  job.source = upload.source;
  job.user = upload.user;
  job.done = std::move(done);
  AddJob(name, std::move(job));
}

void LiveRooms::SetChanged(LiveRoom& room, const QString& source, const QString& user,
                           const QByteArray& before) {
  const Recorded recorded =
      store_.RecordVersion(room.Name(), 0, room.Set(), clock_(), source, user);
  const std::string shownName = TerminalSafe(room.Name().toStdString());
  if (!recorded.ok)
    std::cerr << "tavelo-hub: room " << shownName << ": the new version could not be stored: "
              << TerminalSafe(store_.lastError().toStdString()) << "\n";
  // The first read since the start: the log says what the room holds, so that after a crash
  // (in the middle of a roll-out, say) it is plain which rooms got what.
  if (before.isEmpty()) {
    const auto latest = recorded.ok ? store_.History(room.Name(), 1) : std::nullopt;
    std::cout << "tavelo-hub: room " << shownName << " holds "
              << Store::ContentHash(room.Set()).left(Store::kShownHashChars).toStdString();
    if (latest && !latest->empty()) std::cout << " (version " << latest->front().id << ")";
    std::cout << std::endl;
  }
  // A change the service did not make: another program's, found by the reread.
  if (source != QStringLiteral("outside") || before.isEmpty()) return;
  const SetChanges changes = ChangesBetween(before, room.Set());
  QJsonObject event{{QStringLiteral("room"), room.Name()},
                    {QStringLiteral("source"), source},
                    {QStringLiteral("time"), clock_()},
                    {QStringLiteral("values"), changes.values},
                    {QStringLiteral("changes"), changes.changes}};
  if (recorded.ok && recorded.added) event.insert(QStringLiteral("version"), recorded.id);
  Publish(event);
}

void LiveRooms::Publish(const QJsonObject& event) {
  if (sink_) sink_(event);
}

}  // namespace tavelo::hub
