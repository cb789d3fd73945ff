#pragma once
// tavelo-cli's table of commands: each command's file registers one row (its words, help
// text, the options and operands it takes and the function that runs it); main() reads the
// command line against the row, so help, refused options and missing operands are handled
// in one place for every command. Offline builds simply lack the device commands' rows.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/link/Transport.h"
#include "core/sim/Faults.h"

namespace tavelo::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // bad file, processor or link failure
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;  // the shell's code for a run ended by Ctrl+C

// The shared options a command takes besides its own.
enum class SharedOptions : std::uint8_t {
  kNone,       // offline commands
  kLink,       // processor commands: the link options
  kLinkFiles,  // processor commands that read or write files: the link options, --param-dir
  kModule,     // the Wi-Fi module commands: the module options
  kFleet,      // the fleet commands: the fleet options
};

// A command line read against its command's row.
struct CommandArgs {
  LinkChoice link = LinkChoice::kUsb;
  std::optional<std::string> host;  // processor (or, for wifi-*, module) address
  std::optional<int> port;          // processor port
  std::optional<int> modulePort;    // Wi-Fi module settings port
  std::optional<std::filesystem::path> paramDir;
  std::optional<std::string> lockKey;  // four digits
  std::optional<double> timeoutSeconds;
  bool trace = false;       // every frame on the wire to stderr
  bool quiet = false;       // no link chatter on stderr
  std::optional<int> jobs;  // fleet: rooms served at a time

  // The built-in virtual processor of --link demo.
  std::optional<std::uint32_t> demoSeed;
  std::vector<SimFaultSpec> demoFaults;
  int demoLatencyMs = 0;
  bool demoKnobs = false;  // its front-panel knobs turn, one step a second

  std::map<std::string, std::string> values;  // the command's own options with a value
  std::set<std::string> flags;                // the command's own flags given
  std::vector<std::string> positional;

  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::optional<std::string> Value(const std::string& option) const;
};

using CommandFn = std::function<int(const CommandArgs& args)>;

// One command's row. A command of two words ("fleet status") belongs to the family its first
// word names; the family has a row of its own, without `run`, for its help and the details
// its commands share.
struct CommandInfo {
  std::string name{};
  std::string synopsis{};  // the words after the name: "FILE [--slot N]"
  std::string summary{};   // what it does, one line
  std::string details{};   // further lines for `help NAME`, each indented by two; may be empty
  SharedOptions shared = SharedOptions::kNone;
  std::vector<std::string> valueOptions{};  // own options with a value, e.g. "--slot"
  std::vector<std::string> pairOptions{};   // own options with two values, "--range LO HI";
                                            // the value holds both, joined by a space
  std::vector<std::string> flags{};         // own options without one, e.g. "--yes"
  std::vector<std::string> operands{};      // names of the words, for "FILE is missing"
  int minOperands = 0;
  int maxOperands = 0;  // -1: any number
  CommandFn run{};      // empty for a family
};

std::vector<CommandInfo>& Commands();
// The row of `name`; null when there is none.
const CommandInfo* FindCommand(const std::string& name);

// Defines a static object that registers a command at start-up.
struct RegisterCommand {
  explicit RegisterCommand(CommandInfo info) { Commands().push_back(std::move(info)); }
};

}  // namespace tavelo::cli
