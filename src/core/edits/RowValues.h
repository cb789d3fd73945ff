#pragma once
// Catalogue rows compared and copied between two parameter images, whatever their kind
// (a number, a level, a bit, a band, the preset name). A/B switching and undo both work on
// rows: what differs, and the value one image holds written into another.
#include <vector>

#include "core/params/Catalogue.h"

namespace tavelo {

// Whether the row's value differs between the two images.
bool RowDiffers(const ParamImage& a, const ParamImage& b, const CatalogueRow& r);

// Writes the value `from` holds for the row into `to`, leaving the rest of `to` alone.
void CopyRow(const ParamImage& from, ParamImage& to, const CatalogueRow& r);

// Whole switch words and the boost switch byte: every one of their bits is a row of its
// own, so listing them too would name one change twice.
bool SummaryRow(const CatalogueRow& r);

// Every row (summary rows aside) whose value differs, in catalogue order.
std::vector<RowId> ChangedRows(const ParamImage& a, const ParamImage& b);

}  // namespace tavelo
