// tavelo: the control panel.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "TaveloVersion.h"
#include "ui/app/DesktopIdentity.h"
#include "ui/app/TaveloApp.h"
#include "ui/app/UserSettings.h"

namespace {

tavelo::CommandLine Parse(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return tavelo::ParseCommandLine(args);
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer startup;
  startup.start();
  // --help and --version are answered before the GUI starts, so they work where no display
  // is reachable (a terminal over ssh, a package check).
  const tavelo::CommandLine early = Parse(argc, argv);
  if (early.help) {
    std::fputs(tavelo::CommandLineUsage(), stdout);
    return 0;
  }
  if (early.version) {
    std::printf("tavelo %s\n", tavelo::kTaveloVersion);
    return 0;
  }

  QApplication app(argc, argv);
  QApplication::setOrganizationName(tavelo::kSettingsOrganisation);
  QApplication::setApplicationName(tavelo::kSettingsApplication);
  tavelo::ui::ApplyDesktopIdentity();
  // Qt has taken its own options (-platform, -style ...) out of argv by now.
  const tavelo::CommandLine line = Parse(argc, argv);
  if (!line.Ok()) {
    std::fprintf(stderr, "tavelo: %s\n%s", line.error.c_str(), tavelo::CommandLineUsage());
    return 2;
  }
  tavelo::ui::TaveloApp panel(line, startup);
  panel.Start();
  return QApplication::exec();
}
