#pragma once
// Running tavelo-cli and tavelo-sim as programs for the end-to-end tests. Everything stays
// on 127.0.0.1: tavelo-sim listens there on ports the system picks, and every tavelo-cli
// run names that endpoint. Every wait is bounded.
#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/presets/ParamFile.h"

class QProcess;

namespace tavelo::e2e {

struct CliRun {
  bool finished = false;  // false: killed at the time limit
  int exitCode = -1;
  std::string out;
  std::string err;
  long long elapsedMs = 0;
};

// The test process's Qt application. Anything of the test's own that listens (a QTcpServer)
// needs it first: ctest runs every test in a process of its own.
QCoreApplication& App();

// Runs tavelo-cli with `args` (in `workingDir` when given); kills it after `limitMs`. Qt
// events of the test process are handled while it runs.
CliRun RunCli(const QStringList& args, int limitMs = 30000, const QString& workingDir = {});
// The same under an address-space limit, so a command that grows without bound fails fast.
CliRun RunCliWithin(const QStringList& args, std::size_t addressSpaceBytes, int limitMs);
// Runs tavelo-sim for a command line it ends by itself (--help, a refused argument).
CliRun RunSimToEnd(const QStringList& args, int limitMs = 10000);

// The request frames a --trace run wrote to stderr ("> AA ..."), as bytes, in order.
std::vector<std::vector<std::uint8_t>> SentFrames(const std::string& err);
// Only the frames with this command code.
std::vector<std::vector<std::uint8_t>> SentFrames(const std::string& err, std::uint8_t code);

// A tavelo-sim process listening on 127.0.0.1 (processor and module ports chosen by the
// system). Stopped with SIGTERM when destroyed.
class SimProcess {
 public:
  explicit SimProcess(const QStringList& extraArgs = {});
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Started() const { return port_ > 0; }
  int Port() const { return port_; }
  int ModulePort() const { return modulePort_; }
  const std::string& Output() const { return output_; }
  // --host 127.0.0.1 --port P
  QStringList Link() const;
  // --host 127.0.0.1 --module-port P
  QStringList Module() const;
  // Stops the process and reports whether it ended by itself after SIGTERM.
  bool Stop();

 private:
  std::unique_ptr<QProcess> process_;
  std::string output_;
  int port_ = 0;
  int modulePort_ = 0;
};

// A temporary folder that disappears with the test.
class TempFolder {
 public:
  TempFolder();
  std::filesystem::path Path(const std::string& name = {}) const;
  QString Q(const std::string& name) const { return QString::fromStdString(Path(name).string()); }

 private:
  QTemporaryDir dir_;
};

// Writes `image` as a parameter file named `name` in `folder`; returns its path.
std::filesystem::path WriteParamFile(const TempFolder& folder, const std::string& name,
                                     const ParamImage& image);
// Reads a parameter file; fails the calling test when it is not a valid one.
ParamFileData ReadParamFileOrFail(const std::filesystem::path& path);

// A free TCP port on 127.0.0.1 with nothing listening (for refused connections).
int UnusedPort();

// Lines of `text` that start with `prefix`, prefix removed.
std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix);

}  // namespace tavelo::e2e
