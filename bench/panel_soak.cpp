// Soak run of the panel's engine over its TCP link against tavelo-sim on 127.0.0.1: the
// knobs turn on every tick, a second client runs `tavelo-cli set` every 100 ms and
// `tavelo-cli pull` every 10 s, for a given time (30 minutes unless --minutes says).
// Resident memory and open descriptors of this process and of tavelo-sim are sampled
// after the first minute and at the end; the run fails when either ends more than 5%
// above its first-minute figure, or when the link or a tool run failed on the way.
//
//   panel_soak [--minutes N] [--cli PATH] [--sim PATH]
//
// Not part of ctest. Talks only to 127.0.0.1; writes only into a temporary folder.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/Engine.h"
#include "core/params/Catalogue.h"
#include "platform/TcpTransport.h"
#include "platform/TickDriver.h"

namespace tavelo {
namespace {

constexpr int kSetEveryMs = 100;
constexpr int kPullEveryMs = 10000;
constexpr int kFirstSampleMs = 60000;
constexpr double kAllowedGrowth = 1.05;
constexpr int kQuietBeforeSampleMs = 300;  // tool runs finished and their links closed
constexpr int kToolLimitMs = 20000;
constexpr const char* kOvertaken = "the set changed during the download";

// --- process figures ----------------------------------------------------------------------

struct Figures {
  long rssKb = -1;
  long fds = -1;
};

long RssKb(long pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

long OpenFds(long pid) {
  std::error_code ec;
  long count = 0;
  for (std::filesystem::directory_iterator it("/proc/" + std::to_string(pid) + "/fd", ec), end;
       !ec && it != end; it.increment(ec)) {
    ++count;
  }
  return ec ? -1 : count;
}

Figures Sample(long pid) {
  return {RssKb(pid), OpenFds(pid)};
}

// Within the allowed growth (an unreadable figure never passes).
bool Within(long first, long last) {
  return first > 0 && last > 0 && static_cast<double>(last) <= first * kAllowedGrowth;
}

std::string Percent(long first, long last) {
  if (first <= 0) return "?";
  char text[32];
  std::snprintf(text, sizeof text, "%+.1f%%", 100.0 * (last - first) / static_cast<double>(first));
  return text;
}

// --- the run ------------------------------------------------------------------------------

struct Options {
  double minutes = 30;
  QString cli = TAVELO_CLI_PATH;
  QString sim = TAVELO_SIM_PATH;
};

std::optional<Options> ParseOptions(const QStringList& args) {
  Options options;
  for (int i = 1; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--minutes" && hasValue) {
      bool ok = false;
      options.minutes = args[++i].toDouble(&ok);
      if (!ok || options.minutes < 1.5 || options.minutes > 24 * 60) {
        std::fprintf(stderr, "panel_soak: --minutes needs a number from 1.5 to 1440\n");
        return std::nullopt;
      }
    } else if (args[i] == "--cli" && hasValue) {
      options.cli = args[++i];
    } else if (args[i] == "--sim" && hasValue) {
      options.sim = args[++i];
    } else {
      std::fprintf(stderr, "usage: panel_soak [--minutes N] [--cli PATH] [--sim PATH]\n");
      return std::nullopt;
    }
  }
  return options;
}

// What the engine tells the window, counted.
class Counter : public EngineObserver {
 public:
  void OnStatus(TextId id, const std::string& /*text*/) override {
    if (id == TextId::kStatusFailed || id == TextId::kStatusOpenFailed ||
        id == TextId::kStatusOpenFailed0 || id == TextId::kStatusOpenFailed1) {
      ++failures;
    }
  }
  void OnMessage(const UserMessage& message) override {
    ++messages;
    lastMessage = message.text;
  }
  int failures = 0;
  int messages = 0;
  std::string lastMessage;
};

class Soak : public QObject {
 public:
  explicit Soak(Options options) : options_(std::move(options)) {}
  ~Soak() override {
    sim_.terminate();
    sim_.waitForFinished(3000);
  }

  // Starts tavelo-sim and the engine; false when either cannot.
  bool Start();
  int Verdict() const;

 private:
  void OnTick();
  void TurnKnobs();
  void RunTool(QStringList args, bool pull);
  bool Busy() const { return running_ > 0; }
  void Report(const char* when);
  void Finish();

