#include "cmd_device_session.h"

#include <QEventLoop>
#include <algorithm>
#include <csignal>
#include <iostream>

#include "Command.h"
#include "cmd_device_links.h"
#include "cmd_device_room.h"
#include "core/engine/StatusDecode.h"

namespace tavelo::cli {

namespace {

constexpr std::uint32_t kDefaultDemoSeed = 1;
constexpr int kKnobStepMs = 1000;
constexpr int kKnobPositions = 13;
constexpr int kKnobRest = 6;  // a level knob at its centre: 0 dB

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterruptSignal(int) {
  gInterrupted = 1;
}

int gArgc = 1;
char gArgv0[] = "tavelo-cli";
char* gArgv[] = {gArgv0, nullptr};

}  // namespace

CliApp::CliApp() {
  if (!QCoreApplication::instance()) app_ = std::make_unique<QCoreApplication>(gArgc, gArgv);
}

CliApp::~CliApp() = default;

void InstallInterruptHandlers() {
  std::signal(SIGINT, OnInterruptSignal);
  std::signal(SIGTERM, OnInterruptSignal);
}

bool Interrupted() {
  return gInterrupted != 0;
}

DeviceSession::DeviceSession(const CommandArgs& args, std::string command)
    : args_(args),
      command_(std::move(command)),
      wire_(args.trace ? &std::cerr : nullptr),
      console_(std::cerr, args.trace, args.quiet),
      session_(console_, [this] { return NewTap(); }) {
  if (args_.timeoutSeconds) timeoutMs_ = static_cast<qint64>(*args_.timeoutSeconds * 1000.0);
  clock_.start();
  InstallInterruptHandlers();

  session_.AnswerUnlockWith(args_.lockKey, [this] {
    Err() << "tavelo-cli " << command_
          << ": the processor's settings are locked; give its key with --lock-key\n";
  });
  session_.SetAfterInput([this] { AfterInput(); });

  if (args_.paramDir) engine().SetParamDir(*args_.paramDir);
  MakeTransport();
  session_.StartTicking();
  demoPoll_.setSingleShot(true);
  QObject::connect(&demoPoll_, &QTimer::timeout, &context_, [this] {
    if (!demoLink_) return;
    demoLink_->Poll();
    // Watch on only for something still to come. What is due now has woken the engine
    // already; an unplugged link stays due until the engine next fetches, and re-arming for
    // it would spin a 0 ms timer. The next input re-arms (AfterInput).
    if (demoLink_->NextDueMs() > clock_.elapsed()) ArmDemoPoll();
  });
  if (demo_ && args_.demoKnobs) {
    QObject::connect(&demoKnobs_, &QTimer::timeout, &context_, [this] { TurnDemoKnobs(); });
    demoKnobs_.start(kKnobStepMs);
  }
}

// Someone at the demo processor turns the music bass knob and the echo level knob up a step
// a second, and a key light goes on after two seconds and changes every four, so `monitor`
// has changes to show.
void DeviceSession::TurnDemoKnobs() {
  ++knobStep_;
  const int position = (kKnobRest + knobStep_) % kKnobPositions;
  std::array<std::uint8_t, kPanelPositionBytes> positions;
  positions.fill(static_cast<std::uint8_t>(kKnobRest << 4 | kKnobRest));
  positions[0] = static_cast<std::uint8_t>(position << 4 | kKnobRest);
  positions[4] = static_cast<std::uint8_t>(position << 4 | kKnobRest);
  demo_->SetPanelPositions(positions);
  demo_->SetIndicators(static_cast<std::uint8_t>(((knobStep_ + 2) / 4) & 1), 0);
}

DeviceSession::~DeviceSession() {
  session_.StopTicking();
  demoPoll_.stop();
  demoKnobs_.stop();
  session_.Shutdown();
  inner_.reset();
}

std::ostream& DeviceSession::Err() {
  return std::cerr;
}

void DeviceSession::MakeTransport() {
  if (args_.link == LinkChoice::kDemo) {
    demo_ = std::make_unique<VirtualProcessor>(
        VirtualProcessor::Seeded(args_.demoSeed.value_or(kDefaultDemoSeed)));
    for (const auto& fault : args_.demoFaults) demo_->AddFault(fault);
    demo_->SetLatencyMs(args_.demoLatencyMs);
    auto link = std::make_unique<SimHidTransport>(
        *demo_, [this] { return static_cast<std::int64_t>(clock_.elapsed()); });
    demoLink_ = link.get();
    inner_ = std::move(link);
  } else {
    inner_ = MakeLinkTransport(args_, transportError_);
  }
  if (inner_) inner_->SetWakeup(session_.WakeHook());
}

std::unique_ptr<Transport> DeviceSession::NewTap() {
  if (!inner_) return nullptr;
  return std::make_unique<TapTransport>(*inner_, wire_);
}

void DeviceSession::ArmDemoPoll() {
  if (!demoLink_) return;
  const std::int64_t due = demoLink_->NextDueMs();
  if (due < 0) return;
  const auto wait = std::max<std::int64_t>(0, due - clock_.elapsed());
  if (!demoPoll_.isActive() || demoPoll_.remainingTime() > wait) {
    demoPoll_.start(static_cast<int>(wait));
  }
}

bool DeviceSession::DeadlinePassed() const {
  return timeoutMs_ && clock_.elapsed() >= *timeoutMs_;
}

void DeviceSession::AfterInput() {
  ArmDemoPoll();
  if (!loop_) return;
  if (Interrupted()) {
    outcome_ = Outcome::kInterrupted;
  } else if (session_.Down()) {
    outcome_ = Outcome::kLinkDown;
  } else if ((*done_)()) {
    outcome_ = Outcome::kDone;
  } else if (DeadlinePassed()) {
    outcome_ = Outcome::kTimedOut;
  } else {
    return;
  }
  loop_->quit();
}

DeviceSession::Outcome DeviceSession::RunUntil(const std::function<bool()>& done) {
  if (session_.Down()) return Outcome::kLinkDown;
  if (done()) return Outcome::kDone;
  QEventLoop loop;
  done_ = &done;
  loop_ = &loop;
  outcome_ = Outcome::kDone;
  loop.exec();
  loop_ = nullptr;
  done_ = nullptr;
  return outcome_;
}

bool DeviceSession::Quiet() const {
  return session_.Quiet();
}

// --- connecting -------------------------------------------------------------------------------

bool DeviceSession::Connect() {
  if (!inner_) {
    Err() << "tavelo-cli " << command_ << ": " << transportError_ << "\n";
    return false;
  }
  if (!args_.quiet) Err() << "link: " << inner_->Describe() << "\n";
  session_.Post(msg::Connect{});
  const Outcome outcome = RunUntil([this] { return session_.Ready(); });
  if (outcome == Outcome::kDone) return true;
  Fail("cannot connect", outcome);
  return false;
}

void DeviceSession::Disconnect() {
  session_.Disconnect();
}

int DeviceSession::Fail(const std::string& what, Outcome outcome) {
  std::ostream& err = Err();
  err << "tavelo-cli " << command_ << ": " << what;
  switch (outcome) {
    case Outcome::kDone:
    case Outcome::kLinkDown:
      err << " (" << LinkFailureReason(session_.engine(), console_) << ")";
      break;
    case Outcome::kTimedOut:
      err << " (timed out after " << (timeoutMs_ ? *timeoutMs_ / 1000.0 : 0.0) << " s)";
      break;
    case Outcome::kInterrupted:
      err << " (interrupted)";
      break;
  }
  err << "\n";
  Disconnect();
  return kExitFailure;
}

}  // namespace tavelo::cli
