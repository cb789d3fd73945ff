// The system page's behaviour against an engine and the in-process virtual processor:
// the blocks sent, the messages and questions shown, the roll-back of refused lock and
// admin changes, the service codes and Save To PC.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/engine/engine_harness.h"
#include "core/text/Texts.h"
#include "ui/system/ServiceCodes.h"
#include "ui/system/SysPageLogic.h"

namespace tavelo::ui {
namespace {

using test::EngineHarness;
using test::WireRequest;

struct Shown {
  std::string caption, text;
  bool question = false;
};

class SysPage : public ::testing::Test {
 protected:
  SysPage()
      : logic_(h_.engine, SysEffects{
                              [this](const std::string& c, const std::string& t) {
                                shown_.push_back({c, t, false});
                              },
                              [this](const std::string& c, const std::string& t, bool,
                                     std::function<void()> onYes) {
                                shown_.push_back({c, t, true});
                                onYes_ = std::move(onYes);
                              },
                              [this](Lang lang) { h_.engine.SetLanguage(lang); },
                              [this](bool on) { boost_.push_back(on); },
                              [this](bool factory) { massOpened_.push_back(factory); },
                              [this] { ++wifiOpened_; },
                              {},
                          }) {
    h_.engine.SetParamDir(dir_.path().toStdString());
    h_.engine.SetLanguage(Lang::kEnglish);
  }

  void Connect() { ASSERT_TRUE(h_.ConnectAndRead()); }
  std::vector<WireRequest> Sent(int code) const { return h_.WithCode(code, mark_); }
  void Mark() { mark_ = h_.wire.size(); }
  std::string LastText() const { return shown_.empty() ? "" : shown_.back().text; }
  // The block's bytes (the command data may carry a padding byte behind them).
  std::vector<int> Data(const WireRequest& r, std::size_t size) const {
    EXPECT_GE(r.data.size(), size);
    return {r.data.begin(),
            r.data.begin() + static_cast<std::ptrdiff_t>(std::min(size, r.data.size()))};
  }

