// tavelo-cli push and mass-push: parameter files into the processor's presets, as Load From
// PC, load into a slot and the mass upload do.
#include <iostream>
#include <string>

#include "Command.h"
#include "CommandLine.h"
#include "cmd_device_panel.h"
#include "cmd_device_session.h"
#include "core/engine/MassUploadRun.h"
#include "core/link/CommandCode.h"
#include "core/presets/PresetFolder.h"
#include "core/text/Escaped.h"
#include "core/text/Texts.h"

namespace tavelo::cli {
namespace {

constexpr auto kUploadFinish = static_cast<std::uint8_t>(CommandCode::kWriteFinish);
constexpr int kAdminMode = 1;

// Checks a file before anything is opened, so a bad file never costs a connection.
bool CheckFile(const std::string& command, const std::filesystem::path& path,
               std::array<char, kPresetNameSize>& presetName) {
  const ParamFileResult file = ReadParamFile(path);
  if (!file.ok()) {
    std::cerr << FormatText(TextId::kMsgFileLoadFail, Lang::kEnglish, path.filename().string())
              << "\ntavelo-cli " << command << ": " << path.string() << ": " << file.message
              << "\n";
    return false;
  }
  presetName = file.data.name;
  return true;
}

int RunPush(const CommandArgs& args) {
  std::optional<int> slot;
  if (const auto text = args.Value("--slot")) {
    slot = ParseSlot(*text);
    if (!slot)
      return UsageError("push", "--slot must be 1 to 10, not '" + ShownArgument(*text) + "'");
  }
  const std::filesystem::path path = ResolveFileArg(args, args.positional[0]);
  std::array<char, kPresetNameSize> presetName{};
  if (!CheckFile("push", path, presetName)) return kExitFailure;

  DeviceSession session(args, "push");
  if (!session.Connect()) return kExitFailure;
  Engine& engine = session.engine();
  const int finishedBefore = session.wire().RepliesTo(kUploadFinish);
  if (slot) {
    engine.Post(msg::LoadIntoSlot{-1, *slot, path.string()});
  } else {
    engine.Post(msg::LoadFromPc{-1, path.string()});
  }
  const auto outcome = session.RunUntil([&] {
    return session.console().MessagesOf(TextId::kMsgLoadFail) > 0 ||
           (session.wire().RepliesTo(kUploadFinish) > finishedBefore && session.Quiet());
  });
  if (outcome != DeviceSession::Outcome::kDone ||
      session.console().MessagesOf(TextId::kMsgLoadFail) > 0) {
    return session.Fail("upload of " + path.string() + " failed", outcome);
  }
  // The name as the upload carried it, which is what the processor stores (characters it
  // cannot show became spaces), not as the file spelled it.
  std::cout << "pushed " << path.string() << " into user mode " << engine.CurrentPreset() + 1
            << ": " << ShownPresetName(engine.Image().name) << "\n";
  session.Disconnect();
  return kExitOk;
}

int RunMassPush(const CommandArgs& args) {
  if (args.positional.size() > kMassUploadMaxFiles) {
    return UsageError("mass-push", "at most " + std::to_string(kMassUploadMaxFiles) +
                                       " files, one per user mode");
  }
  const bool factory = args.Has("--factory");
  std::vector<std::string> files;
  std::vector<std::array<char, kPresetNameSize>> names;
  for (const auto& arg : args.positional) {
    const std::filesystem::path path = ResolveFileArg(args, arg);
    std::array<char, kPresetNameSize> presetName{};
    if (!CheckFile("mass-push", path, presetName)) return kExitFailure;
    files.push_back(path.string());
    names.push_back(presetName);
  }

  DeviceSession session(args, "mass-push");
  if (!session.Connect()) return kExitFailure;
  Engine& engine = session.engine();
  if (engine.AdminMode() != kAdminMode) {
    std::cerr << Text(TextId::kMsgNeedAdminMode, Lang::kEnglish) << "\n";
    return session.Fail("the processor refuses uploads outside admin mode");
  }
  const int shownBefore = session.console().Distributions();
  engine.Post(msg::MassUpload{files, factory});
  const auto failed = [&] { return session.console().MessagesOf(TextId::kMsgFileLoadFail) > 0; };
  // A normal run ends with the recall of user mode 1 and its download; the factory run
  // with "Saved OK".
  const auto outcome = session.RunUntil([&] {
    if (failed()) return true;
    if (!session.Quiet() || engine.MassUploadRunning()) return false;
    return factory ? session.console().MessagesOf(TextId::kMsgSavedOk) > 0
                   : session.console().Distributions() > shownBefore;
  });
  if (outcome != DeviceSession::Outcome::kDone || failed()) {
    return session.Fail("mass upload failed", outcome);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::cout << (factory ? "factory preset " : "user mode ") << i + 1 << ": "
              << ShownPresetName(names[i]) << " from " << files[i] << "\n";
  }
  session.Disconnect();
  return kExitOk;
}

const RegisterCommand kPush({
    .name = "push",
    .synopsis = "FILE [--slot N]",
    .summary = "load a parameter file into user mode N, or into the current preset",
    .details = "  --slot N   the user mode (1 to 10) to load into; without it, the current preset",
    .shared = SharedOptions::kLinkFiles,
    .valueOptions = {"--slot"},
    .operands = {"FILE"},
    .minOperands = 1,
    .maxOperands = 1,
    .run = RunPush,
});
const RegisterCommand kMassPush({
    .name = "mass-push",
    .synopsis = "FILE... [--factory]",
    .summary = "up to 10 parameter files into user modes 1.. (or the factory set)",
    .details = "  --factory   write the factory set instead of the user modes\n"
               "  The processor must be in admin mode.",
    .shared = SharedOptions::kLinkFiles,
    .flags = {"--factory"},
    .operands = {"FILE..."},
    .minOperands = 1,
    .maxOperands = -1,
    .run = RunMassPush,
});

}  // namespace
}  // namespace tavelo::cli
