#pragma once
// Enough of udev's rule language to check our rule: match keys (==, !=) with shell globs,
// ATTRS{...} and SUBSYSTEMS searched up the parent chain (all on one device, as udev does),
// and TAG assignments. Anything else in the rule is reported, not guessed at.
#include <fnmatch.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tavelo::testing {

struct SimDevice {
  std::string subsystem;
  std::map<std::string, std::string> attrs;
};

// The device the event is for first, then its parents.
using DeviceChain = std::vector<SimDevice>;

struct RuleKey {
  std::string name;  // "SUBSYSTEM", "ATTRS", "TAG"...
  std::string attr;  // the part in braces, if any
  std::string op;    // "==", "!=", "=", "+=", "-=", ":="
  std::string value;
};

struct ParsedRule {
  std::vector<RuleKey> keys;
  std::string error;  // empty when the line parsed
};

inline ParsedRule ParseRuleLine(const std::string& line) {
  ParsedRule rule;
  std::size_t i = 0;
  const auto fail = [&](const std::string& why) {
    rule.error = why + " at column " + std::to_string(i + 1);
    return rule;
  };
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == ',')) ++i;
    if (i == line.size()) break;
    RuleKey key;
    while (i < line.size() && (std::isupper(static_cast<unsigned char>(line[i])) || line[i] == '_'))
      key.name += line[i++];
    if (key.name.empty()) return fail("expected a key");
    if (i < line.size() && line[i] == '{') {
      const std::size_t close = line.find('}', i);
      if (close == std::string::npos) return fail("unclosed {");
      key.attr = line.substr(i + 1, close - i - 1);
      i = close + 1;
    }
    for (const char* op : {"==", "!=", "+=", "-=", ":=", "="}) {
      if (line.compare(i, std::string(op).size(), op) == 0) {
        key.op = op;
        i += key.op.size();
        break;
      }
    }
    if (key.op.empty()) return fail("expected an operator after " + key.name);
    if (i >= line.size() || line[i] != '"') return fail("expected a quoted value");
    const std::size_t end = line.find('"', i + 1);
    if (end == std::string::npos) return fail("unclosed quote");
    key.value = line.substr(i + 1, end - i - 1);
    i = end + 1;
    rule.keys.push_back(key);
  }
  return rule;
}

inline bool Glob(const std::string& pattern, const std::string& text) {
  return ::fnmatch(pattern.c_str(), text.c_str(), 0) == 0;
}

inline bool IsMatchKey(const RuleKey& key) {
  return key.op == "==" || key.op == "!=";
}

// The tags the rule adds to the event's device, or nullopt when the rule does not match.
// A key this checker does not know makes the result nullopt and sets `unknown`.
inline std::optional<std::set<std::string>> Apply(const ParsedRule& rule, const DeviceChain& chain,
                                                  std::string* unknown = nullptr) {
  const SimDevice& self = chain.front();
  // Keys on the device itself.
  for (const RuleKey& key : rule.keys) {
    if (!IsMatchKey(key)) continue;
    bool hit;
    if (key.name == "SUBSYSTEM") {
      hit = Glob(key.value, self.subsystem);
    } else if (key.name == "ATTR") {
      // A missing attribute fails the key whichever the operator, as in udev.
      const auto it = self.attrs.find(key.attr);
      if (it == self.attrs.end()) return std::nullopt;
      hit = Glob(key.value, it->second);
    } else if (key.name == "ATTRS" || key.name == "SUBSYSTEMS") {
      continue;  // below
    } else {
      if (unknown) *unknown = key.name;
      return std::nullopt;
    }
    if (hit != (key.op == "==")) return std::nullopt;
  }
  // Parent keys: one device of the chain (itself included) must satisfy all of them.
  bool anyParentKey = false;
  bool parentMatch = false;
  for (const SimDevice& device : chain) {
    bool all = true;
    for (const RuleKey& key : rule.keys) {
      if (!IsMatchKey(key) || (key.name != "ATTRS" && key.name != "SUBSYSTEMS")) continue;
      anyParentKey = true;
      bool hit;
      if (key.name == "SUBSYSTEMS") {
        hit = Glob(key.value, device.subsystem);
      } else {
        const auto it = device.attrs.find(key.attr);
        if (it == device.attrs.end()) {
          all = false;
          continue;
        }
        hit = Glob(key.value, it->second);
      }
      if (hit != (key.op == "==")) all = false;
    }
    if (all) parentMatch = true;
  }
  if (anyParentKey && !parentMatch) return std::nullopt;

  std::set<std::string> tags;
  for (const RuleKey& key : rule.keys) {
    if (key.name == "TAG" && key.op == "+=") tags.insert(key.value);
  }
  return tags;
}

}  // namespace tavelo::testing
