#pragma once
// What the panel starts with: the command line first, then what the user's settings kept,
// then the program's defaults. Plain, so the order can be checked without a window.
#include <QPoint>
#include <optional>
#include <string>

#include "core/text/Lang.h"
#include "ui/app/CommandLine.h"
#include "ui/app/TopBar.h"
#include "ui/app/UserSettings.h"

namespace tavelo::ui {

struct StartChoices {
  Lang lang = Lang::kChinese;
  LinkChoice link = LinkChoice::kUsb;
  std::string host;  // empty: the adapter probe chooses
  int port = 0;      // 0: the probe's port
  int page = 0;      // navigation index
  std::optional<QPoint> windowPos;
  std::string paramDir;  // empty: the engine's default folder
};

// `systemLang`: the desktop's language (LanguageOfLocale), for a first start with no
// stored choice.
StartChoices ChooseStart(const CommandLine& line, const StoredSettings& stored, Lang systemLang);

// The values of this run worth keeping for the next one: the endpoint and the preset
// folder typed on the command line (the language, page and link are kept as they change).
void RememberLine(const CommandLine& line, UserSettings& settings);

}  // namespace tavelo::ui
