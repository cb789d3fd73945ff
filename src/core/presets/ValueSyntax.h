#pragma once
// The text of one catalogue value as `tavelo-cli set` reads and writes it: whole numbers in
// the row's range (with an optional unit: "1000 Hz", "20 ms", "+3.0 dB" for tone values),
// on|off, a choice or slope by name, switch words in hexadecimal, and show's "75 on" for a
// level with its on bit.
#include <optional>
#include <string>
#include <string_view>

#include "core/params/Catalogue.h"

namespace tavelo {

// What a row takes: "0 to 84", "auto|sing|dance", "TYPE,FREQ,Q,GAIN".
std::string RangeText(const CatalogueRow& r);

// The largest stored value of a scalar row (a switch word's 32 bits included).
long long RowMaximum(const CatalogueRow& r);

// A scalar value for `r`, within its range; a level's on bit, when given, goes to `on`.
std::optional<long long> ParseRowValue(const CatalogueRow& r, std::string_view text,
                                       std::optional<int>& on);

// The value the image holds for `r`, in the syntax ParseRowValue (or ParseBand) reads.
std::string RowValueText(const CatalogueRow& r, const ParamImage& image);

// "on", "1", "true" / "off", "0", "false", case ignored.
std::optional<bool> ParseOnOff(std::string_view text);

// A whole decimal number, the entire text.
std::optional<long long> ParseWhole(std::string_view text);

}  // namespace tavelo
