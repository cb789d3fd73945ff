#pragma once
// Qt's own texts (message-box buttons, file dialogs, context menus) in the panel's
// language: Qt's Chinese catalogue from the folder Qt was built to read translations from
// (Debian's qt6-translations-l10n), installed for Chinese and removed for English. Open
// dialogs follow at once: Qt re-labels them when the catalogue changes.
#include <QString>

#include "core/text/Lang.h"

namespace tavelo::ui {

// False when Chinese was asked for and Qt's catalogue is not installed: Qt's texts then
// stay English, the panel's own are unaffected.
bool ApplyQtTranslations(Lang lang);

// Where the catalogue is looked for, and its file name there.
QString QtCatalogueDir();
inline constexpr const char* kQtCatalogueZh = "qtbase_zh_CN";

}  // namespace tavelo::ui
