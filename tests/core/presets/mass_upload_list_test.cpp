// The mass-upload dialog's list rules.
#include <gtest/gtest.h>

#include "core/presets/MassUploadList.h"
#include "support/temp_folder.h"

namespace tavelo {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(MassUploadList, AddStopsAtTenAndAddAllTakesTheFirstTen) {
  TempFolder dir;
  for (int i = 14; i >= 0; --i) {
    WriteBytes(dir / ("f" + std::string(i < 10 ? "0" : "") + std::to_string(i)),
               std::vector<std::uint8_t>(1140, 0));
  }
  WriteBytes(dir / "short", std::vector<std::uint8_t>(1139, 0));
  WriteBytes(dir / "long", std::vector<std::uint8_t>(1141, 0));
  MassUploadList list;
  list.LoadCandidates(dir.path());
  ASSERT_EQ(list.Candidates().size(), 15u);  // 1139 and 1141 bytes are never offered
  EXPECT_EQ(list.Candidates().front(), "f00");

  EXPECT_FALSE(list.Add(-1));  // nothing selected
  EXPECT_FALSE(list.Add(15));
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(list.Add(14 - i));
  EXPECT_FALSE(list.Add(0));  // an eleventh file
  EXPECT_EQ(list.Rows().size(), 10u);
  EXPECT_EQ(list.Rows().front(), "f14");

  list.AddAll();
  ASSERT_EQ(list.Rows().size(), 10u);
  EXPECT_EQ(list.Rows().front(), "f00");
  EXPECT_EQ(list.Rows().back(), "f09");
}

TEST(MassUploadList, DeleteRenumbersTheRowsAfterIt) {
  MassUploadList list;
  list.SetCandidates({"a", "b", "c", "d"});
  list.AddAll();
  EXPECT_TRUE(list.Delete(1));  // row 2 of 4
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"a", "c", "d"}));
  EXPECT_EQ(MassUploadList::RowNumber(1), "2");  // "c" is now row 2, "d" row 3
  EXPECT_FALSE(list.Delete(3));
  EXPECT_FALSE(list.Delete(-1));
}

}  // namespace
}  // namespace tavelo
