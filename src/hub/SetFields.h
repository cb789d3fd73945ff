#pragma once
// A room's working set, kept as the 1140 bytes of a parameter file, read by the catalogue's
// names: the fields `tavelo-cli show --json` writes and the differences `diff` finds.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <optional>
#include <vector>

#include "core/presets/FileReport.h"

namespace tavelo::hub {

// The fields of a parameter file; nothing when the bytes are not one.
std::optional<std::vector<FieldEntry>> FieldsOf(const QByteArray& set);

// What changed from `before` to `after`, by name.
struct SetChanges {
  QJsonObject values;  // name -> the value as `show --json` writes it, as it is now
  QJsonArray changes;  // {"name", "from", "to"} as `diff` shows them
  bool Empty() const { return changes.isEmpty(); }
};
SetChanges ChangesBetween(const QByteArray& before, const QByteArray& after);

}  // namespace tavelo::hub
