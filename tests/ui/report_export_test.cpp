// "Export report...": the processor's current preset as a PDF, and a
// refusal that names the file when it cannot be written.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ui/panel_test_env.h"
#include "ui/report/ReportPdf.h"
#include "ui/tools/SystemTools.h"

namespace tavelo {
namespace {

class ReportExport : public ::testing::Test, public test::PanelFixture {};

TEST_F(ReportExport, WritesThePresetAsAPdfAndNamesTheFileItCouldNotWrite) {
  W().show();
  ASSERT_TRUE(ConnectDemo());
  ui::SystemTools tools(E(), &W(), {});
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  const QString path = dir.filePath("room.pdf");
  QString error;
  ASSERT_TRUE(tools.ExportReport(path, error)) << error.toStdString();
  QFile pdf(path);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  // Every page of the panel is in it: far more than a title page.
  EXPECT_GE(ui::ReportPageCount(E().Image(), Lang::kEnglish), 8);

  // Names copied out of the PDF paste back into `set`: its text holds no ligature.
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (!pdftotext.isEmpty()) {
    QProcess extract;
    extract.start(pdftotext, {path, "-"});
    ASSERT_TRUE(extract.waitForFinished(20000));
    const QString text = QString::fromUtf8(extract.readAllStandardOutput());
    EXPECT_TRUE(text.contains("effect.volume")) << text.left(400).toStdString();
    for (char16_t ligature = 0xFB00; ligature <= 0xFB06; ++ligature)
      EXPECT_FALSE(text.contains(QChar(ligature))) << static_cast<int>(ligature);
  } else {
    ADD_FAILURE() << "pdftotext (poppler-utils) is missing: scripts/setup.sh installs it";
  }

  const QString missing = dir.filePath("no-such-folder/room.pdf");
  EXPECT_FALSE(tools.ExportReport(missing, error));
  EXPECT_TRUE(error.contains(missing)) << error.toStdString();
  EXPECT_FALSE(QFile::exists(missing));
}

}  // namespace
}  // namespace tavelo
