#pragma once
// The PC preset folder: which files it offers, the names the user may give a file, and the
// preset name stored inside a file.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/params/ParamImage.h"
#include "core/params/PresetName.h"  // SanitisePresetName, kept reachable from here
#include "core/presets/AtomicFile.h"
#include "core/presets/ParamFile.h"

namespace tavelo {

// Relative to the working directory unless the panel or tool is given --param-dir.
inline constexpr const char* kDefaultPresetFolder = "param_dir";
inline constexpr std::size_t kMaxPresetFiles = 100;

// File names of the folder's parameter files: regular files of exactly kParamFileSize bytes,
// in name order (byte order of the names, the same on every machine), the first
// kMaxPresetFiles of them. Folders, "." and ".." and our own temporary save files are
// skipped. A missing or unreadable folder lists nothing.
std::vector<std::string> ListPresetFolder(const std::filesystem::path& folder);

// Creates the folder when it is missing. False when it cannot be made or a file has its name.
bool EnsurePresetFolder(const std::filesystem::path& folder);

// The file name ("PC Name") the user typed for Save To PC (UTF-8). Presets travel between
// machines, so a name must be a valid file name on every desktop system: besides
// / \ : ? * < > | and the double quote, refused are control characters, "." and "..",
// names ending in a dot or a space, the reserved device names of Windows (CON, PRN, AUX,
// NUL, COM0..COM9, LPT0..LPT9, also with an extension, any case), names that are not
// UTF-8, and names longer than kMaxPcNameBytes.
enum class PcNameCheck {
  kOk,
  kEmpty,             // "PC Name is empty "
  kInvalidCharacter,  // "Invalid character in PC Name"
  kReservedName,      // a Windows device name: the message says so
};
// File systems take 255 bytes; a save's temporary file needs room for its prefix and suffix.
inline constexpr std::size_t kMaxPcNameBytes = 200;
PcNameCheck ValidatePcName(std::string_view name);

// What Save To PC does with a typed name, before anything is written.
enum class SaveToPcStep {
  kListFull,      // 100 files are listed: nothing happens
  kEmpty,         // "PC Name is empty "
  kInvalid,       // "Invalid character in PC Name"
  kReserved,      // a Windows device name
  kAskOverwrite,  // a listed file has exactly this name: "overwrite ?"
  kSave,
};
SaveToPcStep PlanSaveToPc(std::string_view name, const std::vector<std::string>& listed);

// Save To PC after the name checks: writes the image as a parameter file into the folder
// (created when missing), replacing any file of that name atomically.
FileResult SaveParamFile(const std::filesystem::path& folder, std::string_view pcName,
                         const ParamImage& image);
// Test hook: every following SaveParamFile fails at `fault`, as a full disk or a yanked
// drive would, until it is set back to WriteFault::kNone.
void SetSaveFaultForTesting(WriteFault fault);

// Reads and checks one parameter file (of any path). A file that cannot be read or fails a
// check gives a result that is not ok() with the reason; nothing else is touched.
ParamFileResult ReadParamFile(const std::filesystem::path& path);
// The bytes of a parameter or boost file, refusing one longer than a parameter file with
// "wrong size: N bytes".
ReadResult ReadPcFileBytes(const std::filesystem::path& path);

}  // namespace tavelo
