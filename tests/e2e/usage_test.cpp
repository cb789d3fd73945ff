// Refusals that never reach a processor: bad words on the command line end with exit 2 and
// a line saying what is wrong, before any link is opened; a bad file ends with exit 1
// before connecting. Help for every command; where relative file names lie.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "core/presets/AtomicFile.h"
#include "e2e_support.h"

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
      {{"recall"}, "recall: N is missing"},
      {{"push", "f", "--slot", "11"}, "--slot"},
      {{"push", "f", "--slot", "1", "--slot=2"}, "push: --slot is given twice"},
      {{"status", "--trace=yes"}, "--trace takes no value"},
      {{"curve", "--svg", "a.svg", "--png", "a.png", "peak,1000,1,0"}, "one picture at a time"},
      {{"curve", "--svg", "a.svg", "--scale", "2", "peak,1000,1,0"}, "--scale goes with --png"},
      {{"curve", "--png", "a.png", "--scale", "5", "peak,1000,1,0"}, "from 1 to 4"},
      {{"report", "f"}, "report: --out PDF is missing"},
      {{"report", "f", "--out", "r.pdf", "--lang", "de"}, "--lang must be en or zh, not 'de'"},
      {{"eq-export", "lobby_eq"}, "no equaliser set \"lobby_eq\" (SET: "},
      {{"pull", "f", "--name", "--link", "demo"}, "--name needs a value"},
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
      {{"pull", "a:b"}, "'a:b' is not a usable file name: it may not hold / \\ :"},
      {{"pull", "sets/"}, "'sets/' names a folder, not a file"},
      {{"set"}, "set: NAME=VALUE is missing"},
      {{"set", "volume=3"}, "unknown key"},
      {{"set", "music.volume=85"}, "0 to 84"},
      {{"set", "mic.volume=-1"}, "0 to 80"},
      {{"set", "mode=karaoke"}, "auto|sing|dance"},
      {{"set", "mute=maybe"}, "off|on"},
      {{"set", "eq.main.8=peak,1000,1,0"}, "bands 1 to 7"},
      {{"set", "eq.mic1.0=peak,1000,1,0"}, "bands 1 to 10"},
      {{"set", "eq.lobby.1=peak,1000,1,0"}, "unknown equaliser"},
      {{"set", "eq.music.1=peak,10,1,0"}, "eq.music.1"},
      {{"wifi-ap", "net"}, "wifi-ap: PASSWORD is missing"},
      {{"wifi-ap", "", "password"}, "Name is empty"},
      {{"wifi-ap", std::string(33, 'n').c_str(), "password"}, "Name is too long"},
      {{"wifi-ap", "net", "seven77"}, "Password length at least 8 bytes"},
      {{"wifi-ap", "net", longPassword.c_str()}, "Password is too long"},
      {{"wifi-sta", "net", longPassword.c_str()}, "Password is too long"},
      {{"wifi-sta", "net", "pw", "--timeout", "3601"}, "more than 0 and up to 3600, not '3601'"},
  };
  for (const auto& c : cases) {
    // The demo link (or an unused port) guarantees nothing real is ever reached.
    QStringList args = c.args;
    if (args[0].startsWith("wifi-")) {
      args += QStringList{"--host", "127.0.0.1", "--module-port", QString::number(UnusedPort())};
    } else if (!args.contains("--link") && !QStringList{"curve", "report"}.contains(args[0])) {
      args += QStringList{"--link", "demo"};
    }
    const CliRun run = RunCli(args, 10000);
    EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString() << "\n" << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << args.join(' ').toStdString() << "\n"
                                                       << run.err;
    EXPECT_EQ(run.err.find("Connecting"), std::string::npos) << "nothing was opened";
  }
}

// No hidden overall limit: the help says what --timeout does when it is not given, and the
// range it takes, for the processor and for the module.
// Words typed on the command line come back escaped and shortened: a control sequence pasted
// by mistake must not reach the terminal, and a screenful stays one line.
TEST(Usage, EchoedWordsAreEscapedAndShortened) {
  const QString escape = QString::fromLatin1("x\x1b[2J\x07");
  const QString huge(100000, QChar('9'));
  const std::vector<QStringList> lines = {
      {escape},
      {"help", escape},
      {"set", escape + "=1", "--link", "demo"},
      {"set", "mute=" + escape, "--link", "demo"},
      {"status", "--link", escape},
      {"status", "--timeout", huge},
      {"status", "--host", "127.0.0.1", "--port", huge},
      {"curve", "--width", huge, "peak,1000,1,0"},
      {"eq-export", "music_eq", "--out", "/nonexistent/" + escape, "--link", "demo"},
  };
  for (const QStringList& args : lines) {
    const CliRun run = RunCli(args, 10000);
    const std::string shown = args.join(' ').left(40).toStdString();
    EXPECT_NE(run.exitCode, 0) << shown;
    EXPECT_LT(run.err.size(), 2000u) << shown;
    EXPECT_TRUE(std::none_of(run.err.begin(), run.err.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x20 && c != '\n';
    })) << run.err;
  }
}

