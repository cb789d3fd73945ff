#pragma once
// One processor's engine driven by an event loop that someone else runs: the engine, its
// console observer, the record of the wire and the transport, with the transport's wake-ups
// turned into BytesArrived on the loop's thread. The owner calls Tick() every 50 ms and
// hears, through `afterInput`, that the engine has handled an input, so it can look at the
// engine's state. Many of these share one loop (fleet commands); nothing here blocks.
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cmd_device_console.h"
#include "cmd_device_tap.h"
#include "engine/Engine.h"
#include "platform/QueuedWake.h"

namespace tavelo::cli {

// Answers the processor's unlock prompt with the four digits of `key`.
void PostUnlockKey(Engine& engine, const std::string& key);

// Why the link failed, in the words a user can act on: the status the panel would show and
// the engine's detail ("Open failed: connection refused by ...").
std::string LinkFailureReason(const Engine& engine, const ConsoleObserver& console);

class RoomLink {
 public:
  // `log` receives the console observer's lines (status changes, the processor's messages).
  RoomLink(std::unique_ptr<Transport> transport, std::optional<std::string> lockKey,
           std::ostream& log, std::function<void()> afterInput);
  ~RoomLink();
  RoomLink(const RoomLink&) = delete;
  RoomLink& operator=(const RoomLink&) = delete;

  Engine& engine() { return engine_; }
  const Engine& engine() const { return engine_; }
  ConsoleObserver& console() { return console_; }
  const ConsoleObserver& console() const { return console_; }
  const WireLog& wire() const { return wire_; }

  // Starts connecting; the engine then reads the whole parameter set.
  void Connect();
  // The preset has been read and nothing is in flight: the room is ready for work.
  bool Ready() const;
  // Connected with no request in flight and none waiting.
  bool Quiet() const;
  bool Down() const { return engine_.State() == ConnState::kIdle; }
  // Takes the link down. Safe when not connected.
  void Disconnect();
  void Tick();
  // Why the link went down; a locked processor without a key says so.
  std::string FailureReason() const;

 private:
  void OnUnlockOpen();
  void AfterInput();

  std::optional<std::string> lockKey_;
  std::function<void()> afterInput_;
  // Outlives the transport that announces bytes through it.
  QueuedWake wake_{[this] {
    engine_.BytesArrived();
    AfterInput();
  }};
  WireLog wire_;
  ConsoleObserver console_;
  std::unique_ptr<Transport> inner_;
  Engine engine_;
  bool lockedWithoutKey_ = false;
  bool unlockAnswered_ = false;
};

}  // namespace tavelo::cli
