#pragma once
// How the desktop knows the panel: the desktop entry's id (so docks and task bars tie the
// window to its launcher) and the window icon, the installed theme icon or the built-in one.
#include <QString>

namespace tavelo::ui {

// The id the desktop entry is installed under ("org.example.tavelo").
QString DesktopId();

// Sets the application's desktop file name and window icon; after QApplication exists.
void ApplyDesktopIdentity();

}  // namespace tavelo::ui