TEST(Usage, HelpStatesTheTimeoutsDefaultAndRange) {
  const CliRun help = RunCli({"help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* says :
       {"give up after S seconds (more than 0, up to 604800, a week). Without it",
        "there is no overall limit; a processor that stops answering fails at its",
        "time allowed to reach the module and for each of its answers (more than",
        "0, up to 3600; default 4)"}) {
    EXPECT_NE(help.out.find(says), std::string::npos) << says << "\n" << help.out;
  }
}

// Every command, read from the general help so a new one cannot be missed: its help comes
// from `help NAME`, `NAME --help` and `NAME -h` alike with exit 0; an unknown option, an
// option of another command and a missing or extra word are refused with exit 2 and a
// first line "tavelo-cli NAME: " saying what was wrong.
TEST(Usage, EveryCommandHasItsHelpAndRefusesWhatItDoesNotTake) {
  struct Row {
    QString name;
    QStringList short_;     // words that leave an operand out (or add one too many)
    std::string shortSays;  // what the refusal says
    QStringList foreign;    // an option the command does not use
    std::string foreignSays;
  };
  const std::string notUsed = " is not used by ";
  const Row rows[] = {
      {"curve", {}, "TYPE,FREQ,Q,GAIN[,SLOPE] is missing", {"--link", "demo"}, "--link"},
      {"diff", {"a"}, "B is missing", {"--timeout", "3"}, "--timeout"},
      {"eq-export", {}, "SET is missing", {"--slot", "1"}, "push"},
      {"eq-import", {"music_eq"}, "FILE is missing", {"--factory"}, "mass-push"},
      {"eq-fit", {"music_eq"}, "MEASUREMENT is missing", {"--slot", "1"}, "push"},
      {"fleet pull", {"inv"}, "DIR is missing", {"--slot", "1"}, "fleet push"},
      {"fleet push", {"inv"}, "FILE_OR_DIR is missing", {"--link", "demo"}, "inventory line"},
      {"fleet status", {}, "INVENTORY is missing", {"--trace"}, "inventory line"},
      {"fleet verify", {"inv", "a", "b"}, "unexpected argument 'b'", {"--slot", "1"}, "fleet push"},
      {"show", {}, "FILE is missing", {"--lock-key", "1234"}, "--lock-key"},
      {"mass-push",
       {},
       "FILE is missing",
       {"--module-port", "5"},
       "the processor's port is --port"},
      {"monitor", {"extra"}, "unexpected argument 'extra'", {"--param-dir", "d"}, "--param-dir"},
      {"pull", {}, "FILE is missing", {"--slot", "1"}, "--slot"},
      {"push", {}, "FILE is missing", {"--boost", "b"}, "--boost"},
      {"recall", {}, "N is missing", {"--yes"}, "--yes"},
      {"report", {}, "FILE is missing", {"--link", "demo"}, "--link"},
      {"reset-all", {"1"}, "unexpected argument '1'", {"--factory"}, "--factory"},
      {"restore-factory", {"1"}, "unexpected argument '1'", {"--width", "60"}, "--width"},
      {"set", {}, "NAME=VALUE is missing", {"--param-dir", "d"}, "--param-dir"},
      {"status", {"extra"}, "unexpected argument 'extra'", {"--slot", "1"}, "--slot"},
      {"wifi-ap", {"net"}, "PASSWORD is missing", {"--port", "17400"}, "--module-port"},
      {"wifi-restore", {"now"}, "unexpected argument 'now'", {"--link", "demo"}, "--link"},
      {"wifi-sta", {}, "NAME is missing", {"--lock-key", "1234"}, "--lock-key"},
  };

  const CliRun general = RunCli({"help"});
  ASSERT_EQ(general.exitCode, 0);
  std::vector<std::string> listed;
  const auto commandsAt = general.out.find("\ncommands:\n");
  ASSERT_NE(commandsAt, std::string::npos) << general.out;
  std::istringstream lines(general.out.substr(commandsAt + 11));
  for (std::string line; std::getline(lines, line) && !line.empty();) {
    if (line.rfind("  ", 0) != 0 || line[2] == ' ') continue;
    // The name is the leading lower-case words: "fleet status INVENTORY ..." is "fleet status".
    std::istringstream words(line);
    std::string name;
    const auto isName = [](const std::string& word) {
      return word[0] != '-' &&
             word.find_first_not_of("abcdefghijklmnopqrstuvwxyz-") == std::string::npos;
    };
    for (std::string word; words >> word && isName(word);) {
      name += (name.empty() ? "" : " ") + word;
    }
    listed.push_back(name);
  }
  ASSERT_EQ(listed.size(), std::size(rows)) << general.out;
  const int modulePort = UnusedPort();

  for (const Row& row : rows) {
    const std::string name = row.name.toStdString();
    const QStringList command = row.name.split(' ');
    EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end()) << name;
    const std::string prefix = "tavelo-cli " + name + ": ";
    // Should anything get past the refusal, it reaches only a virtual processor or an unused
    // local port, never a device or a network.
    QStringList safe;
    if (name.rfind("wifi-", 0) == 0) {
      safe = {"--host", "127.0.0.1", "--module-port", QString::number(modulePort)};
    } else if (RunCli(QStringList{"help"} + command).out.find("[link options]") !=
               std::string::npos) {
      safe = {"--link", "demo"};
    }

    const CliRun help = RunCli(QStringList{"help"} + command);
    EXPECT_EQ(help.exitCode, 0) << name;
    EXPECT_EQ(help.out.rfind("usage: tavelo-cli " + name, 0), 0u) << help.out;
    for (const char* ask : {"--help", "-h"}) {
      const CliRun asked = RunCli(command + row.short_ + QStringList{ask});
      EXPECT_EQ(asked.exitCode, 0) << name << " " << ask;
      EXPECT_EQ(asked.out, help.out) << name << " " << ask;
    }

    const CliRun bogus = RunCli(command + QStringList{"--no-such-option"} + safe);
    EXPECT_EQ(bogus.exitCode, 2) << name;
    EXPECT_EQ(bogus.err.rfind(prefix + "unknown option '--no-such-option'", 0), 0u) << bogus.err;

    const CliRun foreign = RunCli(command + row.foreign + safe);
    EXPECT_EQ(foreign.exitCode, 2) << name;
    EXPECT_EQ(foreign.err.rfind(prefix + row.foreign[0].toStdString() + notUsed + name, 0), 0u)
        << foreign.err;
    EXPECT_NE(foreign.err.find(row.foreignSays), std::string::npos) << foreign.err;

    const CliRun missing = RunCli(command + row.short_ + safe);
    EXPECT_EQ(missing.exitCode, 2) << name;
    EXPECT_EQ(missing.err.rfind(prefix + row.shortSays, 0), 0u) << missing.err;
    // The refusal names the usage and where the whole help is.
    EXPECT_NE(missing.err.find("\nusage: tavelo-cli " + name), std::string::npos) << missing.err;
  }
  EXPECT_EQ(RunCli({"help", "help"}).out, general.out);
  // A family's help lists its commands; without one of them, the command line is refused.
  const CliRun fleet = RunCli({"fleet", "--help"});
  EXPECT_EQ(fleet.exitCode, 0);
  EXPECT_EQ(fleet.out, RunCli({"help", "fleet"}).out);
  EXPECT_NE(fleet.out.find("INVENTORY is a text file"), std::string::npos) << fleet.out;
  EXPECT_EQ(RunCli({"fleet", "stat"}).exitCode, 2);
  EXPECT_EQ(RunCli({"help", "nosuch"}).exitCode, 2);
  EXPECT_EQ(RunCli({"nosuch"}).exitCode, 2);
}

