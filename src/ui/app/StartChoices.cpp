#include "ui/app/StartChoices.h"

namespace tavelo::ui {

StartChoices ChooseStart(const CommandLine& line, const StoredSettings& stored, Lang systemLang) {
  StartChoices start;
  // A first start speaks the desktop's language, not one the user may not read.
  start.lang = line.lang.value_or(stored.lang.value_or(systemLang));
  const bool endpointGiven = !line.host.empty() || line.port > 0;
  // An address on the command line means the Wi-Fi link, as it does for tavelo-cli.
  if (line.demo)
    start.link = LinkChoice::kDemo;
  else if (endpointGiven || stored.wifi.value_or(false))
    start.link = LinkChoice::kWifi;
  // The endpoint's halves come as a pair: a host on the line with a stored port would
  // aim at a port the new host may not have.
  if (endpointGiven) {
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
