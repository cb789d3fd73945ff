// The page definition of an output page, built once from its table. Every rule the four
// pages share is stated here once: which rows are per set and by which rule they pick it,
// which buttons mean "bypassed", which controls are greyed out in AUTO.
#include <map>
#include <memory>
#include <vector>

#include "ui/pages/OutputPageTable.h"

namespace tavelo::output {
namespace {

constexpr std::array<BandColumnIds, kMaxBands> kColumns = {{
    {1312, 1310, 1314, 1318, {1700, 1701, 1702}, 1315},
    {1313, 1311, 1316, 1319, {1703, 1704, 1705}, 1317},
    {1328, 1327, 1329, 1330, {1706, 1707, 1708}, 1334},
    {1336, 1335, 1337, 1338, {1709, 1710, 1711}, 1342},
    {1344, 1343, 1345, 1346, {1712, 1713, 1714}, 1350},
    {1458, 1457, 1459, 1460, {1715, 1716, 1717}, 1493},
    {1465, 1464, 1466, 1467, {1718, 1719, 1720}, 1494},
}};

// The on/off switch (bit 7) of a level row.
RowId OnRowOf(RowId level) {
  const CatalogueRow* on = RowAt({Where::kLevelOn, RowOf(level).place.index});
  return on ? on->id : kNoRow;
}

struct Built {
  std::array<EqView, 2> views{};
  std::vector<SliderRow> sliders;
  std::vector<ListRow> lists;
  std::vector<ToggleRow> toggles;
  PageDefinition def;
};

std::unique_ptr<Built> Build(const OutputPageSpec& page) {
  auto b = std::make_unique<Built>();
  const int lowPass = page.eqBands, highPass = page.eqBands + 1;
  for (int s = 0; s < 2; ++s)
    b->views[static_cast<std::size_t>(s)] = {BandStore::kImage, page.firstSet + s, page.eqBands,
                                             page.eqBands + 2, InSet(page.eqOn, s)};

  // Sliders, edits, volumes, levels and crossovers use the handlers' set; the level
  // switches and slope lists the set of the mode alone.
  const auto level = [&](int id, int text, int onId, RowId param) {
    if (param == kNoRow) return;
    b->sliders.push_back({id, text, param, false, Link::kNone, 0, EditRule::kNone, LockRule::kNone,
                          SetRule::kHandler});
    b->toggles.push_back({onId, OnRowOf(param), false, SetRule::kMode});
  };
  level(kLeftVolume, kLeftVolumeText, kLeftVolumeOn, page.leftVolume);
  level(kRightVolume, kRightVolumeText, kRightVolumeOn, page.rightVolume);
  level(kMusicMix, kMusicMixText, kMusicMixOn, page.music);
  level(kMicDirectMix, kMicDirectMixText, kMicDirectMixOn, page.micDirect);
  level(kReverbMix, kReverbMixText, kReverbMixOn, page.reverb);
  level(kEchoMix, kEchoMixText, kEchoMixOn, page.echo);

  // Values that exist once: compressor and delays, never greyed out.
  const auto once = [&](int id, int text, RowId param) {
    if (param != kNoRow) b->sliders.push_back({id, text, param});
  };
  once(kCompThreshold, kCompThresholdText, page.compThreshold);
  once(kCompRatio, kCompRatioText, page.compRatio);
  once(kCompAttack, kCompAttackText, page.compAttack);
  once(kCompRelease, kCompReleaseText, page.compRelease);
  once(kLeftDelay, kLeftDelayText, page.leftDelay);
  once(kRightDelay, kRightDelayText, page.rightDelay);

  const auto crossover = [&](int slider, int edit, int list, RowId hz, RowId slope, int band) {
    b->sliders.push_back({slider,
                          edit,
                          hz,
                          true,
                          Link::kPassFrequency,
                          band,
                          EditRule::kFrequency,
                          LockRule::kNone,
                          SetRule::kHandler,
                          {},
                          true});
    b->lists.push_back({list, slope, Link::kPassSlope, band, SetRule::kMode});
  };
  crossover(kLpfSlider, kLpfEdit, kLpfList, page.lpfHz, page.lpfSlope, lowPass);
  crossover(kHpfSlider, kHpfEdit, kHpfList, page.hpfHz, page.hpfSlope, highPass);

  b->toggles.push_back({kLeftMute, page.leftMute});
  if (page.rightMute != kNoRow) b->toggles.push_back({kRightMute, page.rightMute});
  b->toggles.push_back({kCompBypass, page.compOn, true});

  PageDefinition& def = b->def;
  def.eq.views = b->views;
  def.eq.viewRule = SetRule::kHandler;
  def.eq.perSet = true;
  def.eq.spinsShown = false;
  def.eq.columns =
      std::span<const BandColumnIds>(kColumns.data(), static_cast<std::size_t>(page.eqBands));
  def.eq.passFocusSlider[0] = kLpfSlider;
  def.eq.passFocusSlider[1] = kHpfSlider;
  def.eq.bypassButton = kEqBypass;
  def.eq.resetButton = kEqReset;
  def.sliders = b->sliders;
  def.lists = b->lists;
  def.toggles = b->toggles;
  def.autoDisables = true;
  def.altSwitchWord = true;
  return b;
}

}  // namespace

bool HasRightChannel(const OutputPageSpec& page) {
  return page.rightVolume != kNoRow;
}

bool ShowsDistances(const ParamImage& image) {
  return ReadValue(image, RowOf(row::kOutputDisplay)) != 0;
}

int DelayMax(const OutputPageSpec& page, const ParamImage& image) {
  if (page.delayWidensWithDistance && ShowsDistances(image)) return RowOf(page.leftDelay).max;
  return kDelayMs;
}

const BandColumnIds& Column(int band) {
  return kColumns[static_cast<std::size_t>(band)];
}

const PageDefinition& Definition(const OutputPageSpec& page) {
  static std::map<const OutputPageSpec*, std::unique_ptr<Built>> built;
  auto& entry = built[&page];
  if (!entry) entry = Build(page);
  return entry->def;
}

}  // namespace tavelo::output
