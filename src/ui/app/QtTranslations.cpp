#include "ui/app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/app/LogCategories.h"

namespace tavelo::ui {
namespace {

// One catalogue for the whole program, owned by the application object.
QTranslator* Catalogue() {
  static QTranslator* catalogue = nullptr;
  if (!catalogue) catalogue = new QTranslator(QCoreApplication::instance());
  return catalogue;
}

}  // namespace

QString QtCatalogueDir() {
  return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool ApplyQtTranslations(Lang lang) {
  if (!QCoreApplication::instance()) return false;
  QTranslator* catalogue = Catalogue();
  if (lang == Lang::kEnglish) {
    QCoreApplication::removeTranslator(catalogue);
    return true;
  }
  if (catalogue->isEmpty() && !catalogue->load(QString(kQtCatalogueZh), QtCatalogueDir())) {
    qCDebug(lcFiles) << "no Qt catalogue" << kQtCatalogueZh << "in" << QtCatalogueDir()
                     << "- Qt's buttons stay English (install qt6-translations-l10n)";
    return false;
  }
  QCoreApplication::installTranslator(catalogue);
  return true;
}

}  // namespace tavelo::ui
