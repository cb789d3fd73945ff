#include "SimVenue.h"

#include <signal.h>

#include <QDeadlineTimer>
#include <QRegularExpression>

#include "core/link/CommandCode.h"

namespace tavelo::hubtest {

namespace {
constexpr int kStartLimitMs = 20000;
constexpr int kStopLimitMs = 5000;
}  // namespace

SimVenue::SimVenue(int count, int firstPort)
    : process_(std::make_unique<QProcess>()), count_(count) {
  process_->setProcessChannelMode(QProcess::MergedChannels);
  process_->start(
      QStringLiteral(TAVELO_SIM_PATH),
      {QStringLiteral("--listen"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
       QString::number(firstPort), QStringLiteral("--module-port"), QStringLiteral("0"),
       QStringLiteral("--count"), QString::number(count), QStringLiteral("--verbose")});
  if (!process_->waitForStarted(kStartLimitMs)) return;
  const QString allUp = count > 1 ? QStringLiteral("all %1 processors listening").arg(count)
                                  : QStringLiteral("listening on");
  QDeadlineTimer deadline(kStartLimitMs);
  // Up once the line that says so has arrived whole.
  const auto up = [&] {
    const qsizetype at = log_.indexOf(allUp);
    return at >= 0 && log_.indexOf(QLatin1Char('\n'), at) >= 0;
  };
  while (!deadline.hasExpired() && !up()) {
    if (!process_->waitForReadyRead(static_cast<int>(deadline.remainingTime()))) return;
    log_ += QString::fromUtf8(process_->readAll());
  }
  std::vector<int> ports(static_cast<std::size_t>(count), 0);
  static const QRegularExpression kLine(
      QStringLiteral("^(?:processor (\\d+): )?listening on 127\\.0\\.0\\.1:(\\d+)$"),
      QRegularExpression::MultilineOption);
  for (auto it = kLine.globalMatch(log_); it.hasNext();) {
    const auto match = it.next();
    const int k = match.captured(1).isEmpty() ? 0 : match.captured(1).toInt();
    if (k < count) ports[static_cast<std::size_t>(k)] = match.captured(2).toInt();
  }
  for (int port : ports)
    if (port == 0) return;
  ports_ = ports;
}

SimVenue::~SimVenue() {
  Stop();
}

void SimVenue::Stop() {
  if (process_->state() == QProcess::NotRunning) return;
  ::kill(static_cast<pid_t>(process_->processId()), SIGTERM);
  if (!process_->waitForFinished(kStopLimitMs)) {
    process_->kill();
    process_->waitForFinished(kStopLimitMs);
  }
}

std::vector<int> SimVenue::Requests(int k) {
  process_->waitForReadyRead(0);
  log_ += QString::fromUtf8(process_->readAll());
  const QString who = count_ > 1 ? QStringLiteral("processor %1: ").arg(k) : QString();
  const QRegularExpression line(
      QStringLiteral("^") + QRegularExpression::escape(who) + QStringLiteral("request (\\d+),"),
      QRegularExpression::MultilineOption);
  std::vector<int> codes;
  for (auto it = line.globalMatch(log_); it.hasNext();) {
    const auto code = static_cast<CommandCode>(it.next().captured(1).toInt());
    if (code != CommandCode::kStatusPoll && code != CommandCode::kReadStart &&
        code != CommandCode::kReadChunk)
      codes.push_back(static_cast<int>(code));
  }
  return codes;
}

CliResult RunCliAt(int port, const QStringList& args) {
  return RunCli(QStringList{QStringLiteral("--host"), QStringLiteral("127.0.0.1"),
                            QStringLiteral("--port"), QString::number(port)} +
                args);
}

CliResult RunCli(const QStringList& args) {
  QProcess process;
  process.start(QStringLiteral(TAVELO_CLI_PATH), args);
  if (!process.waitForFinished(30000)) process.kill();
  process.waitForFinished(2000);
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace tavelo::hubtest
