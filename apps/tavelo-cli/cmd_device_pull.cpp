// tavelo-cli pull: the processor's current preset, read whole, saved as a parameter file.
#include <iostream>
#include <string>

#include "Command.h"
#include "cmd_device_options.h"
#include "cmd_device_panel.h"
#include "cmd_device_session.h"
#include "presets/AtomicFile.h"
#include "presets/BoostFile.h"
#include "presets/PresetFolder.h"

namespace tavelo::cli {
namespace {

const std::string kUsage =
    DeviceUsage("pull FILE [--name NAME] [--boost BTPAR]",
                "save the current preset as a parameter file (and its boost block as a .btpar)");

int RunPull(const std::vector<std::string>& words) {
  std::string error;
  const auto args = ParseDeviceArgs(words, {{"--name", "--boost"}, {}, 1, 1}, error);
  if (!args) return DeviceUsageError("pull", kUsage, error);
  const std::string fileArg = args->positional[0];
  const std::filesystem::path path = ResolveFileArg(*args, fileArg);
  const std::string fileName = path.filename().string();
  if (fileName.empty() || ValidatePcName(fileName) != PcNameCheck::kOk) {
    return DeviceUsageError("pull", kUsage, "'" + fileArg + "' is not a usable file name");
  }
  const auto name = args->Value("--name");
  // A preset name longer than the 16 bytes a preset carries is refused, not cut short.
  if (name && name->size() > static_cast<std::size_t>(kPresetNameSize)) {
    return DeviceUsageError("pull", kUsage, "--name is longer than 16 characters");
  }

  DeviceSession session(*args, "pull");
  if (!session.Connect()) return kExitFailure;
  ParamImage image = session.engine().Image();
  session.Disconnect();
  // Stored as a save from the panel stores it: printable, space padded, never raw NULs.
  image.name = SanitisePresetName(name ? *name : PresetNameText(image.name));

  const FileResult saved = SaveParamFile(path.parent_path(), fileName, image);
  if (!saved.ok) {
    std::cerr << "tavelo-cli pull: cannot save " << path.string() << ": " << saved.message << "\n";
    return kExitFailure;
  }
  std::cout << "saved " << path.string() << ": \"" << PresetNameForTerminal(image.name) << "\"\n";
  if (const auto boost = args->Value("--boost")) {
    // The boost block travels with a download but not in a parameter file: its own file.
    const std::filesystem::path boostPath = ResolveFileArg(*args, *boost);
    const auto bytes = BuildBoostFile(image.boost);
    const FileResult written = WriteFileAtomically(boostPath, bytes.data(), bytes.size());
    if (!written.ok) {
      std::cerr << "tavelo-cli pull: cannot save " << boostPath.string() << ": " << written.message
                << "\n";
      return kExitFailure;
    }
    std::cout << "saved " << boostPath.string() << "\n";
  }
  return kExitOk;
}

const RegisterCommand kRegister("pull", kUsage, RunPull);

}  // namespace
}  // namespace tavelo::cli
