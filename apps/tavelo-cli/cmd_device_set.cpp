// tavelo-cli set: change values of the processor's current preset by the names `show` prints,
// each sent as the block the panel would send, and wait until every one is answered.
#include <iostream>
#include <string>

#include "Command.h"
#include "CommandLine.h"
#include "cmd_device_edits.h"
#include "cmd_device_session.h"
#include "core/presets/NamedEdits.h"

namespace tavelo::cli {
namespace {

constexpr const char* kName = "set";

int RunList(bool json) {
  std::cout << (json ? SettableNamesJson() : SettableNamesText()) << std::flush;
  return kExitOk;
}

int RunSet(const CommandArgs& args) {
  if (args.Has("--list")) {
    if (!args.positional.empty()) return UsageError(kName, "--list takes no NAME=VALUE");
    return RunList(args.Has("--json"));
  }
  if (args.Has("--json")) return UsageError(kName, "--json goes with --list");
  if (args.positional.empty()) return UsageError(kName, "NAME=VALUE is missing");

  // Every word is checked before anything is connected.
  std::string error;
  std::vector<NamedEdit> edits;
  for (const auto& word : args.positional) {
    const auto edit = ParseNamedEdit(word, error);
    if (!edit) return UsageError(kName, error);
    edits.push_back(*edit);
  }

  DeviceSession session(args, kName);
  if (!session.Connect()) return kExitFailure;
  return SendNamedEdits(session, edits, kName);
}

const RegisterCommand kRegister({
    .name = kName,
    .synopsis = "NAME=VALUE... | --list [--json]",
    .summary = "change values of the processor's current preset",
    .details =
        "  set --list [--json]   every name set takes, with its range and unit\n"
        "  NAME is any name `show` prints: reverb.level=40 main.comp_ratio=4 echo.type=stereo;\n"
        "  a level's on/off button is NAME.on (mic.mic1_volume.on=off), a band takes\n"
        "  TYPE,FREQ,Q,GAIN[,SLOPE] or show's text (music_eq.band4=peak,1000,1.0,3).\n"
        "  Output sets: main.set1.* is taken in mode sing only, main.set2.* in auto and dance\n"
        "  (set app_mode first). Values of one block go out as one request, in the order given.\n"
        "  Short forms: mode=auto|sing|dance, mute=on|off, eq.SET.BAND=... (SET mic1, mic2,\n"
        "  music, main, surround, centre, sub, reverb, echo; BAND from 1; set by the mode).",
    .shared = SharedOptions::kLink,
    .flags = {"--list", "--json"},
    .operands = {"NAME=VALUE..."},
    .maxOperands = -1,
    .run = RunSet,
});

}  // namespace
}  // namespace tavelo::cli
