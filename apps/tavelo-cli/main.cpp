// tavelo-cli: the panel's engine without windows.
#include <algorithm>
#include <iostream>

#include "Command.h"

namespace tavelo::cli {
std::vector<CommandInfo>& Commands() {
  static std::vector<CommandInfo> commands;
  return commands;
}
}  // namespace tavelo::cli

namespace {
int PrintUsage(std::ostream& out) {
  auto commands = tavelo::cli::Commands();
  std::sort(commands.begin(), commands.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  out << "usage: tavelo-cli COMMAND [ARGS...]\n\ncommands:\n";
  for (const auto& c : commands) out << "  " << c.usage << "\n";
  return tavelo::cli::kExitUsage;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return PrintUsage(std::cerr);
  const std::string name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    PrintUsage(std::cout);
    return tavelo::cli::kExitOk;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const auto& c : tavelo::cli::Commands()) {
    if (c.name == name) return c.run(args);
  }
  std::cerr << "tavelo-cli: unknown command '" << name << "'\n";
  return PrintUsage(std::cerr);
}
