#include "core/presets/PresetFolder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <system_error>

namespace tavelo {
namespace {

WriteFault g_saveFault = WriteFault::kNone;

bool IsOurTemporaryFile(const std::string& name) {
  return name.rfind(".tavelo-", 0) == 0;
}

// Whole UTF-8 sequences only, no overlong forms and no surrogates.
bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    int more = 0;
    std::uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      more = 1;
      code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      more = 2;
      code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      more = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(more) >= text.size()) return false;  // cut short
    for (int k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (code < kLeast[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(more) + 1;
  }
  return true;
}

// Windows opens a device, not a file, for these names, whatever extension follows.
bool IsReservedDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper;
  for (const char c : stem) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (upper == device) return true;
  }
  for (const char* port : {"COM", "LPT"}) {
    if (upper.size() < 4 || upper.compare(0, 3, port) != 0) continue;
    const std::string_view number = std::string_view(upper).substr(3);
    if (number.size() == 1 && number[0] >= '0' && number[0] <= '9') return true;
    // Superscript one, two and three count as digits there too.
    if (number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3") return true;
  }
  return false;
}

bool IsForbiddenCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u < 32 || u == 127) return true;
  constexpr std::string_view kForbidden = "/\\:?*<>|\"";
  return kForbidden.find(c) != std::string_view::npos;
}

}  // namespace

std::vector<std::string> ListPresetFolder(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  const std::filesystem::directory_iterator end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code entryError;
    if (!it->is_regular_file(entryError) || entryError) continue;
    const std::string name = it->path().filename().string();
    if (name == "." || name == ".." || IsOurTemporaryFile(name)) continue;
    if (it->file_size(entryError) != kParamFileSize || entryError) continue;
    names.push_back(name);
  }
  // Directory order is hash order on some file systems: the list would look shuffled.
  std::sort(names.begin(), names.end());
  if (names.size() > kMaxPresetFiles) names.resize(kMaxPresetFiles);
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
  const bool invalid = name == "." || name == ".." || name.size() > kMaxPcNameBytes ||
                       name.back() == '.' || name.back() == ' ' || !IsUtf8(name) ||
                       std::any_of(name.begin(), name.end(), IsForbiddenCharacter);
  if (invalid) return PcNameCheck::kInvalidCharacter;
  return IsReservedDeviceName(name) ? PcNameCheck::kReservedName : PcNameCheck::kOk;
}

SaveToPcStep PlanSaveToPc(std::string_view name, const std::vector<std::string>& listed) {
  if (listed.size() >= kMaxPresetFiles) return SaveToPcStep::kListFull;
  switch (ValidatePcName(name)) {
    case PcNameCheck::kEmpty:
      return SaveToPcStep::kEmpty;
    case PcNameCheck::kInvalidCharacter:
      return SaveToPcStep::kInvalid;
    case PcNameCheck::kReservedName:
      return SaveToPcStep::kReserved;
    case PcNameCheck::kOk:
      break;
  }
  const bool exists = std::find(listed.begin(), listed.end(), name) != listed.end();
  return exists ? SaveToPcStep::kAskOverwrite : SaveToPcStep::kSave;
}

FileResult SaveParamFile(const std::filesystem::path& folder, std::string_view pcName,
                         const ParamImage& image) {
  if (ValidatePcName(pcName) != PcNameCheck::kOk) return {false, "invalid file name"};
  if (!EnsurePresetFolder(folder)) return {false, "cannot create the folder " + folder.string()};
  const auto bytes = BuildParamFile(image);
  return WriteFileAtomicallyWithFault(folder / std::string(pcName), bytes.data(), bytes.size(),
                                      g_saveFault);
}

void SetSaveFaultForTesting(WriteFault fault) {
  g_saveFault = fault;
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
