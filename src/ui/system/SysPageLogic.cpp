#include "ui/system/SysPageLogic.h"

#include "core/link/CommandCode.h"
#include "core/params/Catalogue.h"
#include "core/presets/PresetFolder.h"
#include "core/text/Texts.h"
#include "ui/system/SysPageRules.h"

namespace tavelo::ui {

SysPageLogic::SysPageLogic(Engine& engine, SysEffects effects)
    : engine_(engine), fx_(std::move(effects)) {}

void SysPageLogic::Changed() {
  if (fx_.changed) fx_.changed();
}

void SysPageLogic::Say(TextId text, TextId caption) {
  if (!fx_.say) return;
  fx_.say(caption == TextId::kCount ? std::string() : Text(caption, L()), Text(text, L()));
}

void SysPageLogic::Block(CommandCode code, std::span<const std::uint8_t> bytes) {
  engine_.Post(msg::Block{code, BlockArg::Buffer(bytes.data(), static_cast<int>(bytes.size()))});
}

void SysPageLogic::Code(CommandCode code, int value) {
  engine_.Post(msg::Block{code, value});
}

// Saving, resetting and restoring presets need the admin mode. In English the refusal has
// the caption "Warning"; in Chinese "警告", except for Save Equipment and the mass upload.
bool SysPageLogic::RequireAdmin(bool emptyChineseCaption) {
  if (engine_.AdminMode() == sys::kAdminAdmin) return true;
  const bool empty = emptyChineseCaption && L() == Lang::kChinese;
  Say(TextId::kMsgNeedAdminMode, empty ? TextId::kCount : TextId::kCaptionWarning);
  return false;
}

// --- edits -----------------------------------------------------------------------------

void SysPageLogic::SetModeName(const std::string& text) {
  modeName_ = text;
  engine_.SetModeNameText(text);
}

bool SysPageLogic::SetLockNewPassword(const std::string& text) {
  switch (MatchServiceCode(text)) {
    case ServiceCode::kNone:
      lockNewPassword_ = text;
      return false;
    case ServiceCode::kBoost:
      boostShown_ = true;
      if (fx_.setBoost) fx_.setBoost(true);
      break;
    case ServiceCode::kLogo:
      logoShown_ = true;
      break;
    case ServiceCode::kWifi:
      wifiShown_ = true;
      break;
    case ServiceCode::kFactory:
      factoryAllowed_ = true;
      break;
  }
  lockNewPassword_.clear();
  Changed();
  return true;
}

void SysPageLogic::SetLogoLines(const std::string& line1, const std::string& line2) {
  logo1_ = line1;
  logo2_ = line2;
}

bool SysPageLogic::LockButtonsEnabled() const {
  return sys::LockButtonsEnabled(lockPassword_);
}
bool SysPageLogic::LockModifyEnabled() const {
  return sys::LockModifyEnabled(lockPassword_, lockNewPassword_);
}
bool SysPageLogic::AdminButtonsEnabled() const {
  return sys::AdminButtonsEnabled(adminPassword_);
}
bool SysPageLogic::AdminModifyEnabled() const {
  return sys::AdminModifyEnabled(adminPassword_, adminNewPassword_);
}

// --- user modes ------------------------------------------------------------------------

std::vector<std::string> SysPageLogic::ModeEntries() const {
  std::vector<std::string> entries;
  for (int i = 0; i < sys::kUserModes; ++i)
    entries.push_back(sys::ModeEntry(i, engine_.Image().presetNames[static_cast<std::size_t>(i)]));
  return entries;
}

std::string SysPageLogic::ChooseMode(int index) {
  if (index < 0 || index >= sys::kUserModes) return modeName_;
  selectedMode_ = index;
  SetModeName(sys::ModeName(engine_.Image().presetNames[static_cast<std::size_t>(index)]));
  return modeName_;
}

void SysPageLogic::FollowCurrentPreset() {
  const int current = engine_.CurrentPreset();
  if (current >= 0 && current < sys::kUserModes) selectedMode_ = current;
}

void SysPageLogic::LoadEquipment() {
  Code(CommandCode::kRecallPreset, selectedMode_);
  if (engine_.Connected()) engine_.Post(msg::OpenWait{WaitKind::kLoading});
}

void SysPageLogic::SaveEquipment() {
  if (!RequireAdmin(/*emptyChineseCaption=*/true)) return;
  if (!sys::ModeNameValid(modeName_)) {
    SayPlain(TextId::kMsgModeNameInvalid);
    return;
  }
  engine_.SetModeNameText(modeName_);
  Code(CommandCode::kWriteStart, selectedMode_);
  if (engine_.Connected()) engine_.Post(msg::OpenWait{WaitKind::kSaving});
}

void SysPageLogic::ResetToFactory() {
  if (!RequireAdmin(false) || !fx_.ask) return;
  fx_.ask(Text(TextId::kCaptionWarning, L()), Text(TextId::kMsgResetAllConfirm, L()), true,
          [this] { Code(CommandCode::kResetAll, 0); });
}

void SysPageLogic::RestoreToPreset() {
  if (!RequireAdmin(false) || !fx_.ask) return;
  fx_.ask(Text(TextId::kCaptionWarning, L()), Text(TextId::kMsgRestoreFactoryConfirm, L()), true,
          [this] { Code(CommandCode::kRestoreFactory, 0); });
}

// --- PC presets ------------------------------------------------------------------------

std::string SysPageLogic::ChoosePcRow(int row) {
  const auto& files = engine_.PcFiles();
  if (row >= 0 && row < static_cast<int>(files.size()))
    pcName_ = files[static_cast<std::size_t>(row)];
  return pcName_;
}

void SysPageLogic::SaveToPc() {
  const std::string name = pcName_;
  switch (PlanSaveToPc(name, engine_.PcFiles())) {
    case SaveToPcStep::kListFull:
      SayPlain(TextId::kMsgPcListFull);
      return;
    case SaveToPcStep::kEmpty:
      SayPlain(TextId::kMsgPcNameEmpty);
      return;
    case SaveToPcStep::kInvalid:
      SayPlain(TextId::kMsgPcNameInvalid);
      return;
    case SaveToPcStep::kReserved:
      SayPlain(TextId::kMsgPcNameReserved);
      return;
    case SaveToPcStep::kAskOverwrite:
      if (fx_.ask) {
        fx_.ask({}, Text(TextId::kMsgOverwrite, L()), false,
                [this, name] { engine_.Post(msg::SaveToPc{name}); });
      }
      return;
    case SaveToPcStep::kSave:
      engine_.Post(msg::SaveToPc{name});
      Changed();
      return;
  }
}

void SysPageLogic::LoadFromPc(int row) {
  if (row < 0) return;
  engine_.Post(msg::LoadFromPc{row, {}});
}

void SysPageLogic::LoadIntoSlot(int row, int slot) {
  if (row < 0 || slot < 0 || slot >= sys::kUserModes || !engine_.Connected()) return;
  engine_.Post(msg::LoadIntoSlot{row, slot, {}});
}

void SysPageLogic::DeletePc() {
  boostShown_ = false;
  if (fx_.setBoost) fx_.setBoost(false);
  Changed();
}

void SysPageLogic::OpenMassUpload() {
  if (fx_.openMassUpload) fx_.openMassUpload(factoryAllowed_);
}

void SysPageLogic::StartMassUpload(const std::vector<std::string>& files, bool factory) {
  if (!RequireAdmin(/*emptyChineseCaption=*/true)) return;
  engine_.Post(msg::MassUpload{files, factory && factoryAllowed_});
}

// --- lock key and admin ----------------------------------------------------------------

void SysPageLogic::PressLock(bool lock) {
  // Only the button that differs from the state does anything; the reply confirms it or
  // the engine rolls it back.
  if (!LockButtonsEnabled() || engine_.LockState() == lock) return;
  Block(CommandCode::kLockKey, sys::LockKeyBlock(lockPassword_, lock));
  Changed();
}

void SysPageLogic::ModifyLockKey() {
  if (!LockModifyEnabled()) return;
  if (!sys::LockKeyNumeric(lockNewPassword_)) {
    SayPlain(TextId::kMsgPasswordNotNumeric);
    return;
  }
  Block(CommandCode::kLockKeyPassword, sys::NewLockKeyBlock(lockPassword_, lockNewPassword_));
}

void SysPageLogic::PressAdmin(int mode) {
  if (!AdminButtonsEnabled() || engine_.AdminMode() == mode) return;
  Block(CommandCode::kAdminMode, sys::AdminBlock(adminPassword_, mode));
  Changed();
}

void SysPageLogic::ModifyAdminPassword() {
  if (!AdminModifyEnabled()) return;
  Block(CommandCode::kAdminPassword, sys::NewAdminBlock(adminPassword_, adminNewPassword_));
}

// --- the rest --------------------------------------------------------------------------

void SysPageLogic::ChooseLanguage(Lang lang) {
  if (lang == L()) return;
  if (fx_.setLanguage) fx_.setLanguage(lang);
  Changed();
}

void SysPageLogic::ModifyBtName() {
  if (!BtModifyEnabled()) return;
  Block(CommandCode::kBluetoothName, sys::BtNameBlock(btName_));
}

void SysPageLogic::DefaultBtName() {
  btName_.clear();
  Block(CommandCode::kBluetoothName, sys::BtDefaultNameBlock());
  Changed();
}

void SysPageLogic::SetLogo() {
  Block(CommandCode::kLogoText, sys::LogoBlock(logo1_, logo2_));
}

void SysPageLogic::ClearLogo() {
  Block(CommandCode::kLogoText, sys::ClearLogoBlock());
}

void SysPageLogic::ChoosePowerMode(int index) {
  const CatalogueRow& powerMode = RowOf(row::kPowerMode);
  if (index < powerMode.min || index > powerMode.max) return;
  if (ReadValue(engine_.Image(), powerMode) == index) return;
  WriteValue(engine_.Image(), powerMode, index);
  const BlockRequest request = RequestFor(engine_.Image(), powerMode);
  engine_.Post(request);
}

void SysPageLogic::ToggleVolMode() {
  Code(CommandCode::kUseInitVolume, engine_.UseInitVol() ? 0 : 1);
  Changed();
}

void SysPageLogic::OpenWifi() {
  if (fx_.openWifi) fx_.openWifi();
}

}  // namespace tavelo::ui
