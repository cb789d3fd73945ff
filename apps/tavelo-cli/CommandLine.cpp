#include "CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <set>
#include <system_error>

#include "core/params/LockKeyBlock.h"
#include "core/params/ParamImage.h"
#include "core/sim/Faults.h"
#include "core/text/Escaped.h"

namespace tavelo::cli {
namespace {

constexpr int kMaxPort = 65535;
constexpr int kMaxDemoLatencyMs = 60000;
constexpr int kMaxDemoSeed = 999999999;
constexpr int kFirstSlot = 1;  // the command line counts slots from 1
constexpr int kLastSlot = kFirstSlot + kLastPresetSlot;
constexpr std::size_t kHelpColumn = 28;
constexpr std::size_t kHelpWidth = 100;

// One shared option: the group of commands that take it, its value's name (none for a flag)
// and what it does. --host, --timeout and --trace mean slightly different things for the
// processor and for the Wi-Fi module, so they have a row in each group.
struct SharedOption {
  SharedOptions group;
  std::string name;
  std::string value;
  std::string what;
};

std::string Seconds(double s) {
  return std::to_string(static_cast<long long>(s));
}

const std::vector<SharedOption>& SharedOptionTable() {
  using G = SharedOptions;
  static const std::vector<SharedOption> table = {
      {G::kLink, "--link", "usb|wifi|demo",
       "how to reach the processor: its USB cable (the default), its Wi-Fi, or the built-in "
       "virtual processor"},
      {G::kLink, "--host", "H",
       "the processor's Wi-Fi address; --host or --port alone means --link wifi. Without "
       "them the address is chosen from this PC's network adapters, as the panel does"},
      {G::kLink, "--port", "P", "the processor's Wi-Fi port, 1 to 65535"},
      {G::kLink, "--lock-key", "DIGITS",
       "answer the processor's lock prompt with these four digits"},
      {G::kLink, "--timeout", "S",
       "give up after S seconds (more than 0, up to " + Seconds(kMaxTimeoutSeconds) +
           ", a week). Without it there is no overall limit; a processor that stops answering "
           "fails at its reply time-out (3 s USB, 6.5 s Wi-Fi)"},
      {G::kLink, "--trace", "", "print every frame on the wire to stderr"},
      {G::kLink, "--quiet", "",
       "print nothing about the link itself (which link, its status changes); failures and the "
       "processor's messages are still printed"},
      {G::kLink, "--demo-seed", "N",
       "--link demo: start from reproducible varied presets (0 to " + std::to_string(kMaxDemoSeed) +
           ")"},
      {G::kLink, "--demo-fault", "NAME[=ARG]",
       "--link demo: show a fault (repeatable): " + SimFaultNames()},
      {G::kLink, "--demo-latency-ms", "MS",
       "--link demo: every reply comes MS ms late (0 to " + std::to_string(kMaxDemoLatencyMs) +
           ")"},
      {G::kLink, "--demo-knobs", "", "--link demo: the front-panel knobs turn, a step a second"},
      {G::kLinkFiles, "--param-dir", "DIR",
       "commands that take a FILE: a relative FILE lies in DIR instead of the current folder"},
      {G::kModule, "--host", "H",
       "the Wi-Fi module's address (default: the processor's own network's)"},
      {G::kModule, "--module-port", "P", "the Wi-Fi module's settings port, 1 to 65535"},
      {G::kModule, "--timeout", "S",
       "time allowed to reach the module and for each of its answers (more than 0, up to " +
           Seconds(kMaxModuleTimeoutSeconds) + "; default " +
           Seconds(kDefaultModuleTimeoutSeconds) + ")"},
      {G::kModule, "--trace", "", "print every message to and from the module to stderr"},
      {G::kFleet, "--jobs", "N",
       "serve N rooms at a time (1 to " + std::to_string(kMaxFleetJobs) + "; default " +
           std::to_string(kDefaultFleetJobs) + ")"},
      {G::kFleet, "--port", "P", "the port of the rooms whose inventory line gives none"},
      {G::kFleet, "--timeout", "S",
       "give each room S seconds from its connect to its end (more than 0, up to " +
           Seconds(kMaxTimeoutSeconds) +
           "); a room not done by then is reported as timed out and the others go on"},
      {G::kFleet, "--lock-key", "DIGITS", "answer every room's lock prompt with these four digits"},
  };
  return table;
}

// Options a command of one group may mistake for the other group's.
struct OptionHint {
  SharedOptions group;
  std::string name;
  std::string hint;
};
const std::vector<OptionHint>& OptionHints() {
  static const std::vector<OptionHint> hints = {
      {SharedOptions::kModule, "--port", "the Wi-Fi module's port is --module-port"},
      {SharedOptions::kLink, "--module-port", "the processor's port is --port"},
      {SharedOptions::kLinkFiles, "--module-port", "the processor's port is --port"},
  };
  return hints;
}

// Why a fleet command takes none of the options that choose one processor or one way to it.
constexpr const char* kFleetLinkHint =
    "a fleet command reaches every room over Wi-Fi, at the host and port its inventory line "
    "gives";

bool Takes(SharedOptions command, SharedOptions group) {
  if (command == group) return true;
  return command == SharedOptions::kLinkFiles && group == SharedOptions::kLink;
}

const SharedOption* FindShared(SharedOptions command, const std::string& name) {
  for (const SharedOption& o : SharedOptionTable()) {
    if (o.name == name && Takes(command, o.group)) return &o;
  }
  return nullptr;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

bool CommandTakes(const CommandInfo& c, const std::string& option) {
  return Contains(c.valueOptions, option) || Contains(c.pairOptions, option) ||
         Contains(c.flags, option) || FindShared(c.shared, option) != nullptr;
}

// "--param-dir is not used by status; it goes with mass-push, pull, push", or nothing when
// no command takes `option`.
std::optional<std::string> NotUsedBy(const CommandInfo& command, const std::string& option) {
  std::vector<std::string> users;
  for (const CommandInfo& c : Commands()) {
    if (c.run && CommandTakes(c, option)) users.push_back(c.name);
  }
  if (users.empty()) return std::nullopt;
  std::sort(users.begin(), users.end());
  std::string text = option + " is not used by " + command.name;
  for (const OptionHint& h : OptionHints()) {
    if (h.group == command.shared && h.name == option) return text + " (" + h.hint + ")";
  }
  if (command.shared == SharedOptions::kFleet &&
      (FindShared(SharedOptions::kLinkFiles, option) || option == "--module-port")) {
    return text + " (" + kFleetLinkHint + ")";
  }
  text += "; it goes with ";
  for (std::size_t i = 0; i < users.size(); ++i) text += (i ? ", " : "") + users[i];
  return text;
}

std::optional<double> ParseSeconds(const std::string& text, double max) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v) || v <= 0 || v > max) {
    return std::nullopt;
  }
  return v;
}

