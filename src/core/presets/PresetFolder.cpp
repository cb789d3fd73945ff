#include "presets/PresetFolder.h"

#include <system_error>

namespace tavelo {
namespace {

bool IsOurTemporaryFile(const std::string& name) {
  return name.rfind(".tavelo-", 0) == 0;
}

}  // namespace

std::vector<std::string> ListPresetFolder(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  const std::filesystem::directory_iterator end;
  for (; !ec && it != end && names.size() < kMaxPresetFiles; it.increment(ec)) {
    std::error_code entryError;
    if (!it->is_regular_file(entryError) || entryError) continue;
    const std::string name = it->path().filename().string();
    if (name == "." || name == ".." || IsOurTemporaryFile(name)) continue;
    if (it->file_size(entryError) != kParamFileSize || entryError) continue;
    names.push_back(name);
  }
  return names;
}

bool EnsurePresetFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) return true;
  std::filesystem::create_directories(folder, ec);
  return std::filesystem::is_directory(folder, ec);
}

PcNameCheck ValidatePcName(std::string_view name) {
  if (name.empty()) return PcNameCheck::kEmpty;
  // Besides the characters no file system takes, refuse control characters and the two
  // names that mean a folder, which would otherwise fail only at the write.
  if (name == "." || name == "..") return PcNameCheck::kInvalidCharacter;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 32) return PcNameCheck::kInvalidCharacter;
    switch (c) {
      case '/':
      case '\\':
      case ':':
      case '?':
      case '*':
      case '<':
      case '>':
      case '|':
      case '"':
        return PcNameCheck::kInvalidCharacter;
      default:
        break;
    }
  }
  return PcNameCheck::kOk;
}

FileResult SaveParamFile(const std::filesystem::path& folder, std::string_view pcName,
                         const ParamImage& image) {
  if (ValidatePcName(pcName) != PcNameCheck::kOk) return {false, "invalid file name"};
  if (!EnsurePresetFolder(folder)) return {false, "cannot create the preset folder"};
  const auto bytes = BuildParamFile(image);
  return WriteFileAtomically(folder / std::string(pcName), bytes.data(), bytes.size());
}

ReadResult ReadPcFileBytes(const std::filesystem::path& path) {
  // One byte more than a parameter file, so a longer file is told apart from a good one.
  ReadResult read = ReadWholeFile(path, kParamFileSize + 1);
  if (read.tooLarge) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    read.message =
        "wrong size: " + (ec ? std::string("over 1140") : std::to_string(size)) + " bytes";
  }
  return read;
}

ParamFileResult ReadParamFile(const std::filesystem::path& path) {
  const ReadResult read = ReadPcFileBytes(path);
  if (read.ok) return ParseParamFile(read.bytes.data(), read.bytes.size());
  ParamFileResult result;
  if (read.tooLarge) {
    result.error = ParamFileError::kWrongSize;
    result.message = read.message;
  } else {
    result.error = ParamFileError::kCannotRead;
    result.message = read.message;
  }
  return result;
}

}  // namespace tavelo
