// What scripts and pipes rely on: --version without a display, JSON that parses, the link's
// chatter on stderr and gone with --quiet, "-" as standard output for pictures and reports,
// and the panel's status codes said in words.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "e2e_support.h"

namespace tavelo::e2e {
namespace {

QStringList Demo(QStringList args) {
  return args + QStringList{"--link", "demo"};
}

QJsonObject ParseObject(const std::string& text) {
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
  EXPECT_TRUE(doc.isObject()) << text;
  return doc.object();
}

// No display and no platform named: --version and --help must not need one.
class NoDisplay {
 public:
  NoDisplay() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
      saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
      qunsetenv(name);
    }
  }
  ~NoDisplay() {
    for (const auto& v : saved_) {
      if (v.set) qputenv(v.name, v.value);
    }
  }

 private:
  struct Saved {
    const char* name;
    QByteArray value;
    bool set;
  };
  std::vector<Saved> saved_;
};

TEST(OutputHabits, VersionAndHelpWorkWithoutADisplay) {
  const NoDisplay none;
  const QRegularExpression version("^tavelo-(cli|sim) \\d+\\.\\d+(\\.\\d+)?\n$");
  const CliRun cli = RunCli({"--version"});
  EXPECT_EQ(cli.exitCode, 0) << cli.err;
  EXPECT_TRUE(version.match(QString::fromStdString(cli.out)).hasMatch()) << cli.out;
  EXPECT_EQ(cli.out.rfind("tavelo-cli ", 0), 0u);
  const CliRun sim = RunSimToEnd({"--version"});
  EXPECT_EQ(sim.exitCode, 0) << sim.err;
  EXPECT_TRUE(version.match(QString::fromStdString(sim.out)).hasMatch()) << sim.out;
  EXPECT_EQ(sim.out.rfind("tavelo-sim ", 0), 0u);
  // One release, one number.
  EXPECT_EQ(cli.out.substr(cli.out.find(' ')), sim.out.substr(sim.out.find(' ')));
  // The general help names it; help itself needs no display either.
  const CliRun help = RunCli({"help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("tavelo-cli --version"), std::string::npos) << help.out;
  EXPECT_NE(RunSimToEnd({"--help"}).out.find("--version"), std::string::npos);
}

TEST(OutputHabits, StatusAsJsonCarriesWhatTheTextSays) {
  const CliRun text = RunCli(Demo({"status", "--demo-seed", "7"}));
  ASSERT_EQ(text.exitCode, 0) << text.err;
  const CliRun json = RunCli(Demo({"status", "--demo-seed", "7", "--json"}));
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const QJsonObject status = ParseObject(json.out);
  EXPECT_EQ(status["protocol_version"].toInt(), 3);
  const int preset = status["current_preset"].toInt();
  EXPECT_NE(text.out.find("current preset: " + std::to_string(preset) + " \"" +
                          status["preset_name"].toString().toStdString() + "\""),
            std::string::npos)
      << text.out << json.out;
  EXPECT_TRUE(status["lock"].isBool());
  EXPECT_NE(text.out.find("admin mode: " + std::to_string(status["admin_mode"].toInt())),
            std::string::npos);
  const QJsonObject panel = status["front_panel"].toObject();
  const QJsonObject music = panel["music_tone"].toObject();
  ASSERT_TRUE(music["bass_db"].isDouble()) << json.out;
  char line[64];
  std::snprintf(line, sizeof line, "music tone: bass %+.1f dB", music["bass_db"].toDouble());
  EXPECT_NE(text.out.find(line), std::string::npos) << text.out << json.out;
  EXPECT_EQ(panel["indicators"].toArray().size(), 2);
  for (const char* group : {"mic_tone", "echo", "reverb"}) {
    EXPECT_FALSE(panel[group].toObject().isEmpty()) << group << json.out;
  }
}

// Numbers in JSON keep a decimal point whatever the user's locale writes.
TEST(OutputHabits, JsonNumbersIgnoreTheLocale) {
  qputenv("LC_ALL", "de_DE.UTF-8");
  const CliRun json = RunCli(Demo({"status", "--json"}));
  qunsetenv("LC_ALL");
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const QJsonObject panel = ParseObject(json.out)["front_panel"].toObject();
  EXPECT_TRUE(panel["mic_tone"].toObject()["treble_db"].isDouble()) << json.out;
}

TEST(OutputHabits, QuietDropsTheLinkChatterButNotFailures) {
  const CliRun talkative = RunCli(Demo({"status"}));
  ASSERT_EQ(talkative.exitCode, 0);
  EXPECT_NE(talkative.err.find("link: "), std::string::npos) << talkative.err;
  EXPECT_NE(talkative.err.find("status: "), std::string::npos) << talkative.err;
  const CliRun quiet = RunCli(Demo({"status", "--quiet"}));
  ASSERT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out, talkative.out);
  // A failure is still said, in words rather than the panel's status code.
  const CliRun failed =
      RunCli({"status", "--quiet", "--host", "127.0.0.1", "--port", QString::number(UnusedPort())});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_EQ(failed.err.find("link: "), std::string::npos) << failed.err;
  EXPECT_NE(failed.err.find("tavelo-cli status: cannot connect (Open failed: "), std::string::npos)
      << failed.err;
  const CliRun silent = RunCli(Demo({"status", "--demo-fault", "corrupt-reply-checksum"}), 20000);
  EXPECT_EQ(silent.exitCode, 1);
  EXPECT_NE(silent.err.find("status: Open failed: the processor did not answer\n"),
            std::string::npos)
      << silent.err;
  EXPECT_EQ(silent.err.find("Open failed0"), std::string::npos) << silent.err;
}

TEST(OutputHabits, ADashSendsPicturesAndReportsToStandardOutput) {
  TempFolder dir;
  const CliRun svg = RunCli({"curve", "--svg", "-", "peak,1000,1,6"});
  ASSERT_EQ(svg.exitCode, 0) << svg.err;
  EXPECT_NE(svg.out.find("<svg"), std::string::npos);
  EXPECT_NE(svg.out.find("</svg>"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("-")));
  const CliRun png = RunCli({"curve", "--png", "-", "--scale", "2", "peak,1000,1,6"});
  ASSERT_EQ(png.exitCode, 0) << png.err;
  EXPECT_EQ(png.out.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

  const CliRun pulled = RunCli(Demo({"pull", dir.Q("room")}));
  ASSERT_EQ(pulled.exitCode, 0) << pulled.err;
  const CliRun pdf = RunCli({"report", dir.Q("room"), "--out", "-"}, 60000, dir.Q(""));
  ASSERT_EQ(pdf.exitCode, 0) << pdf.err;
  EXPECT_EQ(pdf.out.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.out.find("%%EOF"), std::string::npos);
  EXPECT_NE(pdf.err.find("wrote the report to standard output: "), std::string::npos) << pdf.err;
  EXPECT_FALSE(std::filesystem::exists(dir.Path("-")));
}

}  // namespace
}  // namespace tavelo::e2e
