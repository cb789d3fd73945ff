#pragma once
// How a page row reaches its value through the catalogue: the set a per-set row uses, the
// second switch word of the output pages, the rows shown for a value of another.
#include "core/params/Catalogue.h"
#include "ui/pages/PageTable.h"

namespace tavelo {

// The catalogue row a page row addresses now: set `set` of a per-set value, and for a
// switch-word bit the same bit of the second switch word while image 135 is set, on pages
// that say so (`altWord`).
const CatalogueRow& RowFor(const ParamImage& image, RowId param, int set = 0, bool altWord = false);
// Whether a row with this condition is shown now.
bool Shown(const ParamImage& image, const ShowWhen& show);
// The request that announces a change of `param` (set `set`): its code and argument.
BlockRequest RequestOf(const ParamImage& image, RowId param, int set = 0);

}  // namespace tavelo
