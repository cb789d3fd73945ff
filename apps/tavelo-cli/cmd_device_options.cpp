#include "cmd_device_options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "Command.h"

namespace tavelo::cli {
namespace {

constexpr int kMaxPort = 65535;
constexpr int kMaxDemoLatencyMs = 60000;
constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 10;
constexpr std::size_t kLockKeyDigits = 4;

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

std::optional<double> ParseSeconds(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v) || v <= 0 || v > kMaxTimeoutSeconds) {
    return std::nullopt;
  }
  return v;
}

bool IsLockKey(const std::string& text) {
  return text.size() == kLockKeyDigits &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// One shared option with its value; false with `error` set when the value is bad.
bool ApplyShared(const std::string& name, const std::string& value, DeviceArgs& out,
                 bool& linkGiven, std::string& error) {
  if (name == "--link") {
    if (value == "usb") {
      out.link = LinkChoice::kUsb;
    } else if (value == "wifi") {
      out.link = LinkChoice::kWifi;
    } else if (value == "demo") {
      out.link = LinkChoice::kDemo;
    } else {
      error = "--link must be usb, wifi or demo, not '" + value + "'";
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
      error = name + " must be a port number from 1 to 65535, not '" + value + "'";
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
    const auto seconds = ParseSeconds(value);
    if (!seconds) {
      error = "--timeout must be a number of seconds, more than 0 and up to 604800, not '" + value +
              "'";
      return false;
    }
    out.timeoutSeconds = *seconds;
  } else if (name == "--demo-seed") {
    const auto seed = ParseWholeNumber(value, 0, 999999999);
    if (!seed) {
      error = "--demo-seed must be a whole number, not '" + value + "'";
      return false;
    }
    out.demoSeed = static_cast<std::uint32_t>(*seed);
  } else if (name == "--demo-fault") {
    const auto fault = ParseSimFault(value);
    if (!fault) {
      error = "unknown fault '" + value + "' (known: " + SimFaultNames() + ")";
      return false;
    }
    out.demoFaults.push_back(*fault);
  } else if (name == "--demo-latency-ms") {
    const auto ms = ParseWholeNumber(value, 0, kMaxDemoLatencyMs);
    if (!ms) {
      error = "--demo-latency-ms must be a whole number from 0 to 60000";
      return false;
    }
    out.demoLatencyMs = *ms;
  }
  return true;
}

const std::vector<std::string> kSharedValueOptions = {
    "--link",     "--host",    "--port",      "--module-port", "--param-dir",
    "--lock-key", "--timeout", "--demo-seed", "--demo-fault",  "--demo-latency-ms"};

}  // namespace

std::optional<std::string> DeviceArgs::Value(const std::string& option) const {
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

std::filesystem::path ResolveFileArg(const DeviceArgs& args, const std::string& file) {
  std::filesystem::path path(file);
  if (path.is_relative() && args.paramDir) path = *args.paramDir / path;
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute;
}

int DeviceUsageError(const std::string& command, const std::string& usage,
                     const std::string& message) {
  const bool module = command.rfind("wifi-", 0) == 0;
  std::cerr << "tavelo-cli " << command << ": " << message << "\nusage: tavelo-cli " << usage
            << "\n"
            << (module ? kModuleOptionsUsage : kDeviceOptionsUsage) << "\n";
  return kExitUsage;
}

namespace {
std::string UsageLine(const std::string& words, const char* options, const std::string& what) {
  std::string line = words + " " + options;
  constexpr std::size_t kColumn = 46;
  line += line.size() < kColumn ? std::string(kColumn - line.size(), ' ') : std::string("  ");
  return line + what;
}
}  // namespace

std::string DeviceUsage(const std::string& words, const std::string& what) {
  return UsageLine(words, "[link options]", what);
}

std::string ModuleUsage(const std::string& words, const std::string& what) {
  return UsageLine(words, "[module options]", what);
}

std::optional<DeviceArgs> ParseDeviceArgs(const std::vector<std::string>& args,
                                          const CommandOptions& shape, std::string& error) {
  DeviceArgs out;
  bool linkGiven = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool looksLikeOption = !optionsEnded && arg.size() > 2 && arg.rfind("--", 0) == 0;
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (!looksLikeOption) {
      out.positional.push_back(arg);
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (const auto eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    const bool shared = Contains(kSharedValueOptions, name);
    const bool own = Contains(shape.valueOptions, name);
    if (name == "--trace" || name == "--demo-knobs" || Contains(shape.flags, name)) {
      if (inlineValue) {
        error = name + " takes no value";
        return std::nullopt;
      }
      if (name == "--trace") {
        out.trace = true;
      } else if (name == "--demo-knobs") {
        out.demoKnobs = true;
      } else {
        out.flags.insert(name);
      }
      continue;
    }
    if (!shared && !own) {
      error = "unknown option '" + name + "'";
      return std::nullopt;
    }
    std::string value;
    if (inlineValue) {
      value = *inlineValue;
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = name + " needs a value";
      return std::nullopt;
    }
    if (own) {
      out.values[name] = value;
    } else if (!ApplyShared(name, value, out, linkGiven, error)) {
      return std::nullopt;
    }
  }
  // An address or port names a Wi-Fi processor unless the link was chosen explicitly.
  if (!linkGiven && (out.host || out.port)) out.link = LinkChoice::kWifi;
  if (out.link == LinkChoice::kUsb && (out.host || out.port)) {
    error = "--host and --port need --link wifi";
    return std::nullopt;
  }
  const int count = static_cast<int>(out.positional.size());
  if (count < shape.minPositional) {
    error = "missing argument";
    return std::nullopt;
  }
  if (shape.maxPositional >= 0 && count > shape.maxPositional) {
    error = "unexpected argument '" +
            out.positional[static_cast<std::size_t>(shape.maxPositional)] + "'";
    return std::nullopt;
  }
  return out;
}

}  // namespace tavelo::cli
