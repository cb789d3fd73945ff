#pragma once
// The Wi-Fi settings dialog: its own connection to the processor's wireless module (set
// the access point and the station network, restore the module). The rules live in
// ModuleSession and the checks of link/WifiModule; WifiModuleSocket moves the bytes; this
// window only shows them. It is window-modal and opened without a nested event loop.
#include <QDialog>
#include <QStringList>
#include <unordered_map>

#include "core/text/Lang.h"
#include "platform/WifiEndpoint.h"
#include "platform/WifiModuleSocket.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavelo::ui {

class WifiDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kConnectId = 1545;
  static constexpr int kApNameId = 1924, kApPasswordId = 1925, kStaNameId = 1926,
                       kStaPasswordId = 1927;
  static constexpr int kSetApId = 1928, kSetStaId = 1929, kRestoreId = 1930;
  static constexpr int kApNameLabel = 1931, kApPasswordLabel = 1932, kStaNameLabel = 1933,
                       kStaPasswordLabel = 1934;
  static constexpr int kTextLimit = 100;  // characters an edit takes

  // `endpoint`: the module's address, shown in the address field where the user may
  // change it (a processor on a venue network has its module elsewhere).
  WifiDialog(Lang lang, const NetEndpoint& endpoint, QWidget* parent);

  QWidget* Control(int id) const;
  QLineEdit* Edit(int id) const;
  QPushButton* Button(int id) const;
  QLineEdit* AddressEdit() const { return address_; }
  QLabel* StatusLabel() const { return status_; }
  WifiModuleSocket& Socket() { return socket_; }
  // Texts of the message boxes shown so far, in order.
  const QStringList& Shown() const { return shown_; }

 private:
  void OnConnectButton();
  void OnSetAp();
  void OnSetSta();
  void OnRestore();
  void ShowConnected(bool connected);
  void Say(const QString& text);
  bool ReportCheck(ModuleSettingCheck check);
  QLineEdit* AddEdit(int id);
  QPushButton* AddButton(int id, TextId text);

  Lang lang_;
  WifiModuleSocket socket_;
  std::unordered_map<int, QWidget*> controls_;
  QLineEdit* address_;
  QLabel* status_;
  QStringList shown_;
};

}  // namespace tavelo::ui