// One shared flag or option with its value; false with `error` set when the value is bad.
bool ApplyShared(SharedOptions group, const std::string& name, const std::string& value,
                 CommandArgs& out, bool& linkGiven, std::string& error) {
  if (name == "--trace") {
    out.trace = true;
  } else if (name == "--quiet") {
    out.quiet = true;
  } else if (name == "--demo-knobs") {
    out.demoKnobs = true;
  } else if (name == "--link") {
    if (value == "usb") {
      out.link = LinkChoice::kUsb;
    } else if (value == "wifi") {
      out.link = LinkChoice::kWifi;
    } else if (value == "demo") {
      out.link = LinkChoice::kDemo;
    } else {
      error = "--link must be usb, wifi or demo, not '" + ShownArgument(value) + "'";
      return false;
    }
    linkGiven = true;
  } else if (name == "--host") {
    if (value.empty()) {
      error = "--host needs an address";
      return false;
    }
    out.host = value;
  } else if (name == "--port" || name == "--module-port") {
    const auto port = ParseWholeNumber(value, 1, kMaxPort);
    if (!port) {
      error = name + " must be a port number from 1 to 65535, not '" + ShownArgument(value) + "'";
      return false;
    }
    (name == "--port" ? out.port : out.modulePort) = *port;
  } else if (name == "--param-dir") {
    if (value.empty()) {
      error = "--param-dir needs a folder";
      return false;
    }
    out.paramDir = std::filesystem::path(value);
  } else if (name == "--lock-key") {
    if (!IsLockKey(value)) {
      error = "--lock-key must be four digits";
      return false;
    }
    out.lockKey = value;
  } else if (name == "--timeout") {
    const double max =
        group == SharedOptions::kModule ? kMaxModuleTimeoutSeconds : kMaxTimeoutSeconds;
    const auto seconds = ParseSeconds(value, max);
    if (!seconds) {
      error = "--timeout must be a number of seconds, more than 0 and up to " + Seconds(max) +
              ", not '" + ShownArgument(value) + "'";
      return false;
    }
    out.timeoutSeconds = *seconds;
  } else if (name == "--demo-seed") {
    const auto seed = ParseWholeNumber(value, 0, kMaxDemoSeed);
    if (!seed) {
      error = "--demo-seed must be a whole number from 0 to " + std::to_string(kMaxDemoSeed) +
              ", not '" + ShownArgument(value) + "'";
      return false;
    }
    out.demoSeed = static_cast<std::uint32_t>(*seed);
  } else if (name == "--demo-fault") {
    const auto fault = ParseSimFault(value);
    if (!fault) {
      error = "--demo-fault: " + SimFaultError(value);
      return false;
    }
    out.demoFaults.push_back(*fault);
  } else if (name == "--jobs") {
    const auto jobs = ParseWholeNumber(value, 1, kMaxFleetJobs);
    if (!jobs) {
      error = "--jobs must be a whole number from 1 to " + std::to_string(kMaxFleetJobs) +
              ", not '" + ShownArgument(value) + "'";
      return false;
    }
    out.jobs = *jobs;
  } else if (name == "--demo-latency-ms") {
    const auto ms = ParseWholeNumber(value, 0, kMaxDemoLatencyMs);
    if (!ms) {
      error = "--demo-latency-ms must be a whole number from 0 to " +
              std::to_string(kMaxDemoLatencyMs) + ", not '" + ShownArgument(value) + "'";
      return false;
    }
    out.demoLatencyMs = *ms;
  }
  return true;
}

