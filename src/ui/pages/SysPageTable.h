#pragma once
// The system page as data: its control ids and the parameter rows the page framework
// drives (the volume limits, start-up volumes, the dance microphone trigger, the four
// record-mixer output levels with their switches). Everything else the page does lives in
// SysPageLogic.
#include <span>

#include "ui/pages/PageTable.h"

namespace tavelo::ui::sys_page {

// User modes and presets.
inline constexpr int kModeCombo = 1307, kLoadEquipment = 1308, kSaveEquipment = 1309,
                     kResetAll = 1311, kRestoreFactory = 1319, kModeNameEdit = 1861;
// PC presets.
inline constexpr int kPcNameEdit = 1560, kPcList = 1827, kSaveToPc = 1314, kLoadFromPc = 1313,
                     kDeletePc = 1315, kMassUpload = 1316;
// Volume sliders (readouts beside them: kReadoutOffset + slider id).
inline constexpr int kMusicMax = 1080, kMusicInit = 1081, kMicMax = 1205, kMicInit = 1206,
                     kEffectInit = 1215, kSwMicThreshold = 1084, kSwMicTime = 1086,
                     kOutputVol = 1835, kMusicLeft = 1839, kMicDirect = 1843, kEffectLeft = 1847;
inline constexpr int kOutputVolOn = 1836, kMusicLeftOn = 1840, kMicDirectOn = 1844,
                     kEffectLeftOn = 1848;
inline constexpr int kReadoutOffset = 3000;
// Lock key and admin.
inline constexpr int kLockPassword = 1579, kUnlock = 1812, kLock = 1813, kLockNewPassword = 1580,
                     kLockModify = 1581;
inline constexpr int kAdminPassword = 1587, kAdminUser = 1814, kAdminAdmin = 1815,
                     kAdminSecond = 1816, kAdminNewPassword = 1588, kAdminModify = 1589;
// Language, names, logo, power mode, volume mode, Wi-Fi.
inline constexpr int kEnglish = 1806, kChinese = 1807;
inline constexpr int kBtNameLabel = 1953, kBleNameLabel = 1954, kBtNewName = 1955, kBtModify = 1591,
                     kBtDefault = 1592;
inline constexpr int kLogoLine1 = 1849, kLogoLine2 = 1850, kLogoCaption1 = 1851,
                     kLogoCaption2 = 1852, kLogoSet = 1545, kLogoClear = 1546;
inline constexpr int kPowerMode = 1317, kVolMode = 1817, kWifi = 1318;
// A/B and the comparison with a PC file.
inline constexpr int kStoreA = 2201, kStoreB = 2202, kAbToggle = 2203, kCompare = 2204;
// The commissioning report of the processor's preset.
inline constexpr int kExportReport = 2205;

const PageDefinition& Definition();
std::span<const SliderRow> Sliders();

}  // namespace tavelo::ui::sys_page