// A file the system cannot read is reported with the system's reason, before any link.
TEST(Usage, AnUnreadableFileGivesTheSystemsReason) {
  TempFolder dir;
  const QString missing = dir.Q("missing");
  const std::vector<std::uint8_t> some(10, 1);
  ASSERT_TRUE(WriteFileAtomically(dir.Path("plain"), some.data(), some.size()).ok);
  const std::string noFile = "No such file or directory";
  const struct {
    QStringList args;
    std::string says;
  } cases[] = {
      {{"show", missing}, noFile},
      {{"diff", missing, missing}, noFile},
      {{"push", missing, "--link", "demo"}, noFile},
      {{"pull", dir.Q("no-folder/p"), "--link", "demo"}, noFile},
      {{"show", dir.Q("")}, "Is a directory"},
      {{"mass-push", dir.Q(""), "--link", "demo"}, "Is a directory"},
      {{"pull", dir.Q("plain/p"), "--link", "demo"}, "Not a directory"},
  };
  for (const auto& [args, says] : cases) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, 1) << args.join(' ').toStdString();
    EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tavelo-cli " + args[0].toStdString() + ": "), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("Connecting"), std::string::npos) << run.err;
  }
  // A save does not make up folders the user did not ask for.
  EXPECT_FALSE(std::filesystem::exists(dir.Path("no-folder")));
}

