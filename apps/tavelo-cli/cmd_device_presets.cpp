// tavelo-cli recall, reset-all and restore-factory: the processor's own preset actions. Each
// ends, as on the system page, with the processor's current preset read again.
#include <iostream>
#include <string>

#include "Command.h"
#include "cmd_device_options.h"
#include "cmd_device_panel.h"
#include "cmd_device_session.h"
#include "text/Texts.h"

namespace tavelo::cli {
namespace {

constexpr int kRecallCode = 1;
constexpr int kResetAllCode = 20;
constexpr int kRestoreFactoryCode = 75;
constexpr int kAdminMode = 1;

const std::string kRecallUsage = DeviceUsage("recall N", "recall user mode N (1..10) and read it");
const std::string kResetUsage =
    DeviceUsage("reset-all --yes", "reset every user mode to the factory set");
const std::string kRestoreUsage =
    DeviceUsage("restore-factory --yes", "restore the factory settings, then user mode 1");

// Posts `code`, then waits for the recall that follows and the download it starts.
int RunPresetAction(DeviceSession& session, int code, int value, const std::string& what) {
  Engine& engine = session.engine();
  const int shownBefore = session.console().Distributions();
  engine.Post(msg::Block{code, BlockArg::Value(value)});
  const auto outcome = session.RunUntil([&] {
    return session.Quiet() && !engine.MassUploadRunning() &&
           session.console().Distributions() > shownBefore;
  });
  if (outcome != DeviceSession::Outcome::kDone) return session.Fail(what + " failed", outcome);
  std::cout << "current preset: " << engine.CurrentPreset() + 1 << " \""
            << PresetNameForTerminal(engine.Image().name) << "\"\n";
  session.Disconnect();
  return kExitOk;
}

int RunRecall(const std::vector<std::string>& words) {
  std::string error;
  const auto args = ParseDeviceArgs(words, {{}, {}, 1, 1}, error);
  if (!args) return DeviceUsageError("recall", kRecallUsage, error);
  const auto slot = ParseSlot(args->positional[0]);
  if (!slot) return DeviceUsageError("recall", kRecallUsage, "N must be 1 to 10");
  DeviceSession session(*args, "recall");
  if (!session.Connect()) return kExitFailure;
  return RunPresetAction(session, kRecallCode, *slot, "recall");
}

// Reset all and restore to factory wipe presets: the command must be confirmed with --yes
// and, as on the system page, the processor must be in admin mode.
int RunDestructive(const std::vector<std::string>& words, const std::string& command,
                   const std::string& usage, int code, TextId question) {
  std::string error;
  const auto args = ParseDeviceArgs(words, {{}, {"--yes"}, 0, 0}, error);
  if (!args) return DeviceUsageError(command, usage, error);
  if (!args->Has("--yes")) {
    return DeviceUsageError(command, usage,
                            std::string(Text(question, Lang::kEnglish)) + " (confirm with --yes)");
  }
  DeviceSession session(*args, command);
  if (!session.Connect()) return kExitFailure;
  if (session.engine().AdminMode() != kAdminMode) {
    std::cerr << Text(TextId::kMsgNeedAdminMode, Lang::kEnglish) << "\n";
    return session.Fail("refused");
  }
  return RunPresetAction(session, code, 0, command);
}

int RunResetAll(const std::vector<std::string>& words) {
  return RunDestructive(words, "reset-all", kResetUsage, kResetAllCode,
                        TextId::kMsgResetAllConfirm);
}

int RunRestoreFactory(const std::vector<std::string>& words) {
  return RunDestructive(words, "restore-factory", kRestoreUsage, kRestoreFactoryCode,
                        TextId::kMsgRestoreFactoryConfirm);
}

const RegisterCommand kRecall("recall", kRecallUsage, RunRecall);
const RegisterCommand kResetAll("reset-all", kResetUsage, RunResetAll);
const RegisterCommand kRestoreFactory("restore-factory", kRestoreUsage, RunRestoreFactory);

}  // namespace
}  // namespace tavelo::cli
