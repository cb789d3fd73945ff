// Messages, status texts and list entries: complete in both languages, valid UTF-8, and
// byte-exact where the padding matters.
#include "core/text/Texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/text/utf8.h"

namespace tavelo {
namespace {

using testing_support::IsAscii;
using testing_support::IsValidUtf8;

TEST(Texts, EveryTextExistsInBothLanguagesAsValidUtf8) {
  for (int i = 0; i < kTextCount; ++i) {
    SCOPED_TRACE(i);
    for (Lang lang : {Lang::kEnglish, Lang::kChinese}) {
      const std::string_view text = Text(static_cast<TextId>(i), lang);
      EXPECT_FALSE(text.empty());
      EXPECT_TRUE(IsValidUtf8(text));
    }
  }
  // Out-of-range ids give an empty string rather than reading past the table.
  EXPECT_STREQ(Text(TextId::kCount, Lang::kEnglish), "");
  EXPECT_STREQ(Text(static_cast<TextId>(-1), Lang::kChinese), "");
}

TEST(Texts, PaddedMessagesKeepTheirExactSpacing) {
  struct Exact {
    TextId id;
    Lang lang;
    const char* bytes;
  };
  const Exact cases[] = {
      {TextId::kMsgPasswordError, Lang::kEnglish, "        Password error        "},
      {TextId::kMsgPasswordError, Lang::kChinese,
       "        \xE5\xAF\x86\xE7\xA0\x81\xE9\x94\x99\xE8\xAF\xAF        "},
      {TextId::kMsgSaveOk, Lang::kEnglish, " \t   Save OK\t\t  "},
      {TextId::kMsgSaveOk, Lang::kChinese,
       " \t   \xE5\xAD\x98\xE5\x82\xA8\xE6\x88\x90\xE5\x8A\x9F \t   "},
      {TextId::kMsgSaveFailed, Lang::kEnglish, " \t  Save Failed  "},
      {TextId::kMsgLoadOk, Lang::kEnglish, " \t   Load OK\t\t  "},
      {TextId::kMsgLoadFail, Lang::kEnglish, " \t   Load fail\t   "},
      {TextId::kMsgLoadFail, Lang::kChinese,
       " \t   \xE5\x8A\xA0\xE8\xBD\xBD\xE5\xA4\xB1\xE8\xB4\xA5 \t  "},
      {TextId::kMsgPcNameEmpty, Lang::kEnglish, "PC Name is empty "},
      {TextId::kMsgModifyLockKeyOk, Lang::kEnglish, "        Modify Lockkey OK        "},
      {TextId::kMsgRestoreFactoryOk, Lang::kEnglish, "        Restore to factory OK        "},
      {TextId::kMsgVersionMismatch, Lang::kEnglish,
       "Device version is not matched.\nPlease contact your vendor."},
      {TextId::kCaptionBlank, Lang::kChinese, " "},
      {TextId::kBandTypePeaking, Lang::kChinese, "P "},
      {TextId::kStatusConnecting, Lang::kEnglish, "Connecting..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(std::string(Text(c.id, c.lang)), std::string(c.bytes));
  }
}

TEST(Texts, ChineseColumnIsTranslatedWhereATranslationExists) {
  // Connecting reads differently on the status line and in the wait dialog.
  EXPECT_STREQ(Text(TextId::kStatusConnecting, Lang::kChinese), "正在连接...");
  EXPECT_STREQ(Text(TextId::kWaitConnecting, Lang::kChinese), "正在联机...");
  // All four lock-key and admin successes read the same in Chinese, not in English.
  const std::set<std::string> chinese{Text(TextId::kMsgModifyLockKeyOk, Lang::kChinese),
                                      Text(TextId::kMsgModifyLockKeyPasswordOk, Lang::kChinese),
                                      Text(TextId::kMsgModifyAdminModeOk, Lang::kChinese),
                                      Text(TextId::kMsgModifyAdminPasswordOk, Lang::kChinese)};
  EXPECT_EQ(chinese.size(), 1u);
  // The unlock dialog is found by its title, so the title must not change with the language.
  EXPECT_STREQ(Text(TextId::kUnlockTitle, Lang::kChinese), "Unlock");

  // Texts given in one language only are the same in both; every other Chinese text
  // really is Chinese (a copied English string would be plain ASCII).
  const std::set<TextId> singleLanguage{
      TextId::kStatusOpenFailed,
      TextId::kStatusOpenFailed0,
      TextId::kStatusOpenFailed1,
      TextId::kStatusConnected,
      TextId::kStatusCommunicating,
      TextId::kStatusFailed,
      TextId::kCaptionBlank,
      TextId::kAppTitle,
      TextId::kMsgSocketsInitFailed,
      TextId::kUnlockTitle,
      // The controls that service codes reveal keep their English captions.
      TextId::kSysDeletePc,
      TextId::kSysLogoLine1,
      TextId::kSysLogoLine2,
      TextId::kSysLogo,
      TextId::kSysClearLogo,
      TextId::kSysWifi,
      TextId::kSysSecondAdmin,
      TextId::kInputVod,
      TextId::kInputAux,
      TextId::kInputBgm,
      TextId::kSlopeBypass,
      TextId::kSlopeBessel12,
      TextId::kSlopeButter12,
      TextId::kSlopeBessel18,
      TextId::kSlopeButter18,
      TextId::kSlopeBessel24,
      TextId::kSlopeButter24,
      TextId::kSlopeLinkwitzRiley24,
      TextId::kBandTypePeaking,
      TextId::kBandTypeLowShelf,
      TextId::kBandTypeHighShelf,
  };
  for (int i = 0; i < kTextCount; ++i) {
    const auto id = static_cast<TextId>(i);
    SCOPED_TRACE(Text(id, Lang::kEnglish));
    if (singleLanguage.count(id)) {
      EXPECT_STREQ(Text(id, Lang::kEnglish), Text(id, Lang::kChinese));
    } else {
      EXPECT_FALSE(IsAscii(Text(id, Lang::kChinese)));
    }
  }
}

TEST(Texts, PlaceholdersAreFilledLiterally) {
  EXPECT_EQ(FormatText(TextId::kMsgFileLoadFail, Lang::kEnglish, "room 4"), "room 4 Load fail");
  EXPECT_EQ(FormatText(TextId::kMsgFileLoadFail, Lang::kChinese, "a"), "a 加载失败");
  // A file name that looks like a format string is shown as it is.
  EXPECT_EQ(FormatText(TextId::kMsgFileLoadFail, Lang::kEnglish, "%s%d%n"), "%s%d%n Load fail");
  EXPECT_EQ(FormatText(TextId::kPowerModeUser, Lang::kEnglish, 10), "User Mode 10");
  EXPECT_EQ(FormatText(TextId::kPowerModeUser, Lang::kChinese, 1), "模式1");
  EXPECT_EQ(FormatText(TextId::kMsgPasswordError, Lang::kEnglish, 3),
            Text(TextId::kMsgPasswordError, Lang::kEnglish));
}

TEST(Texts, ListsHoldTheirEntriesInValueOrder) {
  ASSERT_EQ(InputSourceTexts().size(), 6u);
  EXPECT_STREQ(Text(InputSourceTexts()[0], Lang::kEnglish), "Analog Auto");
  EXPECT_STREQ(Text(InputSourceTexts()[5], Lang::kChinese), "光纤");
  ASSERT_EQ(SlopeTexts().size(), 8u);
  EXPECT_STREQ(Text(SlopeTexts()[0], Lang::kEnglish), "bypass");
  EXPECT_STREQ(Text(SlopeTexts()[3], Lang::kEnglish), "bessel_18db");
  EXPECT_STREQ(Text(SlopeTexts()[7], Lang::kEnglish), "Link Riley 24db");
  ASSERT_EQ(BandTypeTexts().size(), 3u);
  EXPECT_STREQ(Text(BandTypeTexts()[2], Lang::kEnglish), "HS");
  ASSERT_EQ(ReverbTypeTexts().size(), 3u);
  EXPECT_STREQ(Text(ReverbTypeTexts()[2], Lang::kChinese), "板房");
  ASSERT_EQ(EchoTypeTexts().size(), 3u);
  EXPECT_STREQ(Text(EchoTypeTexts()[1], Lang::kEnglish), "stereo");
  EXPECT_EQ(MassFileNameColumnWidth(Lang::kEnglish), 200);
  EXPECT_EQ(MassFileNameColumnWidth(Lang::kChinese), 160);
}

}  // namespace
}  // namespace tavelo
