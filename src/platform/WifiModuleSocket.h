#pragma once
// The Wi-Fi settings dialog's connection to the processor's wireless module (port 17402):
// connect, the heartbeat every second, set AP, set STA and restore. The rules live in
// ModuleSession; this class only moves bytes and reports to the dialog.
#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <string>

#include "core/link/WifiModule.h"
#include "platform/WifiEndpoint.h"

namespace tavelo {

class WifiModuleSocket : public QObject {
  Q_OBJECT

 public:
  explicit WifiModuleSocket(NetEndpoint endpoint = kModuleEndpoint, QObject* parent = nullptr);
  ~WifiModuleSocket() override;

  // Where the next Connect() goes (the dialog's address field; tests use loopback).
  void SetEndpoint(NetEndpoint endpoint) { endpoint_ = std::move(endpoint); }
  const NetEndpoint& Endpoint() const { return endpoint_; }

  // Starts connecting unless connected; the socket is created on the first call. An attempt
  // that has not succeeded within kConnectTimeoutMs is given up and reported.
  static constexpr int kConnectTimeoutMs = 5000;
  void Connect();
  // Ends the connection at once (the Disconnect button).
  void Disconnect();
  bool IsConnected() const { return session_.IsConnected(); }

  // Checks the texts; when they pass and the module is connected, sends the setting and
  // waits for its reply (no heartbeats meanwhile). The check result is returned either way.
  ModuleSettingCheck SetAp(const std::string& name, const std::string& password);
  ModuleSettingCheck SetSta(const std::string& name, const std::string& password);
  // Sends the restore message when connected (the caller has asked the user first).
  void Restore();

  // The one-second timer's work; public so tests can drive it without waiting.
  void Second();
  void SetTimerEnabled(bool enabled);

  const ModuleSession& Session() const { return session_; }

 signals:
  void connectedChanged(bool connected);
  // The module answered a setting (set AP or set STA): "OK" or "Setting error".
  void settingAnswered(bool ok);
  // The link was dropped while a setting still waited for its answer.
  void settingUnanswered();
  // A connect attempt failed (refused, unreachable, timed out); `reason` is Qt's text.
  void connectFailed(const QString& reason);

 private:
  ModuleSettingCheck SendSetting(ModuleCommand command, ModuleSettingCheck check,
                                 const std::string& name, const std::string& password);
  void Drop();
  void OnConnected();
  void OnReadyRead();
  void OnError();

  NetEndpoint endpoint_;
  QPointer<QTcpSocket> socket_;
  QTimer timer_;
  QTimer connectTimer_;
  ModuleSession session_;
};

}  // namespace tavelo
