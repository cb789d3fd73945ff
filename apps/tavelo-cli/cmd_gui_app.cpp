#include "cmd_gui_app.h"

namespace tavelo::cli {

namespace {
int gArgc = 1;
char gArgv0[] = "tavelo-cli";
char* gArgv[] = {gArgv0, nullptr};
}  // namespace

GuiApp::GuiApp() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  app_ = std::make_unique<QGuiApplication>(gArgc, gArgv);
}

GuiApp::~GuiApp() = default;

}  // namespace tavelo::cli
