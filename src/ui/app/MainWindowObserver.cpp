// What the engine tells the main window, drawn with widgets. Dialogs and message boxes are
// window-modal and opened without a nested event loop, so ticks, replies and posted
// messages keep flowing while they are up.
#include <QLabel>
#include <QMessageBox>

#include "core/text/Texts.h"
#include "ui/app/LogCategories.h"
#include "ui/app/MainWindow.h"
#include "ui/app/MessageCaption.h"
#include "ui/controls/SkinButton.h"
#include "ui/dialogs/UnlockDialog.h"
#include "ui/dialogs/WaitDialog.h"
#include "ui/pages/Page.h"
#include "ui/tools/EditTools.h"

namespace tavelo::ui {

void MainWindow::OnStatus(TextId id, const std::string& text) {
  status_->setText(QString::fromStdString(text));
  qCDebug(lcEngine) << "status" << QString::fromStdString(text);
  emit StatusChanged(id);
}

void MainWindow::OnConnectLit(bool lit) {
  topBar_->ConnectButton()->SetLit(lit);
}

void MainWindow::OnConnectCaption(const std::string& text) {
  topBar_->ConnectButton()->setText(QString::fromStdString(text));
}

void MainWindow::OnLinkChoiceEnabled(bool enabled) {
  topBar_->SetLinkEnabled(enabled);
}

void MainWindow::OnMessage(const UserMessage& message) {
  messages_.push_back(message);
  const QString caption = QString::fromStdString(MessageCaption(message.captionKind, message.lang));
  qCDebug(lcEngine) << "message" << caption << QString::fromStdString(message.text);
  auto* box = new QMessageBox(QMessageBox::NoIcon, caption, QString::fromStdString(message.text),
                              QMessageBox::Ok, this);
  box->setObjectName("userMessage");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->open();
}

void MainWindow::OnWaitOpen(WaitKind kind) {
  if (wait_) return;  // one wait dialog at a time
  ++waitOpens_;
  wait_ = new WaitDialog(kind, lang_, this);
  wait_->setAttribute(Qt::WA_DeleteOnClose);
  wait_->open();
}

void MainWindow::OnWaitClose() {
  if (!wait_) return;
  ++waitCloses_;
  WaitDialog* dialog = wait_;
  wait_ = nullptr;
  dialog->Finish();
}

void MainWindow::OnUnlockOpen() {
  if (unlock_) return;
  unlock_ = new UnlockDialog(lang_, this);
  unlock_->setAttribute(Qt::WA_DeleteOnClose);
  connect(unlock_, &UnlockDialog::Submitted, this, [this](const BlockArg& block) {
    engine_.Post(msg::Block{CommandCode::kLockKey, block});
  });
  connect(unlock_, &UnlockDialog::Abandoned, this, [this] {
    unlock_ = nullptr;
    engine_.Post(msg::UnlockClosed{});
  });
  unlock_->open();
}

void MainWindow::OnUnlockClose() {
  if (!unlock_) return;
  UnlockDialog* dialog = unlock_;
  unlock_ = nullptr;
  dialog->CloseAccepted();
}

void MainWindow::OnDistribute() {
  ++distributions_;
  qCDebug(lcEngine) << "parameter set distributed to the pages";
  if (edits_) edits_->Reset();  // a download or a loaded preset: earlier edits no longer apply
  topBar_->ShowAdjustManner();
  topBar_->ShowLevelsOfImage();
  topBar_->ShowInputSource();
  topBar_->ShowAppMode(ReadValue(engine_.Image(), RowOf(row::kAppMode)));
  ApplyLabels();
  for (const auto& entry : pages_) entry.page->ShowParameterSet();
  // Once the output pages show the set, the processor is told which output display they
  // use (the selector travels with code 61).
  const BlockRequest display = RequestFor(engine_.Image(), RowOf(row::kOutputDisplay));
  engine_.Post(display);
  update();
  emit ParameterSetShown();
}

void MainWindow::OnApplyAppMode(int mode) {
  if (appMode_ && *appMode_ == mode) return;
  appMode_ = mode;
  qCDebug(lcEngine) << "application mode" << mode;
  topBar_->ShowAppMode(mode);
  for (int k = 1; k <= 8; ++k) NavButton(k)->show();
  NavButton(nav::kCalibrate)->hide();
  NavButton(nav::kSurroundRight)->hide();
  LayoutNavigation();
  currentPage_ = selectedPage_ = -1;
  Navigate(0);
  ApplyLabels();
}

void MainWindow::OnTopBar(const TopBarValues& values) {
  if (edits_) edits_->Rebase();
  topBar_->ShowLevels(values);
}

void MainWindow::OnIndicators(std::uint8_t first, std::uint8_t /*second*/) {
  topBar_->ShowIndicator(first);
}

void MainWindow::OnEchoTypeReloaded() {
  // The echo values of a new echo type arrived: pages show them (and lay out by the type).
  if (edits_) edits_->Rebase();
  for (const auto& entry : pages_) entry.page->ReloadChanged();
}

void MainWindow::OnFrontPanel(const FrontPanel& /*panel*/) {
  // The processor's knobs moved: the page on show looks again at what they own, and
  // only at what changed.
  if (edits_) edits_->Rebase();
  if (Page* page = PageWidget(currentPage_); page && page->Model().State() == PageModel::kData)
    page->ReloadChanged();
}

void MainWindow::OnMassUploadProgress(const MassUploadReport& report) {
  // The wait dialog counts the files taken so far: written ones and the one going out.
  const int count = static_cast<int>(report.entries.size());
  const int taken = count - static_cast<int>(report.SlotsIn(MassSlotState::kNotReached).size());
  if (wait_ && report.running && taken > 0) wait_->SetProgress(taken, count);
}

void MainWindow::OnPresetNames() {
  if (SystemPage* sys = FindSystemPage()) sys->ShowEngineState();
}

void MainWindow::OnPcFiles() {
  qCDebug(lcFiles) << "preset folder" << QString::fromStdString(engine_.ParamDir().string())
                   << "holds" << engine_.PcFiles().size() << "files";
  if (SystemPage* sys = FindSystemPage()) sys->ShowEngineState();
}

void MainWindow::OnLockAdmin(bool /*locked*/, int /*adminMode*/) {
  if (SystemPage* sys = FindSystemPage()) sys->ShowEngineState();
}

}  // namespace tavelo::ui
