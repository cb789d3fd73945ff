#include "presets/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace tavelo {
namespace {

std::string ErrnoText(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
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

// Makes the rename itself durable; a failure here is not worth failing the save for.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileResult WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* data,
                               std::size_t size) {
  return WriteFileAtomicallyWithFault(path, data, size, WriteFault::kNone);
}

FileResult WriteFileAtomicallyWithFault(const std::filesystem::path& path, const std::uint8_t* data,
                                        std::size_t size, WriteFault fault) {
  FileResult result;
  if (path.filename().empty()) {
    result.message = "no file name";
    return result;
  }
  const std::filesystem::path folder = path.parent_path();
  // Hidden, so a folder listing never offers a half-written file.
  std::string pattern = (folder / (".tavelo-" + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    result.message = ErrnoText("cannot create a temporary file");
    return result;
  }
  const std::string temp = pattern;

  // Keep the permissions of the file being replaced; new files get the usual 0644.
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ::fchmod(fd, mode);

  bool written;
  if (fault == WriteFault::kAfterPartialWrite) {
    WriteAll(fd, data, size / 2);
    errno = ENOSPC;
    written = false;
  } else {
    written = WriteAll(fd, data, size);
  }
  if (!written) {
    result.message = ErrnoText("cannot write");
  } else if (fault == WriteFault::kAtSync || ::fsync(fd) != 0) {
    if (fault == WriteFault::kAtSync) errno = EIO;
    result.message = ErrnoText("cannot flush");
  }
  if (::close(fd) != 0 && result.message.empty()) result.message = ErrnoText("cannot close");
  if (result.message.empty()) {
    if (fault == WriteFault::kAtRename) errno = EXDEV;
    if (fault == WriteFault::kAtRename || ::rename(temp.c_str(), path.c_str()) != 0) {
      result.message = ErrnoText("cannot replace the file");
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

ReadResult ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
  ReadResult result;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    result.message = ec ? "cannot open: " + ec.message() : "not a regular file";
    return result;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.message = "cannot open";
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
