#pragma once
// Every status text, message, dialog caption and list entry the panel shows, in English and
// Chinese, from one table. Window captions that the label table covers live in Labels.h.
// Texts keep their exact spacing: several messages are padded with spaces and tabs on purpose.
#include <span>
#include <string>
#include <string_view>

#include "core/text/Lang.h"

namespace tavelo {

enum class TextId : int {
  // Status line of the main window.
  kStatusIdle,
  kStatusConnecting,
  kStatusOpenFailed,
  kStatusOpenFailed0,  // no answer to the status poll
  kStatusOpenFailed1,  // refused version, rejected read, or unlock abandoned
  kStatusConnected,
  kStatusCommunicating,
  kStatusOk,
  kStatusFailed,

  // Message boxes and their captions.
  kCaptionBlank,  // " ": the caption of reply notices and refusals
  kCaptionWarning,
  kAppTitle,
  kMsgSocketsInitFailed,
  kMsgVersionMismatch,
  kMsgModifyLockKeyOk,
  kMsgModifyLockKeyPasswordOk,
  kMsgModifyAdminModeOk,
  kMsgModifyAdminPasswordOk,
  kMsgPasswordError,
  kMsgSavedOk,  // boost stored, factory mass upload finished
  kMsgResetAllOk,
  kMsgSetLogoOk,
  kMsgRestoreFactoryOk,

  // Parameter files on the PC.
  kMsgPcNameEmpty,
  kMsgPcNameInvalid,
  kMsgPcNameReserved,  // a device name of Windows
  kMsgOverwrite,
  kMsgSaveOk,
  kMsgSaveFailed,
  kMsgLoadOk,
  kMsgLoadFail,
  kMsgFileLoadFail,  // "%s": the file name
  // Boost files: "%s" the file's name, then "%s" the reason.
  kMsgBoostCannotWrite,
  kMsgBoostCannotRead,
  kMsgBoostRefused,
  // A processor is attached but cannot be opened: "%s" the device node, then "%s" the
  // system's reason; each names its remedy.
  kMsgUsbOpenDenied,
  kMsgUsbOpenBusy,
  kMsgUsbOpenRefused,

  // Mass-upload dialog.
  kMassUploadTitle,  // also the caption of its upload button
  kMassAddAll,
  kMassAdd,
  kMassDel,
  kMassUploadFactory,
  kMassColumnNumber,
  kMassColumnFileName,
  kMsgMassUploadStopped,         // user modes
  kMsgMassUploadFactoryStopped,  // factory presets
  kMassSlotsWritten,             // "%s": slot numbers
  kMassSlotsInProgress,
  kMassSlotsNotReached,
  kMassSlotsNone,

  // System page.
  kMsgNeedAdminMode,
  kMsgModeNameInvalid,
  kMsgResetAllConfirm,
  kMsgRestoreFactoryConfirm,
  kMsgPasswordNotNumeric,
  kMsgPcListFull,  // Save To PC with 100 files listed
  // Controls that a service code reveals (support staff read them in English).
  kSysDeletePc,
  kSysLogoLine1,
  kSysLogoLine2,
  kSysLogo,
  kSysClearLogo,
  kSysWifi,
  kSysSecondAdmin,
  kPowerModeLast,
  kPowerModeUser,  // "%d": 1 to 10

  // Wi-Fi settings dialog.
  kWifiTitle,
  kWifiConnect,
  kWifiDisconnect,
  kWifiApName,
  kWifiApPassword,
  kWifiStaName,
  kWifiStaPassword,
  kWifiSetAp,
  kWifiSetSta,
  kWifiRestore,
  kMsgWifiNameEmpty,
  kMsgWifiNameTooLong,
  kMsgWifiPasswordTooShort,
  kMsgWifiPasswordTooLong,
  kMsgWifiRestoreConfirm,
  kMsgWifiSetOk,
  kMsgWifiSetError,
  kMsgWifiNoAnswer,     // a setting went unanswered and the link was dropped
  kWifiModuleAddress,   // the address field ("host" or "host:port")
  kMsgWifiBadAddress,   // the address field cannot be read
  kMsgWifiUnreachable,  // "%s": the address tried

  // Wait and unlock dialogs.
  kWaitConnecting,
  kWaitLoading,
  kWaitSaving,
  kWaitMassProgress,  // "%s": "k/n", the file being written and the run's file count
  kUnlockTitle,       // the unlock dialog is found by this title: the same in both languages
  kUnlockPassword,
  kUnlockOk,
  kUnlockClose,

  // List entries, in list order (index = stored value).
  kInputAnalogAuto,
  kInputVod,
  kInputAux,
  kInputBgm,
  kInputCoax,
  kInputOpti,
  kSlopeBypass,
  kSlopeBessel12,
  kSlopeButter12,
  kSlopeBessel18,
  kSlopeButter18,
  kSlopeBessel24,
  kSlopeButter24,
  kSlopeLinkwitzRiley24,
  kBandTypePeaking,
  kBandTypeLowShelf,
  kBandTypeHighShelf,
  kReverbHall,
  kReverbRoom,
  kReverbPlate,
  kEchoMono,
  kEchoStereo,
  kEchoDual,

  kCount
};

inline constexpr int kTextCount = static_cast<int>(TextId::kCount);

// The text in the given language; never null.
const char* Text(TextId id, Lang lang);

// Texts with one placeholder: the first "%s" (or "%d") is replaced by the argument. Other
// texts come back unchanged. No printf: a file name holding '%' stays harmless.
std::string FormatText(TextId id, Lang lang, std::string_view argument);
std::string FormatText(TextId id, Lang lang, int argument);

// Entries of the language-dependent lists, index = the value the list selects.
std::span<const TextId> InputSourceTexts();  // music input source, 6 entries
std::span<const TextId> SlopeTexts();        // pass-filter slope codes 0..7
std::span<const TextId> BandTypeTexts();     // band type buttons, types 0..2
std::span<const TextId> ReverbTypeTexts();
std::span<const TextId> EchoTypeTexts();

// Widths of the mass-upload dialog's list columns: the file name column is narrower in
// Chinese.
inline constexpr int kMassNumberColumnWidth = 40;
constexpr int MassFileNameColumnWidth(Lang lang) {
  return lang == Lang::kChinese ? 160 : 200;
}

}  // namespace tavelo