// FILE arguments are paths as given: relative ones lie in the working folder, or in
// --param-dir (itself relative to the working folder) when that is given.
TEST(Usage, RelativeFilesLieInTheWorkingFolder) {
  TempFolder dir;
  const QString cwd = dir.Q("");
  const CliRun pulled = RunCli({"pull", "room1", "--link", "demo", "--demo-seed", "5"}, 30000, cwd);
  ASSERT_EQ(pulled.exitCode, 0) << pulled.err;
  ReadParamFileOrFail(dir.Path("room1"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("param_dir")));
  EXPECT_EQ(RunCli({"show", "room1"}, 30000, cwd).exitCode, 0);
  const CliRun pushed = RunCli({"push", "room1", "--link", "demo"}, 30000, cwd);
  EXPECT_EQ(pushed.exitCode, 0) << pushed.err;
  EXPECT_NE(pushed.out.find(dir.Path("room1").string()), std::string::npos) << pushed.out;

  std::filesystem::create_directory(dir.Path("sets"));
  const CliRun inDir = RunCli(
      {"pull", "room2", "--param-dir", "sets", "--link", "demo", "--boost", "b2"}, 30000, cwd);
  ASSERT_EQ(inDir.exitCode, 0) << inDir.err;
  ReadParamFileOrFail(dir.Path("sets") / "room2");
  EXPECT_TRUE(std::filesystem::exists(dir.Path("sets") / "b2"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("room2")));
  // An absolute path is taken as it is, --param-dir or not.
  const CliRun absolute = RunCli(
      {"mass-push", "room2", dir.Q("room1"), "--param-dir", "sets", "--link", "demo"}, 30000, cwd);
  EXPECT_EQ(absolute.exitCode, 0) << absolute.err;

  // The helps say the same.
  EXPECT_NE(RunCli({"help", "pull"}).out.find("FILE arguments are paths as given"),
            std::string::npos);
  EXPECT_NE(RunSimToEnd({"--help"}).out.find("(a path as given"), std::string::npos);
}

// tavelo-sim: a fault with a bad argument is told apart from an unknown fault, and both
// list the faults there are; a preset file it cannot read gives the system's reason.
TEST(Usage, SimRefusesBadFaultsSayingWhich) {
  const CliRun badArg = RunSimToEnd({"--fault", "drop-reply=abc"});
  EXPECT_EQ(badArg.exitCode, 2);
  EXPECT_NE(badArg.err.find("bad argument 'abc' for fault drop-reply"), std::string::npos)
      << badArg.err;
  const CliRun noCount = RunSimToEnd({"--fault", "unplug-after"});
  EXPECT_EQ(noCount.exitCode, 2);
  EXPECT_NE(noCount.err.find("unplug-after needs a count"), std::string::npos) << noCount.err;
  const CliRun unknown = RunSimToEnd({"--fault", "meltdown"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("unknown fault 'meltdown'"), std::string::npos) << unknown.err;
  for (const CliRun* run : {&badArg, &noCount, &unknown}) {
    EXPECT_NE(run->err.find("wrong-version, wrong-signature"), std::string::npos) << run->err;
  }
  const CliRun preset = RunSimToEnd({"--preset", "/nonexistent-tavelo-preset"});
  EXPECT_EQ(preset.exitCode, 2);
  EXPECT_NE(preset.err.find("No such file or directory"), std::string::npos) << preset.err;
  EXPECT_EQ(RunSimToEnd({"--help"}).exitCode, 0);
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
    EXPECT_EQ(run.err.find("Connecting"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" Load fail"), std::string::npos) << run.err;
  }
  QStringList eleven = {"mass-push", "--link", "demo"};
  for (int i = 0; i < 11; ++i) eleven << dir.Q("short");
  EXPECT_EQ(RunCli(eleven).exitCode, 2);
}

}  // namespace
}  // namespace tavelo::e2e
