#pragma once
// The EQ curves of a room's working set for the web panel: every set's bands and its summed
// response at the graph's columns, computed with the same response code the panel's graphs
// and the PDF report draw from, so the browser never does filter maths.
#include <QByteArray>
#include <QJsonObject>
#include <optional>

namespace tavelo::hub {

// Columns of the computed curve: enough for a phone or a desktop plot, small on the wire.
inline constexpr int kCurveColumns = 320;

// {"axes": {...}, "hz": [...], "sets": [{"name", "title": {"en", "zh"}, "bands": [...],
// "db": [...]}]}, or nothing when `parameterFile` is not a valid parameter file.
std::optional<QJsonObject> RoomCurves(const QByteArray& parameterFile);

}  // namespace tavelo::hub
