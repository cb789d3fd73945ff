#include "ui/app/StartChoices.h"

namespace tavelo::ui {

StartChoices ChooseStart(const CommandLine& line, const StoredSettings& stored) {
  StartChoices start;
  start.lang = line.lang.value_or(stored.lang.value_or(Lang::kChinese));
  if (line.demo)
    start.link = LinkChoice::kDemo;
  else if (stored.wifi.value_or(false))
    start.link = LinkChoice::kWifi;
  // The endpoint's halves come as a pair: a host on the line with a stored port would
  // aim at a port the new host may not have.
  if (!line.host.empty() || line.port > 0) {
    start.host = line.host;
    start.port = line.port;
  } else {
    start.host = stored.host;
    start.port = stored.port;
  }
  start.page = line.page.value_or(stored.page.value_or(0));
  start.windowPos = stored.windowPos;
  start.paramDir = !line.paramDir.empty() ? line.paramDir : stored.presetDir;
  return start;
}

void RememberLine(const CommandLine& line, UserSettings& settings) {
  if (!line.host.empty() || line.port > 0) settings.StoreEndpoint(line.host, line.port);
  settings.StorePresetDir(line.paramDir);
}

}  // namespace tavelo::ui
