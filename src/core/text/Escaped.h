#pragma once
// Bytes from elsewhere (a preset file, a filter file, a processor's reply) shown in a message:
// printable ASCII stays as it is, a quote and a backslash get a backslash, and every other
// byte becomes \u00XX, so no control sequence reaches a terminal, a log or a dialog.
#include <string>
#include <string_view>

namespace tavelo {

std::string EscapedBytes(std::string_view bytes);

// The same in double quotes: "name".
std::string QuotedBytes(std::string_view bytes);

}  // namespace tavelo
