#include "ui/app/LanguageSetting.h"

#include <QSettings>

namespace tavelo {
namespace {

QSettings Store() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                   kSettingsApplication);
}

}  // namespace

bool HasStoredLanguage() {
  return Store().contains(kSettingsLangKey);
}

Lang LoadLanguage() {
  const QVariant value = Store().value(kSettingsLangKey);
  bool ok = false;
  const int flag = value.toInt(&ok);
  if (!value.isValid() || !ok) return Lang::kChinese;
  return LangFromFlag(flag);
}

void StoreLanguage(Lang lang) {
  QSettings store = Store();
  store.setValue(kSettingsLangKey, static_cast<int>(lang));
  store.sync();
}

}  // namespace tavelo
