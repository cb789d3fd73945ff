#pragma once
// The options every device command shares (--link, --host, --port, --param-dir, --lock-key,
// --timeout, ...) plus the few each command adds, parsed into one record. Parsing never
// touches a device: a usage error is found before anything is opened.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sim/Faults.h"

namespace tavelo::cli {

enum class LinkChoice { kUsb, kWifi, kDemo };

// What a command accepts beyond the shared options.
struct CommandOptions {
  std::vector<std::string> valueOptions;  // e.g. "--slot", "--name"
  std::vector<std::string> flags;         // e.g. "--yes", "--factory"
  int minPositional = 0;
  int maxPositional = 0;  // -1: any number
};

struct DeviceArgs {
  LinkChoice link = LinkChoice::kUsb;
  std::optional<std::string> host;  // processor (or, for wifi-*, module) address
  std::optional<int> port;          // processor port
  std::optional<int> modulePort;    // Wi-Fi module settings port
  std::optional<std::filesystem::path> paramDir;
  std::optional<std::string> lockKey;  // four digits
  std::optional<double> timeoutSeconds;
  bool trace = false;  // every frame on the wire to stderr

  // The built-in virtual processor of --link demo.
  std::optional<std::uint32_t> demoSeed;
  std::vector<SimFaultSpec> demoFaults;
  int demoLatencyMs = 0;
  bool demoKnobs = false;  // its front-panel knobs turn, one step a second

  std::map<std::string, std::string> values;  // command options with a value
  std::set<std::string> flags;                // command flags given
  std::vector<std::string> positional;

  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::optional<std::string> Value(const std::string& option) const;
};

// Parses `args` (the words after the command name). On a usage error returns nothing and
// sets `error` to one line saying what is wrong.
std::optional<DeviceArgs> ParseDeviceArgs(const std::vector<std::string>& args,
                                          const CommandOptions& shape, std::string& error);

// A whole number in [low, high], the entire text and nothing else.
std::optional<int> ParseWholeNumber(const std::string& text, int low, int high);

// A command-line slot "1".."10" as the processor's slot 0..9.
std::optional<int> ParseSlot(const std::string& text);

// A file argument: a relative path lies in --param-dir when one was given, else in the
// working directory. Always returned absolute, so the engine takes it as it is.
std::filesystem::path ResolveFileArg(const DeviceArgs& args, const std::string& file);

// Prints "tavelo-cli COMMAND: MESSAGE", the command's usage and the options it shares;
// returns kExitUsage.
int DeviceUsageError(const std::string& command, const std::string& usage,
                     const std::string& message);

// A command's line for `tavelo-cli help`: its words, "[link options]" and what it does.
std::string DeviceUsage(const std::string& words, const std::string& what);
// The same for the Wi-Fi module commands, which share only "[module options]".
std::string ModuleUsage(const std::string& words, const std::string& what);

// --timeout takes seconds in (0, kMaxTimeoutSeconds]; the module commands use at most
// kMaxModuleTimeoutSeconds of it.
inline constexpr double kMaxTimeoutSeconds = 7 * 24 * 3600.0;
inline constexpr double kMaxModuleTimeoutSeconds = 3600.0;
inline constexpr double kDefaultModuleTimeoutSeconds = 4.0;

// The options every processor command shares.
inline constexpr const char* kDeviceOptionsUsage =
    "link options: [--link usb|wifi|demo] [--host H] [--port P] [--param-dir DIR] "
    "[--lock-key DIGITS] [--timeout S] [--trace]; --link demo: [--demo-seed N] "
    "[--demo-fault NAME[=ARG]]... [--demo-latency-ms MS] [--demo-knobs]\n"
    "  --timeout S: give up after S seconds (more than 0, up to 604800); default: no overall\n"
    "  limit: a processor that stops answering fails at its reply time-out (3 s USB, 6.5 s Wi-Fi)";
inline constexpr const char* kModuleOptionsUsage =
    "module options: [--host H] [--module-port P] [--timeout S] [--trace]\n"
    "  --timeout S: time allowed to reach the module (more than 0, up to 3600; default 4)";

}  // namespace tavelo::cli
