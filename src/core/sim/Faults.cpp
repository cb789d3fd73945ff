#include "core/sim/Faults.h"

#include <array>
#include <charconv>
#include <string>

namespace tavelo {
namespace {

struct FaultName {
  std::string_view name;
  SimFault fault;
};

// "unplug-after" and "drop-after" are one fault: the HID and the stream name of a link
// that dies mid-transfer.
constexpr std::array<FaultName, 11> kFaultNames = {{
    {"wrong-version", SimFault::kWrongVersion},
    {"wrong-signature", SimFault::kWrongSignature},
    {"bad-body-checksum", SimFault::kBadBodyChecksum},
    {"corrupt-reply-checksum", SimFault::kCorruptReplyChecksum},
    {"drop-reply", SimFault::kDropReply},
    {"slow-reply", SimFault::kSlowReply},
    {"locked", SimFault::kLocked},
    {"unplug-after", SimFault::kCutAfter},
    {"drop-after", SimFault::kCutAfter},
    {"oversized-total", SimFault::kOversizedTotal},
    {"short-total", SimFault::kShortTotal},
}};

std::optional<int> ParseArg(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < 0) return std::nullopt;
  return value;
}

}  // namespace

std::optional<SimFaultSpec> ParseSimFault(std::string_view text) {
  for (const FaultName& entry : kFaultNames) {
    if (text.substr(0, entry.name.size()) != entry.name) continue;
    std::string_view rest = text.substr(entry.name.size());
    SimFaultSpec parsed{entry.fault, -1};
    if (rest.empty()) {
      if (entry.fault == SimFault::kCutAfter) return std::nullopt;  // needs a count
      return parsed;
    }
    if (rest.front() != '=' && !(rest.front() == '-' && entry.fault == SimFault::kCutAfter)) {
      continue;
    }
    std::optional<int> arg = ParseArg(rest.substr(1));
    if (!arg) return std::nullopt;
    parsed.arg = *arg;
    return parsed;
  }
  return std::nullopt;
}

std::string_view SimFaultName(SimFault fault) {
  for (const FaultName& entry : kFaultNames) {
    if (entry.fault == fault) return entry.name;
  }
  return "?";
}

std::string SimFaultNames() {
  std::string names;
  for (const FaultName& entry : kFaultNames) {
    if (!names.empty()) names += ", ";
    names += entry.name;
  }
  return names;
}

std::string SimFaultError(std::string_view text) {
  const std::string known = " (faults: " + SimFaultNames() + ")";
  for (const FaultName& entry : kFaultNames) {
    if (text.substr(0, entry.name.size()) != entry.name) continue;
    const std::string name(entry.name);
    const std::string_view rest = text.substr(entry.name.size());
    const bool counted = entry.fault == SimFault::kCutAfter;
    if (rest.empty() && counted) return name + " needs a count: " + name + "=N" + known;
    if (!rest.empty() && (rest.front() == '=' || (rest.front() == '-' && counted))) {
      return "bad argument '" + std::string(rest.substr(1)) + "' for fault " + name +
             ": a whole number, 0 or more" + known;
    }
  }
  return "unknown fault '" + std::string(text) + "'" + known;
}

}  // namespace tavelo
