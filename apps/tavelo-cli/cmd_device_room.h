#pragma once
// One room of a fleet command: a RoomSession driven by an event loop that someone else
// runs, with the command line's console observer and the record of the wire. The owner calls
// Tick() every 50 ms and hears, through `afterInput`, that the engine has handled an input,
// so it can look at the engine's state. Many of these share one loop; nothing here blocks.
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cmd_device_console.h"
#include "cmd_device_tap.h"
#include "core/engine/Engine.h"
#include "platform/RoomSession.h"

namespace tavelo::cli {

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

  Engine& engine() { return session_.engine(); }
  const Engine& engine() const { return session_.engine(); }
  ConsoleObserver& console() { return console_; }
  const ConsoleObserver& console() const { return console_; }
  const WireLog& wire() const { return wire_; }

  // Starts connecting; the engine then reads the whole parameter set.
  void Connect() { session_.Connect(); }
  // The preset has been read and nothing is in flight: the room is ready for work.
  bool Ready() const { return session_.Ready(); }
  // Connected with no request in flight and none waiting.
  bool Quiet() const { return session_.Quiet(); }
  bool Down() const { return session_.Down(); }
  // Reads the whole parameter set again.
  void DownloadSet() { session_.DownloadSet(); }
  // Takes the link down. Safe when not connected.
  void Disconnect() { session_.Disconnect(); }
  void Tick() { session_.Tick(); }
  // Why the link went down; a locked processor without a key says so.
  std::string FailureReason() const;

 private:
  WireLog wire_;
  ConsoleObserver console_;
  // Tapped by the session's transports; released before the session's wake-up goes.
  std::unique_ptr<Transport> inner_;
  RoomSession session_;
};

}  // namespace tavelo::cli
