#include "ui/pages/BoostPageTable.h"

#include <array>

namespace tavelo::boost {
namespace {

using enum row::Id;

constexpr std::array<BandColumnIds, kMaxBands> kColumns = {{
    {2101, 2102, 2103, 2104, {2105, 2106, 2107}, 2108},
    {2111, 2112, 2113, 2114, {2115, 2116, 2117}, 2118},
    {2121, 2122, 2123, 2124, {2125, 2126, 2127}, 2128},
    {2131, 2132, 2133, 2134, {2135, 2136, 2137}, 2138},
    {2141, 2142, 2143, 2144, {2145, 2146, 2147}, 2148},
}};

// One view per boost channel; the channel buttons choose between them. A channel shows as
// many columns as it has bands, and has no pass filters, bypass or reset.
constexpr std::array<EqView, kBoostChannels> kViews = {{
    {BandStore::kBoost, 0, kBoostBandCounts[0], kBoostBandCounts[0]},
    {BandStore::kBoost, 1, kBoostBandCounts[1], kBoostBandCounts[1]},
    {BandStore::kBoost, 2, kBoostBandCounts[2], kBoostBandCounts[2]},
    {BandStore::kBoost, 3, kBoostBandCounts[3], kBoostBandCounts[3]},
}};

// Lit while the channel's boost is on.
constexpr std::array<ToggleRow, kBoostChannels> kToggles = {{
    {kBoostBoxes[0], kBoostSwitchMic},
    {kBoostBoxes[1], kBoostSwitchMusic},
    {kBoostBoxes[2], kBoostSwitchReverb},
    {kBoostBoxes[3], kBoostSwitchEcho},
}};

PageDefinition MakeDefinition() {
  PageDefinition def;
  def.eq.views = kViews;
  def.eq.columns = kColumns;
  def.toggles = kToggles;
  return def;
}

}  // namespace

const BandColumnIds& Column(int band) {
  return kColumns[static_cast<std::size_t>(band)];
}

const PageDefinition& Definition() {
  static const PageDefinition def = MakeDefinition();
  return def;
}

}  // namespace tavelo::boost