std::string OperandName(const CommandInfo& command, std::size_t index) {
  if (command.operands.empty()) return "an argument";
  std::string name = command.operands[std::min(index, command.operands.size() - 1)];
  if (const auto dots = name.find("..."); dots != std::string::npos) name.erase(dots);
  return name;
}

std::string OptionsWord(SharedOptions shared) {
  switch (shared) {
    case SharedOptions::kLink:
    case SharedOptions::kLinkFiles:
      return " [link options]";
    case SharedOptions::kModule:
      return " [module options]";
    case SharedOptions::kFleet:
      return " [fleet options]";
    case SharedOptions::kNone:
      break;
  }
  return "";
}

// "link", "module" or "fleet": the word before "options" in the helps.
std::string OptionsName(SharedOptions shared) {
  switch (shared) {
    case SharedOptions::kLink:
    case SharedOptions::kLinkFiles:
      return "link";
    case SharedOptions::kModule:
      return "module";
    case SharedOptions::kFleet:
      return "fleet";
    case SharedOptions::kNone:
      break;
  }
  return "";
}

std::string UsageLine(const CommandInfo& c) {
  return "tavelo-cli " + c.name + (c.synopsis.empty() ? "" : " " + c.synopsis) +
         OptionsWord(c.shared);
}

// `text` after `lead`, wrapped at kHelpWidth, continuation lines indented to kHelpColumn.
void PrintWrapped(std::ostream& out, std::string lead, const std::string& text) {
  if (lead.size() + 1 >= kHelpColumn) {
    out << lead << "\n";
    lead.clear();
  }
  std::string wrapped = WrapWords(text, kHelpColumn, kHelpWidth);
  wrapped.replace(0, lead.size(), lead);
  out << wrapped << "\n";
}

void PrintSharedOptions(std::ostream& out, SharedOptions shared) {
  for (const SharedOption& o : SharedOptionTable()) {
    if (!Takes(shared, o.group)) continue;
    PrintWrapped(out, "  " + o.name + (o.value.empty() ? "" : " " + o.value), o.what);
  }
}

// The commands that run, by name; family rows are left out (their members are listed).
std::vector<const CommandInfo*> SortedCommands() {
  std::vector<const CommandInfo*> sorted;
  for (const CommandInfo& c : Commands()) {
    if (c.run) sorted.push_back(&c);
  }
  std::sort(sorted.begin(), sorted.end(),
            [](const CommandInfo* a, const CommandInfo* b) { return a->name < b->name; });
  return sorted;
}

constexpr const char* kFilesNote =
    "FILE arguments are paths as given: a relative path lies in the current folder, or in\n"
    "--param-dir DIR when that is given (the panel keeps its presets in param_dir, so\n"
    "--param-dir param_dir reaches them). A save never creates a missing folder.\n";

}  // namespace

std::vector<CommandInfo>& Commands() {
  static std::vector<CommandInfo> commands;
  return commands;
}

