#include "ui/pages/EffectPageTable.h"

namespace tavelo::effect {
namespace {

constexpr std::array<BandColumnIds, kEqBands> kColumns = {{
    {1497, 1495, 1499, 1500, {1700, 1701, 1702}, 1505},
    {1498, 1496, 1504, 1507, {1703, 1704, 1705}, 1506},
    {1512, 1511, 1513, 1514, {1706, 1707, 1708}, 1518},
    {1522, 1520, 1523, 1524, {1709, 1710, 1711}, 1528},
    {1530, 1529, 1531, 1532, {1712, 1713, 1714}, 1538},
}};

SliderRow PassRow(int slider, int edit, RowId frequency, int band) {
  SliderRow row;
  row.id = slider;
  row.readoutId = edit;
  row.param = frequency;
  row.logarithmic = false;
  row.link = Link::kPassFrequency;
  row.band = band;
  row.editRule = EditRule::kFrequency;
  return row;
}

}  // namespace

const BandColumnIds& Column(int band) {
  return kColumns[static_cast<std::size_t>(band)];
}

EqSection Section(std::span<const EqView> views) {
  EqSection eq;
  eq.views = views;
  eq.columns = kColumns;
  eq.passFocusSlider[0] = kLpfSlider;  // band 5
  eq.passFocusSlider[1] = kHpfSlider;  // band 6
  eq.bypassButton = kBypassButton;
  eq.resetButton = kResetButton;
  return eq;
}

SliderRow LowPassRow(RowId frequency) {
  return PassRow(kLpfSlider, kLpfEdit, frequency, kLowPassBand);
}

SliderRow HighPassRow(RowId frequency) {
  return PassRow(kHpfSlider, kHpfEdit, frequency, kHighPassBand);
}

}  // namespace tavelo::effect
