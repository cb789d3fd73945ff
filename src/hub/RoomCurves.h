#pragma once
// The EQ curves of a room's working set for the web panel: every set's bands and its summed
// response at the graph's columns, computed with the same response code the panel's graphs
// and the PDF report draw from, so the browser never does filter maths.
#include <QByteArray>
#include <QJsonObject>
#include <optional>

namespace tavelo::hub {

// The curve is computed on a graph as wide as the panel's usual one (a narrower graph starts
// its first column far above 10 Hz) and every third column is sent: enough points for a phone
// or a desktop plot, small on the wire.
inline constexpr int kCurveGraphWidth = 1000;
inline constexpr int kCurveColumnStride = 3;

// {"axes": {...}, "hz": [...], "sets": [{"name", "title": {"en", "zh"}, "bands": [...],
// "db": [...]}]}, or nothing when `parameterFile` is not a valid parameter file.
std::optional<QJsonObject> RoomCurves(const QByteArray& parameterFile);

}  // namespace tavelo::hub
