// Refusals that never reach a processor: bad words on the command line end with exit 2 and
// a line saying what is wrong, before any link is opened; a bad file ends with exit 1
// before connecting.
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "presets/AtomicFile.h"

namespace tavelo::e2e {
namespace {

TEST(Usage, BadCommandLinesAreRefusedWithExitTwo) {
  struct Case {
    QStringList args;
    const char* says;
  };
  const std::string longPassword(57, 'p');
  const Case cases[] = {
      {{"reset-all"}, "Reset all ?"},
      {{"restore-factory"}, "Restore to factory settings?"},
      {{"wifi-restore"}, "Confirm restore Wifi?"},
      {{"recall", "0"}, "1 to 10"},
      {{"recall", "11"}, "1 to 10"},
      {{"recall"}, "missing argument"},
      {{"push", "f", "--slot", "11"}, "--slot"},
      {{"status", "--link", "serial"}, "--link"},
      {{"status", "--port", "70000"}, "--port"},
      {{"status", "--lock-key", "12a4"}, "--lock-key"},
      {{"status", "--lock-key", "12345"}, "--lock-key"},
      {{"status", "--timeout", "-1"}, "--timeout"},
      {{"status", "--timeout", "0"}, "more than 0 and up to 604800"},
      {{"status", "--bogus"}, "unknown option"},
      {{"status", "extra"}, "unexpected argument"},
      {{"status", "--link", "usb", "--host", "127.0.0.1"}, "--link wifi"},
      {{"pull", "f", "--name", "seventeen chars.."}, "16 characters"},
      {{"set"}, "missing argument"},
      {{"set", "volume=3"}, "unknown key"},
      {{"set", "music.volume=85"}, "0 to 84"},
      {{"set", "mic.volume=-1"}, "0 to 80"},
      {{"set", "mode=karaoke"}, "auto|sing|dance"},
      {{"set", "mute=maybe"}, "off|on"},
      {{"set", "eq.main.8=peak,1000,1,0"}, "bands 1 to 7"},
      {{"set", "eq.mic1.0=peak,1000,1,0"}, "bands 1 to 10"},
      {{"set", "eq.lobby.1=peak,1000,1,0"}, "unknown equaliser"},
      {{"set", "eq.music.1=peak,10,1,0"}, "eq.music.1"},
      {{"wifi-ap", "net"}, "missing argument"},
      {{"wifi-ap", "", "password"}, "Name is empty"},
      {{"wifi-ap", std::string(33, 'n').c_str(), "password"}, "Name is too long"},
      {{"wifi-ap", "net", "seven77"}, "Password length at least 8 bytes"},
      {{"wifi-ap", "net", longPassword.c_str()}, "Password is too long"},
      {{"wifi-sta", "net", longPassword.c_str()}, "Password is too long"},
  };
  for (const auto& c : cases) {
    // The demo link (or an unused port) guarantees nothing real is ever reached.
    QStringList args = c.args;
    if (args[0].startsWith("wifi-")) {
      args += QStringList{"--host", "127.0.0.1", "--module-port", QString::number(UnusedPort())};
    } else if (!args.contains("--link")) {
      args += QStringList{"--link", "demo"};
    }
    const CliRun run = RunCli(args, 10000);
    EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString() << "\n" << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << args.join(' ').toStdString() << "\n"
                                                       << run.err;
    EXPECT_EQ(run.err.find("Connectting"), std::string::npos) << "nothing was opened";
  }
}

// No hidden overall limit: the help says what --timeout does when it is not given.
TEST(Usage, HelpStatesTheTimeoutsDefaultAndRange) {
  const CliRun help = RunCli({"help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--timeout S: give up after S seconds (more than 0, up to 604800); "
                          "default: no overall\n  limit"),
            std::string::npos)
      << help.out;
  EXPECT_NE(help.out.find("--timeout S: time allowed to reach the module (more than 0, up to "
                          "3600; default 4)"),
            std::string::npos)
      << help.out;
}

TEST(Usage, ABadFileIsRefusedBeforeConnecting) {
  TempFolder dir;
  const std::vector<std::uint8_t> shortFile(1139, 0);
  ASSERT_TRUE(WriteFileAtomically(dir.Path("short"), shortFile.data(), shortFile.size()).ok);
  for (const QStringList& args :
       {QStringList{"push", dir.Q("short")}, QStringList{"push", dir.Q("missing")},
        QStringList{"mass-push", dir.Q("short")}}) {
    const CliRun run = RunCli(args + QStringList{"--link", "demo"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.err.find("Connectting"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" Load fail"), std::string::npos) << run.err;
  }
  QStringList eleven = {"mass-push", "--link", "demo"};
  for (int i = 0; i < 11; ++i) eleven << dir.Q("short");
  EXPECT_EQ(RunCli(eleven).exitCode, 2);
}

}  // namespace
}  // namespace tavelo::e2e
