// tavelo-cli pull: the processor's current preset, read whole, saved as a parameter file.
#include <iostream>
#include <string>

#include "Command.h"
#include "CommandLine.h"
#include "cmd_device_panel.h"
#include "cmd_device_session.h"
#include "core/presets/AtomicFile.h"
#include "core/presets/BoostFile.h"
#include "core/presets/PresetFolder.h"

namespace tavelo::cli {
namespace {

constexpr const char* kName = "pull";

int RunPull(const CommandArgs& args) {
  const std::string& fileArg = args.positional[0];
  const std::filesystem::path path = ResolveFileArg(args, fileArg);
  const std::string fileName = path.filename().string();
  if (fileName.empty()) return UsageError(kName, "'" + fileArg + "' names a folder, not a file");
  if (ValidatePcName(fileName) != PcNameCheck::kOk) {
    // Files travel between machines, so the name must suit every desktop system.
    return UsageError(kName, "'" + fileName +
                                 "' is not a usable file name: it may not hold / \\ : ? * < > | \" "
                                 "or control characters, end in a dot or a space, be a device "
                                 "name such as CON or NUL, or be longer than " +
                                 std::to_string(kMaxPcNameBytes) + " bytes");
  }
  const auto name = args.Value("--name");
  // A preset name longer than the 16 bytes a preset carries is refused, not cut short.
  if (name && name->size() > static_cast<std::size_t>(kPresetNameSize)) {
    return UsageError(kName, "--name is longer than 16 characters");
  }
  const auto boost = args.Value("--boost");
  const std::optional<std::filesystem::path> boostPath =
      boost ? std::optional(ResolveFileArg(args, *boost)) : std::nullopt;
  // Where the files go is checked before anything is connected.
  for (const auto* target : {&path, boostPath ? &*boostPath : nullptr}) {
    if (!target) continue;
    if (const std::string problem = FolderProblem(*target); !problem.empty()) {
      return CommandFailure(kName, "cannot save " + target->string() + ": " + problem);
    }
  }

  DeviceSession session(args, kName);
  if (!session.Connect()) return kExitFailure;
  ParamImage image = session.engine().Image();
  session.Disconnect();
  // Stored as a save from the panel stores it: printable, space padded, never raw NULs.
  image.name = SanitisePresetName(name ? *name : PresetNameText(image.name));

  const FileResult saved = SaveParamFile(path.parent_path(), fileName, image);
  if (!saved.ok) {
    return CommandFailure(kName, saved.message);
  }
  std::cout << "saved " << path.string() << ": " << ShownPresetName(image.name) << "\n";
  if (boostPath) {
    // The boost block travels with a download but not in a parameter file: its own file.
    const auto bytes = BuildBoostFile(image.boost);
    const FileResult written = WriteFileAtomically(*boostPath, bytes.data(), bytes.size());
    if (!written.ok) {
      return CommandFailure(kName, "cannot save " + boostPath->string() + ": " + written.message);
    }
    std::cout << "saved " << boostPath->string() << "\n";
  }
  return kExitOk;
}

const RegisterCommand kRegister({
    .name = kName,
    .synopsis = "FILE [--name NAME] [--boost BTPAR]",
    .summary = "save the processor's current preset as a parameter file",
    .details = "  --name NAME    the preset name stored in the file (at most 16 characters)\n"
               "  --boost BTPAR  also save its boost block as a boost file",
    .shared = SharedOptions::kLinkFiles,
    .valueOptions = {"--name", "--boost"},
    .operands = {"FILE"},
    .minOperands = 1,
    .maxOperands = 1,
    .run = RunPull,
});

}  // namespace
}  // namespace tavelo::cli
