#pragma once
// tavelo-cli fleet: the fleet commands' shared arguments and their entry points.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "JsonText.h"
#include "cmd_fleet_runner.h"
#include "core/fleet/Inventory.h"

namespace tavelo::cli {

struct FleetArgs {
  std::string command;  // "fleet status", ...
  std::vector<Room> rooms;
  CommandArgs args;  // positional[0] is the inventory
  FleetOptions options;
  bool json = false;
};

// kExitOk when every room ended well, else kExitFailure.
int FleetExit(const std::vector<RoomEnd>& ends);

// A room's name in a table, a summary or a progress line: escaped, unquoted.
std::string RoomCell(const Room& room);
// A room's JSON object begun with its name, host and port; each command adds its result.
JsonObject RoomJson(const Room& room);

int RunFleetStatus(const FleetArgs& fleet);
int RunFleetPull(const FleetArgs& fleet);
int RunFleetVerify(const FleetArgs& fleet);
int RunFleetPush(const FleetArgs& fleet);

}  // namespace tavelo::cli
