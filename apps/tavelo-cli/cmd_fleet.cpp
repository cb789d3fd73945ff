// tavelo-cli fleet: one command over every room of an inventory, rooms served concurrently.
#include "cmd_fleet.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "Command.h"
#include "platform/WifiEndpoint.h"
#include "presets/AtomicFile.h"

namespace tavelo::cli {
namespace {

constexpr int kDefaultJobs = 16;
constexpr int kMaxJobs = 256;
constexpr std::size_t kMaxInventoryBytes = 1 << 20;

// One line per subcommand, the descriptions in the column the other commands use.
std::string Line(const std::string& words, const std::string& what, bool first) {
  constexpr std::size_t kColumn = 46;
  std::string line = (first ? "" : "  ") + words;
  const std::size_t column = first ? kColumn : kColumn + 2;
  line += line.size() < column ? std::string(column - line.size(), ' ') : std::string("  ");
  return line + what;
}

const std::string kUsage =
    Line("fleet status INVENTORY [--json]",
         "reachable, protocol version, preset, lock, admin mode of every room", true) +
    "\n" + Line("fleet pull INVENTORY DIR", "every room's current preset into DIR/ROOM", false) +
    "\n" +
    Line("fleet verify INVENTORY GOLDEN_DIR",
         "every room compared with GOLDEN_DIR/ROOM; exit 1 when one differs or is not reached",
         false) +
    "\n" +
    Line("fleet push INVENTORY FILE_OR_DIR [--slot N]",
         "FILE into every room, or DIR/ROOM into each; exit 1 when one fails", false) +
    "\n" +
    Line("fleet options: [--jobs N] [--port P] [--lock-key DIGITS]",
         "N rooms at a time (default 16); P for rooms listed without a port", false);

// Shared options that name one processor or one way of reaching it: an inventory does that.
const std::vector<std::string> kNotForFleet = {
    "--link",  "--host",      "--module-port", "--param-dir",       "--timeout",
    "--trace", "--demo-seed", "--demo-fault",  "--demo-latency-ms", "--demo-knobs"};

struct Subcommand {
  const char* name;
  int (*run)(const FleetArgs&);
  CommandOptions shape;
};

const std::vector<Subcommand>& Subcommands() {
  static const std::vector<Subcommand> list = {
      {"status", RunFleetStatus, {{"--jobs"}, {"--json"}, 1, 1}},
      {"pull", RunFleetPull, {{"--jobs"}, {}, 2, 2}},
      {"verify", RunFleetVerify, {{"--jobs"}, {}, 2, 2}},
      {"push", RunFleetPush, {{"--jobs", "--slot"}, {}, 2, 2}},
  };
  return list;
}

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

int RunFleet(const std::vector<std::string>& words) {
  if (words.empty()) return FleetUsageError("missing subcommand (status, pull, verify or push)");
  const auto sub = std::find_if(Subcommands().begin(), Subcommands().end(),
                                [&](const Subcommand& s) { return words[0] == s.name; });
  if (sub == Subcommands().end()) {
    return FleetUsageError("unknown subcommand '" + words[0] + "' (status, pull, verify or push)");
  }
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  for (const auto& word : rest) {
    if (word == "--") break;
    const std::string name = word.substr(0, word.find('='));
    if (std::find(kNotForFleet.begin(), kNotForFleet.end(), name) != kNotForFleet.end()) {
      return FleetUsageError(name + " does not apply to fleet commands: the inventory names " +
                             "each room's host and port");
    }
  }
  std::string error;
  FleetArgs fleet;
  fleet.command = std::string("fleet ") + sub->name;
  const auto args = ParseDeviceArgs(rest, sub->shape, error);
  if (!args) return FleetUsageError(error);
  fleet.args = *args;
  fleet.json = args->Has("--json");
  fleet.options.command = fleet.command;
  fleet.options.jobs = kDefaultJobs;
  if (const auto jobs = args->Value("--jobs")) {
    const auto n = ParseWholeNumber(*jobs, 1, kMaxJobs);
    if (!n) return FleetUsageError("--jobs must be a whole number from 1 to 256");
    fleet.options.jobs = *n;
  }
  fleet.options.lockKey = args->lockKey;
  const auto defaultPort = static_cast<std::uint16_t>(args->port.value_or(kDirectEndpoint.port));
  const std::string& inventory = args->positional[0];
  const auto rooms = ReadInventory(inventory, defaultPort, error);
  if (!rooms) {
    std::cerr << "tavelo-cli " << fleet.command << ": " << inventory << ": " << error << "\n";
    return kExitFailure;
  }
  fleet.rooms = *rooms;
  std::ostream& progress = FleetProgressStream(fleet);
  fleet.options.progress = &progress;
  fleet.options.terminal = ::isatty(&progress == &std::cout ? STDOUT_FILENO : STDERR_FILENO) == 1;
  return sub->run(fleet);
}

const RegisterCommand kFleet("fleet", kUsage, RunFleet);

}  // namespace

std::ostream& FleetProgressStream(const FleetArgs& fleet) {
  return fleet.json ? std::cerr : std::cout;
}

int FleetUsageError(const std::string& message) {
  std::cerr << "tavelo-cli fleet: " << message << "\nusage: tavelo-cli " << kUsage << "\n";
  return kExitUsage;
}

}  // namespace tavelo::cli
