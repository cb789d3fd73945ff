// The panel's plain rules: command line, volume hot keys and level sliders, the unlock
// block, the Wi-Fi endpoint options and the language kept with the user's settings.
#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include "core/params/LockKeyBlock.h"
#include "ui/app/CommandLine.h"
#include "ui/app/LinkFactory.h"
#include "ui/app/MessageCaption.h"
#include "ui/app/TopBarRules.h"
#include "ui/app/UserSettings.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

TEST(PanelRulesTest, CommandLineOptionsAndRefusals) {
  const auto line =
      ParseCommandLine({"--demo", "--lang", "en", "--host", "127.0.0.1", "--port", "17400",
                        "--param-dir", "/tmp/p", "--page", "swout", "--screenshot", "/tmp/x.png"});
  ASSERT_TRUE(line.Ok()) << line.error;
  EXPECT_TRUE(line.demo);
  EXPECT_EQ(line.lang, Lang::kEnglish);
  EXPECT_EQ(line.host, "127.0.0.1");
  EXPECT_EQ(line.port, 17400);
  EXPECT_EQ(line.paramDir, "/tmp/p");
  EXPECT_EQ(line.page, 7);
  EXPECT_EQ(line.screenshot, "/tmp/x.png");
  EXPECT_EQ(ParseCommandLine({"--lang", "zh"}).lang, Lang::kChinese);
  EXPECT_EQ(ParseCommandLine({"--page", "boost"}).page, 11);
  EXPECT_EQ(ParseCommandLine({}).lang, std::nullopt);
  EXPECT_EQ(ParseCommandLine({"--mode", "dance"}).mode, 2);
  EXPECT_EQ(ParseCommandLine({}).mode, std::nullopt);

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--lang", "de"},
                                              {"--lang"},
                                              {"--port", "0"},
                                              {"--port", "7x"},
                                              {"--port", "70000"},
                                              {"--page", "calibrate"},
                                              {"--page", ""},
                                              {"--screenshot"},
                                              {"--param-dir", ""},
                                              {"--mode", "party"},
                                              {"--mode"},
                                              {"--bogus"}})
    EXPECT_FALSE(ParseCommandLine(bad).Ok()) << bad[0];
  // The help says where the preset files are looked for.
  EXPECT_NE(std::string(CommandLineUsage()).find("param_dir in the current folder"),
            std::string::npos);
}

TEST(PanelRulesTest, WifiEndpointOptions) {
  EXPECT_EQ(ui::ExplicitEndpoint("", 0), std::nullopt);
  EXPECT_EQ(ui::ExplicitEndpoint("127.0.0.1", 0), (NetEndpoint{"127.0.0.1", 17400}));
  EXPECT_EQ(ui::ExplicitEndpoint("127.0.0.1", 7905), (NetEndpoint{"127.0.0.1", 7905}));
}

TEST(PanelRulesTest, VolumeHotkeysStopAtRangeAndStoredMaximum) {
  ParamImage image;
  ApplyDefaults(image);
  using topbar::HotkeyStep;
  using topbar::Level;
  image.byte(img::kMusicVolume) = 84;
  EXPECT_EQ(HotkeyStep(image, Level::kMusic, true), std::nullopt);  // F2 at 84
  image.byte(img::kMusicMaxVolume) = 60;
  image.byte(img::kMusicVolume) = 60;
  EXPECT_EQ(HotkeyStep(image, Level::kMusic, true), std::nullopt);  // F2 at the maximum
  EXPECT_EQ(HotkeyStep(image, Level::kMusic, false), (BlockRequest{CommandCode::kMusicBlock, 0}));
  EXPECT_EQ(image.byte(img::kMusicVolume), 59);

  image.byte(img::kMicVolume) = 80;
  image.byte(img::kMicMaxVolume) = 84;
  EXPECT_EQ(HotkeyStep(image, Level::kMic, true), std::nullopt);  // mic stops at 80
  image.byte(img::kMicVolume) = 0;
  EXPECT_EQ(HotkeyStep(image, Level::kMic, false), std::nullopt);
  EXPECT_EQ(HotkeyStep(image, Level::kMic, true), (BlockRequest{CommandCode::kMicBlock, 0}));

  image.byte(img::kEffectVolume) = 98;
  EXPECT_EQ(HotkeyStep(image, Level::kEffect, true), (BlockRequest{CommandCode::kEffectVolume, 0}));
  EXPECT_EQ(HotkeyStep(image, Level::kEffect, true), std::nullopt);  // effect stops at 99
  EXPECT_EQ(image.byte(img::kEffectVolume), 99);

  image.byte(img::kOutputDisplay) = 1;  // the volume keys rest while distances are shown
  EXPECT_EQ(HotkeyStep(image, Level::kEffect, false), std::nullopt);
  EXPECT_EQ(image.byte(img::kEffectVolume), 99);
}

