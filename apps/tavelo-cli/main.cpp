// tavelo-cli: the panel's engine without windows.
#include <iostream>

#include "Command.h"
#include "CommandLine.h"

int main(int argc, char** argv) {
  using namespace tavelo::cli;
  if (argc < 2) {
    PrintGeneralHelp(std::cerr);
    return kExitUsage;
  }
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words[0] == "help" || words[0] == "--help" || words[0] == "-h") {
    if (words.size() == 1 || (words.size() == 2 && words[1] == "help")) {
      PrintGeneralHelp(std::cout);
      return kExitOk;
    }
    const CommandInfo* command = FindCommand(words[1]);
    if (!command || words.size() > 2) {
      std::cerr << "tavelo-cli help: "
                << (command ? "one command at a time" : "unknown command '" + words[1] + "'")
                << "\n(tavelo-cli help lists the commands)\n";
      return kExitUsage;
    }
    PrintCommandHelp(std::cout, *command);
    return kExitOk;
  }
  // Options may come before the command ("--link demo status"): the first word that names a
  // command is the command, everything else goes to it in order.
  for (std::size_t i = 0; i < words.size(); ++i) {
    const bool isOption = !words[i].empty() && words[i][0] == '-';
    if (const CommandInfo* command = FindCommand(words[i])) {
      words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
      if (AsksForHelp(words)) {
        PrintCommandHelp(std::cout, *command);
        return kExitOk;
      }
      std::string error;
      const auto args = ParseCommandArgs(*command, words, error);
      if (!args) return UsageError(command->name, error);
      return command->run(*args);
    }
    if (!isOption && i == 0) break;  // a first word that is neither option nor command
  }
  const bool optionFirst = !words[0].empty() && words[0][0] == '-';
  std::cerr << "tavelo-cli: "
            << (optionFirst ? std::string("no command given")
                            : "unknown command '" + words[0] + "'")
            << "\n(tavelo-cli help lists the commands)\n";
  return kExitUsage;
}
