#include "core/text/Texts.h"

#include <array>

#include "core/text/TextTable.h"

namespace tavelo {
namespace {

// Where only one language exists, both columns carry it.
constexpr TextEntry<TextId> kTexts[] = {
    {TextId::kStatusIdle, "Idle", "空闲"},
    {TextId::kStatusConnecting, "Connecting...", "正在连接..."},
    {TextId::kStatusOpenFailed, "Open failed", "Open failed"},
    {TextId::kStatusOpenFailed0, "Open failed0", "Open failed0"},
    {TextId::kStatusOpenFailed1, "Open failed1", "Open failed1"},
    {TextId::kStatusConnected, "connected", "connected"},
    {TextId::kStatusCommunicating, "communicating", "communicating"},
    {TextId::kStatusOk, "OK", "正常"},
    {TextId::kStatusFailed, "failed", "failed"},

    {TextId::kCaptionBlank, " ", " "},
    {TextId::kCaptionWarning, "Warning", "警告"},
    {TextId::kAppTitle, "Professional Audio System", "Professional Audio System"},
    {TextId::kMsgSocketsInitFailed, "Failed to Initialize Sockets", "Failed to Initialize Sockets"},
    {TextId::kMsgVersionMismatch, "Device version is not matched.\nPlease contact your vendor.",
     "设备版本不匹配，请联系相关供应商更新升级"},
    {TextId::kMsgModifyLockKeyOk, "        Modify Lockkey OK        ", "        更改成功        "},
    {TextId::kMsgModifyLockKeyPasswordOk, "        Modify lockkey password OK        ",
     "        更改成功        "},
    {TextId::kMsgModifyAdminModeOk, "        Modify Admin mode OK        ",
     "        更改成功        "},
    {TextId::kMsgModifyAdminPasswordOk, "        Modify admin password OK        ",
     "        更改成功        "},
    {TextId::kMsgPasswordError, "        Password error        ", "        密码错误        "},
    {TextId::kMsgSavedOk, "        Saved OK        ", "        存储成功        "},
    {TextId::kMsgResetAllOk, "        Reset all OK        ", "        清除所有模式成功        "},
    {TextId::kMsgSetLogoOk, "        Set Logo OK        ", "        设置Logo成功        "},
    {TextId::kMsgRestoreFactoryOk, "        Restore to factory OK        ",
     "        恢复出厂设置成功        "},

    {TextId::kMsgPcNameEmpty, "PC Name is empty ", "模式名称不能为空"},
    {TextId::kMsgPcNameInvalid, "Invalid character in PC Name", "模式名称包含非法字符"},
    {TextId::kMsgPcNameReserved,
     "This PC Name is reserved for a device on Windows (CON, PRN, AUX, NUL, COM0-9, LPT0-9), "
     "so the file could not be copied there: choose another name",
     "此名称在 Windows 中保留给设备（CON、PRN、AUX、NUL、COM0-9、LPT0-9），文件无法复制到"
     "该系统：请换一个名称"},
    {TextId::kMsgOverwrite, "overwrite ?", "确定覆盖旧文件?"},
    {TextId::kMsgSaveOk, " \t   Save OK\t\t  ", " \t   存储成功 \t   "},
    {TextId::kMsgSaveFailed, " \t  Save Failed  ", " \t   存储失败 \t   "},
    {TextId::kMsgLoadOk, " \t   Load OK\t\t  ", " \t   加载成功 \t   "},
    {TextId::kMsgLoadFail, " \t   Load fail\t   ", " \t   加载失败 \t  "},
    {TextId::kMsgFileLoadFail, "%s Load fail", "%s 加载失败"},
    {TextId::kMsgBoostCannotWrite,
     "Cannot write %s: %s. An earlier file of that name is unchanged.",
     "无法写入 %s：%s。同名的旧文件没有改变。"},
    {TextId::kMsgBoostCannotRead, "Cannot read %s: %s.", "无法读取 %s：%s。"},
    {TextId::kMsgBoostRefused,
     "%s is not a usable boost file (%s). Nothing was loaded or sent to the processor.",
     "%s 不是可用的增强文件（%s）。没有加载，也没有发送到处理器。"},
    {TextId::kMsgUsbOpenDenied,
     "The processor is connected at %s but cannot be opened: %s. Install the udev rule "
     "70-tavelo.rules (see README) and replug the processor.",
     "设备已连接在 %s，但无法打开：%s。请安装 udev 规则 70-tavelo.rules（见 README），"
     "然后重新插拔设备。"},
    {TextId::kMsgUsbOpenBusy,
     "The processor is connected at %s but cannot be opened: %s. Another program is using "
     "it: close that program and connect again.",
     "设备已连接在 %s，但无法打开：%s。另一个程序正在使用它：请关闭该程序后重新连接。"},
    {TextId::kMsgUsbOpenRefused,
     "The processor is connected at %s but cannot be opened: %s. Replug the processor and "
     "connect again.",
     "设备已连接在 %s，但无法打开：%s。请重新插拔设备后再连接。"},

    {TextId::kMassUploadTitle, "Mass Upload", "批量上传到设备"},
    {TextId::kMassAddAll, "Add All", "全部加入"},
    {TextId::kMassAdd, "Add", "加入"},
    {TextId::kMassDel, "Del", "删除"},
    {TextId::kMassUploadFactory, "Mass Upload Factory", "批量存储出厂设置"},
    {TextId::kMassColumnNumber, "No.", "序号"},
    {TextId::kMassColumnFileName, "FileName", "文件名称"},
    {TextId::kMsgMassUploadStopped, "Mass upload stopped before every user mode was written.",
     "批量上传中断，并非所有用户模式都已写入。"},
    {TextId::kMsgMassUploadFactoryStopped,
     "Factory upload stopped before every factory preset was written.",
     "出厂预设上传中断，并非所有出厂预设都已写入。"},
    {TextId::kMassSlotsWritten, "Written: %s", "已写入：%s"},
    {TextId::kMassSlotsInProgress, "In progress, may hold a mix of old and new: %s",
     "写入中，可能新旧混杂：%s"},
    {TextId::kMassSlotsNotReached, "Not reached, unchanged: %s", "未写入，保持不变：%s"},
    {TextId::kMassSlotsNone, "none", "无"},

    {TextId::kMsgNeedAdminMode, "must be in admin mode", "必须处于管理模式才能存储"},
    {TextId::kMsgModeNameInvalid, "Invalid character in mode name", "模式名称含有非法字符"},
    {TextId::kMsgResetAllConfirm, "Reset all ?", "清除所有模式?"},
    {TextId::kMsgRestoreFactoryConfirm, "Restore to factory settings?", "恢复出厂设置?"},
    {TextId::kMsgPasswordNotNumeric, "密码必须是数字", "密码必须是数字"},
    {TextId::kMsgPcListFull,
     "The PC preset list is full (100 files). Move files out of the preset folder to save more.",
     "电脑模式列表已满（100个文件）。请先把预设文件夹中的文件移走再存储。"},
    {TextId::kSysDeletePc, "Delete PC", "Delete PC"},
    {TextId::kSysLogoLine1, "Logo 1", "Logo 1"},
    {TextId::kSysLogoLine2, "Logo 2", "Logo 2"},
    {TextId::kSysLogo, "Logo", "Logo"},
    {TextId::kSysClearLogo, "Clr logo", "Clr logo"},
    {TextId::kSysWifi, "WIFI", "WIFI"},
    {TextId::kSysSecondAdmin, " admin", " admin"},
    {TextId::kPowerModeLast, "Last Mode", "上次调用的模式"},
    {TextId::kPowerModeUser, "User Mode %d", "模式%d"},

    {TextId::kWifiTitle, "WIFI Setting", "WIFI模块设置"},
    {TextId::kWifiConnect, "Connect", "连接"},
    {TextId::kWifiDisconnect, "Disconnect", "断开连接"},
    {TextId::kWifiApName, "AP Name", "AP名称"},
    {TextId::kWifiApPassword, "AP Password", "AP密码"},
    {TextId::kWifiStaName, "STA Name", "STA名称"},
    {TextId::kWifiStaPassword, "STA Password", "STA密码"},
    {TextId::kWifiSetAp, "Set AP", "设置AP"},
    {TextId::kWifiSetSta, "Set Sta", "设置Sta"},
    {TextId::kWifiRestore, "Restore Wifi", "恢复出厂设置"},
    {TextId::kMsgWifiNameEmpty, "Name is empty", "名称不能为空"},
    {TextId::kMsgWifiNameTooLong, "Name is too long", "名称太长"},
    {TextId::kMsgWifiPasswordTooShort, "Password length at least 8 bytes", "密码至少8位"},
    {TextId::kMsgWifiPasswordTooLong, "Password is too long", "密码太长"},
    {TextId::kMsgWifiRestoreConfirm, "Confirm restore Wifi?", "确定恢复出厂设置?"},
    {TextId::kMsgWifiSetOk, "OK", "设置成功"},
    {TextId::kMsgWifiSetError, "Setting error", "设置失败"},
    {TextId::kMsgWifiNoAnswer,
     "The Wi-Fi module did not answer the setting, so it may not be stored. Connect again and "
     "repeat it.",
     "WIFI模块没有应答，设置可能没有保存。请重新连接后再设置一次。"},
    {TextId::kWifiModuleAddress, "Module", "模块地址"},
    {TextId::kMsgWifiBadAddress,
     "The module address must be an IP address, optionally followed by :port.",
     "模块地址无效：请输入IP地址，可在后面加 :端口。"},
    {TextId::kMsgWifiUnreachable, "Cannot reach the Wi-Fi module at %s.",
     "无法连接到 %s 的WIFI模块。"},

    {TextId::kWaitConnecting, "Connecting...", "正在联机..."},
    {TextId::kWaitLoading, "Loading...", "正在加载..."},
    {TextId::kWaitSaving, "Saving...", "正在存储..."},
    {TextId::kWaitMassProgress, "Saving... file %s", "正在存储... 文件 %s"},
    {TextId::kUnlockTitle, "Unlock", "Unlock"},
    {TextId::kUnlockPassword, "Unlock Password:", "解锁密码:"},
    {TextId::kUnlockOk, "OK", "确认"},
    {TextId::kUnlockClose, "Close", "关闭"},

    {TextId::kInputAnalogAuto, "Analog Auto", "模拟自动"},
    {TextId::kInputVod, "VOD", "VOD"},
    {TextId::kInputAux, "AUX", "AUX"},
    {TextId::kInputBgm, "BGM", "BGM"},
    {TextId::kInputCoax, "COAX", "同轴"},
    {TextId::kInputOpti, "OPTI", "光纤"},
    {TextId::kSlopeBypass, "bypass", "bypass"},
    {TextId::kSlopeBessel12, "bessel_12db", "bessel_12db"},
    {TextId::kSlopeButter12, "butter_12db", "butter_12db"},
    {TextId::kSlopeBessel18, "bessel_18db", "bessel_18db"},
    {TextId::kSlopeButter18, "butter_18db", "butter_18db"},
    {TextId::kSlopeBessel24, "bessel_24db", "bessel_24db"},
    {TextId::kSlopeButter24, "butter_24db", "butter_24db"},
    {TextId::kSlopeLinkwitzRiley24, "Link Riley 24db", "Link Riley 24db"},
    {TextId::kBandTypePeaking, "P ", "P "},
    {TextId::kBandTypeLowShelf, "LS", "LS"},
    {TextId::kBandTypeHighShelf, "HS", "HS"},
    {TextId::kReverbHall, "hall", "厅堂"},
    {TextId::kReverbRoom, "room", "房间"},
    {TextId::kReverbPlate, "plate", "板房"},
    {TextId::kEchoMono, "mono", "单回声"},
    {TextId::kEchoStereo, "stereo", "立体声"},
    {TextId::kEchoDual, "dual", "双回声"},
};

static_assert(FollowsEnum(kTexts, kTextCount), "one entry per text, in TextId order");

constexpr std::array kInputSources{TextId::kInputAnalogAuto, TextId::kInputVod,
                                   TextId::kInputAux,        TextId::kInputBgm,
                                   TextId::kInputCoax,       TextId::kInputOpti};
constexpr std::array kSlopes{TextId::kSlopeBypass,   TextId::kSlopeBessel12,
                             TextId::kSlopeButter12, TextId::kSlopeBessel18,
                             TextId::kSlopeButter18, TextId::kSlopeBessel24,
                             TextId::kSlopeButter24, TextId::kSlopeLinkwitzRiley24};
constexpr std::array kBandTypes{TextId::kBandTypePeaking, TextId::kBandTypeLowShelf,
                                TextId::kBandTypeHighShelf};
constexpr std::array kReverbTypes{TextId::kReverbHall, TextId::kReverbRoom, TextId::kReverbPlate};
constexpr std::array kEchoTypes{TextId::kEchoMono, TextId::kEchoStereo, TextId::kEchoDual};

std::string ReplaceFirst(const char* text, std::string_view placeholder,
                         std::string_view argument) {
  std::string out(text);
  const auto at = out.find(placeholder);
  if (at != std::string::npos) out.replace(at, placeholder.size(), argument);
  return out;
}

}  // namespace

const char* Text(TextId id, Lang lang) {
  return TextOf(kTexts, id, lang);
}

std::string FormatText(TextId id, Lang lang, std::string_view argument) {
  return ReplaceFirst(Text(id, lang), "%s", argument);
}

std::string FormatText(TextId id, Lang lang, int argument) {
  return ReplaceFirst(Text(id, lang), "%d", std::to_string(argument));
}

std::span<const TextId> InputSourceTexts() {
  return kInputSources;
}
std::span<const TextId> SlopeTexts() {
  return kSlopes;
}
std::span<const TextId> BandTypeTexts() {
  return kBandTypes;
}
std::span<const TextId> ReverbTypeTexts() {
  return kReverbTypes;
}
std::span<const TextId> EchoTypeTexts() {
  return kEchoTypes;
}

}  // namespace tavelo
