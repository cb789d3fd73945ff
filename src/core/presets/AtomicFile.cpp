#include "core/presets/AtomicFile.h"

// The POSIX writer; Windows has its own in AtomicFileWindows.cpp.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>

namespace tavelo {
namespace {

std::string ErrnoText(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

}  // namespace

#ifndef _WIN32
namespace {

std::string DisplayFolder(const std::filesystem::path& folder) {
  return folder.empty() ? std::string(".") : folder.string();
}

// The file a chain of symbolic links ends at (the path itself when it is no link, or does
// not exist yet). A link to a missing file names where the new file goes.
std::optional<std::filesystem::path> ResolveLinks(const std::filesystem::path& path,
                                                  std::string& error) {
  constexpr int kMaxHops = 40;  // as the system's own limit on links in a path
  std::filesystem::path current = path;
  for (int hop = 0; hop < kMaxHops; ++hop) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0) {
      if (errno == ENOENT) return current;
      error = ErrnoText("cannot open " + current.string());
      return std::nullopt;
    }
    if (!S_ISLNK(st.st_mode)) return current;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
    if (n < 0) {
      error = ErrnoText("cannot follow the link " + current.string());
      return std::nullopt;
    }
    target.resize(static_cast<std::size_t>(n));
    const std::filesystem::path next(target);
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  errno = ELOOP;
  error = ErrnoText("cannot follow the link " + path.string());
  return std::nullopt;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// A pipe or a character device (a terminal, /dev/null) is written into as it stands: the
// user who names one expects the bytes there, and replacing it with a regular file would
// break whatever else relies on it. A pipe nobody reads is refused rather than waited on.
FileResult WriteIntoSpecialFile(const std::filesystem::path& target, const std::uint8_t* data,
                                std::size_t size) {
  FileResult result;
  const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    result.message = errno == ENXIO ? "cannot write " + target.string() + ": nothing reads the pipe"
                                    : ErrnoText("cannot write " + target.string());
    return result;
  }
  // Blocking from here on, so a slow reader gets every byte.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (!WriteAll(fd, data, size)) result.message = ErrnoText("cannot write " + target.string());
  if (::close(fd) != 0 && result.message.empty())
    result.message = ErrnoText("cannot close " + target.string());
  result.ok = result.message.empty();
  return result;
}

// Makes the rename itself durable; a failure here is not worth failing the save for.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace
#endif

FileResult WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* data,
                               std::size_t size) {
  return WriteFileAtomicallyWithFault(path, data, size, WriteFault::kNone);
}

#ifndef _WIN32
FileResult WriteFileAtomicallyWithFault(const std::filesystem::path& path, const std::uint8_t* data,
                                        std::size_t size, WriteFault fault) {
  FileResult result;
  if (path.filename().empty()) {
    result.message = "no file name";
    return result;
  }
  // A link is saved through: the file it names is replaced and the link stays a link.
  const std::optional<std::filesystem::path> resolved = ResolveLinks(path, result.message);
  if (!resolved) return result;
  const std::filesystem::path& target = *resolved;
  const std::filesystem::path folder = target.parent_path();

  // An existing file is replaced only when the user may write it, and keeps its owner
  // and permissions; a rename alone would quietly take it over.
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (S_ISFIFO(old.st_mode) || S_ISCHR(old.st_mode))) {
    return WriteIntoSpecialFile(target, data, size);
  }
  // A folder, a disk, a socket: never replaced by a file.
  if (exists && !S_ISREG(old.st_mode)) {
    result.message = "cannot write " + target.string() +
                     (S_ISDIR(old.st_mode) ? ": it is a folder" : ": it is not a regular file");
    return result;
  }
  if (exists && S_ISREG(old.st_mode) &&
      ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    result.message = ErrnoText("cannot write " + target.string());
    return result;
  }

  // Hidden, so a folder listing never offers a half-written file, and short: the target's
  // own name may already take all 255 bytes a file name can have.
  std::string pattern = (folder / ".tavelo-save.XXXXXX").string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    result.message = ErrnoText("cannot write " + target.string() +
                               ": cannot create a temporary file in " + DisplayFolder(folder));
    return result;
  }
  const std::string temp = pattern;

  if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
      ::fchown(fd, old.st_uid, old.st_gid) != 0) {
    result.message = ErrnoText("cannot keep the owner of " + target.string());
  }
  // New files get the usual 0644.
  ::fchmod(fd, exists ? (old.st_mode & 07777) : 0644);

  bool written = result.message.empty();
  if (written && fault == WriteFault::kAfterPartialWrite) {
    WriteAll(fd, data, size / 2);
    errno = ENOSPC;
    written = false;
    result.message = ErrnoText("cannot write " + target.string());
  } else if (written && !WriteAll(fd, data, size)) {
    result.message = ErrnoText("cannot write " + target.string());
  } else if (written && (fault == WriteFault::kAtSync || ::fsync(fd) != 0)) {
    if (fault == WriteFault::kAtSync) errno = EIO;
    result.message = ErrnoText("cannot flush " + target.string());
  }
  if (::close(fd) != 0 && result.message.empty())
    result.message = ErrnoText("cannot close " + target.string());
  if (result.message.empty()) {
    if (fault == WriteFault::kAtRename) errno = EXDEV;
    if (fault == WriteFault::kAtRename || ::rename(temp.c_str(), target.c_str()) != 0) {
      result.message = ErrnoText("cannot replace " + target.string());
    }
  }
  if (!result.message.empty()) {
    ::unlink(temp.c_str());
    return result;
  }
  SyncFolder(folder);
  result.ok = true;
  return result;
}
#endif  // _WIN32

ReadResult ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
  ReadResult result;
  // Every refusal says why in the system's words ("No such file or directory", "Is a
  // directory", "Permission denied"), so the user knows what to change.
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec) {
    result.message = "cannot open: " + ec.message();
    return result;
  }
  if (std::filesystem::is_directory(status)) {
    errno = EISDIR;
    result.message = ErrnoText("cannot open");
    return result;
  }
  if (!std::filesystem::is_regular_file(status)) {
    result.message = "cannot open: not a regular file";
    return result;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.message = errno != 0 ? ErrnoText("cannot open") : "cannot open";
    return result;
  }
  result.bytes.resize(maxBytes);
  const auto got = in.rdbuf()->sgetn(reinterpret_cast<char*>(result.bytes.data()),
                                     static_cast<std::streamsize>(maxBytes));
  result.bytes.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  if (in.rdbuf()->sgetc() != std::char_traits<char>::eof()) {
    result.bytes.clear();
    result.tooLarge = true;
    result.message = "file larger than " + std::to_string(maxBytes) + " bytes";
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace tavelo
