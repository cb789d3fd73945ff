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

// A word the user typed, echoed in a message: escaped as above and, when longer than
// `maxBytes`, cut there with "..." and its full length, so a pasted screenful stays one line.
std::string ShownArgument(std::string_view bytes, std::size_t maxBytes = 64);

// A whole message for a terminal: control bytes (and DEL) become \u00XX; everything else,
// quotes and UTF-8 text included, stays as it is. The last guard before stderr.
std::string TerminalSafe(std::string_view text);

}  // namespace tavelo
