#pragma once
// tavelo-cli's commands register themselves here; main() dispatches by name.
#include <functional>
#include <string>
#include <vector>

namespace tavelo::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // bad file, processor or link failure
inline constexpr int kExitUsage = 2;

using CommandFn = std::function<int(const std::vector<std::string>& args)>;

struct CommandInfo {
  std::string name;
  std::string usage;  // one line, shown by `tavelo-cli help`
  CommandFn run;
};

std::vector<CommandInfo>& Commands();

// Defines a static object that registers a command at start-up.
struct RegisterCommand {
  RegisterCommand(std::string name, std::string usage, CommandFn run) {
    Commands().push_back({std::move(name), std::move(usage), std::move(run)});
  }
};

}  // namespace tavelo::cli
