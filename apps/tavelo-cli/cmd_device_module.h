#pragma once
// The Wi-Fi module's settings connection for the command line: a TCP socket to the module's
// port, the module's own small messages and the heartbeat rules of the settings dialog
// (a heartbeat each second while nothing is pending; more than three seconds without a
// byte from the module drops the connection).
#include <QTcpSocket>
#include <QTimer>
#include <optional>
#include <ostream>
#include <string>

#include "core/link/WifiModule.h"

namespace tavelo::cli {

class ModuleLink {
 public:
  // `trace`: every message both ways to it, or null.
  ModuleLink(std::string host, quint16 port, std::ostream* trace);
  ~ModuleLink();
  ModuleLink(const ModuleLink&) = delete;
  ModuleLink& operator=(const ModuleLink&) = delete;

  // Connects within `timeoutMs`; false with `error` set otherwise.
  bool Connect(int timeoutMs, std::string& error);

  // Sends set AP or set STA and waits up to `timeoutMs` for the module's reply to it.
  std::optional<ModuleReply> SendSetting(ModuleCommand command, const ModuleSettingMessage& message,
                                         int timeoutMs, std::string& error);

  // Sends the restore message (the module sets no pending command for it); then waits up to
  // `graceMs` for the module to answer, which it need not.
  bool SendRestore(int graceMs, std::string& error);

 private:
  std::string NotProtocolError() const;
  bool Write(const std::uint8_t* bytes, std::size_t size, std::string& error);
  void OnReadyRead();
  void OnSecond();

  std::string host_;
  quint16 port_;
  std::ostream* trace_;
  QTcpSocket socket_;
  QTimer second_;
  ModuleSession session_;
  std::optional<ModuleReply> lastReply_;
  bool dropped_ = false;
  bool notProtocol_ = false;
  bool anyReply_ = false;
};

}  // namespace tavelo::cli
