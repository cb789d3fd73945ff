// The Windows writer behind WriteFileAtomically: the same promise as the POSIX one (a temporary
// file in the target's folder, flushed, then moved over the target in one step), with the
// system's own reason in every failure message.
#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <system_error>

#include "core/presets/AtomicFile.h"

namespace tavelo {
namespace {

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string SystemText(const std::string& what, DWORD code) {
  char buffer[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buffer, sizeof buffer, nullptr);
  while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == '.')) --n;
  const std::string reason =
      n > 0 ? std::string(buffer, n) : "system error " + std::to_string(code);
  return what + ": " + reason;
}

// The file a chain of links ends at, as the POSIX writer does: the link stays a link.
bool ResolveLinks(const std::filesystem::path& path, std::filesystem::path& target,
                  std::string& error) {
  constexpr int kMaxHops = 40;
  std::filesystem::path current = path;
  for (int hop = 0; hop < kMaxHops; ++hop) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(current, ec)) {
      target = current;
      return true;
    }
    const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
    if (ec) {
      error = "cannot follow the link " + Utf8(current) + ": " + ec.message();
      return false;
    }
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  error = SystemText("cannot follow the link " + Utf8(path), ERROR_CANT_RESOLVE_FILENAME);
  return false;
}

bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) return false;
    data += written;
    size -= written;
  }
  return true;
}

// A fresh, hidden-by-name file next to the target; nullptr handle when none could be made.
HANDLE CreateTemporary(const std::filesystem::path& folder, std::filesystem::path& temp) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[40];
    std::snprintf(name, sizeof name, ".tavelo-save.%05lx%04x",
                  static_cast<unsigned long>(GetCurrentProcessId() & 0xFFFFF),
                  (++counter + static_cast<unsigned>(GetTickCount64())) & 0xFFFF);
    temp = folder / name;
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

FileResult WriteFileAtomicallyWithFault(const std::filesystem::path& path, const std::uint8_t* data,
                                        std::size_t size, WriteFault fault) {
  FileResult result;
  if (path.filename().empty()) {
    result.message = "no file name";
    return result;
  }
  std::filesystem::path target;
  if (!ResolveLinks(path, target, result.message)) return result;
  const std::filesystem::path folder = target.parent_path();

  // A read-only file is one the user may not write; moving over it would quietly replace it.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    result.message = SystemText("cannot write " + Utf8(target), ERROR_ACCESS_DENIED);
    return result;
  }

  std::filesystem::path temp;
  HANDLE file = CreateTemporary(folder.empty() ? std::filesystem::path(".") : folder, temp);
  if (file == INVALID_HANDLE_VALUE) {
    result.message = SystemText(
        "cannot create a temporary file in " + (folder.empty() ? std::string(".") : Utf8(folder)),
        GetLastError());
    return result;
  }

  if (fault == WriteFault::kAfterPartialWrite) {
    WriteAll(file, data, size / 2);
    result.message = SystemText("cannot write " + Utf8(target), ERROR_DISK_FULL);
  } else if (!WriteAll(file, data, size)) {
    result.message = SystemText("cannot write " + Utf8(target), GetLastError());
  } else if (fault == WriteFault::kAtSync) {
    result.message = SystemText("cannot flush " + Utf8(target), ERROR_IO_DEVICE);
  } else if (!FlushFileBuffers(file)) {
    result.message = SystemText("cannot flush " + Utf8(target), GetLastError());
  }
  if (!CloseHandle(file) && result.message.empty())
    result.message = SystemText("cannot close " + Utf8(target), GetLastError());
  if (result.message.empty()) {
    if (fault == WriteFault::kAtRename) {
      result.message = SystemText("cannot replace " + Utf8(target), ERROR_NOT_SAME_DEVICE);
    } else if (!MoveFileExW(temp.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      result.message = SystemText("cannot replace " + Utf8(target), GetLastError());
    }
  }
  if (!result.message.empty()) {
    DeleteFileW(temp.c_str());
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace tavelo

#endif  // _WIN32
