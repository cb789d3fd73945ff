#pragma once
// Reading a command line against its command's row, and the help and usage texts made from
// the rows. Parsing never touches a device: a usage error is found before anything opens.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Command.h"

namespace tavelo::cli {

// Reads `words` (those after the command name) against `command`'s row: its own options,
// the shared options its row names and its operands. On a usage error returns nothing and
// sets `error` to one line saying what is wrong.
std::optional<CommandArgs> ParseCommandArgs(const CommandInfo& command,
                                            const std::vector<std::string>& words,
                                            std::string& error);

// True when `words` ask for the command's help ("--help" or "-h" before any "--").
bool AsksForHelp(const std::vector<std::string>& words);

// "tavelo-cli help": every command with its summary and every shared option explained.
void PrintGeneralHelp(std::ostream& out);
// "tavelo-cli help NAME" and "tavelo-cli NAME --help".
void PrintCommandHelp(std::ostream& out, const CommandInfo& command);

// Prints "tavelo-cli NAME: MESSAGE", the command's usage line and where its help is;
// returns kExitUsage. Every usage error of every command goes through here.
int UsageError(const std::string& command, const std::string& message);
// Prints "tavelo-cli NAME: MESSAGE" for a failure that is not a usage error; returns
// kExitFailure.
int CommandFailure(const std::string& command, const std::string& message);

// A whole number in [low, high], the entire text and nothing else.
std::optional<int> ParseWholeNumber(const std::string& text, int low, int high);

// A command-line slot "1".."10" as the processor's slot 0..9.
std::optional<int> ParseSlot(const std::string& text);

// `text` broken at spaces into lines of at most `width` characters (a longer word keeps a
// line to itself), each line indented by `indent` spaces; no newline at the end.
std::string WrapWords(const std::string& text, std::size_t indent, std::size_t width);
// The width a command's details keep to.
inline constexpr std::size_t kDetailsWidth = 88;

// A file argument as given: a relative path lies in the working directory, or in
// --param-dir when one was given. Always returned absolute, so the engine takes it as it is.
std::filesystem::path ResolveFileArg(const CommandArgs& args, const std::string& file);

// Why a file cannot be saved at `path` because of its folder (missing, not a folder), in
// the system's words; empty when the folder is there. A save never creates folders the
// user did not ask for.
std::string FolderProblem(const std::filesystem::path& path);
// The same for `folder` itself: why nothing can be saved in it, or empty when it is a folder.
std::string MissingFolder(const std::filesystem::path& folder);

// --timeout takes seconds in (0, kMaxTimeoutSeconds]; the module commands use at most
// kMaxModuleTimeoutSeconds of it.
inline constexpr double kMaxTimeoutSeconds = 7 * 24 * 3600.0;
inline constexpr double kMaxModuleTimeoutSeconds = 3600.0;
inline constexpr double kDefaultModuleTimeoutSeconds = 4.0;

// --jobs: the fleet commands serve this many rooms at a time.
inline constexpr int kDefaultFleetJobs = 16;
inline constexpr int kMaxFleetJobs = 256;

// The commands of a family ("fleet status", "fleet pull", ...), in the order registered.
std::vector<const CommandInfo*> FamilyMembers(const CommandInfo& family);

}  // namespace tavelo::cli
