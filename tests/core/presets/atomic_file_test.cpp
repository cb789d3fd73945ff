// Whole-file writes that never destroy the previous file, and bounded whole-file reads.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/presets/AtomicFile.h"
#include "support/temp_folder.h"

namespace tavelo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::size_t EntryCount(const std::filesystem::path& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(AtomicWrite, CreatesAndReplaces) {
  TempFolder dir;
  const auto target = dir / "preset";
  const std::vector<std::uint8_t> first(1140, 0x11), second(1140, 0x22);
  ASSERT_TRUE(WriteFileAtomically(target, first.data(), first.size()).ok);
  EXPECT_EQ(ReadBytes(target), first);
  ASSERT_TRUE(WriteFileAtomically(target, second.data(), second.size()).ok);
  EXPECT_EQ(ReadBytes(target), second);
  EXPECT_EQ(EntryCount(dir.path()), 1u);  // no temporary left behind
}

TEST(AtomicWrite, AFailureAtAnyStageKeepsTheOldFileAndRemovesTheTemporary) {
  TempFolder dir;
  const auto target = dir / "preset";
  const std::vector<std::uint8_t> old(1140, 0x5A), fresh(1140, 0xA5);
  WriteBytes(target, old);
  for (const WriteFault fault :
       {WriteFault::kAfterPartialWrite, WriteFault::kAtSync, WriteFault::kAtRename}) {
    const FileResult r = WriteFileAtomicallyWithFault(target, fresh.data(), fresh.size(), fault);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(EntryCount(dir.path()), 1u);
  }
}

TEST(AtomicWrite, FailsCleanlyWhereNoFileCanBeMade) {
  TempFolder dir;
  const std::vector<std::uint8_t> bytes(16, 1);
  EXPECT_FALSE(WriteFileAtomically(dir / "missing" / "preset", bytes.data(), bytes.size()).ok);
  // A folder in the target's place is not replaced by a file.
  std::filesystem::create_directory(dir / "taken");
  EXPECT_FALSE(WriteFileAtomically(dir / "taken", bytes.data(), bytes.size()).ok);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken"));
  EXPECT_EQ(EntryCount(dir.path()), 1u);
}

// Links, modes, owners and other users are POSIX matters.
#ifndef _WIN32
mode_t ModeOf(const std::filesystem::path& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(AtomicWrite, SavesThroughLinksToTheFileTheyName) {
  TempFolder dir;
  std::filesystem::create_directory(dir / "store");
  const auto target = dir / "store" / "preset";
  const std::vector<std::uint8_t> old(1140, 0x11), fresh(1140, 0x22);
  WriteBytes(target, old);
  // A chain of two links, the first relative.
  std::filesystem::create_symlink("store/preset", dir / "inner");
  std::filesystem::create_symlink(dir / "inner", dir / "outer");

  ASSERT_TRUE(WriteFileAtomically(dir / "outer", fresh.data(), fresh.size()).ok);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "outer"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "inner"));
  EXPECT_EQ(ReadBytes(target), fresh);
  EXPECT_EQ(EntryCount(dir / "store"), 1u);

  // A link to a file not made yet makes it where the link points.
  std::filesystem::create_symlink("store/new", dir / "pending");
  ASSERT_TRUE(WriteFileAtomically(dir / "pending", fresh.data(), fresh.size()).ok);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "pending"));
  EXPECT_EQ(ReadBytes(dir / "store" / "new"), fresh);

  // A loop of links is refused with the system's reason.
  std::filesystem::create_symlink("loop-b", dir / "loop-a");
  std::filesystem::create_symlink("loop-a", dir / "loop-b");
  const FileResult loop = WriteFileAtomically(dir / "loop-a", fresh.data(), fresh.size());
  EXPECT_FALSE(loop.ok);
  EXPECT_NE(loop.message.find(std::strerror(ELOOP)), std::string::npos) << loop.message;
}

TEST(AtomicWrite, KeepsTheReplacedFilesPermissionsAndOwner) {
  TempFolder dir;
  const auto target = dir / "preset";
  const std::vector<std::uint8_t> bytes(1140, 0x33);
  for (const mode_t mode : {0600, 0640, 0664}) {
    WriteBytes(target, {1, 2, 3});
    ::chmod(target.c_str(), mode);
    ASSERT_TRUE(WriteFileAtomically(target, bytes.data(), bytes.size()).ok);
    EXPECT_EQ(ModeOf(target), mode);
  }
  if (::geteuid() != 0) return;  // only root can hand a file to someone else
  ::chown(target.c_str(), 65534, 65534);
  ASSERT_TRUE(WriteFileAtomically(target, bytes.data(), bytes.size()).ok);
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
}

// Someone else's read-only file in a folder anyone may write: the save is refused with the
// system's reason and the file stays as it was, owner included. Run as root, the attempt is
// made by a child process as the unprivileged user "nobody".
TEST(AtomicWrite, RefusesAFileTheUserMayNotWrite) {
  TempFolder dir;
  ::chmod(dir.path().c_str(), 0777);
  const auto target = dir / "preset";
  const std::vector<std::uint8_t> old(1140, 0x44), fresh(1140, 0x55);
  WriteBytes(target, old);
  ::chmod(target.c_str(), 0444);
  const bool root = ::geteuid() == 0;

  const auto attempt = [&] {
    const FileResult r = WriteFileAtomically(target, fresh.data(), fresh.size());
    if (r.ok) return 1;
    return r.message.find(std::strerror(EACCES)) != std::string::npos &&
                   r.message.find(target.string()) != std::string::npos
               ? 0
               : 2;
  };
  int outcome;
  if (root) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
      ::_exit(attempt());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    outcome = WEXITSTATUS(status);
  } else {
    outcome = attempt();
  }
  EXPECT_EQ(outcome, 0) << "1: replaced, 2: refused without the reason, 3: no user to try as";
  EXPECT_EQ(ReadBytes(target), old);
  EXPECT_EQ(ModeOf(target), 0444u);
  EXPECT_EQ(EntryCount(dir.path()), 1u);
}

