#pragma once
// tavelo-sim serving N processors on loopback ports the system picks (or given ones), with
// every request it receives in its log, for the live-room tests; and tavelo-cli run against
// one of them, as another program would.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tavelo::hubtest {

class SimVenue {
 public:
  // `ports` empty: the system picks; otherwise processor k listens on ports[0] + k.
  explicit SimVenue(int count, int firstPort = 0);
  ~SimVenue();
  SimVenue(const SimVenue&) = delete;
  SimVenue& operator=(const SimVenue&) = delete;

  bool Started() const { return !ports_.empty(); }
  const std::vector<int>& Ports() const { return ports_; }
  // Requests processor k received so far, by command code; status polls and reads (the
  // service's probes among them) left out: what is left changes the processor.
  std::vector<int> Requests(int k);
  void Stop();

 private:
  std::unique_ptr<QProcess> process_;
  QString log_;
  std::vector<int> ports_;
  int count_;
};

struct CliResult {
  int exitCode = -1;
  QString out;
  QString err;
};

// tavelo-cli ARGS..., bounded in time; RunCliAt talks to the processor at 127.0.0.1:PORT.
CliResult RunCli(const QStringList& args);
CliResult RunCliAt(int port, const QStringList& args);

}  // namespace tavelo::hubtest
