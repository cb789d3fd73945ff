#include "core/edits/RowValues.h"

namespace tavelo {

bool RowDiffers(const ParamImage& a, const ParamImage& b, const CatalogueRow& r) {
  switch (r.kind) {
    case ValueKind::kBand:
      return !(BandOf(a, r) == BandOf(b, r));
    case ValueKind::kText:
      return a.name != b.name;
    default:
      return ReadValue(a, r) != ReadValue(b, r);
  }
}

void CopyRow(const ParamImage& from, ParamImage& to, const CatalogueRow& r) {
  switch (r.kind) {
    case ValueKind::kBand:
      BandOf(to, r) = BandOf(from, r);
      return;
    case ValueKind::kText:
      to.name = from.name;
      return;
    default:
      WriteValue(to, r, ReadValue(from, r));
      return;
  }
}

bool SummaryRow(const CatalogueRow& r) {
  const Where w = r.place.where;
  return w == Where::kSwitchWord || w == Where::kAltSwitchWord || w == Where::kBoostSwitches;
}

std::vector<RowId> ChangedRows(const ParamImage& a, const ParamImage& b) {
  std::vector<RowId> rows;
  for (const CatalogueRow& r : AllRows())
    if (!SummaryRow(r) && RowDiffers(a, b, r)) rows.push_back(r.id);
  return rows;
}

}  // namespace tavelo
