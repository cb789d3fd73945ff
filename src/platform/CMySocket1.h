#pragma once
// The Wi-Fi settings dialog's connection to the processor's wireless module (port 17402):
// connect, the heartbeat every second, set AP, set STA and restore. The rules live in
// ModuleSession; this class only moves bytes and reports to the dialog.
#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <string>

#include "link/WifiModule.h"
#include "platform/WifiEndpoint.h"

namespace tavelo {

class CMySocket1 : public QObject {
  Q_OBJECT

 public:
  explicit CMySocket1(NetEndpoint endpoint = kModuleEndpoint, QObject* parent = nullptr);
  ~CMySocket1() override;

  // Starts connecting unless connected; the socket is created on the first call.
  void Connect();
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
  // A set-STA result to show: "OK" or "Setting error" (the dialog picks the language).
  void staResult(bool ok);

 private:
  ModuleSettingCheck SendSetting(ModuleCommand command, ModuleSettingCheck check,
                                 const std::string& name, const std::string& password);
  void Drop();
  void OnConnected();
  void OnReadyRead();

  NetEndpoint endpoint_;
  QPointer<QTcpSocket> socket_;
  QTimer timer_;
  ModuleSession session_;
};

}  // namespace tavelo
