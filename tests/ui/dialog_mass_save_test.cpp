// The mass-upload dialog's buttons on its widgets: Add stops at ten rows, Add All takes the
// first ten files, Del renumbers, files of the wrong size are never offered, the factory
// button only with the service code, and the start hands over the rows.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <fstream>

#include "support/qt_app.h"
#include "ui/dialogs/MassSaveDialog.h"

namespace tavelo::ui {
namespace {

void WriteSized(const QTemporaryDir& dir, const std::string& name, std::size_t size) {
  std::ofstream(dir.filePath(QString::fromStdString(name)).toStdString(), std::ios::binary)
      << std::string(size, '\0');
}

QStringList Rows(const MassSaveDialog& dialog) {
  QStringList rows;
  for (int i = 0; i < dialog.UploadList()->topLevelItemCount(); ++i) {
    const auto* item = dialog.UploadList()->topLevelItem(i);
    rows << item->text(0) + " " + item->text(1);
  }
  return rows;
}

TEST(MassSaveDialog, ButtonsKeepTheUploadListWithinItsRules) {
  test::QtApp();
  QTemporaryDir dir;
  for (int i = 14; i >= 0; --i)
    WriteSized(dir, "f" + std::string(i < 10 ? "0" : "") + std::to_string(i), 1140);
  WriteSized(dir, "a-short", 1139);
  WriteSized(dir, "a-long", 1141);
  MassSaveDialog dialog(Lang::kEnglish, dir.path().toStdString(), false, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Mass Upload");
  EXPECT_TRUE(dialog.FactoryButton()->isHidden());
  ASSERT_EQ(dialog.Candidates()->count(), 15);
  EXPECT_EQ(dialog.Candidates()->item(0)->text(), "f00");

  QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);  // nothing selected
  EXPECT_TRUE(Rows(dialog).isEmpty());
  for (int i = 0; i < 11; ++i) {
    dialog.Candidates()->setCurrentRow(14 - i);
    QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);
  }
  ASSERT_EQ(Rows(dialog).size(), 10);  // the eleventh is not added
  EXPECT_EQ(Rows(dialog).front(), "1 f14");

  QTest::mouseClick(dialog.AddAllButton(), Qt::LeftButton);
  ASSERT_EQ(Rows(dialog).size(), 10);
  EXPECT_EQ(Rows(dialog).back(), "10 f09");

  // Four rows, delete row 2: the last two become 2 and 3.
  dialog.Candidates()->clearSelection();
  QTemporaryDir four;
  for (const char* n : {"a", "b", "c", "d"}) WriteSized(four, n, 1140);
  MassSaveDialog small(Lang::kEnglish, four.path().toStdString(), true, nullptr);
  EXPECT_FALSE(small.FactoryButton()->isHidden());
  QTest::mouseClick(small.AddAllButton(), Qt::LeftButton);
  small.UploadList()->setCurrentItem(small.UploadList()->topLevelItem(1));
  QTest::mouseClick(small.DelButton(), Qt::LeftButton);
  EXPECT_EQ(Rows(small), (QStringList{"1 a", "2 c", "3 d"}));

  std::vector<std::pair<std::vector<std::string>, bool>> started;
  QObject::connect(&small, &MassSaveDialog::UploadRequested,
                   [&](const std::vector<std::string>& files, bool factory) {
                     started.push_back({files, factory});
                   });
  QTest::mouseClick(small.FactoryButton(), Qt::LeftButton);
  QTest::mouseClick(small.UploadButton(), Qt::LeftButton);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[0].first, (std::vector<std::string>{"a", "c", "d"}));
  EXPECT_TRUE(started[0].second);
  EXPECT_FALSE(started[1].second);

  MassSaveDialog chinese(Lang::kChinese, four.path().toStdString(), false, nullptr);
  EXPECT_EQ(chinese.windowTitle(), QString::fromUtf8("批量上传到设备"));
  EXPECT_EQ(chinese.UploadList()->headerItem()->text(1), QString::fromUtf8("文件名称"));
  EXPECT_EQ(chinese.UploadList()->columnWidth(1), 160);
}

}  // namespace
}  // namespace tavelo::ui
