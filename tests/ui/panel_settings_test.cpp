// What the panel keeps for its user: stored and restored, checked on the way in, and
// overruled by the command line; Qt's own texts in the chosen language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include "ui/app/DesktopIdentity.h"
#include "ui/app/QtTranslations.h"
#include "ui/app/StartChoices.h"
#include "ui/app/TaveloApp.h"
#include "ui/app/UserSettings.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

// Every test gets an empty store of its own, below a temporary folder.
class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared_ = test::PanelSettingsDir().path();
    ASSERT_TRUE(dir_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
  }
  void TearDown() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, shared_);
  }
  static void PutRaw(const char* key, const QVariant& value) {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                    kSettingsApplication);
    store.setValue(key, value);
  }

  QString shared_;
  QTemporaryDir dir_;
  UserSettings settings_;
};

TEST_F(SettingsTest, EveryChoiceComesBackAndUnusableValuesAreDropped) {
  EXPECT_EQ(settings_.Load().wifi, std::nullopt);  // nothing stored: the defaults
  EXPECT_EQ(settings_.Load().page, std::nullopt);

  settings_.StoreLink(true);
  settings_.StoreEndpoint("127.0.0.1", 17400);
  settings_.StorePage(3);  // echo
  settings_.StoreWindowPos(QPoint(40, 30));
  settings_.StorePresetDir("/tmp/presets");
  settings_.StoreLanguage(Lang::kEnglish);
  StoredSettings s = settings_.Load();
  EXPECT_EQ(s.wifi, true);
  EXPECT_EQ(s.host, "127.0.0.1");
  EXPECT_EQ(s.port, 17400);
  EXPECT_EQ(s.page, 3);
  EXPECT_EQ(s.windowPos, QPoint(40, 30));
  EXPECT_EQ(s.presetDir, "/tmp/presets");
  EXPECT_EQ(s.lang, Lang::kEnglish);

  // The endpoint is kept as a pair: a host alone clears the old port.
  settings_.StoreEndpoint("127.0.0.2", 0);
  EXPECT_EQ(settings_.Load().port, 0);
  // Pages the command line cannot name (hidden at start) are not kept.
  settings_.StorePage(nav::kBoost);
  settings_.StorePage(nav::kCalibrate);
  EXPECT_EQ(settings_.Load().page, 3);

  // The file is the user's to edit: what cannot be used is left out, nothing crashes.
  PutRaw(kSettingsPortKey, 70000);
  PutRaw(kSettingsPageKey, "nowhere");
  PutRaw(kSettingsHostKey, QString("evil\x1b[2Jhost"));
  PutRaw(kSettingsWindowPosKey, "not a point");
  PutRaw(kSettingsLinkKey, "bluetooth");
  PutRaw(kSettingsPresetDirKey, QString(5000, QChar('a')));
  s = settings_.Load();
  EXPECT_EQ(s.port, 0);
  EXPECT_EQ(s.page, std::nullopt);
  EXPECT_EQ(s.host, "");
  EXPECT_EQ(s.windowPos, std::nullopt);
  EXPECT_EQ(s.wifi, std::nullopt);
  EXPECT_EQ(s.presetDir, "");
}

TEST_F(SettingsTest, TheCommandLineWinsOverWhatWasStored) {
  StoredSettings stored;
  stored.lang = Lang::kEnglish;
  stored.wifi = true;
  stored.host = "127.0.0.1";
  stored.port = 17400;
  stored.page = 2;
  stored.presetDir = "/tmp/kept";

  const ui::StartChoices plain = ui::ChooseStart(ParseCommandLine({}), stored, Lang::kChinese);
  EXPECT_EQ(plain.lang, Lang::kEnglish);
  EXPECT_EQ(plain.link, LinkChoice::kWifi);
  EXPECT_EQ(plain.host, "127.0.0.1");
  EXPECT_EQ(plain.port, 17400);
  EXPECT_EQ(plain.page, 2);
  EXPECT_EQ(plain.paramDir, "/tmp/kept");

  const ui::StartChoices given =
      ui::ChooseStart(ParseCommandLine({"--demo", "--lang", "zh", "--host", "127.0.0.9", "--page",
                                        "system", "--param-dir", "/tmp/given"}),
                      stored, Lang::kChinese);
  EXPECT_EQ(given.lang, Lang::kChinese);
  EXPECT_EQ(given.link, LinkChoice::kDemo);
  EXPECT_EQ(given.host, "127.0.0.9");
  EXPECT_EQ(given.port, 0);  // the stored port belonged to the stored host
  EXPECT_EQ(given.page, 8);
  EXPECT_EQ(given.paramDir, "/tmp/given");

  // A first start follows the desktop's language.
  const ui::StartChoices empty =
      ui::ChooseStart(ParseCommandLine({}), StoredSettings{}, Lang::kEnglish);
  EXPECT_EQ(empty.lang, Lang::kEnglish);
  EXPECT_EQ(empty.link, LinkChoice::kUsb);
  EXPECT_EQ(empty.page, 0);
  EXPECT_EQ(ui::ChooseStart(ParseCommandLine({}), StoredSettings{}, Lang::kChinese).lang,
            Lang::kChinese);
  EXPECT_EQ(LanguageOfLocale(QLocale(QLocale::Chinese, QLocale::Taiwan)), Lang::kChinese);
  EXPECT_EQ(LanguageOfLocale(QLocale(QLocale::German, QLocale::Germany)), Lang::kEnglish);
  EXPECT_EQ(LanguageOfLocale(QLocale::c()), Lang::kEnglish);

  // An address or port on the command line chooses Wi-Fi on a first run.
  for (const auto& args : {std::vector<std::string>{"--host", "127.0.0.1"},
                           std::vector<std::string>{"--port", "17400"}}) {
    EXPECT_EQ(ui::ChooseStart(ParseCommandLine(args), StoredSettings{}, Lang::kEnglish).link,
              LinkChoice::kWifi)
        << args[0];
  }
}

