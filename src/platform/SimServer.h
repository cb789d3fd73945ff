#pragma once
// The virtual processor's TCP face, as tavelo-sim serves it: the processor protocol on the
// main port (one shared VirtualProcessor, one request stream per connection) and the
// wireless module's settings port. Replies keep their order; latency and the fault that
// drops a connection after N replies apply per connection.
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <functional>
#include <string>

#include "core/sim/VirtualProcessor.h"
#include "core/sim/WifiModuleModel.h"

namespace tavelo {

class SimServer : public QObject {
  Q_OBJECT

 public:
  using Logger = std::function<void(const std::string&)>;

  explicit SimServer(VirtualProcessor& processor, QObject* parent = nullptr);
  ~SimServer() override;

  // Listens on both ports (0 picks a free one). False with ErrorText() when either fails.
  bool Listen(const QHostAddress& address, quint16 port, quint16 modulePort);
  quint16 Port() const { return main_.serverPort(); }
  quint16 ModulePort() const { return module_.serverPort(); }
  QString ErrorText() const { return error_; }

  // Receives one line per notable event (connections, module settings, dropped links);
  // with `verbose`, also one per request.
  void SetLogger(Logger logger, bool verbose = false);

  WifiModuleModel& Module() { return moduleModel_; }
  int Connections() const { return connections_; }

 private:
  void OnMainConnection();
  void OnModuleConnection();
  void Log(const std::string& line) const;

  VirtualProcessor& processor_;
  WifiModuleModel moduleModel_;
  QElapsedTimer clock_;
  QString error_;
  Logger logger_;
  bool verbose_ = false;
  int connections_ = 0;
  // Last, so the servers and their connections go first when the server is destroyed.
  QTcpServer main_;
  QTcpServer module_;
};

}  // namespace tavelo
