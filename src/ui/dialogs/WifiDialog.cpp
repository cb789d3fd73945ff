#include "ui/dialogs/WifiDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/text/Texts.h"
#include "ui/dialogs/MessageBoxes.h"

namespace tavelo::ui {
namespace {

QString Tr(TextId id, Lang lang) {
  return QString::fromUtf8(Text(id, lang));
}

// Edits hand their text on as the UTF-8 bytes that go on the wire: the checks count those.
std::string Wire(const QLineEdit* edit) {
  return edit->text().toUtf8().toStdString();
}

}  // namespace

WifiDialog::WifiDialog(Lang lang, const NetEndpoint& endpoint, QWidget* parent)
    : QDialog(parent),
      lang_(lang),
      socket_(endpoint, this),
      address_(new QLineEdit(QString::fromStdString(EndpointText(endpoint)), this)),
      status_(new QLabel(this)) {
  setObjectName("WifiDialog");
  setWindowModality(Qt::WindowModal);
  setWindowTitle(Tr(TextId::kWifiTitle, lang));
  address_->setObjectName("wifiAddress");
  status_->setObjectName("wifiStatus");
  status_->setWordWrap(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(Tr(TextId::kWifiModuleAddress, lang), this), 0, 0);
  grid->addWidget(address_, 0, 1);
  grid->addWidget(AddButton(kConnectId, TextId::kWifiConnect), 0, 2);
  const struct {
    int label, edit;
    TextId text;
  } rows[] = {{kApNameLabel, kApNameId, TextId::kWifiApName},
              {kApPasswordLabel, kApPasswordId, TextId::kWifiApPassword},
              {kStaNameLabel, kStaNameId, TextId::kWifiStaName},
              {kStaPasswordLabel, kStaPasswordId, TextId::kWifiStaPassword}};
  int row = 1;
  for (const auto& r : rows) {
    auto* label = new QLabel(Tr(r.text, lang), this);
    label->setObjectName(QString("c%1").arg(r.label));
    controls_[r.label] = label;
    grid->addWidget(label, row, 0);
    grid->addWidget(AddEdit(r.edit), row, 1, 1, 2);
    ++row;
  }
  auto* actions = new QHBoxLayout;
  actions->addWidget(AddButton(kSetApId, TextId::kWifiSetAp));
  actions->addWidget(AddButton(kSetStaId, TextId::kWifiSetSta));
  actions->addWidget(AddButton(kRestoreId, TextId::kWifiRestore));
  grid->addLayout(actions, row++, 0, 1, 3);
  grid->addWidget(status_, row, 0, 1, 3);
  setMinimumWidth(420);

  connect(Button(kConnectId), &QPushButton::clicked, this, &WifiDialog::OnConnectButton);
  connect(Button(kSetApId), &QPushButton::clicked, this, &WifiDialog::OnSetAp);
  connect(Button(kSetStaId), &QPushButton::clicked, this, &WifiDialog::OnSetSta);
  connect(Button(kRestoreId), &QPushButton::clicked, this, &WifiDialog::OnRestore);
  connect(&socket_, &WifiModuleSocket::connectedChanged, this, &WifiDialog::ShowConnected);
  connect(&socket_, &WifiModuleSocket::settingAnswered, this, [this](bool ok) {
    Say(Tr(ModuleSession::NoticeTextId(ok ? ModuleSession::Notice::kSetOk
                                          : ModuleSession::Notice::kSetFailed),
           lang_));
  });
  connect(&socket_, &WifiModuleSocket::settingUnanswered, this,
          [this] { Say(Tr(TextId::kMsgWifiNoAnswer, lang_)); });
  connect(&socket_, &WifiModuleSocket::connectFailed, this, [this](const QString& reason) {
    const std::string where = EndpointText(socket_.Endpoint());
    status_->setText(QString::fromStdString(FormatText(TextId::kMsgWifiUnreachable, lang_, where)) +
                     " (" + reason + ")");
  });
  ShowConnected(false);
}

QLineEdit* WifiDialog::AddEdit(int id) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString("c%1").arg(id));
  edit->setMaxLength(kTextLimit);
  controls_[id] = edit;
  return edit;
}

QPushButton* WifiDialog::AddButton(int id, TextId text) {
  auto* button = new QPushButton(Tr(text, lang_), this);
  button->setObjectName(QString("c%1").arg(id));
  button->setAutoDefault(false);
  controls_[id] = button;
  return button;
}

QWidget* WifiDialog::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

QLineEdit* WifiDialog::Edit(int id) const {
  return qobject_cast<QLineEdit*>(Control(id));
}

QPushButton* WifiDialog::Button(int id) const {
  return qobject_cast<QPushButton*>(Control(id));
}

void WifiDialog::Say(const QString& text) {
  shown_.push_back(text);
  ShowNotice(this, QString(), text);
}

void WifiDialog::ShowConnected(bool connected) {
  for (int id : {kSetApId, kSetStaId, kRestoreId}) Button(id)->setEnabled(connected);
  Button(kConnectId)
      ->setText(Tr(connected ? TextId::kWifiDisconnect : TextId::kWifiConnect, lang_));
  address_->setEnabled(!connected);
  if (connected) status_->clear();
}

void WifiDialog::OnConnectButton() {
  // The button reads "Disconnect" while the link stands: it then ends it.
  if (socket_.IsConnected()) {
    socket_.Disconnect();
    return;
  }
  const auto endpoint = ParseEndpointText(address_->text().toStdString(), kModulePort);
  if (!endpoint) {
    Say(Tr(TextId::kMsgWifiBadAddress, lang_));
    return;
  }
  socket_.SetEndpoint(*endpoint);
  status_->clear();
  socket_.Connect();
}

bool WifiDialog::ReportCheck(ModuleSettingCheck check) {
  if (check == ModuleSettingCheck::kOk) return true;
  Say(Tr(ModuleCheckTextId(check), lang_));
  return false;
}

void WifiDialog::OnSetAp() {
  ReportCheck(socket_.SetAp(Wire(Edit(kApNameId)), Wire(Edit(kApPasswordId))));
}

void WifiDialog::OnSetSta() {
  ReportCheck(socket_.SetSta(Wire(Edit(kStaNameId)), Wire(Edit(kStaPasswordId))));
}

void WifiDialog::OnRestore() {
  const QString question = Tr(TextId::kMsgWifiRestoreConfirm, lang_);
  shown_.push_back(question);
  AskQuestion(this, QString(), question, QMessageBox::Yes, QMessageBox::No,
              [this] { socket_.Restore(); });
}

}  // namespace tavelo::ui
