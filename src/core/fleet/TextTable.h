#pragma once
// Aligned text tables for the fleet commands' reports.
#include <string>
#include <vector>

namespace tavelo {

// Each column as wide as its widest cell, two spaces between columns. The last cell of a
// row is not padded and does not widen its column: a shorter row's long last cell (a
// reason) runs on past the columns it covers. No line ends in spaces.
// Widths count bytes: cells are expected to be escaped ASCII.
std::string FormatTable(const std::vector<std::vector<std::string>>& rows);

}  // namespace tavelo
