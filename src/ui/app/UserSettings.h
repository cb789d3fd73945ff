#pragma once
// What the panel keeps for its user between runs, in the per-user store (organisation
// "ORVELLE AUDIO", application "Tavelo"): the language, the link choice, the Wi-Fi
// endpoint, the last page, the window position and the preset folder. A machine-wide
// key cannot be written by a normal user, so a choice was silently lost there; the
// per-user store always takes it. Every key is named here and nowhere else.
#include <QLocale>
#include <QPoint>
#include <optional>
#include <string>

#include "core/text/Lang.h"

namespace tavelo {

inline constexpr const char* kSettingsOrganisation = "ORVELLE AUDIO";
inline constexpr const char* kSettingsApplication = "Tavelo";
inline constexpr const char* kSettingsLangKey = "Lang";
inline constexpr const char* kSettingsLinkKey = "Link";
inline constexpr const char* kSettingsHostKey = "WifiHost";
inline constexpr const char* kSettingsPortKey = "WifiPort";
inline constexpr const char* kSettingsPageKey = "Page";
inline constexpr const char* kSettingsWindowPosKey = "WindowPos";
inline constexpr const char* kSettingsPresetDirKey = "PresetDir";

// The stored values that passed their checks; a missing or unusable one is left empty,
// so the program's own default applies.
struct StoredSettings {
  std::optional<Lang> lang;
  std::optional<bool> wifi;  // the link choice: Wi-Fi or USB (the demo is never kept)
  std::string host;          // the last Wi-Fi endpoint given; empty: none
  int port = 0;              // 0: none
  std::optional<int> page;   // navigation index of a page --page could name
  std::optional<QPoint> windowPos;
  std::string presetDir;
};

class UserSettings {
 public:
  StoredSettings Load() const;
  bool HasLanguage() const;

  void StoreLanguage(Lang lang);
  void StoreLink(bool wifi);
  // Both halves together: an empty host or a port of 0 clears that half.
  void StoreEndpoint(const std::string& host, int port);
  // Pages that cannot be named on the command line (the hidden ones) are not kept.
  void StorePage(int navIndex);
  void StoreWindowPos(QPoint pos);
  void StorePresetDir(const std::string& dir);
};

// The language alone, as the window and the start-up read it.
// The stored language, else the desktop's (LanguageOfLocale of the system locale).
Lang LoadLanguage();
// Chinese for a Chinese locale, English for any other: a first start's language.
Lang LanguageOfLocale(const QLocale& locale);
bool HasStoredLanguage();
void StoreLanguage(Lang lang);

}  // namespace tavelo
