#include "e2e_support.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <sstream>

#include "core/presets/PresetFolder.h"

namespace tavelo::e2e {

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "tavelo_tests_e2e";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  return *app;
}

namespace {

constexpr int kSimStartLimitMs = 15000;
constexpr int kStopLimitMs = 5000;

std::vector<std::uint8_t> ParseHex(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  std::istringstream in(text);
  std::string pair;
  while (in >> pair) bytes.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
  return bytes;
}

}  // namespace

namespace {

// The address sanitizer reserves terabytes of shadow memory at start, so a program built with
// it cannot run under an address-space limit; there the limit is left out and the test still
// checks that the command ends in time.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressLimitWorks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressLimitWorks = false;
#else
constexpr bool kAddressLimitWorks = true;
#endif
#else
constexpr bool kAddressLimitWorks = true;
#endif

CliRun RunProgram(const QString& program, const QStringList& args, int limitMs,
                  const QString& workingDir, std::size_t addressSpaceBytes = 0) {
  App();
  CliRun run;
  QProcess process;
  if (addressSpaceBytes > 0 && kAddressLimitWorks) {
    process.setChildProcessModifier([addressSpaceBytes] {
      const rlimit limit{addressSpaceBytes, addressSpaceBytes};
      setrlimit(RLIMIT_AS, &limit);
    });
  }
  if (!workingDir.isEmpty()) process.setWorkingDirectory(workingDir);
  QElapsedTimer clock;
  clock.start();
  process.start(program, args);
  if (!process.waitForStarted(limitMs)) return run;
  // Events keep flowing meanwhile, so a test's own servers answer the command. When
  // processEvents() is the one that sees the exit, waitForFinished() returns false from then
  // on, so the state is checked as well; otherwise a command that ended waits out the limit.
  QDeadlineTimer deadline(limitMs);
  while (!(run.finished = process.waitForFinished(5) || process.state() == QProcess::NotRunning) &&
         !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  if (!run.finished) {
    process.kill();
    process.waitForFinished(kStopLimitMs);
  }
  run.elapsedMs = clock.elapsed();
  run.exitCode =
      run.finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput().toStdString();
  run.err = process.readAllStandardError().toStdString();
  return run;
}

}  // namespace

CliRun RunCli(const QStringList& args, int limitMs, const QString& workingDir) {
  return RunProgram(QStringLiteral(TAVELO_CLI_PATH), args, limitMs, workingDir);
}

CliRun RunCliWithin(const QStringList& args, std::size_t addressSpaceBytes, int limitMs) {
  return RunProgram(QStringLiteral(TAVELO_CLI_PATH), args, limitMs, {}, addressSpaceBytes);
}

CliRun RunSimToEnd(const QStringList& args, int limitMs) {
  return RunProgram(QStringLiteral(TAVELO_SIM_PATH), args, limitMs, {});
}

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) == 0) lines.push_back(line.substr(prefix.size()));
  }
  return lines;
}

std::vector<std::vector<std::uint8_t>> SentFrames(const std::string& err) {
  std::vector<std::vector<std::uint8_t>> frames;
  for (const auto& line : LinesStartingWith(err, "> ")) frames.push_back(ParseHex(line));
  return frames;
}

std::vector<std::vector<std::uint8_t>> SentFrames(const std::string& err, std::uint8_t code) {
  std::vector<std::vector<std::uint8_t>> frames;
  for (auto& frame : SentFrames(err)) {
    if (frame.size() > 3 && frame[3] == code) frames.push_back(std::move(frame));
  }
  return frames;
}

SimProcess::SimProcess(const QStringList& extraArgs) : process_(std::make_unique<QProcess>()) {
  App();
  process_->setProcessChannelMode(QProcess::MergedChannels);
  QStringList args = {"--listen", "127.0.0.1", "--port", "0", "--module-port", "0"};
  args += extraArgs;
  process_->start(QStringLiteral(TAVELO_SIM_PATH), args);
  if (!process_->waitForStarted(kSimStartLimitMs)) return;
  // "wifi module on ADDR:PORT" comes first; "listening on ADDR:PORT" says all is up.
  static const QRegularExpression kLine(
      QStringLiteral("^(wifi module|listening) on 127\\.0\\.0\\.1:(\\d+)"));
  QDeadlineTimer deadline(kSimStartLimitMs);
  std::string pending;
  while (!deadline.hasExpired() && port_ == 0) {
    if (!process_->waitForReadyRead(static_cast<int>(deadline.remainingTime()))) break;
    pending += process_->readAll().toStdString();
    std::size_t eol;
    while ((eol = pending.find('\n')) != std::string::npos) {
      const std::string line = pending.substr(0, eol);
      pending.erase(0, eol + 1);
      output_ += line + "\n";
      const auto match = kLine.match(QString::fromStdString(line));
      if (!match.hasMatch()) continue;
      (match.captured(1) == QStringLiteral("listening") ? port_ : modulePort_) =
          match.captured(2).toInt();
    }
  }
}

SimProcess::~SimProcess() {
  Stop();
}

bool SimProcess::Stop() {
  if (!process_ || process_->state() == QProcess::NotRunning) return true;
  ::kill(static_cast<pid_t>(process_->processId()), SIGTERM);
  if (process_->waitForFinished(kStopLimitMs)) return true;
  process_->kill();
  process_->waitForFinished(kStopLimitMs);
  return false;
}

QStringList SimProcess::Link() const {
  return {"--host", "127.0.0.1", "--port", QString::number(port_)};
}

QStringList SimProcess::Module() const {
  return {"--host", "127.0.0.1", "--module-port", QString::number(modulePort_)};
}

TempFolder::TempFolder() {
  EXPECT_TRUE(dir_.isValid());
}

std::filesystem::path TempFolder::Path(const std::string& name) const {
  const std::filesystem::path root(dir_.path().toStdString());
  return name.empty() ? root : root / name;
}

std::filesystem::path WriteParamFile(const TempFolder& folder, const std::string& name,
                                     const ParamImage& image) {
  const auto bytes = BuildParamFile(image);
  const auto path = folder.Path(name);
  EXPECT_TRUE(WriteFileAtomically(path, bytes.data(), bytes.size()).ok);
  return path;
}

ParamFileData ReadParamFileOrFail(const std::filesystem::path& path) {
  const ParamFileResult result = ReadParamFile(path);
  EXPECT_TRUE(result.ok()) << path << ": " << result.message;
  return result.data;
}

int UnusedPort() {
  App();
  QTcpServer server;
  if (!server.listen(QHostAddress::LocalHost, 0)) return 0;
  const int port = server.serverPort();
  server.close();
  return port;
}

}  // namespace tavelo::e2e
