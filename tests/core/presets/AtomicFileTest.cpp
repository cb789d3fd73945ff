// Whole-file writes that never destroy the previous file, and bounded whole-file reads.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "presets/AtomicFile.h"

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

  EXPECT_FALSE(ReadWholeFile(dir / "absent", 200).ok);
  EXPECT_FALSE(ReadWholeFile(dir.path(), 200).ok);  // a folder is not a file
}

}  // namespace
}  // namespace tavelo