  QTemporaryDir dir_;
  EngineHarness h_;
  std::vector<Shown> shown_;
  std::function<void()> onYes_;
  std::vector<bool> boost_, massOpened_;
  int wifiOpened_ = 0;
  std::size_t mark_ = 0;
  SysPageLogic logic_;
};

TEST_F(SysPage, LockButtonsNeedFourCharactersSendOnlyAChangeAndRollBackWhenRefused) {
  Connect();
  Mark();
  logic_.SetLockPassword("123");
  EXPECT_FALSE(logic_.LockButtonsEnabled());
  logic_.PressLock(true);
  EXPECT_TRUE(Sent(43).empty());

  logic_.SetLockPassword("1234");
  EXPECT_TRUE(logic_.LockButtonsEnabled());
  logic_.PressLock(false);  // already unlocked: nothing
  EXPECT_TRUE(Sent(43).empty());
  logic_.PressLock(true);
  ASSERT_TRUE(h_.Settle());
  ASSERT_EQ(Sent(43).size(), 1u);
  EXPECT_EQ(Data(Sent(43)[0], 5), (std::vector<int>{1, 2, 3, 4, 1}));
  EXPECT_TRUE(h_.engine.LockState());
  EXPECT_EQ(h_.recorder.LastMessage(), "        Modify Lockkey OK        ");
  logic_.PressLock(true);  // now locked: nothing more
  h_.Settle();
  EXPECT_EQ(Sent(43).size(), 1u);

  // A wrong key is refused: the state and the lit button return to locked.
  logic_.SetLockPassword("9999");
  logic_.PressLock(false);
  EXPECT_FALSE(h_.engine.LockState());  // shown at once
  ASSERT_TRUE(h_.Settle());
  EXPECT_TRUE(h_.engine.LockState());
  EXPECT_TRUE(h_.recorder.locked);
  EXPECT_EQ(h_.recorder.LastMessage(), "        Password error        ");
}

TEST_F(SysPage, AdminModeGuardsPresetChangesAndRollsBackWhenRefused) {
  h_.processor.SetAdminMode(0);
  Connect();
  ASSERT_EQ(h_.engine.AdminMode(), 0);
  Mark();
  logic_.SaveEquipment();
  EXPECT_EQ(shown_.back().text, "must be in admin mode");
  EXPECT_EQ(shown_.back().caption, "Warning");
  logic_.ResetToFactory();
  EXPECT_FALSE(shown_.back().question);
  logic_.StartMassUpload({"a"}, false);
  EXPECT_EQ(shown_.size(), 3u);
  h_.engine.SetLanguage(Lang::kChinese);
  logic_.SaveEquipment();  // Chinese: no caption for Save Equipment and the mass upload
  EXPECT_EQ(shown_.back().caption, "");
  EXPECT_EQ(shown_.back().text, "必须处于管理模式才能存储");
  logic_.RestoreToPreset();
  EXPECT_EQ(shown_.back().caption, "警告");
  h_.engine.SetLanguage(Lang::kEnglish);
  h_.Settle();
  EXPECT_TRUE(Sent(65).empty());
  EXPECT_TRUE(Sent(20).empty());

  logic_.SetAdminPassword("12345");
  EXPECT_FALSE(logic_.AdminButtonsEnabled());
  logic_.SetAdminPassword("000000");  // wrong: refused, back to user mode
  logic_.PressAdmin(1);
  EXPECT_EQ(h_.engine.AdminMode(), 1);
  ASSERT_TRUE(h_.Settle());
  EXPECT_EQ(h_.engine.AdminMode(), 0);
  EXPECT_EQ(h_.recorder.LastMessage(), "        Password error        ");
  logic_.SetAdminPassword("123456");
  logic_.PressAdmin(0);  // the mode it is in: nothing
  logic_.PressAdmin(1);
  ASSERT_TRUE(h_.Settle());
  EXPECT_EQ(h_.engine.AdminMode(), 1);
  EXPECT_EQ(Data(Sent(45).back(), 7), (std::vector<int>{1, 2, 3, 4, 5, 6, 1}));
  EXPECT_EQ(Sent(45).size(), 2u);

  // Admin now: reset asks first, and only OK sends code 20.
  logic_.ResetToFactory();
  ASSERT_TRUE(shown_.back().question);
  EXPECT_EQ(shown_.back().text, "Reset all ?");
  EXPECT_EQ(shown_.back().caption, "Warning");
  onYes_();
  ASSERT_TRUE(h_.StepUntil([&] { return !Sent(20).empty() && !h_.engine.ReplyAwaited(); }));
}

TEST_F(SysPage, UserModesRecallAndSaveWithTheNameRule) {
  Connect();
  const auto entries = logic_.ModeEntries();
  ASSERT_EQ(entries.size(), 10u);
  EXPECT_EQ(entries[0], "1 - USER 1");
  EXPECT_EQ(logic_.ChooseMode(2), "USER 3");
  Mark();
  logic_.LoadEquipment();
  EXPECT_TRUE(h_.engine.WaitOpen());  // "Loading..."
  ASSERT_TRUE(h_.StepUntil(
      [&] { return h_.engine.ParamSetRead() && !h_.engine.ReplyAwaited() && !Sent(1).empty(); }));
  EXPECT_EQ(Data(Sent(1)[0], 1), std::vector<int>{2});

  logic_.SetModeName("Bad{name");
  logic_.SaveEquipment();
  EXPECT_EQ(LastText(), "Invalid character in mode name");
  EXPECT_TRUE(Sent(65).empty());
  logic_.SetModeName("Party");
  logic_.SaveEquipment();
  ASSERT_TRUE(h_.Settle());
  ASSERT_EQ(Sent(65).size(), 1u);
  EXPECT_EQ(std::string(h_.processor.Stored(2).name.data(), 5), "Party");
  EXPECT_EQ(logic_.ModeEntries()[2], "3 - Party");
}

TEST_F(SysPage, ServiceCodesRevealAndDeletePcHidesTheBoostPage) {
  EXPECT_FALSE(logic_.SetLockNewPassword("12"));
  EXPECT_FALSE(logic_.LogoShown());
  EXPECT_TRUE(logic_.SetLockNewPassword(ServiceCodeText(ServiceCode::kLogo)));
  EXPECT_TRUE(logic_.LogoShown());
  EXPECT_TRUE(logic_.SetLockNewPassword(ServiceCodeText(ServiceCode::kWifi)));
  EXPECT_TRUE(logic_.WifiShown());
  logic_.OpenMassUpload();
  EXPECT_TRUE(logic_.SetLockNewPassword(ServiceCodeText(ServiceCode::kFactory)));
  logic_.OpenMassUpload();
  EXPECT_EQ(massOpened_, (std::vector<bool>{false, true}));
  EXPECT_TRUE(logic_.SetLockNewPassword(ServiceCodeText(ServiceCode::kBoost)));
  EXPECT_TRUE(logic_.BoostShown());
  logic_.DeletePc();
  EXPECT_FALSE(logic_.BoostShown());
  EXPECT_EQ(boost_, (std::vector<bool>{true, false}));
  // A code leaves nothing behind in the new-lock-key edit.
  logic_.SetLockPassword("1234");
  EXPECT_FALSE(logic_.LockModifyEnabled());
  EXPECT_TRUE(shown_.empty());
}

TEST_F(SysPage, NewLockKeyMustBeDigitsInBothLanguages) {
  Connect();
  Mark();
  logic_.SetLockPassword("1234");
  logic_.SetLockNewPassword("12a4");
  ASSERT_TRUE(logic_.LockModifyEnabled());
  for (Lang lang : {Lang::kEnglish, Lang::kChinese}) {
    h_.engine.SetLanguage(lang);
    logic_.ModifyLockKey();
    EXPECT_EQ(LastText(), "密码必须是数字");
  }
  h_.Settle();
  EXPECT_TRUE(Sent(44).empty());
  logic_.SetLockNewPassword("5678");
  logic_.ModifyLockKey();
  ASSERT_TRUE(h_.Settle());
  ASSERT_EQ(Sent(44).size(), 1u);
  EXPECT_EQ(Data(Sent(44)[0], 8), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(h_.processor.LockKey(), (std::array<std::uint8_t, 4>{5, 6, 7, 8}));

  logic_.SetAdminPassword("123456");
  logic_.SetAdminNewPassword("65432");
  EXPECT_FALSE(logic_.AdminModifyEnabled());
  logic_.SetAdminNewPassword("654321");
  logic_.ModifyAdminPassword();
  ASSERT_TRUE(h_.Settle());
  EXPECT_EQ(Data(Sent(46).at(0), 12), (std::vector<int>{1, 2, 3, 4, 5, 6, 6, 5, 4, 3, 2, 1}));
}

TEST_F(SysPage, SaveToPcChecksTheNameAndAsksBeforeOverwriting) {
  for (const char* bad : {"", "a/b", "dot."}) {
    logic_.SetPcName(bad);
    logic_.SaveToPc();
    EXPECT_EQ(LastText(), *bad ? "Invalid character in PC Name" : "PC Name is empty ") << bad;
  }
  // A device name is refused with the reason, in the user's language.
  for (const char* reserved : {"CON", "lpt3.txt"}) {
    logic_.SetPcName(reserved);
    logic_.SaveToPc();
    EXPECT_EQ(LastText(), Text(TextId::kMsgPcNameReserved, Lang::kEnglish)) << reserved;
    EXPECT_NE(LastText().find("reserved"), std::string::npos);
  }
  h_.engine.SetLanguage(Lang::kChinese);
  logic_.SaveToPc();
  EXPECT_NE(LastText().find("保留"), std::string::npos);
  h_.engine.SetLanguage(Lang::kEnglish);
  EXPECT_TRUE(h_.engine.PcFiles().empty());
  logic_.SetPcName("evening");
  logic_.SaveToPc();
  EXPECT_EQ(h_.recorder.LastMessage(), " \t   Save OK\t\t  ");
  ASSERT_EQ(h_.engine.PcFiles(), std::vector<std::string>{"evening"});
  const auto written = std::filesystem::last_write_time(dir_.filePath("evening").toStdString());

  // The same name asks "overwrite ?"; No saves nothing and adds no row.
  const std::size_t said = h_.recorder.messages.size();
  logic_.SaveToPc();
  ASSERT_TRUE(shown_.back().question);
  EXPECT_EQ(shown_.back().text, "overwrite ?");
  onYes_ = nullptr;  // answered No
  EXPECT_EQ(h_.recorder.messages.size(), said);
  EXPECT_EQ(h_.engine.PcFiles().size(), 1u);
  EXPECT_EQ(std::filesystem::last_write_time(dir_.filePath("evening").toStdString()), written);

  EXPECT_EQ(logic_.ChoosePcRow(0), "evening");
  logic_.LoadFromPc(-1);  // nothing selected: nothing
  EXPECT_EQ(h_.recorder.messages.size(), said);
  logic_.LoadFromPc(0);
  EXPECT_EQ(h_.recorder.LastMessage(), " \t   Load OK\t\t  ");

  // Into a user mode: only while connected; the mode becomes the current one.
  logic_.LoadIntoSlot(0, 6);
  EXPECT_EQ(h_.engine.CurrentPreset(), 0);
  Connect();
  Mark();
  logic_.LoadIntoSlot(0, 6);
  ASSERT_TRUE(h_.Settle());
  EXPECT_EQ(h_.engine.CurrentPreset(), 6);
  ASSERT_EQ(Sent(67).size(), 1u);
  EXPECT_EQ(Sent(67)[0].data[0], 6);
}

TEST_F(SysPage, NameLogoPowerModeAndVolumeModeBlocks) {
  Connect();
  Mark();
  EXPECT_FALSE(logic_.BtModifyEnabled());
  // One at a time: a second block of the same code waiting behind a request in flight
  // would replace the first.
  const bool volMode = h_.engine.UseInitVol();
  logic_.SetBtName("Bar");
  logic_.SetLogoLines("WELCOME", "");
  for (auto step : std::vector<std::function<void()>>{
           [&] { logic_.ModifyBtName(); }, [&] { logic_.DefaultBtName(); },
           [&] { logic_.SetLogo(); }, [&] { logic_.ClearLogo(); },
           [&] { logic_.ChoosePowerMode(3); },
           [&] { logic_.ChoosePowerMode(3); },  // unchanged: nothing more
           [&] { logic_.ToggleVolMode(); }}) {
    step();
    ASSERT_TRUE(h_.Settle());
  }
  EXPECT_TRUE(logic_.BtName().empty());
  const auto bt = Sent(78);
  ASSERT_EQ(bt.size(), 2u);
  EXPECT_EQ(Data(bt[0], 9), (std::vector<int>{1, 'B', 'a', 'r', 0, 0, 0, 0, 0}));
  EXPECT_EQ(Data(bt[1], 9), std::vector<int>(9, 0));
  const auto logo = Sent(23);
  ASSERT_EQ(logo.size(), 2u);
  EXPECT_EQ(logo[0].data[0], 1);
  EXPECT_EQ(std::string(logo[0].data.begin() + 1, logo[0].data.begin() + 17), "WELCOME         ");
  EXPECT_EQ(logo[1].data[0], 0);
  ASSERT_EQ(Sent(59).size(), 1u);
  EXPECT_EQ(Data(Sent(59)[0], 1), std::vector<int>{3});
  EXPECT_EQ(h_.engine.Image().powerMode, 3);
  ASSERT_EQ(Sent(18).size(), 1u);
  EXPECT_EQ(Sent(18)[0].data[0], volMode ? 0 : 1);
  EXPECT_EQ(h_.engine.UseInitVol(), !volMode);
}

}  // namespace
}  // namespace tavelo::ui
