#include "core/params/EchoTypeDefaults.h"

#include <array>

#include "core/params/Catalogue.h"

namespace tavelo {
namespace {

struct Preset {
  RowId row;
  int value;
};

// Whole bytes: a level byte's switch (bit 7) starts clear.
constexpr std::array<Preset, 8> kBytes = {{
    {row::kEchoLevel, 100},
    {row::kEchoRepeat, 60},
    {row::kEchoRightLevel, 100},
    {row::kEchoRightRepeat, 60},
    {row::kEchoDirect, 64},
    {row::kImage120, 0},
    {row::kEchoRightDelayPercent, 50},
    {row::kEchoRightPredelayPercent, 50},
}};

constexpr std::array<Preset, 4> kWords = {{
    {row::kEchoDelayMs, 200},
    {row::kEchoLeftPredelayMs, 0},
    {row::kEchoRightDelayMs, 200},
    {row::kEchoRightPredelayMs, 0},
}};

}  // namespace

bool LoadEchoTypeDefaults(ParamImage& image, int type) {
  const CatalogueRow& typeRow = RowOf(row::kEchoType);
  if (type < typeRow.min || type > typeRow.max) return false;
  WriteValue(image, typeRow, type);
  for (const Preset& p : kBytes)
    image.byte(RowOf(p.row).place.index) = static_cast<std::uint8_t>(p.value);
  for (const Preset& p : kWords) WriteValue(image, RowOf(p.row), p.value);
  return true;
}

}  // namespace tavelo