  Options options_;
  QTemporaryDir dir_;
  QProcess sim_;
  int port_ = 0;
  Counter counter_;
  Engine engine_{counter_};
  TickDriver tick_{[this] { OnTick(); }};
  QElapsedTimer clock_;
  long long lastSet_ = 0, lastPull_ = 0, lastToolEnd_ = 0;
  int running_ = 0;
  long long reportedMinute_ = 0;
  int knobStep_ = 0;
  int connects_ = 0, linkDrops_ = 0, edits_ = 0;
  int sets_ = 0, setFailures_ = 0, pulls_ = 0, pullFailures_ = 0, overtaken_ = 0;
  std::string firstToolError_;
  bool wasConnected_ = false;
  std::optional<std::array<Figures, 2>> first_, last_;  // this process, tavelo-sim
  bool ended_ = false;
};

bool Soak::Start() {
  if (!dir_.isValid()) return false;
  sim_.setProcessChannelMode(QProcess::MergedChannels);
  sim_.start(options_.sim,
             {"--listen", "127.0.0.1", "--port", "0", "--module-port", "0", "--seed", "7"});
  if (!sim_.waitForStarted(5000)) {
    std::fprintf(stderr, "panel_soak: cannot start %s\n", qPrintable(options_.sim));
    return false;
  }
  const QRegularExpression listening("listening on 127\\.0\\.0\\.1:(\\d+)");
  QByteArray said;
  QElapsedTimer wait;
  wait.start();
  while (port_ == 0 && wait.elapsed() < 10000 && sim_.waitForReadyRead(500)) {
    said += sim_.readAll();
    const auto match = listening.match(QString::fromUtf8(said));
    if (match.hasMatch()) port_ = match.captured(1).toInt();
  }
  if (port_ == 0) {
    std::fprintf(stderr, "panel_soak: tavelo-sim did not start listening: %s\n", said.data());
    return false;
  }
  connect(&sim_, &QProcess::readyRead, this, [this] {
    // Connections come and go ten times a second: only the rest is worth a line.
    for (const QByteArray& line : sim_.readAll().split('\n')) {
      if (line.isEmpty() || line.startsWith("connection from") || line == "connection closed")
        continue;
      std::printf("tavelo-sim: %s\n", line.constData());
    }
    std::fflush(stdout);
  });

  engine_.SetTransportFactory([this] {
    auto transport =
        std::make_unique<TcpTransport>(NetEndpoint{"127.0.0.1", static_cast<std::uint16_t>(port_)});
    transport->SetWakeup([this] {
      QMetaObject::invokeMethod(
          this, [this] { engine_.BytesArrived(); }, Qt::QueuedConnection);
    });
    return transport;
  });
  std::printf("soak: %.1f minutes against tavelo-sim (pid %lld) on 127.0.0.1:%d\n",
              options_.minutes, static_cast<long long>(sim_.processId()), port_);
  std::fflush(stdout);
  clock_.start();
  engine_.Post(msg::Connect{});
  tick_.Start();
  return true;
}

void Soak::OnTick() {
  engine_.Tick();
  const long long now = clock_.elapsed();
  const bool connected = engine_.Connected() && engine_.ParamSetRead();
  if (connected && !wasConnected_) ++connects_;
  if (!connected && wasConnected_) ++linkDrops_;
  wasConnected_ = connected;
  if (engine_.State() == ConnState::kIdle) engine_.Post(msg::Connect{});  // back up
  if (connected) TurnKnobs();

  const long long end = static_cast<long long>(options_.minutes * 60000);
  // The figures are taken while no tool runs, and once the last one's link had time to go.
  const bool sampleDue = (!first_ && now >= kFirstSampleMs) || now >= end;
  if (sampleDue) {
    if (!Busy() && now - lastToolEnd_ >= kQuietBeforeSampleMs) {
      const std::array<Figures, 2> figures{Sample(QCoreApplication::applicationPid()),
                                           Sample(sim_.processId())};
      if (!first_) {
        first_ = figures;
        Report("first minute");
      } else {
        last_ = figures;
        Report("end");
        Finish();
      }
    }
    return;  // no new tool run until the sample is taken
  }
  if (!Busy() && now - lastPull_ >= kPullEveryMs) {
    lastPull_ = now;
    RunTool({"pull", dir_.filePath("soak-pull")}, true);
  } else if (!Busy() && now - lastSet_ >= kSetEveryMs) {
    lastSet_ = now;
    RunTool({"set", "reverb.level=" + QString::number(sets_ % 64)}, false);
  }
  if (now / 60000 > reportedMinute_) {
    reportedMinute_ = now / 60000;
    Report("progress");
  }
}

// Three knobs and an EQ band's gain sweep their ranges, one step a tick, as a user dragging
// them would.
void Soak::TurnKnobs() {
  static const std::array<RowId, 3> kKnobs = {row::kEchoLevel, row::kMicVolume, row::kMusicVolume};
  constexpr int kBandGainSpan = 240;  // -12..+12 dB in tenths
  const int which = knobStep_ % 4;
  const int step = knobStep_ / 4;
  ++knobStep_;
  const CatalogueRow& r =
      which < 3 ? RowOf(kKnobs[static_cast<std::size_t>(which)]) : RowOf(BandRow(kEqMusic, 2));
  if (which < 3) {
    WriteValue(engine_.Image(), r, r.min + step % (r.max - r.min + 1));
  } else {
    BandOf(engine_.Image(), r).gain =
        static_cast<std::int16_t>(step % (kBandGainSpan + 1) - kBandGainSpan / 2);
  }
  if (CanCarry(engine_.Image(), r) != Carry::kOk) return;
  const BlockRequest request = RequestFor(engine_.Image(), r);
  engine_.Post(request);
  ++edits_;
}

void Soak::RunTool(QStringList args, bool pull) {
  args << "--host"
       << "127.0.0.1"
       << "--port" << QString::number(port_);
  auto* tool = new QProcess(this);
  ++running_;
  auto* limit = new QTimer(tool);
  limit->setSingleShot(true);
  connect(limit, &QTimer::timeout, tool, [tool] { tool->kill(); });
  connect(tool, &QProcess::finished, this, [this, tool, pull](int code, QProcess::ExitStatus how) {
    --running_;
    lastToolEnd_ = clock_.elapsed();
    const bool ok = how == QProcess::NormalExit && code == 0;
    (pull ? pulls_ : sets_) += 1;
    if (!ok) {
      const std::string said = tool->readAllStandardError().toStdString();
      // The panel edits the set all the time: a tool's read that the edits overtook is
      // refused by the checksum, as it must be. Counted apart; anything else is a failure.
      if (said.find(kOvertaken) != std::string::npos) {
        ++overtaken_;
      } else {
        (pull ? pullFailures_ : setFailures_) += 1;
        if (firstToolError_.empty()) firstToolError_ = (pull ? "pull: " : "set: ") + said;
      }
    }
    tool->deleteLater();
  });
  connect(tool, &QProcess::errorOccurred, this, [this, tool](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    --running_;
    ++setFailures_;
    if (firstToolError_.empty()) firstToolError_ = "cannot start " + options_.cli.toStdString();
    tool->deleteLater();
  });
  tool->start(options_.cli, args);
  limit->start(kToolLimitMs);
}

void Soak::Report(const char* when) {
  const Figures self = Sample(QCoreApplication::applicationPid());
  const Figures sim = Sample(sim_.processId());
  std::printf(
      "soak %6.1f min [%s]: panel rss %ld kB fds %ld | sim rss %ld kB fds %ld | connects %d "
      "drops %d edits %d sets %d (failed %d) pulls %d (failed %d) overtaken reads %d status "
      "failures %d messages %d\n",
      clock_.elapsed() / 60000.0, when, self.rssKb, self.fds, sim.rssKb, sim.fds, connects_,
      linkDrops_, edits_, sets_, setFailures_, pulls_, pullFailures_, overtaken_, counter_.failures,
      counter_.messages);
  std::fflush(stdout);
}

void Soak::Finish() {
  tick_.Stop();
  ended_ = true;
  engine_.Shutdown();
  QCoreApplication::quit();
}

int Soak::Verdict() const {
  if (!ended_ || !first_ || !last_) {
    std::printf("FAIL: the run did not reach its end\n");
    return 1;
  }
  bool ok = true;
  const char* names[2] = {"panel engine", "tavelo-sim"};
  for (std::size_t p = 0; p < 2; ++p) {
    const Figures& a = (*first_)[p];
    const Figures& b = (*last_)[p];
    const bool rssOk = Within(a.rssKb, b.rssKb);
    const bool fdOk = Within(a.fds, b.fds);
    std::printf("%s: rss %ld -> %ld kB (%s) %s; fds %ld -> %ld (%s) %s\n", names[p], a.rssKb,
                b.rssKb, Percent(a.rssKb, b.rssKb).c_str(), rssOk ? "ok" : "OVER 5%", a.fds, b.fds,
                Percent(a.fds, b.fds).c_str(), fdOk ? "ok" : "OVER 5%");
    ok = ok && rssOk && fdOk;
  }
  if (linkDrops_ > 0 || connects_ != 1) {
    std::printf("FAIL: the panel's link went down %d times (%d connects)\n", linkDrops_, connects_);
    ok = false;
  }
  if (setFailures_ > 0 || pullFailures_ > 0 || counter_.failures > 0 || counter_.messages > 0) {
    std::printf(
        "FAIL: %d sets and %d pulls failed, %d failure statuses, %d messages; first: %s%s\n",
        setFailures_, pullFailures_, counter_.failures, counter_.messages, firstToolError_.c_str(),
        counter_.lastMessage.c_str());
    ok = false;
  }
  std::printf("tool reads overtaken by the panel's edits (refused by their checksum): %d of %d\n",
              overtaken_, sets_ + pulls_);
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace tavelo

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const auto options = tavelo::ParseOptions(app.arguments());
  if (!options) return 2;
  tavelo::Soak soak(*options);
  if (!soak.Start()) return 1;
  app.exec();
  return soak.Verdict();
}
