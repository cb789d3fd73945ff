// tavelo-cli set: change values of the processor's current preset, each sent as the block
// the panel would send, and wait until every one is answered.
#include <iostream>
#include <string>

#include "Command.h"
#include "cmd_device_options.h"
#include "cmd_device_session.h"
#include "cmd_device_set_keys.h"

namespace tavelo::cli {
namespace {

const std::string kUsage = DeviceUsage("set KEY=VALUE...", "change values of the current preset");

int RunSet(const std::vector<std::string>& words) {
  std::string error;
  const auto args = ParseDeviceArgs(words, {{}, {}, 1, -1}, error);
  if (!args) return DeviceUsageError("set", kUsage, error);
  std::vector<SetEdit> edits;
  for (const auto& word : args->positional) {
    const auto edit = ParseSetEdit(word, error);
    if (!edit) return DeviceUsageError("set", kUsage + "\nkeys: " + SetKeysHelp(), error);
    edits.push_back(*edit);
  }

  DeviceSession session(*args, "set");
  if (!session.Connect()) return kExitFailure;
  Engine& engine = session.engine();
  std::string report;
  for (const auto& edit : edits) {
    engine.Post(ApplySetEdit(edit, engine.Image()));
    // Described now: the engine has handled the request and limited the volumes.
    report += DescribeSetEdit(edit, engine.Image()) + "\n";
  }
  const auto outcome = session.RunUntil([&] { return session.Quiet(); });
  if (outcome != DeviceSession::Outcome::kDone) {
    return session.Fail("not every change was answered", outcome);
  }
  std::cout << report << std::flush;
  session.Disconnect();
  return kExitOk;
}

const RegisterCommand kRegister("set", kUsage, RunSet);

}  // namespace
}  // namespace tavelo::cli
