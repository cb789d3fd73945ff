// tavelo: the control panel.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "ui/app/TaveloApp.h"
#include "ui/app/UserSettings.h"

int main(int argc, char** argv) {
  QElapsedTimer startup;
  startup.start();
  QApplication app(argc, argv);
  QApplication::setOrganizationName(tavelo::kSettingsOrganisation);
  QApplication::setApplicationName(tavelo::kSettingsApplication);

  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  const tavelo::CommandLine line = tavelo::ParseCommandLine(args);
  if (line.help) {
    std::fputs(tavelo::CommandLineUsage(), stdout);
    return 0;
  }
  if (!line.Ok()) {
    std::fprintf(stderr, "tavelo: %s\n%s", line.error.c_str(), tavelo::CommandLineUsage());
    return 2;
  }
  tavelo::ui::TaveloApp panel(line, startup);
  panel.Start();
  return QApplication::exec();
}
