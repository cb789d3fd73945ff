#include "fleet_support.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace tavelo::e2e {

namespace {
constexpr int kStartLimitMs = 20000;
constexpr int kStopLimitMs = 5000;
}  // namespace

FleetSim::FleetSim(int count, const QStringList& extraArgs)
    : process_(std::make_unique<QProcess>()) {
  App();
  process_->setProcessChannelMode(QProcess::MergedChannels);
  QStringList args = {"--listen", "127.0.0.1", "--port", "0", "--count", QString::number(count)};
  process_->start(QStringLiteral(TAVELO_SIM_PATH), args + extraArgs);
  if (!process_->waitForStarted(kStartLimitMs)) return;
  static const QRegularExpression kLine(
      QStringLiteral("^processor (\\d+): listening on 127\\.0\\.0\\.1:(\\d+)$"));
  std::vector<int> ports(static_cast<std::size_t>(count), 0);
  const std::string allUp = "all " + std::to_string(count) + " processors listening";
  QDeadlineTimer deadline(kStartLimitMs);
  while (!deadline.hasExpired() && output_.find(allUp) == std::string::npos) {
    if (!process_->waitForReadyRead(static_cast<int>(deadline.remainingTime()))) return;
    output_ += process_->readAll().toStdString();
  }
  std::istringstream lines(output_);
  std::string line;
  while (std::getline(lines, line)) {
    const auto match = kLine.match(QString::fromStdString(line));
    if (match.hasMatch() && match.captured(1).toInt() < count) {
      ports[static_cast<std::size_t>(match.captured(1).toInt())] = match.captured(2).toInt();
    }
  }
  for (int port : ports) {
    if (port == 0) return;
  }
  ports_ = ports;
}

FleetSim::~FleetSim() {
  if (process_->state() == QProcess::NotRunning) return;
  ::kill(static_cast<pid_t>(process_->processId()), SIGTERM);
  if (!process_->waitForFinished(kStopLimitMs)) {
    process_->kill();
    process_->waitForFinished(kStopLimitMs);
  }
}

std::string FleetSim::Output() {
  process_->waitForReadyRead(0);
  output_ += process_->readAll().toStdString();
  return output_;
}

std::string RoomName(int k) {
  char name[16];
  std::snprintf(name, sizeof name, "room-%02d", k);
  return name;
}

std::filesystem::path WriteInventory(const TempFolder& folder, const std::string& name,
                                     const std::vector<int>& ports, const std::string& extraLines) {
  const auto path = folder.Path(name);
  std::ofstream out(path);
  out << "# rooms of the simulated venue\n";
  for (std::size_t k = 0; k < ports.size(); ++k) {
    out << RoomName(static_cast<int>(k)) << "  127.0.0.1  " << ports[k] << "\n";
  }
  out << extraLines;
  return path;
}

std::vector<std::string> TableRow(const std::string& out, const std::string& room) {
  static const QRegularExpression kGap(QStringLiteral(" {2,}"));
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(room + " ", 0) != 0) continue;
    std::vector<std::string> cells;
    for (const auto& cell : QString::fromStdString(line).split(kGap)) {
      cells.push_back(cell.toStdString());
    }
    return cells;
  }
  return {};
}

}  // namespace tavelo::e2e
