#include "ui/pages/EchoTypeChoice.h"

#include "core/params/EchoTypeDefaults.h"

namespace tavelo {

EchoTypeOutcome ChooseEchoType(ParamImage& image, int type, bool connected) {
  const CatalogueRow& row = RowOf(row::kEchoType);
  if (type < row.min || type > row.max) return {EchoTypeStep::kRefused, {}};
  if (ReadValue(image, row) == type) return {EchoTypeStep::kUnchanged, {}};
  if (!connected) {
    LoadEchoTypeDefaults(image, type);
    return {EchoTypeStep::kDefaultsLoaded, {}};
  }
  WriteValue(image, row, type);
  return {EchoTypeStep::kAskProcessor, RequestFor(image, row)};
}

}  // namespace tavelo
