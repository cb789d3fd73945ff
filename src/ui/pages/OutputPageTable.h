#pragma once
// The four output pages (main, surround, centre, subwoofer) share one layout and one set of
// rules; each is a table of the catalogue rows it edits. The rows name every image place,
// range, readout, code and argument (code-14 channel, code-17 filter number, code-3 set
// id); the table adds only what differs between the pages: the band arrays, the number of
// bands, whether the page has a right channel, and whether the
// delay range widens while the delays are shown as distances.
#include <array>

#include "ui/pages/PageLabels.h"
#include "ui/pages/PageTable.h"

namespace tavelo::output {

// Control ids of the output page layout, the same on all four pages.
inline constexpr int kLeftVolume = 1220, kLeftVolumeText = 1221, kLeftVolumeOn = 1545;
inline constexpr int kRightVolume = 1249, kRightVolumeText = 1250, kRightVolumeOn = 1555;
inline constexpr int kLeftDelay = 1236, kLeftDelayText = 1237;
inline constexpr int kRightDelay = 1244, kRightDelayText = 1252;
inline constexpr int kLeftMute = 1926, kRightMute = 1927;
inline constexpr int kMusicMix = 1224, kMusicMixText = 1225, kMusicMixOn = 1547;
inline constexpr int kMicDirectMix = 1226, kMicDirectMixText = 1227, kMicDirectMixOn = 1546;
inline constexpr int kReverbMix = 1222, kReverbMixText = 1223, kReverbMixOn = 1556;
inline constexpr int kEchoMix = 1551, kEchoMixText = 1550, kEchoMixOn = 1558;
inline constexpr int kCompThreshold = 1228, kCompThresholdText = 1229;
inline constexpr int kCompRatio = 1230, kCompRatioText = 1231;
inline constexpr int kCompAttack = 1232, kCompAttackText = 1233;
inline constexpr int kCompRelease = 1234, kCompReleaseText = 1235;
inline constexpr int kCompBypass = 1928;
inline constexpr int kLpfSlider = 1242, kLpfEdit = 1351, kLpfList = 1536;
inline constexpr int kHpfSlider = 1247, kHpfEdit = 1352, kHpfList = 1537;
inline constexpr int kEqBypass = 1924, kEqReset = 1925;

// Caption statics that the label tables bind to (they carry their own ids).
inline constexpr int kLeftVolumeCaption = 1402, kRightVolumeCaption = 1406;
inline constexpr int kLeftDelayCaption = 1412, kRightDelayCaption = 1414;
inline constexpr int kMusicMixCaption = 1404, kMicDirectMixCaption = 1405;
inline constexpr int kReverbMixCaption = 1403, kEchoMixCaption = 1548;
inline constexpr int kCompThresholdCaption = 1408, kCompRatioCaption = 1409;
inline constexpr int kCompAttackCaption = 1410, kCompReleaseCaption = 1411;
inline constexpr int kLpfCaption = 1413, kLpTypeCaption = 1417;
inline constexpr int kHpfCaption = 1415, kHpTypeCaption = 1418;
inline constexpr int kGainColumnCaption = 1398, kQColumnCaption = 1399;
inline constexpr int kFreqColumnCaption = 1400, kTypeColumnCaption = 1401;

// The five framed groups: frame id and the caption laid over it.
struct Group {
  int frame;
  int caption;
};
inline constexpr Group kEqGroup{1368, 1918}, kOutputGroup{1542, 1920}, kMixerGroup{1539, 1921},
    kCompGroup{1541, 1922}, kXoverGroup{1540, 1923};

inline constexpr int kMaxBands = 7;

// What one output page edits.
struct OutputPageSpec {
  const char* className;  // the page's object name
  nav::PageKind labels;
  EqSet firstSet;  // the band array of set 1; set 2's follows it
  int eqBands;     // equaliser bands; the low-pass and high-pass filters follow them
  // Catalogue rows; per-set values name their set-1 row.
  RowId leftVolume, rightVolume;  // rightVolume kNoRow: one channel
  RowId micDirect, music, reverb, echo;
  RowId compThreshold, compRatio, compAttack, compRelease, compOn;
  RowId lpfHz, lpfSlope, hpfHz, hpfSlope;
  RowId leftDelay, rightDelay;
  RowId leftMute, rightMute;
  RowId eqOn;
  // The delay range widens to the row's catalogue maximum while distances are shown;
  // otherwise it stays at kDelayMs.
  bool delayWidensWithDistance;
};

inline constexpr int kDelayMs = 50;  // the delay range while delays are shown

extern const OutputPageSpec kMain, kSurround, kCentre, kSub;

bool HasRightChannel(const OutputPageSpec& page);
// While the output display selector (image 135) is set the delays are shown as distances.
bool ShowsDistances(const ParamImage& image);
// The delay sliders' range now: kDelayMs, or the catalogue's wider range on a page whose
// delays widen while distances are shown.
int DelayMax(const OutputPageSpec& page, const ParamImage& image);
const BandColumnIds& Column(int band);
// The page definition built from the table (one per page, built once).
const PageDefinition& Definition(const OutputPageSpec& page);

}  // namespace tavelo::output
