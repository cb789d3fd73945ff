// tavelo-cli: the panel's engine without windows.
#include <algorithm>
#include <iostream>

#include "Command.h"
#include "cmd_device_options.h"

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
  out << "\n"
      << tavelo::cli::kDeviceOptionsUsage << "\n"
      << tavelo::cli::kModuleOptionsUsage << "\n";
  return tavelo::cli::kExitUsage;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return PrintUsage(std::cerr);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words[0] == "help" || words[0] == "--help" || words[0] == "-h") {
    PrintUsage(std::cout);
    return tavelo::cli::kExitOk;
  }
  // Options may come before the command ("--link demo status"): the first word that names a
  // command is the command, everything else goes to it in order.
  const auto& commands = tavelo::cli::Commands();
  for (std::size_t i = 0; i < words.size(); ++i) {
    const bool isOption = !words[i].empty() && words[i][0] == '-';
    for (const auto& c : commands) {
      if (c.name != words[i]) continue;
      words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
      return c.run(words);
    }
    if (!isOption && i == 0) break;  // a first word that is neither option nor command
  }
  std::cerr << "tavelo-cli: unknown command '" << words[0] << "'\n";
  return PrintUsage(std::cerr);
}
