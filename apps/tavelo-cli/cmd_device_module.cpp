#include "cmd_device_module.h"

#include <QEventLoop>

#include "cmd_device_tap.h"

namespace tavelo::cli {

namespace {
constexpr int kSecondMs = 1000;
// One read is one reply candidate; the socket holds at most this much (a bound a flooding
// peer cannot push past).
constexpr qint64 kMaxRead = static_cast<qint64>(ModuleSession::kReadBufferBytes);

// Runs the event loop until `done` holds, checking it whenever `socket` or `timer` reports.
template <typename Done>
void RunLoop(QTcpSocket& socket, QTimer& timer, int timeoutMs, Done done) {
  if (done()) return;
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  const auto check = [&] {
    if (done()) loop.quit();
  };
  QObject::connect(&socket, &QTcpSocket::connected, &loop, check);
  QObject::connect(&socket, &QTcpSocket::readyRead, &loop, check, Qt::QueuedConnection);
  QObject::connect(&socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
  QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
  QObject::connect(&timer, &QTimer::timeout, &loop, check, Qt::QueuedConnection);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  if (timeoutMs >= 0) limit.start(timeoutMs);
  loop.exec();
}

}  // namespace

ModuleLink::ModuleLink(std::string host, quint16 port, std::ostream* trace)
    : host_(std::move(host)), port_(port), trace_(trace) {
  socket_.setReadBufferSize(kMaxRead);
  second_.setInterval(kSecondMs);
  QObject::connect(&second_, &QTimer::timeout, &socket_, [this] { OnSecond(); });
  QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] { OnReadyRead(); });
}

ModuleLink::~ModuleLink() {
  second_.stop();
  socket_.abort();
}

bool ModuleLink::Connect(int timeoutMs, std::string& error) {
  socket_.connectToHost(QString::fromStdString(host_), port_);
  RunLoop(socket_, second_, timeoutMs,
          [this] { return socket_.state() == QAbstractSocket::ConnectedState; });
  if (notProtocol_) {
    error = NotProtocolError();
    return false;
  }
  if (socket_.state() != QAbstractSocket::ConnectedState) {
    error = "cannot reach the Wi-Fi module at " + host_ + ":" + std::to_string(port_) + ": " +
            (socket_.error() == QAbstractSocket::UnknownSocketError
                 ? std::string("no answer")
                 : socket_.errorString().toStdString());
    socket_.abort();
    return false;
  }
  session_.Connected();
  second_.start();
  return true;
}

std::string ModuleLink::NotProtocolError() const {
  return "the peer at " + host_ + ":" + std::to_string(port_) +
         " does not speak the Wi-Fi module's protocol (it sent more than " +
         std::to_string(ModuleSession::kMaxStrayBytes) + " bytes that are no reply)";
}

bool ModuleLink::Write(const std::uint8_t* bytes, std::size_t size, std::string& error) {
  if (trace_) *trace_ << "> " << HexBytes(bytes, size) << "\n";
  const auto written =
      socket_.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(size));
  if (written != static_cast<qint64>(size)) {
    error = "cannot send to the Wi-Fi module: " + socket_.errorString().toStdString();
    return false;
  }
  socket_.flush();
  return true;
}

void ModuleLink::OnReadyRead() {
  const QByteArray bytes = socket_.read(kMaxRead);
  if (bytes.isEmpty()) return;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  const auto size = static_cast<std::size_t>(bytes.size());
  if (trace_) *trace_ << "< " << HexBytes(data, size) << "\n";
  const ModuleCommand pending = session_.Pending();
  session_.BytesReceived(data, size);
  if (!session_.SpeaksProtocol()) {
    // Not the module: a flood or another service. Nothing it sends can be a reply.
    notProtocol_ = true;
    second_.stop();
    socket_.abort();
    return;
  }
  const auto reply = ParseModuleReply(data, size);
  if (reply) anyReply_ = true;
  // The session clears the pending command when its reply came; keep the result.
  if (pending != ModuleCommand::kNone && session_.Pending() == ModuleCommand::kNone) {
    lastReply_ = reply;
  }
}

void ModuleLink::OnSecond() {
  if (!session_.IsConnected()) return;
  switch (session_.Second()) {
    case ModuleSession::TickAction::kDrop:
    case ModuleSession::TickAction::kDropUnanswered:
      dropped_ = true;
      second_.stop();
      socket_.abort();
      return;
    case ModuleSession::TickAction::kSendHeartbeat: {
      const ModuleShortMessage beat = BuildModuleHeartbeat();
      std::string ignored;
      Write(beat.data(), beat.size(), ignored);
      return;
    }
    case ModuleSession::TickAction::kNothing:
      return;
  }
}

std::optional<ModuleReply> ModuleLink::SendSetting(ModuleCommand command,
                                                   const ModuleSettingMessage& message,
                                                   int timeoutMs, std::string& error) {
  lastReply_.reset();
  if (!Write(message.data(), message.size(), error)) return std::nullopt;
  session_.CommandSent(command);
  RunLoop(socket_, second_, timeoutMs, [this] {
    return lastReply_.has_value() || dropped_ || socket_.state() != QAbstractSocket::ConnectedState;
  });
  if (!lastReply_) {
    if (notProtocol_) {
      error = NotProtocolError();
    } else if (dropped_) {
      error = "the Wi-Fi module stopped answering";
    } else if (socket_.state() == QAbstractSocket::ConnectedState) {
      error =
          "the Wi-Fi module did not answer within " + std::to_string(timeoutMs / kSecondMs) + " s";
    } else {
      error = "the Wi-Fi module closed the connection";
    }
    socket_.abort();
  }
  return lastReply_;
}

bool ModuleLink::SendRestore(int graceMs, std::string& error) {
  const ModuleShortMessage restore = BuildModuleRestore();
  anyReply_ = false;
  if (!Write(restore.data(), restore.size(), error)) return false;
  if (socket_.bytesToWrite() > 0 && !socket_.waitForBytesWritten(graceMs)) {
    error = "cannot send to the Wi-Fi module: " + socket_.errorString().toStdString();
    return false;
  }
  RunLoop(socket_, second_, graceMs, [this] { return anyReply_; });
  return true;
}

}  // namespace tavelo::cli
