#include "ui/app/UserSettings.h"

#include <QLocale>
#include <QSettings>
#include <string_view>

#include "ui/app/Navigation.h"

namespace tavelo {
namespace {

constexpr const char* kLinkUsb = "usb";
constexpr const char* kLinkWifi = "wifi";

QSettings Store() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                   kSettingsApplication);
}

void Put(const char* key, const QVariant& value) {
  QSettings store = Store();
  store.setValue(key, value);
  store.sync();
}

// A stored text is used only when it is printable and of a sane length: the file is the
// user's to edit, and these values end up in paths, addresses and log lines.
std::string CleanText(const QVariant& value, int maxLength) {
  if (!value.isValid()) return {};
  const QString text = value.toString().trimmed();
  if (text.isEmpty() || text.size() > maxLength) return {};
  for (const QChar c : text)
    if (!c.isPrint()) return {};
  return text.toStdString();
}

std::optional<int> PageOf(const QVariant& value) {
  if (!value.isValid()) return std::nullopt;
  const std::string name = value.toString().toStdString();
  if (name.empty()) return std::nullopt;
  return nav::IndexOfPageName(name);
}

}  // namespace

StoredSettings UserSettings::Load() const {
  QSettings store = Store();
  StoredSettings out;
  const QVariant lang = store.value(kSettingsLangKey);
  bool ok = false;
  const int flag = lang.toInt(&ok);
  if (lang.isValid() && ok) out.lang = LangFromFlag(flag);

  const QString link = store.value(kSettingsLinkKey).toString();
  if (link == kLinkWifi) out.wifi = true;
  if (link == kLinkUsb) out.wifi = false;

  constexpr int kMaxHost = 253;  // the longest DNS name
  out.host = CleanText(store.value(kSettingsHostKey), kMaxHost);
  const int port = store.value(kSettingsPortKey).toInt(&ok);
  if (ok && port >= 1 && port <= 65535) out.port = port;

  out.page = PageOf(store.value(kSettingsPageKey));

  const QVariant pos = store.value(kSettingsWindowPosKey);
  if (pos.typeId() == QMetaType::QPoint) out.windowPos = pos.toPoint();

  constexpr int kMaxPath = 4096;
  out.presetDir = CleanText(store.value(kSettingsPresetDirKey), kMaxPath);
  return out;
}

bool UserSettings::HasLanguage() const {
  return Store().contains(kSettingsLangKey);
}

void UserSettings::StoreLanguage(Lang lang) {
  Put(kSettingsLangKey, static_cast<int>(lang));
}

void UserSettings::StoreLink(bool wifi) {
  Put(kSettingsLinkKey, QString(wifi ? kLinkWifi : kLinkUsb));
}

void UserSettings::StoreEndpoint(const std::string& host, int port) {
  QSettings store = Store();
  if (host.empty())
    store.remove(kSettingsHostKey);
  else
    store.setValue(kSettingsHostKey, QString::fromStdString(host));
  if (port > 0)
    store.setValue(kSettingsPortKey, port);
  else
    store.remove(kSettingsPortKey);
  store.sync();
}

void UserSettings::StorePage(int navIndex) {
  if (navIndex < 0 || navIndex >= nav::kNavCount) return;
  const nav::NavEntry& entry = nav::kNavTable[static_cast<std::size_t>(navIndex)];
  if (std::string_view(entry.cliName).empty() || entry.hiddenAtStart) return;
  Put(kSettingsPageKey, QString(entry.cliName));
}

void UserSettings::StoreWindowPos(QPoint pos) {
  Put(kSettingsWindowPosKey, pos);
}

void UserSettings::StorePresetDir(const std::string& dir) {
  if (!dir.empty()) Put(kSettingsPresetDirKey, QString::fromStdString(dir));
}

Lang LoadLanguage() {
  return UserSettings().Load().lang.value_or(LanguageOfLocale(QLocale::system()));
}

Lang LanguageOfLocale(const QLocale& locale) {
  return locale.language() == QLocale::Chinese ? Lang::kChinese : Lang::kEnglish;
}

bool HasStoredLanguage() {
  return UserSettings().HasLanguage();
}

void StoreLanguage(Lang lang) {
  UserSettings().StoreLanguage(lang);
}

}  // namespace tavelo