TEST_F(SettingsTest, TheNextStartRestoresTheWindowAndAnOptionOverridesIt) {
  QTemporaryDir presets;
  {
    // First run: the preset folder and endpoint typed on the line are kept; the link the
    // user picks, the page and the window position when the window closes.
    QElapsedTimer clock;
    clock.start();
    ui::TaveloApp app(ParseCommandLine({"--lang", "en", "--host", "127.0.0.1", "--port", "17400",
                                        "--param-dir", presets.path().toStdString()}),
                      clock);
    app.Start();
    emit app.Window().TopBarWidget().LinkChosen(LinkChoice::kWifi);
    app.Window().Navigate(3);
    app.Window().move(70, 50);
    app.Window().close();
  }
  StoredSettings s = settings_.Load();
  EXPECT_EQ(s.wifi, true);
  EXPECT_EQ(s.page, 3);
  EXPECT_EQ(s.presetDir, presets.path().toStdString());
  EXPECT_EQ(s.host, "127.0.0.1");

  QElapsedTimer clock;
  clock.start();
  {
    ui::TaveloApp app(ParseCommandLine({}), clock);
    app.Start();
    EXPECT_EQ(app.Window().Link(), LinkChoice::kWifi);
    EXPECT_EQ(app.Window().CurrentPage(), 3);
    EXPECT_EQ(app.Window().GetEngine().ParamDir(), presets.path().toStdString());
    EXPECT_EQ(app.Choices().port, 17400);
    ASSERT_TRUE(app.Choices().windowPos);
    EXPECT_EQ(app.Window().pos(), *app.Choices().windowPos);
    app.Window().hide();
  }
  {
    ui::TaveloApp app(ParseCommandLine({"--page", "rev"}), clock);
    app.Start();
    EXPECT_EQ(app.Window().CurrentPage(), 2);  // the option, not the stored echo page
    app.Window().hide();
  }
}

TEST_F(SettingsTest, AScreenshotRunNeitherUsesNorKeepsTheLastRun) {
  settings_.StorePage(3);
  settings_.StoreLink(true);
  QTemporaryDir out;
  QElapsedTimer clock;
  clock.start();
  ui::TaveloApp app(ParseCommandLine({"--screenshot", out.filePath("x.png").toStdString(),
                                      "--param-dir", out.path().toStdString()}),
                    clock);
  EXPECT_EQ(app.Choices().page, 0);
  EXPECT_EQ(app.Choices().link, LinkChoice::kUsb);
  app.Window().Navigate(5);
  app.Window().close();
  EXPECT_EQ(settings_.Load().page, 3);
  EXPECT_EQ(settings_.Load().presetDir, "");
}

// Qt's standard buttons, as a message box of the panel shows them.
QString OkText() {
  QMessageBox box(QMessageBox::NoIcon, "t", "x", QMessageBox::Ok);
  return box.button(QMessageBox::Ok)->text();
}

// A session the desktop ends may never close the window: the page and the position are
// written soon after they change. The desktop knows the window by the entry's id.
TEST_F(SettingsTest, ThePageAndPositionAreKeptWithoutAClose) {
  QElapsedTimer clock;
  clock.start();
  ui::TaveloApp app(ParseCommandLine({"--lang", "en"}), clock);
  app.Start();
  app.Window().Navigate(5);
  app.Window().move(90, 40);
  test::PanelFixture waiter;  // only for its bounded event loop
  EXPECT_TRUE(
      waiter.Wait([&] { return settings_.Load().page == 5; }, ui::TaveloApp::kRememberDelayMs * 6));
  app.Window().hide();

  ui::ApplyDesktopIdentity();
  EXPECT_EQ(QGuiApplication::desktopFileName(), ui::DesktopId());
  EXPECT_TRUE(ui::DesktopId().startsWith("org.")) << ui::DesktopId().toStdString();
  EXPECT_FALSE(QApplication::windowIcon().isNull());
}

TEST(QtTranslationsTest, StandardButtonsFollowTheLanguageButtons) {
  if (!QFileInfo::exists(ui::QtCatalogueDir() + "/" + ui::kQtCatalogueZh + ".qm"))
    GTEST_SKIP() << "Qt's Chinese catalogue is not installed (qt6-translations-l10n)";
  test::PanelFixture panel(Lang::kEnglish);
  EXPECT_EQ(OkText(), "OK");
  QMessageBox open(QMessageBox::NoIcon, "t", "x", QMessageBox::Cancel);
  panel.W().SetLanguage(Lang::kChinese, false);
  EXPECT_EQ(OkText(), QString::fromUtf8("确定"));
  QCoreApplication::processEvents();  // a box already open is re-labelled
  EXPECT_EQ(open.button(QMessageBox::Cancel)->text(), QString::fromUtf8("取消"));
  panel.W().SetLanguage(Lang::kEnglish, false);
  EXPECT_EQ(OkText(), "OK");
  QCoreApplication::processEvents();
  EXPECT_EQ(open.button(QMessageBox::Cancel)->text(), "Cancel");
}

}  // namespace
}  // namespace tavelo
