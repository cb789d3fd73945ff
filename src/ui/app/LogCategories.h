#pragma once
// The panel's diagnostics, off by default: turned on with QT_LOGGING_RULES (for example
// "tavelo.wire.debug=true") or, for the wire and the link, with `tavelo --trace`.
//   tavelo.link    opening, failing and closing the link
//   tavelo.wire    every frame, in the command-line tool's trace format
//   tavelo.engine  what the engine tells the window (status, messages, downloads)
//   tavelo.files   the preset folder and its files
#include <QLoggingCategory>

namespace tavelo::ui {

Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcWire)
Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)

// What --trace turns on: the link and wire categories' debug output.
void EnableTrace();

}  // namespace tavelo::ui