const CommandInfo* FindCommand(const std::string& name) {
  for (const CommandInfo& c : Commands()) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

std::vector<const CommandInfo*> FamilyMembers(const CommandInfo& family) {
  std::vector<const CommandInfo*> members;
  for (const CommandInfo& c : Commands()) {
    if (c.name.rfind(family.name + " ", 0) == 0) members.push_back(&c);
  }
  return members;
}

std::optional<std::string> CommandArgs::Value(const std::string& option) const {
  const auto it = values.find(option);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

std::optional<int> ParseWholeNumber(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  for (std::size_t k = i; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return std::nullopt;
  }
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (v < low || v > high) return std::nullopt;
  return static_cast<int>(v);
}

std::optional<int> ParseSlot(const std::string& text) {
  const auto n = ParseWholeNumber(text, kFirstSlot, kLastSlot);
  if (!n) return std::nullopt;
  return *n - kFirstSlot;
}

std::string WrapWords(const std::string& text, std::size_t indent, std::size_t width) {
  const std::string margin(indent, ' ');
  std::string out;
  std::string line = margin;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (line.size() > indent && line.size() + 1 + word.size() > width) {
      out += line + "\n";
      line = margin;
    }
    line += (line.size() > indent ? " " : "") + word;
    start = end + 1;
  }
  return out + line;
}

std::filesystem::path ResolveFileArg(const CommandArgs& args, const std::string& file) {
  std::filesystem::path path(file);
  if (path.is_relative() && args.paramDir) path = *args.paramDir / path;
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute;
}

std::string FolderProblem(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.parent_path();
  if (folder.empty()) return "";
  return MissingFolder(folder);
}

std::string MissingFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  const auto status = std::filesystem::status(folder, ec);
  if (ec) return folder.string() + ": " + ec.message();
  if (!std::filesystem::is_directory(status))
    return folder.string() + ": " + std::strerror(ENOTDIR);
  return "";
}

bool AsksForHelp(const std::vector<std::string>& words) {
  for (const std::string& w : words) {
    if (w == "--") return false;
    if (w == "--help" || w == "-h") return true;
  }
  return false;
}

std::optional<CommandArgs> ParseCommandArgs(const CommandInfo& command,
                                            const std::vector<std::string>& words,
                                            std::string& error) {
  CommandArgs out;
  bool linkGiven = false;
  bool demoGiven = false;
  bool optionsEnded = false;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || word.size() <= 2 || word.rfind("--", 0) != 0) {
      out.positional.push_back(word);
      continue;
    }
    std::string name = word;
    std::optional<std::string> inlineValue;
    if (const auto eq = word.find('='); eq != std::string::npos) {
      name = word.substr(0, eq);
      inlineValue = word.substr(eq + 1);
    }
    const SharedOption* shared = FindShared(command.shared, name);
    const bool ownFlag = Contains(command.flags, name);
    const bool ownPair = Contains(command.pairOptions, name);
    const bool ownValue = ownPair || Contains(command.valueOptions, name);
    if (!shared && !ownFlag && !ownValue) {
      error = NotUsedBy(command, name).value_or("unknown option '" + ShownArgument(name) + "'");
      return std::nullopt;
    }
    // Said twice, an option would silently lose its first value; only faults add up.
    if (!seen.insert(name).second && name != "--demo-fault") {
      error = name + " is given twice";
      return std::nullopt;
    }
    const bool flag = ownFlag || (shared && shared->value.empty());
    std::string value;
    if (flag) {
      if (inlineValue) {
        error = name + " takes no value";
        return std::nullopt;
      }
    } else if (inlineValue) {
      value = *inlineValue;
    } else if (i + 1 < words.size() && words[i + 1].rfind("--", 0) != 0) {
      // A value that looks like an option is most likely a forgotten value; NAME=--x
      // still passes one.
      value = words[++i];
    } else {
      error = name + " needs a value";
      return std::nullopt;
    }
    if (ownPair && !inlineValue) {
      if (i + 1 >= words.size() || words[i + 1].rfind("--", 0) == 0) {
        error = name + " needs two values";
        return std::nullopt;
      }
      value += " " + words[++i];
    }
    if (ownFlag) {
      out.flags.insert(name);
    } else if (ownValue) {
      out.values[name] = value;
    } else if (!ApplyShared(command.shared, name, value, out, linkGiven, error)) {
      return std::nullopt;
    }
    demoGiven = demoGiven || (shared && name.rfind("--demo-", 0) == 0);
  }
  // An address or port names a Wi-Fi processor unless the link was chosen explicitly.
  if (command.shared == SharedOptions::kLink || command.shared == SharedOptions::kLinkFiles) {
    if (!linkGiven && (out.host || out.port)) out.link = LinkChoice::kWifi;
    if (out.link != LinkChoice::kWifi && (out.host || out.port)) {
      error = "--host and --port need --link wifi";
      return std::nullopt;
    }
    if (out.link != LinkChoice::kDemo && demoGiven) {
      error = "the --demo-* options need --link demo";
      return std::nullopt;
    }
  }
  const int count = static_cast<int>(out.positional.size());
  if (count < command.minOperands) {
    error = OperandName(command, out.positional.size()) + " is missing";
    return std::nullopt;
  }
  if (command.maxOperands >= 0 && count > command.maxOperands) {
    error = "unexpected argument '" +
            ShownArgument(out.positional[static_cast<std::size_t>(command.maxOperands)]) + "'";
    return std::nullopt;
  }
  return out;
}

