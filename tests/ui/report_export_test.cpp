// "Export report..." on the system page: the processor's current preset as a PDF, and a
// refusal that names the file when it cannot be written.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ui/pages/SystemPage.h"
#include "ui/panel_test_env.h"
#include "ui/report/ReportPdf.h"

namespace tavelo {
namespace {

class ReportExport : public ::testing::Test, public test::PanelFixture {};

TEST_F(ReportExport, WritesThePresetAsAPdfAndNamesTheFileItCouldNotWrite) {
  W().show();
  ASSERT_TRUE(ConnectDemo());
  ui::SystemPage* sys = W().FindSystemPage();
  ASSERT_NE(sys, nullptr);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  const QString path = dir.filePath("room.pdf");
  QString error;
  ASSERT_TRUE(sys->ExportReport(path, error)) << error.toStdString();
  QFile pdf(path);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  // Every page of the panel is in it: far more than a title page.
  EXPECT_GE(ui::ReportPageCount(E().Image(), Lang::kEnglish), 8);

  const QString missing = dir.filePath("no-such-folder/room.pdf");
  EXPECT_FALSE(sys->ExportReport(missing, error));
  EXPECT_TRUE(error.contains(missing)) << error.toStdString();
  EXPECT_FALSE(QFile::exists(missing));
}

}  // namespace
}  // namespace tavelo
