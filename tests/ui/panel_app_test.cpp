// The application's runs: the start language and the screenshot run's outcome.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>

#include "core/sim/Faults.h"
#include "ui/app/TaveloApp.h"
#include "ui/app/UserSettings.h"
#include "ui/pages/OutputPageTable.h"
#include "ui/pages/Page.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

class PanelAppTest : public ::testing::Test {
 protected:
  void SetUp() override { test::PanelSettingsDir(); }

  bool RunUntilFinished(ui::TaveloApp& app) {
    test::PanelFixture waiter;  // only for its bounded event loop
    return waiter.Wait([&] { return app.Finished(); }, 5000);
  }
  QTemporaryDir out_;
};

TEST_F(PanelAppTest, StartLanguageComesFromTheLineThenTheSettings) {
  CommandLine line;
  StoreLanguage(Lang::kEnglish);
  EXPECT_EQ(ui::TaveloApp::StartLanguage(line), Lang::kEnglish);
  line.lang = Lang::kChinese;
  EXPECT_EQ(ui::TaveloApp::StartLanguage(line), Lang::kChinese);
  StoreLanguage(Lang::kChinese);
  line.lang = Lang::kEnglish;
  EXPECT_EQ(ui::TaveloApp::StartLanguage(line), Lang::kEnglish);
}

TEST_F(PanelAppTest, ScreenshotRunSavesTheRequestedPageAfterTheDownload) {
  CommandLine line = ParseCommandLine({"--demo", "--lang", "en", "--page", "rev", "--screenshot",
                                       out_.filePath("shot.png").toStdString(), "--param-dir",
                                       out_.path().toStdString()});
  ASSERT_TRUE(line.Ok());
  QElapsedTimer clock;
  clock.start();
  ui::TaveloApp app(line, clock);
  app.Start();
  ASSERT_TRUE(RunUntilFinished(app));
  EXPECT_EQ(app.ExitCode(), 0);
  EXPECT_TRUE(app.Window().Distributed());
  EXPECT_EQ(app.Window().CurrentPage(), 2);
  const QImage shot(out_.filePath("shot.png"));
  EXPECT_EQ(shot.size(), QSize(ui::kClientWidth, ui::kClientHeight));
}

TEST_F(PanelAppTest, ScreenshotRunChoosesTheModeBeforeThePicture) {
  CommandLine line = ParseCommandLine({"--demo", "--page", "main", "--mode", "auto", "--screenshot",
                                       out_.filePath("auto.png").toStdString(), "--param-dir",
                                       out_.path().toStdString()});
  ASSERT_TRUE(line.Ok());
  QElapsedTimer clock;
  clock.start();
  ui::TaveloApp app(line, clock);
  app.Start();
  ASSERT_TRUE(RunUntilFinished(app));
  EXPECT_EQ(app.ExitCode(), 0);
  EXPECT_EQ(app.Window().CurrentPage(), 4);
  EXPECT_EQ(app.Window().GetEngine().Image().byte(img::kAppMode), kModeAuto);
  ui::Page* page = app.Window().PageWidget(4);
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(page->Model().Controls().Enabled(output::kLeftVolume));
  EXPECT_TRUE(page->Model().Controls().Enabled(output::kCompRatio));
}

TEST_F(PanelAppTest, ScreenshotRunEndsWithOneWhenTheConnectionFails) {
  CommandLine line =
      ParseCommandLine({"--demo", "--screenshot", out_.filePath("never.png").toStdString()});
  QElapsedTimer clock;
  clock.start();
  ui::TaveloApp app(line, clock);
  app.Window().Demo().Processor().AddFault(*ParseSimFault("wrong-version"));
  app.Start();
  ASSERT_TRUE(RunUntilFinished(app));
  EXPECT_EQ(app.ExitCode(), 1);
  EXPECT_FALSE(QFileInfo::exists(out_.filePath("never.png")));
}

}  // namespace
}  // namespace tavelo
