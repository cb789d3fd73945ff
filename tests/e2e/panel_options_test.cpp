// The panel's --help and --version answer on a machine without a display: they are read
// before the GUI starts.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "e2e_support.h"

namespace tavelo::e2e {
namespace {

TEST(PanelOptions, HelpAndVersionNeedNoDisplay) {
  App();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  const struct {
    const char* option;
    const char* says;
  } cases[] = {{"--help", "usage: tavelo"}, {"--version", "tavelo 0."}};
  for (const auto& c : cases) {
    QProcess panel;
    panel.setProcessEnvironment(env);
    panel.start(QStringLiteral(TAVELO_PANEL_PATH), {c.option});
    ASSERT_TRUE(panel.waitForFinished(10000)) << c.option;
    EXPECT_EQ(panel.exitStatus(), QProcess::NormalExit) << c.option;
    EXPECT_EQ(panel.exitCode(), 0)
        << c.option << ": " << panel.readAllStandardError().toStdString();
    EXPECT_TRUE(panel.readAllStandardOutput().startsWith(c.says)) << c.option;
  }
}

TEST(PanelOptions, TheOtherProgramsTellTheirVersionToo) {
  const CliRun cli = RunCli({"--version"});
  EXPECT_EQ(cli.exitCode, 0) << cli.err;
  EXPECT_EQ(cli.out.rfind("tavelo-cli 0.", 0), 0u) << cli.out;
  const CliRun sim = RunSimToEnd({"--version"});
  EXPECT_EQ(sim.exitCode, 0) << sim.err;
  EXPECT_EQ(sim.out.rfind("tavelo-sim 0.", 0), 0u) << sim.out;
}

}  // namespace
}  // namespace tavelo::e2e
