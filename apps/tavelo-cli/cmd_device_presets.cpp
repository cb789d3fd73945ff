// tavelo-cli recall, reset-all and restore-factory: the processor's own preset actions. Each
// ends, as on the system page, with the processor's current preset read again.
#include <iostream>
#include <string>

#include "Command.h"
#include "CommandLine.h"
#include "cmd_device_panel.h"
#include "cmd_device_session.h"
#include "core/link/CommandCode.h"
#include "core/text/Escaped.h"
#include "core/text/Texts.h"

namespace tavelo::cli {
namespace {

constexpr int kAdminMode = 1;

// Posts `code`, then waits for the recall that follows and the download it starts.
int RunPresetAction(DeviceSession& session, CommandCode code, int value, const std::string& what) {
  Engine& engine = session.engine();
  const int shownBefore = session.console().Distributions();
  engine.Post(msg::Block{code, value});
  const auto outcome = session.RunUntil([&] {
    return session.Quiet() && !engine.MassUploadRunning() &&
           session.console().Distributions() > shownBefore;
  });
  if (outcome != DeviceSession::Outcome::kDone) return session.Fail(what + " failed", outcome);
  std::cout << "current preset: " << engine.CurrentPreset() + 1 << " "
            << ShownPresetName(engine.Image().name) << "\n";
  session.Disconnect();
  return kExitOk;
}

int RunRecall(const CommandArgs& args) {
  const auto slot = ParseSlot(args.positional[0]);
  if (!slot)
    return UsageError("recall",
                      "N must be 1 to 10, not '" + ShownArgument(args.positional[0]) + "'");
  DeviceSession session(args, "recall");
  if (!session.Connect()) return kExitFailure;
  return RunPresetAction(session, CommandCode::kRecallPreset, *slot, "recall");
}

// Reset all and restore to factory wipe presets: the command must be confirmed with --yes
// and, as on the system page, the processor must be in admin mode.
int RunDestructive(const CommandArgs& args, const std::string& command, CommandCode code,
                   TextId question) {
  if (!args.Has("--yes")) {
    return UsageError(command,
                      std::string(Text(question, Lang::kEnglish)) + " (confirm with --yes)");
  }
  DeviceSession session(args, command);
  if (!session.Connect()) return kExitFailure;
  if (session.engine().AdminMode() != kAdminMode) {
    std::cerr << Text(TextId::kMsgNeedAdminMode, Lang::kEnglish) << "\n";
    return session.Fail("refused");
  }
  return RunPresetAction(session, code, 0, command);
}

int RunResetAll(const CommandArgs& args) {
  return RunDestructive(args, "reset-all", CommandCode::kResetAll, TextId::kMsgResetAllConfirm);
}

int RunRestoreFactory(const CommandArgs& args) {
  return RunDestructive(args, "restore-factory", CommandCode::kRestoreFactory,
                        TextId::kMsgRestoreFactoryConfirm);
}

const RegisterCommand kRecall({
    .name = "recall",
    .synopsis = "N",
    .summary = "recall user mode N (1 to 10) and read it",
    .shared = SharedOptions::kLink,
    .operands = {"N"},
    .minOperands = 1,
    .maxOperands = 1,
    .run = RunRecall,
});
const RegisterCommand kResetAll({
    .name = "reset-all",
    .synopsis = "--yes",
    .summary = "reset every user mode to the factory set",
    .details = "  --yes   confirms it; the processor must be in admin mode.",
    .shared = SharedOptions::kLink,
    .flags = {"--yes"},
    .run = RunResetAll,
});
const RegisterCommand kRestoreFactory({
    .name = "restore-factory",
    .synopsis = "--yes",
    .summary = "restore the factory settings, then user mode 1",
    .details = "  --yes   confirms it; the processor must be in admin mode.",
    .shared = SharedOptions::kLink,
    .flags = {"--yes"},
    .run = RunRestoreFactory,
});

}  // namespace
}  // namespace tavelo::cli
