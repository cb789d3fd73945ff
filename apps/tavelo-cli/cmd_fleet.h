#pragma once
// tavelo-cli fleet: the fleet commands' shared arguments and their entry points.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cmd_device_options.h"
#include "cmd_fleet_runner.h"
#include "fleet/Inventory.h"

namespace tavelo::cli {

struct FleetArgs {
  std::string command;  // "fleet status", ...
  std::vector<Room> rooms;
  DeviceArgs args;  // positional[0] is the inventory
  FleetOptions options;
  bool json = false;
};

// The stream progress goes to: stdout, or stderr when stdout carries JSON.
std::ostream& FleetProgressStream(const FleetArgs& fleet);

int RunFleetStatus(const FleetArgs& fleet);
int RunFleetPull(const FleetArgs& fleet);
int RunFleetVerify(const FleetArgs& fleet);
int RunFleetPush(const FleetArgs& fleet);

// Prints "tavelo-cli fleet: MESSAGE" and the fleet usage; returns kExitUsage.
int FleetUsageError(const std::string& message);

}  // namespace tavelo::cli
