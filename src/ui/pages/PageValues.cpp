#include "ui/pages/PageValues.h"

namespace tavelo {

int SetIndexOf(SetRule rule, const ParamImage& image) {
  const bool sing = ReadValue(image, RowOf(row::kAppMode)) == kModeSing;
  switch (rule) {
    case SetRule::kNone:
      return 0;
    case SetRule::kHandler:
      return ReadValue(image, RowOf(row::kOutputDisplay)) != 0 || sing ? 0 : 1;
    case SetRule::kMode:
      return sing ? 0 : 1;
  }
  return 0;
}

int LoadSetIndex(const ParamImage& image) {
  return ReadValue(image, RowOf(row::kOutputDisplay)) == 0 &&
                 ReadValue(image, RowOf(row::kAppMode)) == kModeDance
             ? 1
             : 0;
}

const CatalogueRow& RowFor(const ParamImage& image, RowId param, int set, bool altWord) {
  const CatalogueRow& r = RowOf(set > 0 ? InSet(param, set) : param);
  if (altWord && r.place.where == Where::kSwitchBit &&
      ReadValue(image, RowOf(row::kOutputDisplay)) != 0)
    return RowOf(AltSwitchBitRow(r.place.index));
  return r;
}

bool Shown(const ParamImage& image, const ShowWhen& show) {
  if (show.selector == kNoRow) return true;
  const int value = ReadValue(image, RowOf(show.selector));
  return value >= 0 && value < 32 && ((show.values >> value) & 1u);
}

BlockRequest RequestOf(const ParamImage& image, RowId param, int set) {
  return RequestFor(image, RowOf(set > 0 ? InSet(param, set) : param));
}

}  // namespace tavelo
