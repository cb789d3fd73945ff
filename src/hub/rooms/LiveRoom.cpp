#include "hub/rooms/LiveRoom.h"

#include <QHash>
#include <QJsonArray>

#include "core/fleet/Inventory.h"
#include "core/link/CommandCode.h"
#include "core/params/LockKeyBlock.h"
#include "core/params/PresetName.h"
#include "core/presets/ParamFile.h"
#include "hub/SetFields.h"
#include "platform/HidTransport.h"
#include "platform/TcpTransport.h"

namespace tavelo::hub {

namespace {

QByteArray FileBytes(const ParamImage& image) {
  const auto bytes = BuildParamFile(image);
  return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

UploadResult Failed(const QString& why, RoomFault fault = RoomFault::kLink) {
  return {false, why, {}, fault};
}

}  // namespace

LiveRoom::LiveRoom(const StoredRoom& room, Hooks hooks, int rereadMs, int probeMs,
                   std::optional<std::string> lockKey)
    : name_(room.name),
      host_(room.host.toStdString()),
      port_(room.port),
      hooks_(std::move(hooks)),
      rereadMs_(rereadMs),
      probeMs_(probeMs),
      session_(*this, [this] { return MakeTransport(); }),
      backoff_(static_cast<std::uint32_t>(qHash(room.name))) {
  session_.AnswerUnlockWith(std::move(lockKey), [this] {
    problem_ = QStringLiteral("the processor's settings are locked and the service holds no key");
  });
  session_.SetAfterInput([this] { AfterInput(); });
}

LiveRoom::~LiveRoom() {
  session_.Shutdown();
}

std::unique_ptr<Transport> LiveRoom::MakeTransport() const {
  if (host_ == kUsbHost) return std::make_unique<HidTransport>();
  return std::make_unique<TcpTransport>(NetEndpoint{host_, static_cast<std::uint16_t>(port_)});
}

RoomView LiveRoom::View() const {
  RoomView view;
  view.name = name_;
  view.online = phase_ == Phase::kOnline;
  view.since = since_;
  view.state = phase_ == Phase::kOnline       ? QStringLiteral("online")
               : phase_ == Phase::kConnecting ? QStringLiteral("connecting")
                                              : QStringLiteral("offline");
  if (!view.online) view.problem = problem_;
  if (set_.isEmpty()) return view;
  const Engine& engine = session_.engine();
  const ParamImage& image = engine.Image();
  view.preset = engine.CurrentPreset() + 1;
  view.presetName = QString::fromStdString(PresetNameText(image.name));
  view.musicVolume = image.byte(img::kMusicVolume);
  view.micVolume = image.byte(img::kMicVolume);
  view.effectVolume = image.byte(img::kEffectVolume);
  view.masterLevel = image.byte(img::kMasterLevel);
  view.locked = engine.LockState();
  view.adminMode = engine.AdminMode();
  view.frontPanel = frontPanel_;
  return view;
}

RoomExtras LiveRoom::Extras() const {
  RoomExtras extras;
  extras.muted = muted_;
  if (phase_ == Phase::kOnline) extras.locked = session_.engine().LockState();
  if (set_.isEmpty()) return extras;
  for (const auto& name : session_.Image().presetNames)
    extras.presetNames << QString::fromStdString(PresetNameText(name));
  return extras;
}

void LiveRoom::Tick() {
  const qint64 now = hooks_.clock();
  if (phase_ == Phase::kOffline) {
    if (now < retryAt_) return;
    phase_ = Phase::kConnecting;
    distributed_ = false;
    session_.Connect();
    return;
  }
  session_.Tick();
  if (phase_ != Phase::kOnline || Busy() || downloadAsked_ || !session_.Quiet()) return;
  if (now >= rereadAt_) {
    AskDownload(QStringLiteral("outside"), Ask::kRead);
  } else if (probeMs_ > 0 && now >= probeAt_) {
    AskDownload(QStringLiteral("outside"), Ask::kProbe);
  }
}

void LiveRoom::Add(RoomJob job) {
  if (phase_ != Phase::kOnline) {
    job.done(Failed(OfflineText(), RoomFault::kOffline));
    return;
  }
  jobs_.push_back(std::move(job));
  AfterInput();
}

// Called after every input the engine handled, and from inside the calls made here (a
// Post): those only ask for another round.
void LiveRoom::AfterInput() {
  if (advancing_) {
    again_ = true;
    return;
  }
  advancing_ = true;
  do {
    again_ = false;
    Advance();
  } while (again_);
  advancing_ = false;
}

void LiveRoom::Advance() {
  if (phase_ == Phase::kOffline) return;
  if (session_.Down()) {
    const std::string& detail = session_.engine().FailureDetail();
    GoOffline(session_.LockedWithoutKey() ? QStringLiteral("the processor's settings are locked")
              : detail.empty()            ? QStringLiteral("the link went down")
                                          : QString::fromStdString(detail));
    return;
  }
  if (phase_ == Phase::kConnecting) {
    if (!session_.Ready()) return;
    phase_ = Phase::kOnline;
    since_ = hooks_.clock();
    backoff_.Reset();
    problem_.clear();
    SetFromImage(QStringLiteral("connect"));
    if (hooks_.downloaded) hooks_.downloaded(*this);
    WatchAgainFrom(since_);
    QJsonObject event = Event(QStringLiteral("link"));
    event.insert(QStringLiteral("online"), true);
    hooks_.event(event);
    return;
  }
  if (downloadAsked_ && session_.Quiet()) {
    if (distributed_) {
      DownloadDone();
    } else if (probing_ && !session_.engine().Probing()) {
      // The processor announced the set last read: nothing changed, nothing more to read.
      downloadAsked_ = probing_ = false;
      probeAt_ = hooks_.clock() + probeMs_;
    }
  }
  if (running_) StepJob();
  if (!running_ && !downloadAsked_ && !jobs_.empty() && session_.Quiet()) StartJob();
}

void LiveRoom::GoOffline(const QString& why) {
  const bool wasOnline = phase_ == Phase::kOnline;
  phase_ = Phase::kOffline;
  problem_ = why;
  const qint64 now = hooks_.clock();
  retryAt_ = now + backoff_.NextMs();
  downloadAsked_ = probing_ = false;
  step_ = Step::kNone;
  muted_.reset();
  std::deque<RoomJob> ended;
  ended.swap(jobs_);
  running_ = false;
  for (RoomJob& job : ended) job.done(Failed(OfflineText(), RoomFault::kOffline));
  if (!wasOnline) return;
  since_ = now;
  QJsonObject event = Event(QStringLiteral("link"));
  event.insert(QStringLiteral("online"), false);
  event.insert(QStringLiteral("problem"), problem_);
  hooks_.event(event);
}

QString LiveRoom::OfflineText() const {
  return QStringLiteral("room \"%1\" is %2 (%3); nothing was sent")
      .arg(name_,
           phase_ == Phase::kConnecting ? QStringLiteral("still connecting")
                                        : QStringLiteral("offline"),
           problem_.isEmpty() ? QStringLiteral("no answer yet") : problem_);
}

QJsonObject LiveRoom::Event(const QString& source) const {
  return {{QStringLiteral("room"), name_},
          {QStringLiteral("source"), source},
          {QStringLiteral("time"), hooks_.clock()}};
}

// --- reading the whole set --------------------------------------------------------------

// `kNothing`: a recall reads the recalled preset by itself, nothing more to post.
void LiveRoom::AskDownload(const QString& source, Ask ask) {
  downloadAsked_ = true;
  distributed_ = false;
  probing_ = ask == Ask::kProbe;
  downloadSource_ = source;
  if (ask == Ask::kRead) session_.DownloadSet();
  if (ask == Ask::kProbe) session_.ProbeSet();
}

void LiveRoom::WatchAgainFrom(qint64 now) {
  probeAt_ = now + probeMs_;
  rereadAt_ = now + rereadMs_;
}

void LiveRoom::DownloadDone() {
  downloadAsked_ = probing_ = false;
  // A probe that found a change read the whole set: the reread starts counting again too.
  WatchAgainFrom(hooks_.clock());
  SetFromImage(downloadSource_);
  if (hooks_.downloaded) hooks_.downloaded(*this);
  if (!running_ || step_ != Step::kReading) return;
  const RoomJob& job = jobs_.front();
  if (hooks_.presetRead &&
      (job.kind == RoomJob::Kind::kRecall || job.kind == RoomJob::Kind::kUpload))
    hooks_.presetRead(*this, session_.engine().CurrentPreset() + 1, job.source, job.user);
  if (job.kind != RoomJob::Kind::kUpload) {
    EndJob({true, {}, {}});
    return;
  }
  if (set_ == job.set) {
    EndJob({true, {}, {}});
    return;
  }
  UploadResult result =
      Failed(QStringLiteral("room \"%1\" does not hold what was uploaded: its read-back differs")
                 .arg(name_));
  result.differences = ChangesBetween(job.set, set_).changes;
  EndJob(result);
}

void LiveRoom::SetFromImage(const QString& source) {
  QByteArray now = FileBytes(session_.Image());
  if (now == set_) return;
  QByteArray before = std::move(set_);
  set_ = std::move(now);
  // A read that ends a job was asked for by the job's user; any other by nobody.
  const bool byJob = running_ && !jobs_.empty() && jobs_.front().source == source;
  hooks_.setChanged(*this, source, byJob ? jobs_.front().user : QString(), before);
}

// --- jobs -------------------------------------------------------------------------------

void LiveRoom::StartJob() {
  running_ = true;
  RoomJob& job = jobs_.front();
  Engine& engine = session_.engine();
  switch (job.kind) {
    case RoomJob::Kind::kWrite: {
      std::string error;
      auto plan = PlanEdits(engine.Image(), job.edits, error);
      if (!plan) {
        EndJob(Failed(QString::fromStdString(error) + QStringLiteral("; nothing was sent"),
                      RoomFault::kRefused));
        return;
      }
      plan_ = std::move(*plan);
      block_ = 0;
      step_ = Step::kSending;
      SendBlock();
      return;
    }
    case RoomJob::Kind::kRecall:
      step_ = Step::kReading;
      AskDownload(job.source, Ask::kNothing);
      session_.Post(msg::Block{CommandCode::kRecallPreset, job.preset - 1});
      return;
    case RoomJob::Kind::kUpload: {
      if (job.slot < 0 || job.slot > kStoredPresets) {
        EndJob(Failed(
            QStringLiteral("there is no preset %1 to write into; nothing was sent").arg(job.slot),
            RoomFault::kRefused));
        return;
      }
      const ParamFileResult file =
          ParseParamFile(reinterpret_cast<const std::uint8_t*>(job.set.constData()),
                         static_cast<std::size_t>(job.set.size()));
      if (!file.ok()) {
        EndJob(Failed(QStringLiteral("the set to upload is not a parameter file: ") +
                          QString::fromStdString(file.message),
                      RoomFault::kRefused));
        return;
      }
      // Every field as the file holds it, volumes too: the room is to hold exactly this.
      CopyFileFields(engine.Image(), file.data);
      engine.SetModeNameText(PresetNameText(file.data.name));
      step_ = Step::kUploading;
      session_.Post(msg::Block{CommandCode::kWriteStart,
                               job.slot > 0 ? job.slot - 1 : engine.CurrentPreset()});
      return;
    }
    case RoomJob::Kind::kLock: {
      const auto block = LockStateBlock(job.lockKey, job.locked);
      if (!block) {
        EndJob(Failed(QStringLiteral("the lock key is not four digits; nothing was sent")));
        return;
      }
      step_ = Step::kLocking;
      session_.Post(msg::Block{CommandCode::kLockKey,
                               BlockArg::Buffer(block->data(), static_cast<int>(block->size()))});
      return;
    }
  }
}

void LiveRoom::SendBlock() {
  ParamImage& image = session_.Image();
  for (const NamedEdit& edit : plan_[block_].edits) ApplyNamedEdit(image, edit);
  session_.Post(RequestForBlock(image, plan_[block_]));
}

void LiveRoom::StepJob() {
  if (!session_.Quiet()) return;
  switch (step_) {
    case Step::kSending:
      // Each block is answered before the next: some answers (the echo type's) rewrite
      // the image the next one is made from.
      if (++block_ < plan_.size()) {
        SendBlock();
        return;
      }
      for (const NamedEdit& edit : jobs_.front().edits)
        if (!edit.row) muted_ = edit.value != 0;  // the one edit without a row: mute
      SetFromImage(jobs_.front().source);
      EndJob({true, {}, {}});
      return;
    case Step::kUploading:
      if (session_.engine().TransferPhase() != SetTransfer::Phase::kIdle) return;
      step_ = Step::kReading;
      AskDownload(jobs_.front().source, Ask::kRead);
      return;
    case Step::kLocking:
      // The engine takes the new state when it sends and rolls it back when refused.
      if (session_.engine().LockState() == jobs_.front().locked) {
        EndJob({true, {}, {}});
      } else {
        EndJob(Failed(
            QStringLiteral("room \"%1\" refused the lock key; its lock is unchanged").arg(name_)));
      }
      return;
    case Step::kReading:
    case Step::kNone:
      return;
  }
}

void LiveRoom::EndJob(const UploadResult& result) {
  RoomJob job = std::move(jobs_.front());
  jobs_.pop_front();
  running_ = false;
  step_ = Step::kNone;
  plan_.clear();
  job.done(result);
  again_ = true;  // the next job may start
}

// --- what the room reports on its own -----------------------------------------------------

void LiveRoom::OnFrontPanel(const FrontPanel& panel) {
  QJsonArray positions;
  for (std::uint8_t p : panel.positions) positions.append(p);
  frontPanel_ = {
      {QStringLiteral("positions"), positions},
      {QStringLiteral("echo"), QJsonObject{{QStringLiteral("level"), panel.echoQuick[0]},
                                           {QStringLiteral("delay"), panel.echoQuick[1]},
                                           {QStringLiteral("repeat"), panel.echoQuick[2]}}},
      {QStringLiteral("reverb"), QJsonObject{{QStringLiteral("level"), panel.reverbQuick[0]},
                                             {QStringLiteral("decay"), panel.reverbQuick[1]},
                                             {QStringLiteral("predelay"), panel.reverbQuick[2]}}}};
  if (phase_ != Phase::kOnline) return;
  QJsonObject event = Event(QStringLiteral("front-panel"));
  event.insert(QStringLiteral("front_panel"), frontPanel_);
  hooks_.event(event);
}

void LiveRoom::OnLockAdmin(bool locked, int adminMode) {
  if (phase_ != Phase::kOnline) return;
  QJsonObject event = Event(QStringLiteral("processor"));
  event.insert(QStringLiteral("locked"), locked);
  event.insert(QStringLiteral("admin_mode"), adminMode);
  hooks_.event(event);
}

}  // namespace tavelo::hub
