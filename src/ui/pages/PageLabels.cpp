#include "ui/pages/PageLabels.h"

namespace tavelo::ui {
namespace {

using enum Label;
constexpr LabelTarget kOwn = LabelTarget::kOwnText;
constexpr LabelTarget kBeside = LabelTarget::kCaptionOf;

// Top bar and navigation row. The navigation buttons carry page names; the mode buttons'
// " Dance" keeps its leading space.
constexpr LabelBinding kMainWindow[] = {
    {1001, kConnect},        {1545, kMusic},    {1808, kMic},         {1809, kReverb},
    {1811, kEcho},           {1810, kMain},     {1546, kSurround},    {1812, kCenter},
    {1813, kSubwoofer},      {1815, kSystem},   {1814, kCalibration}, {1816, kSurroundRight},
    {1372, kMusicColon},     {1373, kMicColon}, {1374, kEffectColon}, {1375, kMasterColon},
    {1822, kAuto},           {1823, kSing},     {1824, kDance},       {1826, kMute},
    {1376, kAdjMannerColon},
};

constexpr LabelBinding kMusicPage[] = {
    {1800, kInput1},  {1801, kInput2},   {1802, kBt},      {1803, kUdisk},
    {1804, kOptical}, {1923, kEqBypass}, {1924, kEqReset},
};

constexpr LabelBinding kMicPage[] = {
    {1928, kCompBypass},
    {1739, kMicEqLink},
    {1923, kEqBypass},
    {1924, kEqReset},
};

constexpr LabelBinding kReverbPage[] = {
    {1923, kEqBypass},
    {1924, kEqReset},
};

constexpr LabelBinding kEchoPage[] = {
    {1923, kEqBypass},
    {1924, kEqReset},
};

// Main and surround outputs: two channels. The delay captions become distances while the
// output display selector is set.
constexpr LabelBinding kStereoOutputPage[] = {
    {1918, kEq},
    {1920, kOutput},
    {1921, kMixer},
    {1922, kComp},
    {1923, kXover},
    {1398, kGainDb},
    {1399, kQ},
    {1400, kFreqHz},
    {1401, kType},
    {1402, kLChVol},
    {1406, kRChVol},
    {1412, kLDelay, kOwn, kLDistance},
    {1414, kRDelay, kOwn, kRDistance},
    {1404, kMusicLevel},
    {1405, kMicDirectLevel},
    {1403, kReverbLevel},
    {1548, kEchoLevel},
    {1408, kCompTh},
    {1409, kCompRatio},
    {1410, kCompAttack},
    {1411, kCompRelease},
    {1413, kLpf},
    {1417, kLpType},
    {1415, kHpfOutput},
    {1418, kHpTypeOutput},
    {1924, kEqBypass},
    {1925, kEqReset},
    {1926, kLchMute},
    {1927, kRchMute},
    {1928, kCompBypass},
};

// Centre and subwoofer outputs: one channel, so one volume, one delay and one mute.
constexpr LabelBinding kMonoOutputPage[] = {
    {1918, kEq},
    {1920, kOutput},
    {1921, kMixer},
    {1922, kComp},
    {1923, kXover},
    {1398, kGainDb},
    {1399, kQ},
    {1400, kFreqHz},
    {1401, kType},
    {1402, kOutputVol},
    {1412, kOutputDelay, kOwn, kDistance},
    {1404, kMusicLevel},
    {1405, kMicDirectLevel},
    {1403, kReverbLevel},
    {1548, kEchoLevel},
    {1408, kCompTh},
    {1409, kCompRatio},
    {1410, kCompAttack},
    {1411, kCompRelease},
    {1413, kLpf},
    {1417, kLpType},
    {1415, kHpfOutput},
    {1418, kHpTypeOutput},
    {1924, kEqBypass},
    {1925, kEqReset},
    {1926, kMute},
    {1928, kCompBypass},
};

// The system page's template captions are replaced by the label of the same role.
constexpr LabelBinding kSystemPage[] = {
    {1307, kMode, kBeside},
    {1308, kRecall},
    {1309, kSave},
    {1311, kResetAllSettings},
    {1319, kRestoreToFactory},
    {1560, kModeNameColon, kBeside},
    {1314, kSaveToPc},
    {1313, kUploadToEquipment},
    {1316, kMassUploadToEquip},
    {1579, kLockKeyPassword, kBeside},
    {1812, kUnlock},
    {1813, kLock},
    {1580, kLockKeyNewPassword, kBeside},
    {1581, kModify},
    {1587, kAdminPassword, kBeside},
    {1814, kUserModeChoice},
    {1815, kAdminModeChoice},
    {1588, kAdminNewPassword, kBeside},
    {1589, kModify},
    {1806, kEnglishLanguage},
    {1807, kChineseLanguage},
    {1953, kBtName, kBeside},
    {1954, kBleName, kBeside},
    {1955, kBtNewName, kBeside},
    {1591, kModifyBtName},
    {1592, kReset},
    {1317, kPowerMode, kBeside},
    {1817, kUseInitVol},
};

}  // namespace

std::span<const LabelBinding> TopBarLabels() {
  return kMainWindow;
}

std::span<const LabelBinding> PageLabels(nav::PageKind page) {
  using nav::PageKind;
  switch (page) {
    case PageKind::kMusic:
      return kMusicPage;
    case PageKind::kMic:
      return kMicPage;
    case PageKind::kReverb:
      return kReverbPage;
    case PageKind::kEcho:
      return kEchoPage;
    case PageKind::kMainOutput:
    case PageKind::kSurround:
      return kStereoOutputPage;
    case PageKind::kCentre:
    case PageKind::kSubwoofer:
      return kMonoOutputPage;
    case PageKind::kSystem:
      return kSystemPage;
    case PageKind::kNone:
    case PageKind::kBoost:
      return {};  // the boost page's captions are fixed, not language-dependent
  }
  return {};
}

const LabelBinding* FindLabelBinding(nav::PageKind page, int controlId) {
  for (const auto& binding : PageLabels(page)) {
    if (binding.controlId == controlId) return &binding;
  }
  return nullptr;
}

const char* LabelFor(nav::PageKind page, int controlId, Lang lang, bool alternate) {
  const LabelBinding* binding = FindLabelBinding(page, controlId);
  if (!binding) return nullptr;
  return LabelText(alternate ? binding->alternate : binding->label, lang);
}

}  // namespace tavelo::ui
