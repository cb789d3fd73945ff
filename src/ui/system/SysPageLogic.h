#pragma once
// What the system page does, without its widgets: the user modes, Save/Load Equipment,
// reset and restore with their questions, the admin requirement, the PC presets (Save To
// PC with its checks and overwrite question, Load From PC), the mass upload's start, the
// lock key and admin blocks, the language, the Bluetooth name, the logo, the power mode,
// "volmode" and the service codes. It edits the engine's image and posts to the engine;
// what only a window can do (message boxes, questions, other dialogs, the language of
// every window, the boost page) it asks of its owner through SysEffects. The sliders and
// output-level switches are rows of the page framework's table, not here.
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/engine/Engine.h"
#include "core/link/CommandCode.h"
#include "ui/system/ServiceCodes.h"

namespace tavelo::ui {

struct SysEffects {
  // A message box with an OK button.
  std::function<void(const std::string& caption, const std::string& text)> say;
  // A question; `onYes` runs on OK (okCancel) or Yes.
  std::function<void(const std::string& caption, const std::string& text, bool okCancel,
                     std::function<void()> onYes)>
      ask;
  std::function<void(Lang lang)> setLanguage;    // every window, stored for next time
  std::function<void(bool available)> setBoost;  // the boost page and its button
  std::function<void(bool factoryAllowed)> openMassUpload;
  std::function<void()> openWifi;
  std::function<void()> changed;  // visibility, enabled or lit states changed
};

class SysPageLogic {
 public:
  SysPageLogic(Engine& engine, SysEffects effects);

  // --- edits (the page hands over their text as typed) -------------------------------
  void SetModeName(const std::string& text);  // edit 1861: the preset name uploads carry
  const std::string& ModeName() const { return modeName_; }
  void SetPcName(const std::string& text) { pcName_ = text; }
  const std::string& PcName() const { return pcName_; }
  void SetLockPassword(const std::string& text) { lockPassword_ = text; }
  // The new-lock-key edit also takes the service codes: true when `text` was one (the
  // page clears the edit).
  bool SetLockNewPassword(const std::string& text);
  void SetAdminPassword(const std::string& text) { adminPassword_ = text; }
  void SetAdminNewPassword(const std::string& text) { adminNewPassword_ = text; }
  void SetBtName(const std::string& text) { btName_ = text; }
  void SetLogoLines(const std::string& line1, const std::string& line2);

  // --- enabled states ------------------------------------------------------------------
  bool LockButtonsEnabled() const;
  bool LockModifyEnabled() const;
  bool AdminButtonsEnabled() const;
  bool AdminModifyEnabled() const;
  bool BtModifyEnabled() const { return !btName_.empty(); }

  // --- revealed by service codes (for the rest of the run) -----------------------------
  bool LogoShown() const { return logoShown_; }
  bool WifiShown() const { return wifiShown_; }
  bool FactoryAllowed() const { return factoryAllowed_; }
  bool BoostShown() const { return boostShown_; }  // and with it "Delete PC"

  // --- user modes ----------------------------------------------------------------------
  std::vector<std::string> ModeEntries() const;  // "%d - %s", ten of them
  int SelectedMode() const { return selectedMode_; }
  // Choosing an entry: its name goes into the mode-name edit (returned).
  std::string ChooseMode(int index);
  // At every distribution the list shows the processor's current preset, so Save and
  // Load act on the preset the user is hearing, not on the last pick.
  void FollowCurrentPreset();
  void LoadEquipment();
  void SaveEquipment();
  void ResetToFactory();
  void RestoreToPreset();

  // --- PC presets ----------------------------------------------------------------------
  // Choosing a row copies its name into the PC-name edit (returned).
  std::string ChoosePcRow(int row);
  void SaveToPc();
  void LoadFromPc(int row);  // -1: nothing selected
  // The PC list's context menu: the file of `row` into user mode `slot` (0..9), which
  // becomes the current one; only while connected.
  void LoadIntoSlot(int row, int slot);
  void DeletePc();
  void OpenMassUpload();
  // The mass-upload dialog's start: admin mode required.
  void StartMassUpload(const std::vector<std::string>& files, bool factory);

  // --- lock key and admin --------------------------------------------------------------
  void PressLock(bool lock);  // "Lock" / "Unlock"
  void ModifyLockKey();
  void PressAdmin(int mode);  // "User" 0, " admin" 1, the hidden one 2
  void ModifyAdminPassword();

  // --- the rest ------------------------------------------------------------------------
  void ChooseLanguage(Lang lang);
  void ModifyBtName();
  void DefaultBtName();  // clears the edit (the page follows BtName())
  const std::string& BtName() const { return btName_; }
  void SetLogo();
  void ClearLogo();
  void ChoosePowerMode(int index);  // 0 "Last Mode", 1..10 "User Mode %d"
  void ToggleVolMode();
  void OpenWifi();

 private:
  bool RequireAdmin(bool emptyChineseCaption);
  void Say(TextId text, TextId caption);
  void SayPlain(TextId text) { Say(text, TextId::kCount); }
  void Block(CommandCode code, std::span<const std::uint8_t> bytes);
  void Code(CommandCode code, int value);
  Lang L() const { return engine_.Language(); }
  void Changed();

  Engine& engine_;
  SysEffects fx_;
  int selectedMode_ = 0;
  std::string modeName_, pcName_;
  std::string lockPassword_, lockNewPassword_, adminPassword_, adminNewPassword_;
  std::string btName_, logo1_, logo2_;
  bool logoShown_ = false, wifiShown_ = false, factoryAllowed_ = false, boostShown_ = false;
};

}  // namespace tavelo::ui
