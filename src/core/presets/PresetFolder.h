#pragma once
// The PC preset folder: which files it offers, the names the user may give a file, and the
// preset name stored inside a file.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "params/ParamImage.h"
#include "params/PresetName.h"  // SanitisePresetName, kept reachable from here
#include "presets/AtomicFile.h"
#include "presets/ParamFile.h"

namespace tavelo {

// Relative to the working directory unless the panel or tool is given --param-dir.
inline constexpr const char* kDefaultPresetFolder = "param_dir";
inline constexpr std::size_t kMaxPresetFiles = 100;

// File names of the folder's parameter files: regular files of exactly kParamFileSize bytes,
// in directory order, at most kMaxPresetFiles. Folders, "." and ".." and our own temporary
// save files are skipped. A missing or unreadable folder lists nothing.
std::vector<std::string> ListPresetFolder(const std::filesystem::path& folder);

// Creates the folder when it is missing. False when it cannot be made or a file has its name.
bool EnsurePresetFolder(const std::filesystem::path& folder);

// The file name ("PC Name") the user typed for Save To PC.
enum class PcNameCheck {
  kOk,
  kEmpty,             // "PC Name is empty "
  kInvalidCharacter,  // "Invalid charater in PC Name"
};
PcNameCheck ValidatePcName(std::string_view name);

// Save To PC after the name checks: writes the image as a parameter file into the folder
// (created when missing), replacing any file of that name atomically.
FileResult SaveParamFile(const std::filesystem::path& folder, std::string_view pcName,
                         const ParamImage& image);

// Reads and checks one parameter file (of any path). A file that cannot be read or fails a
// check gives a result that is not ok() with the reason; nothing else is touched.
ParamFileResult ReadParamFile(const std::filesystem::path& path);
// The bytes of a parameter or boost file, refusing one longer than a parameter file with
// "wrong size: N bytes".
ReadResult ReadPcFileBytes(const std::filesystem::path& path);

}  // namespace tavelo