TEST(PanelRulesTest, LevelSlidersPostOnlyChanges) {
  ParamImage image;
  ApplyDefaults(image);
  EXPECT_EQ(topbar::SliderMoved(image, topbar::kMicSlider, 40),
            (BlockRequest{CommandCode::kMicBlock, 0}));
  EXPECT_EQ(image.byte(img::kMicVolume), 40);
  EXPECT_EQ(topbar::SliderMoved(image, topbar::kMicSlider, 40), std::nullopt);
  EXPECT_EQ(topbar::SliderMoved(image, topbar::kEffectSlider, 12),
            (BlockRequest{CommandCode::kEffectVolume, 0}));
  EXPECT_EQ(topbar::SliderMoved(image, 4242, 12), std::nullopt);
}

TEST(PanelRulesTest, UnlockBlockNeedsFourCharacters) {
  EXPECT_EQ(UnlockBlock(""), std::nullopt);
  EXPECT_EQ(UnlockBlock("123"), std::nullopt);
  const auto block = UnlockBlock("1234");
  ASSERT_TRUE(block);
  EXPECT_EQ(*block, (std::array<std::uint8_t, 5>{1, 2, 3, 4, 1}));
  EXPECT_EQ(UnlockBlock("98765")->at(3), 6);  // only four digits travel
  EXPECT_EQ(UnlockBlock("a000")->at(0), static_cast<std::uint8_t>('a' - '0'));  // not refused
}

TEST(PanelRulesTest, LanguageIsKeptInTheUsersOwnSettings) {
  const QString shared = test::PanelSettingsDir().path();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  EXPECT_FALSE(HasStoredLanguage());
  // Nothing stored: the desktop's language.
  EXPECT_EQ(LoadLanguage(), LanguageOfLocale(QLocale::system()));
  StoreLanguage(Lang::kEnglish);
  EXPECT_TRUE(HasStoredLanguage());
  EXPECT_EQ(LoadLanguage(), Lang::kEnglish);
  StoreLanguage(Lang::kChinese);
  EXPECT_EQ(LoadLanguage(), Lang::kChinese);
  // The value landed below the temporary folder, under the organisation's name.
  EXPECT_TRUE(QDir(dir.path()).exists(kSettingsOrganisation));
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, shared);
}

TEST(MessageCaption, EachKindOfMessageBoxHasItsCaptionInBothLanguages) {
  EXPECT_EQ(MessageCaption(CaptionKind::kSpace, Lang::kEnglish), " ");
  EXPECT_EQ(MessageCaption(CaptionKind::kEmpty, Lang::kChinese), "");
  EXPECT_EQ(MessageCaption(CaptionKind::kAppTitle, Lang::kEnglish), "Professional Audio System");
  EXPECT_EQ(MessageCaption(CaptionKind::kAppTitle, Lang::kChinese),
            Text(TextId::kAppTitle, Lang::kChinese));
}

}  // namespace
}  // namespace tavelo
