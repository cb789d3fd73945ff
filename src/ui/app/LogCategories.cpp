#include "ui/app/LogCategories.h"

namespace tavelo::ui {

// Debug messages stay off unless a rule turns them on; warnings always show.
Q_LOGGING_CATEGORY(lcLink, "tavelo.link", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWire, "tavelo.wire", QtInfoMsg)
Q_LOGGING_CATEGORY(lcEngine, "tavelo.engine", QtInfoMsg)
Q_LOGGING_CATEGORY(lcFiles, "tavelo.files", QtInfoMsg)

void EnableTrace() {
  // Added to whatever QT_LOGGING_RULES asked for; the environment's rules come later and
  // win, so a user can still silence a category.
  QLoggingCategory::setFilterRules(
      QStringLiteral("tavelo.link.debug=true\n"
                     "tavelo.wire.debug=true"));
}

}  // namespace tavelo::ui
