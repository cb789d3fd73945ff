#pragma once
// A room's values as the panel's pages show them, for the web panel: page by page, each value
// with its catalogue name, its caption and its value text with the unit, in English and
// Chinese.
#include <QByteArray>
#include <QJsonArray>
#include <optional>

namespace tavelo::hub {

// [{"title": {"en", "zh"}, "rows": [{"name", "caption": {"en", "zh"}, "value": {"en", "zh"}}]}],
// or nothing when `parameterFile` is not a valid parameter file.
std::optional<QJsonArray> RoomSheet(const QByteArray& parameterFile);

}  // namespace tavelo::hub
