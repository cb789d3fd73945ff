#include "platform/SimServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <deque>
#include <memory>

#include "core/presets/ParamFields.h"
#include "core/sim/RequestAssembler.h"

namespace tavelo {
namespace {

// A client that sends requests and never reads its replies would make us keep them all: past
// these limits it is dropped (a real processor answers one request at a time).
constexpr qint64 kMaxUnsentBytes = 256 * 1024;
constexpr std::size_t kMaxPendingReplies = 4096;
// What one read of a module connection takes; the rest waits in the kernel, so a peer that
// floods the module port slows to the loop's pace and the processor port is still served.
constexpr qint64 kModuleReadLimit = 64 * 1024;

// One client of the main port: its request stream and the replies not yet due.
class ProcessorConnection : public QObject {
 public:
  ProcessorConnection(QTcpSocket* socket, VirtualProcessor& processor, const QElapsedTimer& clock,
                      std::function<void(const std::string&)> log, bool verbose)
      : QObject(socket),
        socket_(socket),
        processor_(processor),
        clock_(clock),
        log_(std::move(log)),
        verbose_(verbose) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ProcessorConnection::Flush);
    connect(socket_, &QTcpSocket::readyRead, this, &ProcessorConnection::OnReadyRead);
  }

 private:
  struct Pending {
    qint64 due;
    std::vector<std::uint8_t> bytes;
    bool cutLink;
  };

  void OnReadyRead() {
    if (closing_) return;
    const QByteArray bytes = socket_->readAll();
    assembler_.Feed(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::size_t>(bytes.size()),
                    [this](std::uint8_t code, const std::uint8_t* data, int length) {
                      if (closing_) return;
                      SimReply reply = processor_.Answer(code, data, length);
                      if (verbose_) {
                        log_("request " + std::to_string(code) + ", " + std::to_string(length) +
                             " data bytes" + (reply.bytes.empty() ? ", no reply" : ""));
                      }
                      pending_.push_back({clock_.elapsed() + reply.latencyMs,
                                          std::move(reply.bytes), reply.cutLink});
                    });
    if (pending_.size() > kMaxPendingReplies) {
      DropSlowReader();
      return;
    }
    Flush();
  }

  void DropSlowReader() {
    log_("dropping a client that does not read its replies");
    closing_ = true;
    pending_.clear();
    socket_->abort();  // its unread replies go too
  }

  // Writes every reply that is due, in order, and schedules the next one.
  void Flush() {
    const qint64 now = clock_.elapsed();
    while (!pending_.empty() && pending_.front().due <= now && !closing_) {
      Pending next = std::move(pending_.front());
      pending_.pop_front();
      if (!next.bytes.empty()) {
        if (socket_->bytesToWrite() > kMaxUnsentBytes) {
          DropSlowReader();
          return;
        }
        socket_->write(reinterpret_cast<const char*>(next.bytes.data()),
                       static_cast<qint64>(next.bytes.size()));
      }
      if (next.cutLink) {
        log_("dropping the connection (fault)");
        closing_ = true;
        pending_.clear();
        socket_->disconnectFromHost();  // what was written still goes out first
      }
    }
    if (!pending_.empty() && !closing_) {
      timer_.start(static_cast<int>(std::max<qint64>(0, pending_.front().due - now)));
    }
  }

  QTcpSocket* socket_;
  VirtualProcessor& processor_;
  const QElapsedTimer& clock_;
  std::function<void(const std::string&)> log_;
  bool verbose_;
  RequestAssembler assembler_;
  std::deque<Pending> pending_;
  QTimer timer_;
  bool closing_ = false;
};

std::string Describe(const QTcpSocket* socket) {
  return socket->peerAddress().toString().toStdString() + ":" + std::to_string(socket->peerPort());
}

}  // namespace

SimServer::SimServer(VirtualProcessor& processor, QObject* parent)
    : QObject(parent), processor_(processor) {
  clock_.start();
  connect(&main_, &QTcpServer::newConnection, this, &SimServer::OnMainConnection);
  connect(&module_, &QTcpServer::newConnection, this, &SimServer::OnModuleConnection);
}

SimServer::~SimServer() {
  // Closing connections while the servers go down reports nothing to a logger whose
  // owner may already be gone.
  logger_ = nullptr;
}

void SimServer::SetLogger(Logger logger, bool verbose) {
  logger_ = std::move(logger);
  verbose_ = verbose;
}

void SimServer::Log(const std::string& line) const {
  if (logger_) logger_(line);
}

bool SimServer::Listen(const QHostAddress& address, quint16 port, quint16 modulePort) {
  if (!main_.listen(address, port)) {
    error_ = QStringLiteral("port %1: %2").arg(port).arg(main_.errorString());
    return false;
  }
  if (!module_.listen(address, modulePort)) {
    error_ = QStringLiteral("module port %1: %2").arg(modulePort).arg(module_.errorString());
    main_.close();
    return false;
  }
  return true;
}

void SimServer::OnMainConnection() {
  while (QTcpSocket* socket = main_.nextPendingConnection()) {
    ++connections_;
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    Log("connection from " + Describe(socket));
    new ProcessorConnection(
        socket, processor_, clock_, [this](const std::string& l) { Log(l); }, verbose_);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::disconnected, this, [this] { Log("connection closed"); });
  }
}

void SimServer::OnModuleConnection() {
  while (QTcpSocket* socket = module_.nextPendingConnection()) {
    Log("module connection from " + Describe(socket));
    socket->setReadBufferSize(kModuleReadLimit);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    // One module for every connection: the settings dialog holds one at a time.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
      const QByteArray bytes = socket->readAll();
      const std::string apBefore = moduleModel_.ApName(), staBefore = moduleModel_.StaName();
      const auto reply = moduleModel_.Feed(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size()));
      // Names come from the client: escaped, so they cannot drive the terminal or the log.
      if (moduleModel_.ApName() != apBefore) {
        Log("module: AP name now " + JsonString(moduleModel_.ApName()));
      }
      if (moduleModel_.StaName() != staBefore) {
        Log("module: STA name now " + JsonString(moduleModel_.StaName()));
      }
      if (!reply.empty()) {
        socket->write(reinterpret_cast<const char*>(reply.data()),
                      static_cast<qint64>(reply.size()));
      }
    });
  }
}

}  // namespace tavelo
