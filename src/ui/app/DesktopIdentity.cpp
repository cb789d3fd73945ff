#include "ui/app/DesktopIdentity.h"

#include <QApplication>
#include <QIcon>

namespace tavelo::ui {

QString DesktopId() {
  return QStringLiteral(TAVELO_APP_ID);
}

void ApplyDesktopIdentity() {
  QGuiApplication::setDesktopFileName(DesktopId());
  QApplication::setWindowIcon(QIcon::fromTheme(DesktopId(), QIcon(":/tavelo.svg")));
}

}  // namespace tavelo::ui