void PrintGeneralHelp(std::ostream& out) {
  out << "usage: tavelo-cli COMMAND [ARGS...]\n"
         "       tavelo-cli help COMMAND  (or tavelo-cli COMMAND --help): one command in full\n"
         "       tavelo-cli --version\n"
         "\ncommands:\n";
  for (const CommandInfo* c : SortedCommands()) {
    out << "  " << c->name << (c->synopsis.empty() ? "" : " " + c->synopsis)
        << OptionsWord(c->shared) << "\n      " << c->summary << "\n";
  }
  const auto used = [](SharedOptions group) {
    return std::any_of(Commands().begin(), Commands().end(),
                       [&](const CommandInfo& c) { return c.run && Takes(c.shared, group); });
  };
  if (used(SharedOptions::kLink)) {
    out << "\nlink options, for the commands that talk to the processor:\n";
    PrintSharedOptions(out, SharedOptions::kLinkFiles);
  }
  if (used(SharedOptions::kModule)) {
    out << "\nmodule options, for the wifi-* commands (the processor's Wi-Fi module):\n";
    PrintSharedOptions(out, SharedOptions::kModule);
  }
  for (const CommandInfo& family : Commands()) {
    if (family.run) continue;
    out << "\n"
        << OptionsName(family.shared) << " options, for the " << family.name
        << " commands (tavelo-cli help " << family.name << " explains them):\n";
    PrintSharedOptions(out, family.shared);
  }
  out << "\n" << kFilesNote;
}

void PrintCommandHelp(std::ostream& out, const CommandInfo& command) {
  const CommandInfo* family = nullptr;
  if (const auto space = command.name.find(' '); space != std::string::npos) {
    family = FindCommand(command.name.substr(0, space));
  }
  if (command.run) {
    out << "usage: " << UsageLine(command) << "\n";
  } else {
    const auto members = FamilyMembers(command);
    for (std::size_t i = 0; i < members.size(); ++i) {
      out << (i == 0 ? "usage: " : "       ") << UsageLine(*members[i]) << "\n";
    }
  }
  out << command.summary << "\n";
  if (!command.details.empty()) out << command.details << "\n";
  if (family && !family->details.empty()) out << family->details << "\n";
  if (!command.run) {
    out << "\ncommands:\n";
    for (const CommandInfo* member : FamilyMembers(command)) {
      out << "  " << member->name << "\n      " << member->summary << "\n";
    }
  }
  if (command.shared != SharedOptions::kNone) {
    out << "\n" << OptionsName(command.shared) << " options:\n";
    PrintSharedOptions(out, command.shared);
  }
  if (command.shared == SharedOptions::kLinkFiles) out << "\n" << kFilesNote;
}

int UsageError(const std::string& command, const std::string& message) {
  std::cerr << "tavelo-cli " << command << ": " << TerminalSafe(message) << "\n";
  if (const CommandInfo* c = FindCommand(command)) {
    std::vector<const CommandInfo*> shown = {c};
    if (!c->run) shown = FamilyMembers(*c);
    for (std::size_t i = 0; i < shown.size(); ++i) {
      std::cerr << (i == 0 ? "usage: " : "       ") << UsageLine(*shown[i]) << "\n";
    }
    std::cerr << "(tavelo-cli help " << command << " explains it)\n";
  }
  return kExitUsage;
}

int CommandFailure(const std::string& command, const std::string& message) {
  std::cerr << "tavelo-cli " << command << ": " << TerminalSafe(message) << "\n";
  return kExitFailure;
}

}  // namespace tavelo::cli
