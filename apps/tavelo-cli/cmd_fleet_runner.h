#pragma once
// Runs a fleet command in every room of an inventory: at most `jobs` rooms at a time, each
// with its own engine and TCP link, all from one Qt event loop. A room is connected (the
// engine reads its whole parameter set), handed to the command's work, and let go when the
// work says it is finished, the link goes down or the room's time limit runs out; the
// engine's own time-outs bound every wait. A failed room never stops the others.
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cmd_device_room.h"
#include "core/fleet/Inventory.h"

namespace tavelo::cli {

// How one room ended.
struct RoomEnd {
  bool ok = false;
  std::string step;    // where it failed: "file", "connect", "upload", "confirm", "save", ...
  std::string detail;  // success: what was done; failure: why
};

// What a fleet command does in each room.
class FleetWork {
 public:
  virtual ~FleetWork() = default;
  // Before a room is connected: its end when there is no point connecting (a missing file).
  virtual std::optional<RoomEnd> Prepare(std::size_t /*room*/) { return std::nullopt; }
  // The room's preset has been read: its end, or nothing while posted work goes on.
  virtual std::optional<RoomEnd> Start(std::size_t room, RoomLink& link) = 0;
  // After every input while the work goes on: its end, or nothing yet.
  virtual std::optional<RoomEnd> Check(std::size_t /*room*/, RoomLink& /*link*/) {
    return std::nullopt;
  }
  // Where the work stood, for a room whose link went down meanwhile.
  virtual std::string Step(std::size_t /*room*/, const RoomLink& /*link*/) const { return "work"; }
};

struct FleetOptions {
  std::string command;  // "fleet verify", for progress and messages
  int jobs = 16;
  // Each room's time from its connect to its end; a room still busy then is let go and
  // reported as timed out. None: only the link's own time-outs.
  std::optional<double> roomSeconds;
  std::optional<std::string> lockKey;
  std::ostream* progress = nullptr;  // where progress goes; nothing when null
  bool terminal = false;             // progress is one updating line, not a line per room
};

// One RoomEnd per room, in inventory order.
std::vector<RoomEnd> RunFleet(const std::vector<Room>& rooms, FleetWork& work,
                              const FleetOptions& options);

}  // namespace tavelo::cli
