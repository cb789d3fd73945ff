#pragma once
// One device command's connection to a processor: a RoomSession with the console observer,
// the transport of the chosen link and the Qt event loop that drives them (the 50 ms tick,
// transport wake-ups leading to BytesArrived, the in-process processor's reply times).
// Commands connect, post messages and wait for a condition; every wait ends, by the
// engine's own time-outs, the command's overall --timeout, or an interrupt.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "CommandLine.h"
#include "cmd_device_console.h"
#include "cmd_device_tap.h"
#include "core/engine/Engine.h"
#include "core/sim/SimTransport.h"
#include "core/sim/VirtualProcessor.h"
#include "platform/RoomSession.h"

namespace tavelo::cli {

// The QCoreApplication a command needs for timers and sockets (one per process).
class CliApp {
 public:
  CliApp();
  ~CliApp();
  CliApp(const CliApp&) = delete;
  CliApp& operator=(const CliApp&) = delete;

 private:
  std::unique_ptr<QCoreApplication> app_;
};

// SIGINT and SIGTERM end a wait (checked on every tick) instead of killing the process, so
// the link is closed properly.
void InstallInterruptHandlers();
bool Interrupted();

class DeviceSession {
 public:
  enum class Outcome { kDone, kLinkDown, kTimedOut, kInterrupted };

  // `command` names the command in messages. Without --timeout there is no overall limit:
  // the processor's reply time-outs end a link that stopped answering, and a slow but
  // healthy transfer runs to its end.
  DeviceSession(const CommandArgs& args, std::string command);
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  Engine& engine() { return session_.engine(); }
  ConsoleObserver& console() { return console_; }
  const WireLog& wire() const { return wire_; }

  // Connects and reads the whole parameter set, answering the unlock prompt with
  // --lock-key. On failure prints why and returns false.
  bool Connect();
  // Takes the link down ("Idle"). Safe when not connected.
  void Disconnect();

  // Runs the event loop until `done` holds (checked after every input), the link goes
  // down, the time runs out or the user interrupts.
  Outcome RunUntil(const std::function<bool()>& done);
  // Connected with no request in flight and none waiting.
  bool Quiet() const;

  // Prints "tavelo-cli CMD: WHAT" with the reason the outcome gives (status text, time-out)
  // and returns kExitFailure.
  int Fail(const std::string& what, Outcome outcome = Outcome::kLinkDown);

 private:
  void MakeTransport();
  std::unique_ptr<Transport> NewTap();
  void AfterInput();
  void ArmDemoPoll();
  void TurnDemoKnobs();
  bool DeadlinePassed() const;
  static std::ostream& Err();

  CommandArgs args_;
  std::string command_;
  std::optional<qint64> timeoutMs_;

  CliApp app_;
  QObject context_;  // receives the timers' calls
  QElapsedTimer clock_;

  WireLog wire_;
  ConsoleObserver console_;
  std::unique_ptr<VirtualProcessor> demo_;
  SimHidTransport* demoLink_ = nullptr;  // owned by inner_ on the demo link
  // Tapped by the session's transports; released before the session's wake-up goes.
  std::unique_ptr<Transport> inner_;
  std::string transportError_;

  RoomSession session_;
  QTimer demoPoll_;
  QTimer demoKnobs_;
  int knobStep_ = 0;

  const std::function<bool()>* done_ = nullptr;
  QEventLoop* loop_ = nullptr;
  Outcome outcome_ = Outcome::kDone;
};

}  // namespace tavelo::cli
