// tavelo-cli: the panel's engine without windows.
#include <iostream>

#include "Command.h"
#include "CommandLine.h"
#include "TaveloVersion.h"
#include "TerminalGuard.h"
#ifdef TAVELO_CLI_DEVICE_COMMANDS
#include "cmd_device_session.h"
#endif
#include "core/text/Escaped.h"

namespace {

using namespace tavelo::cli;
using tavelo::ShownArgument;

// "status, pull, verify or push": the second words of a family's commands.
std::string MemberWords(const CommandInfo& family) {
  const auto members = FamilyMembers(family);
  std::string text;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (i > 0) text += i + 1 == members.size() ? " or " : ", ";
    text += members[i]->name.substr(family.name.size() + 1);
  }
  return text;
}

// "tavelo-cli help [COMMAND [SUBCOMMAND]]".
int RunHelp(const std::vector<std::string>& words) {
  if (words.size() == 1 || (words.size() == 2 && words[1] == "help")) {
    PrintGeneralHelp(std::cout);
    return kExitOk;
  }
  std::string name = words[1];
  for (std::size_t i = 2; i < words.size(); ++i) name += " " + words[i];
  if (const CommandInfo* command = FindCommand(name)) {
    PrintCommandHelp(std::cout, *command);
    return kExitOk;
  }
  std::cerr << "tavelo-cli help: unknown command '" << ShownArgument(name)
            << "'\n(tavelo-cli help lists the commands)\n";
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  const tavelo::cli::TerminalGuard guard(std::cerr);
  if (argc < 2) {
    PrintGeneralHelp(std::cerr);
    return kExitUsage;
  }
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words[0] == "help" || words[0] == "--help" || words[0] == "-h") return RunHelp(words);
  if (words[0] == "--version" && words.size() == 1) {
    std::cout << "tavelo-cli " << tavelo::kTaveloVersion << "\n";
    return kExitOk;
  }
  // Options may come before the command ("--link demo status"): the first word that names a
  // command is the command, everything else goes to it in order.
  for (std::size_t i = 0; i < words.size(); ++i) {
    const bool isOption = !words[i].empty() && words[i][0] == '-';
    const CommandInfo* command = FindCommand(words[i]);
    if (!command) {
      if (!isOption && i == 0) break;  // a first word that is neither option nor command
      continue;
    }
    words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
    if (!command->run) {
      // A family: the next word names its command ("fleet status").
      const CommandInfo* member =
          i < words.size() ? FindCommand(command->name + " " + words[i]) : nullptr;
      if (!member) {
        if (AsksForHelp(words)) {
          PrintCommandHelp(std::cout, *command);
          return kExitOk;
        }
        const bool none = i >= words.size() || words[i].rfind('-', 0) == 0;
        return UsageError(command->name, none ? "SUBCOMMAND is missing: " + MemberWords(*command)
                                              : "unknown subcommand '" + ShownArgument(words[i]) +
                                                    "' (" + MemberWords(*command) + ")");
      }
      words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
      command = member;
    }
    if (AsksForHelp(words)) {
      PrintCommandHelp(std::cout, *command);
      return kExitOk;
    }
    std::string error;
    const auto args = ParseCommandArgs(*command, words, error);
    if (!args) return UsageError(command->name, error);
    const int code = command->run(*args);
    // A run cut short by Ctrl+C or SIGTERM tells a script so, as shells do; a command that
    // ends by an interrupt on purpose (monitor) has succeeded.
#ifdef TAVELO_CLI_DEVICE_COMMANDS
    return code == kExitFailure && Interrupted() ? kExitInterrupted : code;
#else
    return code;  // only device commands can be interrupted
#endif
  }
  const bool optionFirst = !words[0].empty() && words[0][0] == '-';
  std::cerr << "tavelo-cli: "
            << (optionFirst ? std::string("no command given")
                            : "unknown command '" + ShownArgument(words[0]) + "'")
            << "\n(tavelo-cli help lists the commands)\n";
  return kExitUsage;
}