// A pipe or a device named as the target gets the bytes and stays what it was.
TEST(AtomicWrite, WritesIntoAPipeOrADeviceAndNeverReplacesIt) {
  TempFolder dir;
  const std::vector<std::uint8_t> bytes(1140, 0x5A);
  const auto fifo = dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::vector<std::uint8_t> received;
  std::thread reader([&] {
    std::ifstream in(fifo, std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  });
  // The reader may not have opened its end yet; a pipe nobody reads is refused, not waited on.
  FileResult r;
  for (int attempt = 0; attempt < 500; ++attempt) {
    r = WriteFileAtomically(fifo, bytes.data(), bytes.size());
    if (r.ok || r.message.find("nothing reads the pipe") == std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  reader.join();
  EXPECT_TRUE(r.ok) << r.message;
  EXPECT_EQ(received, bytes);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  const FileResult unread = WriteFileAtomically(fifo, bytes.data(), bytes.size());
  EXPECT_FALSE(unread.ok);
  EXPECT_NE(unread.message.find("nothing reads the pipe"), std::string::npos) << unread.message;
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));

  const FileResult folder = WriteFileAtomically(dir.path(), bytes.data(), bytes.size());
  EXPECT_FALSE(folder.ok);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
  EXPECT_EQ(EntryCount(dir.path()), 1u);

  if (::geteuid() != 0) GTEST_SKIP() << "making a device node needs root; the pipe case ran";
  const auto node = dir / "null";
  ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0) << std::strerror(errno);
  // On a folder mounted without devices the node cannot be opened; either way it stays.
  const FileResult device = WriteFileAtomically(node, bytes.data(), bytes.size());
  EXPECT_TRUE(device.ok || device.message.find("cannot write") != std::string::npos);
  EXPECT_TRUE(std::filesystem::is_character_file(node)) << device.message;
  EXPECT_EQ(EntryCount(dir.path()), 2u);
}

#else

// Windows keeps no owner or mode bits to carry over; a read-only file is what the user may
// not write, and the save must leave it as it was.
TEST(AtomicWrite, RefusesAReadOnlyFile) {
  TempFolder dir;
  const auto target = dir / "preset";
  const std::vector<std::uint8_t> old(1140, 0x44), fresh(1140, 0x55);
  WriteBytes(target, old);
  std::filesystem::permissions(target, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  const FileResult r = WriteFileAtomically(target, fresh.data(), fresh.size());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find("cannot write " + target.string()), std::string::npos) << r.message;
  EXPECT_EQ(ReadBytes(target), old);
  EXPECT_EQ(EntryCount(dir.path()), 1u);
  std::filesystem::permissions(target, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

#endif  // _WIN32

TEST(AtomicWrite, TakesTheLongestNamesTheSystemAllows) {
  TempFolder dir;
  const std::vector<std::uint8_t> bytes(1140, 0x66);
  for (const std::size_t length : {245u, 250u, 255u}) {
    const auto target = dir / std::string(length, 'n');
    const FileResult first = WriteFileAtomically(target, bytes.data(), bytes.size());
    ASSERT_TRUE(first.ok) << length << ": " << first.message;
    ASSERT_TRUE(WriteFileAtomically(target, bytes.data(), bytes.size()).ok) << length;
    EXPECT_EQ(ReadBytes(target), bytes);
    std::filesystem::remove(target);
    EXPECT_EQ(EntryCount(dir.path()), 0u);
  }
}

TEST(ReadWholeFile, ReadsUpToTheLimitAndRefusesMore) {
  TempFolder dir;
  WriteBytes(dir / "small", std::vector<std::uint8_t>(116, 7));
  WriteBytes(dir / "exact", std::vector<std::uint8_t>(200, 8));
  WriteBytes(dir / "big", std::vector<std::uint8_t>(201, 9));
  WriteBytes(dir / "empty", {});

  const ReadResult small = ReadWholeFile(dir / "small", 200);
  ASSERT_TRUE(small.ok);
  EXPECT_EQ(small.bytes, std::vector<std::uint8_t>(116, 7));
  EXPECT_TRUE(ReadWholeFile(dir / "exact", 200).ok);
  const ReadResult big = ReadWholeFile(dir / "big", 200);
  EXPECT_FALSE(big.ok);
  EXPECT_TRUE(big.tooLarge);
  EXPECT_TRUE(big.bytes.empty());
  const ReadResult empty = ReadWholeFile(dir / "empty", 200);
  EXPECT_TRUE(empty.ok);
  EXPECT_TRUE(empty.bytes.empty());

  // A refusal carries the system's reason.
  const ReadResult absent = ReadWholeFile(dir / "absent", 200);
  EXPECT_FALSE(absent.ok);
  EXPECT_EQ(absent.message, "cannot open: No such file or directory");
  const ReadResult folder = ReadWholeFile(dir.path(), 200);
  EXPECT_FALSE(folder.ok);
  EXPECT_EQ(folder.message, "cannot open: Is a directory");
}

}  // namespace
}  // namespace tavelo
