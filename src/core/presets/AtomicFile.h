#pragma once
// Whole-file reads and writes for the small PC files. A save never leaves a half-written
// file behind: the bytes go to a temporary file in the same folder which then replaces the
// target in one rename, so an interrupted or failed save keeps the previous file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tavelo {

struct FileResult {
  bool ok = false;
  std::string message;  // why it failed, for logs and the command line; empty when ok
};

FileResult WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* data,
                               std::size_t size);

// Stages of an atomic write at which a test can make it fail, as a full disk or a yanked
// drive would.
enum class WriteFault { kNone, kAfterPartialWrite, kAtSync, kAtRename };
FileResult WriteFileAtomicallyWithFault(const std::filesystem::path& path, const std::uint8_t* data,
                                        std::size_t size, WriteFault fault);

struct ReadResult {
  bool ok = false;
  bool tooLarge = false;  // the file holds more than maxBytes; nothing was kept
  std::string message;
  std::vector<std::uint8_t> bytes;
};

// Reads a whole regular file of at most maxBytes bytes. Never allocates more than maxBytes,
// whatever the file claims to be.
ReadResult ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace tavelo
