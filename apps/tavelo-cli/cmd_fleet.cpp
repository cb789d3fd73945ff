// tavelo-cli fleet: one command over every room of an inventory, rooms served concurrently.
#include "cmd_fleet.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "Command.h"
#include "CommandLine.h"
#include "core/presets/AtomicFile.h"
#include "core/text/Escaped.h"
#include "platform/WifiEndpoint.h"

namespace tavelo::cli {
namespace {

constexpr std::size_t kMaxInventoryBytes = 1 << 20;

std::optional<std::vector<Room>> ReadInventory(const std::string& path, std::uint16_t defaultPort,
                                               std::string& error) {
  const ReadResult read = ReadWholeFile(path, kMaxInventoryBytes);
  if (!read.ok) {
    error = read.message;
    return std::nullopt;
  }
  const std::string text(read.bytes.begin(), read.bytes.end());
  return ParseInventory(text, defaultPort, error);
}

// Reads the inventory and runs one fleet command over its rooms.
int RunFleetCommand(const CommandArgs& args, const std::string& command,
                    int (*run)(const FleetArgs&)) {
  FleetArgs fleet;
  fleet.command = command;
  fleet.args = args;
  fleet.json = args.Has("--json");
  fleet.options.command = command;
  fleet.options.jobs = args.jobs.value_or(kDefaultFleetJobs);
  fleet.options.lockKey = args.lockKey;
  fleet.options.roomSeconds = args.timeoutSeconds;
  const auto defaultPort = static_cast<std::uint16_t>(args.port.value_or(kDirectEndpoint.port));
  const std::string& inventory = args.positional[0];
  std::string error;
  const auto rooms = ReadInventory(inventory, defaultPort, error);
  if (!rooms) return CommandFailure(command, inventory + ": " + error);
  fleet.rooms = *rooms;
  // Progress goes to stderr: what a pipe or a file gets on stdout is the result alone.
  fleet.options.progress = &std::cerr;
  fleet.options.terminal = ::isatty(STDERR_FILENO) == 1;
  return run(fleet);
}

constexpr const char* kJsonDetail = "  --json   the rooms as a JSON list, one object a room";

CommandInfo FleetRow(const std::string& sub, std::string synopsis, std::string summary,
                     std::string details, std::vector<std::string> operands,
                     std::vector<std::string> valueOptions, int (*run)(const FleetArgs&)) {
  const std::string name = "fleet " + sub;
  const int count = static_cast<int>(operands.size());
  if (!details.empty()) details += "\n";
  return {
      .name = name,
      .synopsis = std::move(synopsis) + " [--json]",
      .summary = std::move(summary),
      .details = std::move(details) + kJsonDetail,
      .shared = SharedOptions::kFleet,
      .valueOptions = std::move(valueOptions),
      .flags = {"--json"},
      .operands = std::move(operands),
      .minOperands = count,
      .maxOperands = count,
      .run = [name, run](const CommandArgs& args) { return RunFleetCommand(args, name, run); },
  };
}

const RegisterCommand kFleet({
    .name = "fleet",
    .summary = "one command over every room of a venue, the rooms served side by side over Wi-Fi",
    .details = "  INVENTORY is a text file, one room a line: NAME HOST [PORT] (NAME of letters,\n"
               "  digits, '.', '_' and '-', also its file name in a folder; without PORT the room\n"
               "  has --port P, else " +
               std::to_string(kDirectEndpoint.port) +
               "); '#' starts a comment. A room that fails never stops\n"
               "  the others. Files and folders are paths as given.",
    .shared = SharedOptions::kFleet,
});
const RegisterCommand kStatus(FleetRow("status", "INVENTORY",
                                       "reachable, protocol version, preset, lock and admin mode "
                                       "of every room",
                                       "", {"INVENTORY"}, {}, RunFleetStatus));
const RegisterCommand kPull(FleetRow("pull", "INVENTORY DIR",
                                     "every room's current preset into DIR/ROOM",
                                     "  DIR must exist: like every save, fleet pull creates no "
                                     "folder.",
                                     {"INVENTORY", "DIR"}, {}, RunFleetPull));
const RegisterCommand kVerify(FleetRow("verify", "INVENTORY GOLDEN_DIR",
                                       "every room compared with GOLDEN_DIR/ROOM",
                                       "  Exit 1 when a room differs or is not reached.",
                                       {"INVENTORY", "GOLDEN_DIR"}, {}, RunFleetVerify));
const RegisterCommand kPush(FleetRow(
    "push", "INVENTORY FILE_OR_DIR [--slot N]", "FILE into every room, or DIR/ROOM into each",
    "  --slot N   the user mode (1 to 10) to load into; without it, the current preset\n"
    "  Exit 1 when a room fails.",
    {"INVENTORY", "FILE_OR_DIR"}, {"--slot"}, RunFleetPush));

}  // namespace

int FleetExit(const std::vector<RoomEnd>& ends) {
  const bool allOk = std::all_of(ends.begin(), ends.end(), [](const RoomEnd& e) { return e.ok; });
  return allOk ? kExitOk : kExitFailure;
}

std::string RoomCell(const Room& room) {
  return EscapedBytes(room.name);
}

JsonObject RoomJson(const Room& room) {
  JsonObject json;
  json.Text("room", room.name).Text("host", room.host).Number("port", room.port);
  return json;
}

}  // namespace tavelo::cli
