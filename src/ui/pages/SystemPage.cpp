#include "ui/pages/SystemPage.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QTreeWidget>

#include "core/presets/PresetFolder.h"
#include "core/text/Texts.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/controls/SkinEdit.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/dialogs/WifiDialog.h"
#include "ui/pages/SysPageTable.h"
#include "ui/system/SysPageRules.h"

namespace tavelo::ui {
namespace {

using namespace sys_page;

constexpr int kRowHeight = 22;
constexpr int kColA = 12, kColB = 400, kColC = 830;
constexpr int kSliderPitch = 30;
constexpr int kPasswordLimit = 16;

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Std(const QString& text) {
  return text.toUtf8().toStdString();
}

// Passwords, the logo lines and the Bluetooth name go to the processor byte for byte:
// printable ASCII only.
void AsciiOnly(QLineEdit* edit, int maxLength) {
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[\\x20-\\x7E]*"), edit));
  edit->setMaxLength(maxLength);
}

QStringList PowerModeItems(Lang lang) {
  QStringList items{QString::fromUtf8(Text(TextId::kPowerModeLast, lang))};
  for (int mode = 1; mode <= sys::kUserModes; ++mode)
    items << QString::fromStdString(FormatText(TextId::kPowerModeUser, lang, mode));
  return items;
}

// A name the processor reports, shown as plain text whatever it holds.
QString DeviceName(const std::array<char, kDeviceNameSize + 1>& name) {
  std::string text;
  for (char c : name) {
    if (c == '\0') break;
    const auto u = static_cast<unsigned char>(c);
    text += (u >= 32 && u < 127) ? c : '?';
  }
  return QString::fromStdString(text);
}

}  // namespace

SystemPage::SystemPage(Engine& engine, BlockPoster post, SysHooks hooks, QSize size,
                       QWidget* parent)
    : Page(Definition(), engine.Image(), std::move(post), size, parent),
      engine_(engine),
      hooks_(std::move(hooks)),
      logic_(engine,
             SysEffects{
                 [this](const std::string& c, const std::string& t) { Say(c, t); },
                 [this](const std::string& c, const std::string& t, bool okCancel,
                        std::function<void()> onYes) { Ask(c, t, okCancel, std::move(onYes)); },
                 [this](Lang lang) {
                   if (hooks_.setLanguage) hooks_.setLanguage(lang);
                 },
                 [this](bool on) {
                   if (hooks_.setBoost) hooks_.setBoost(on);
                 },
                 [this](bool factory) { tools_.OpenMassUpload(factory); },
                 [this] { OpenWifi(); },
                 [this] { ShowEngineState(); },
             }),
      tools_(engine, this,
             SystemTools::Hooks{
                 [this] {
                   if (hooks_.imageSwitched) hooks_.imageSwitched();
                 },
                 [this](const std::string& c, const std::string& t) { Say(c, t); },
                 [this](const std::string& c, const std::string& t, std::function<void()> onYes) {
                   Ask(c, t, false, std::move(onYes));
                 },
                 [this](const std::vector<std::string>& files, bool factory) {
                   logic_.StartMassUpload(files, factory);
                 },
             }) {
  setObjectName("SystemPage");
  Build();
  ApplyLanguage(engine_.Language());
  ShowEngineState();
}

QWidget* SystemPage::Control(int id) const {
  if (id == kPcList) return pcList_;
  return const_cast<SystemPage*>(this)->Binder().Widget(id);
}

void SystemPage::Connect(int id, void (SysPageLogic::*action)()) {
  connect(static_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this,
          [this, action] { (logic_.*action)(); });
}

void SystemPage::Title(int x, int y, Label label) {
  titles_.push_back({Binder().Caption(QRect(x, y, 300, 20), {}), label});
}

SkinEdit* SystemPage::Field(int id, QRect rect) {
  SkinEdit* e = Binder().Edit(id, rect);
  e->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(e, &QLineEdit::textChanged, this, [this, id](const QString& t) { EditChanged(id, t); });
  return e;
}

void SystemPage::Build() {
  BuildModes();
  BuildPcPresets();
  BuildVolumes();
  BuildLockAndAdmin();
  BuildLanguageAndNames();
}

// User modes on the processor.
void SystemPage::BuildModes() {
  PageBinder& b = Binder();
  Title(kColA, 8, Label::kEquipmentMode);
  b.Caption(QRect(kColA, 32, 84, kRowHeight), {}, kModeCombo);
  SkinComboBox* modes = b.List(kModeCombo, QRect(kColA + 88, 32, 212, kRowHeight), {});
  connect(modes, &QComboBox::activated, this, [this](int index) {
    static_cast<QLineEdit*>(Control(kModeNameEdit))->setText(Utf8(logic_.ChooseMode(index)));
  });
  titles_.push_back({b.Caption(QRect(kColA, 60, 84, kRowHeight), {}), Label::kModeName});
  Field(kModeNameEdit, QRect(kColA + 88, 60, 212, kRowHeight))
      ->setMaxLength(static_cast<int>(sys::kModeNameMax));
  b.Button(kLoadEquipment, QRect(kColA, 90, 84, 26), {});
  b.Button(kSaveEquipment, QRect(kColA + 90, 90, 84, 26), {});
  b.Button(kResetAll, QRect(kColA + 180, 90, 132, 26), {});
  b.Button(kRestoreFactory, QRect(kColA + 180, 120, 132, 26), {});
  Connect(kLoadEquipment, &SysPageLogic::LoadEquipment);
  Connect(kSaveEquipment, &SysPageLogic::SaveEquipment);
  Connect(kResetAll, &SysPageLogic::ResetToFactory);
  Connect(kRestoreFactory, &SysPageLogic::RestoreToPreset);
}

// Presets on the PC.
void SystemPage::BuildPcPresets() {
  PageBinder& b = Binder();
  Title(kColA, 158, Label::kPcMode);
  b.Caption(QRect(kColA, 182, 84, kRowHeight), {}, kPcNameEdit);
  Field(kPcNameEdit, QRect(kColA + 88, 182, 224, kRowHeight))
      ->setMaxLength(static_cast<int>(kMaxPcNameBytes));
  pcList_ = new QTreeWidget(this);
  pcList_->setObjectName(QString("c%1").arg(kPcList));
  pcList_->setGeometry(kColA, 210, 300, 226);
  pcList_->setColumnCount(2);
  pcList_->setRootIsDecorated(false);
  pcList_->setSelectionBehavior(QAbstractItemView::SelectRows);
  pcList_->header()->setStretchLastSection(false);
  pcList_->setColumnWidth(0, 40);
  pcList_->setColumnWidth(1, 240);
  pcList_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(pcList_, &QTreeWidget::currentItemChanged, this, [this] {
    const int row = pcList_->currentIndex().row();
    if (row >= 0)
      static_cast<QLineEdit*>(Control(kPcNameEdit))->setText(Utf8(logic_.ChoosePcRow(row)));
  });
  connect(pcList_, &QWidget::customContextMenuRequested, this, &SystemPage::PcListMenu);
  b.Button(kSaveToPc, QRect(kColA, 442, 146, 26), {});
  b.Button(kLoadFromPc, QRect(kColA + 154, 442, 146, 26), {});
  b.Button(kMassUpload, QRect(kColA, 474, 196, 26), {});
  b.Button(kDeletePc, QRect(kColA + 204, 474, 96, 26), {});
  Connect(kSaveToPc, &SysPageLogic::SaveToPc);
  connect(static_cast<QPushButton*>(Control(kLoadFromPc)), &QPushButton::clicked, this,
          [this] { logic_.LoadFromPc(pcList_->currentIndex().row()); });
  Connect(kMassUpload, &SysPageLogic::OpenMassUpload);
  Connect(kDeletePc, &SysPageLogic::DeletePc);
}

// Volumes and the record mixer: rows of the page table; the preset tools below them.
void SystemPage::BuildVolumes() {
  PageBinder& b = Binder();
  Title(kColB, 8, Label::kVolumeConfig);
  const int switches[] = {kOutputVolOn, kMusicLeftOn, kMicDirectOn, kEffectLeftOn};
  int row = 0;
  for (const SliderRow& s : Sliders()) {
    const int y = 32 + row * kSliderPitch;
    b.Caption(QRect(kColB, y, 124, kRowHeight), {}, s.id);
    b.Slider(s.id, QRect(kColB + 128, y, 170, kRowHeight), false);
    b.Readout(s.readoutId, QRect(kColB + 304, y, 70, kRowHeight));
    if (row >= 7) b.Button(switches[row - 7], QRect(kColB + 376, y, 36, kRowHeight), {});
    ++row;
  }
  const int below = 32 + row * kSliderPitch + 8;
  b.Button(kVolMode, QRect(kColB, below, 150, 26), {});
  Connect(kVolMode, &SysPageLogic::ToggleVolMode);
  b.Caption(QRect(kColB, below + 34, 124, kRowHeight), {}, kPowerMode);
  SkinComboBox* power = b.List(kPowerMode, QRect(kColB + 128, below + 34, 170, kRowHeight),
                               PowerModeItems(Lang::kEnglish));
  connect(power, &QComboBox::activated, this, [this](int i) {
    logic_.ChoosePowerMode(i);
    if (hooks_.edited) hooks_.edited();
  });
  tools_.Place(Binder(), QPoint(kColB, below + 70));
}

// Lock key and admin mode.
void SystemPage::BuildLockAndAdmin() {
  PageBinder& b = Binder();
  const int capW = 150, fieldX = kColC + 154, fieldX2 = kColC + 238;
  Title(kColC, 8, Label::kLockKey);
  b.Caption(QRect(kColC, 32, capW, kRowHeight), {}, kLockPassword);
  SkinEdit* lockPassword = Field(kLockPassword, QRect(fieldX, 32, 80, kRowHeight));
  lockPassword->setEchoMode(QLineEdit::Password);
  AsciiOnly(lockPassword, kPasswordLimit);
  b.Button(kUnlock, QRect(fieldX, 58, 80, 24), {});
  b.Button(kLock, QRect(fieldX2, 58, 80, 24), {});
  connect(static_cast<QPushButton*>(Control(kUnlock)), &QPushButton::clicked, this,
          [this] { logic_.PressLock(false); });
  connect(static_cast<QPushButton*>(Control(kLock)), &QPushButton::clicked, this,
          [this] { logic_.PressLock(true); });
  b.Caption(QRect(kColC, 88, capW, kRowHeight), {}, kLockNewPassword);
  AsciiOnly(Field(kLockNewPassword, QRect(fieldX, 88, 80, kRowHeight)), kPasswordLimit);
  b.Button(kLockModify, QRect(fieldX2, 87, 80, 24), {});
  Connect(kLockModify, &SysPageLogic::ModifyLockKey);

  Title(kColC, 124, Label::kAdminMode);
  b.Caption(QRect(kColC, 148, capW, kRowHeight), {}, kAdminPassword);
  SkinEdit* adminPassword = Field(kAdminPassword, QRect(fieldX, 148, 80, kRowHeight));
  adminPassword->setEchoMode(QLineEdit::Password);
  AsciiOnly(adminPassword, kPasswordLimit);
  const int adminButtons[] = {kAdminUser, kAdminAdmin, kAdminSecond};
  for (int mode = 0; mode < 3; ++mode) {
    b.Button(adminButtons[mode],
             QRect(mode == 0 ? kColC : (mode == 1 ? fieldX : fieldX2), 174, 80, 24), {});
    connect(static_cast<QPushButton*>(Control(adminButtons[mode])), &QPushButton::clicked, this,
            [this, mode] { logic_.PressAdmin(mode); });
  }
  b.Caption(QRect(kColC, 204, capW, kRowHeight), {}, kAdminNewPassword);
  AsciiOnly(Field(kAdminNewPassword, QRect(fieldX, 204, 80, kRowHeight)), kPasswordLimit);
  b.Button(kAdminModify, QRect(fieldX2, 203, 80, 24), {});
  Connect(kAdminModify, &SysPageLogic::ModifyAdminPassword);
}

// Language, Bluetooth names, the startup logo and the Wi-Fi button.
void SystemPage::BuildLanguageAndNames() {
  PageBinder& b = Binder();
  const int capW = 150, fieldX = kColC + 154, fieldX2 = kColC + 238;
  Title(kColC, 240, Label::kLanguage);
  b.Button(kEnglish, QRect(kColC, 264, 100, 26), {});
  b.Button(kChinese, QRect(kColC + 106, 264, 100, 26), {});
  connect(static_cast<QPushButton*>(Control(kEnglish)), &QPushButton::clicked, this,
          [this] { logic_.ChooseLanguage(Lang::kEnglish); });
  connect(static_cast<QPushButton*>(Control(kChinese)), &QPushButton::clicked, this,
          [this] { logic_.ChooseLanguage(Lang::kChinese); });

  // Bluetooth names.
  b.Caption(QRect(kColC, 302, capW, kRowHeight), {}, kBtNameLabel);
  b.Readout(kBtNameLabel, QRect(fieldX, 302, 170, kRowHeight))->setTextFormat(Qt::PlainText);
  b.Caption(QRect(kColC, 326, capW, kRowHeight), {}, kBleNameLabel);
  b.Readout(kBleNameLabel, QRect(fieldX, 326, 170, kRowHeight))->setTextFormat(Qt::PlainText);
  b.Caption(QRect(kColC, 352, capW, kRowHeight), {}, kBtNewName);
  AsciiOnly(Field(kBtNewName, QRect(fieldX, 352, 80, kRowHeight)), sys::kBtNameMax);
  b.Button(kBtModify, QRect(fieldX, 378, 80, 24), {});
  b.Button(kBtDefault, QRect(fieldX2, 378, 80, 24), {});
  Connect(kBtModify, &SysPageLogic::ModifyBtName);
  connect(static_cast<QPushButton*>(Control(kBtDefault)), &QPushButton::clicked, this, [this] {
    logic_.DefaultBtName();
    static_cast<QLineEdit*>(Control(kBtNewName))->clear();
  });

  // Startup logo (service code) and the Wi-Fi button (service code).
  b.Caption(QRect(kColC, 414, capW, kRowHeight), {}, kLogoLine1);
  AsciiOnly(Field(kLogoLine1, QRect(fieldX, 414, 164, kRowHeight)), sys::kLogoLineMax);
  b.Caption(QRect(kColC, 440, capW, kRowHeight), {}, kLogoLine2);
  AsciiOnly(Field(kLogoLine2, QRect(fieldX, 440, 164, kRowHeight)), sys::kLogoLineMax);
  b.Button(kLogoSet, QRect(fieldX, 466, 80, 24), {});
  b.Button(kLogoClear, QRect(fieldX2, 466, 80, 24), {});
  Connect(kLogoSet, &SysPageLogic::SetLogo);
  Connect(kLogoClear, &SysPageLogic::ClearLogo);
  b.Button(kWifi, QRect(kColC, 500, 100, 26), {});
  Connect(kWifi, &SysPageLogic::OpenWifi);
}

void SystemPage::EditChanged(int id, const QString& text) {
  const std::string value = Std(text);
  switch (id) {
    case kModeNameEdit:
      logic_.SetModeName(value);
      break;
    case kPcNameEdit:
      logic_.SetPcName(value);
      break;
    case kLockPassword:
      logic_.SetLockPassword(value);
      break;
    case kLockNewPassword:
      if (logic_.SetLockNewPassword(value)) {
        static_cast<QLineEdit*>(Control(kLockNewPassword))->clear();  // a service code
        return;
      }
      break;
    case kAdminPassword:
      logic_.SetAdminPassword(value);
      break;
    case kAdminNewPassword:
      logic_.SetAdminNewPassword(value);
      break;
    case kBtNewName:
      logic_.SetBtName(value);
      break;
    case kLogoLine1:
    case kLogoLine2:
      logic_.SetLogoLines(Std(static_cast<QLineEdit*>(Control(kLogoLine1))->text()),
                          Std(static_cast<QLineEdit*>(Control(kLogoLine2))->text()));
      break;
    default:
      return;
  }
  ShowEngineState();
}

void SystemPage::Refresh() {
  Page::Refresh();
  // A distribution brings the current preset and its name into the list and the edit.
  logic_.FollowCurrentPreset();
  static_cast<QLineEdit*>(Control(kModeNameEdit))
      ->setText(Utf8(sys::ModeName(engine_.Image().name)));
  static_cast<QComboBox*>(Control(kPowerMode))->setCurrentIndex(engine_.Image().powerMode);
  ShowEngineState();
}

void SystemPage::ReloadChanged() {
  Page::ReloadChanged();
  auto* power = static_cast<QComboBox*>(Control(kPowerMode));
  if (power->currentIndex() != engine_.Image().powerMode)
    power->setCurrentIndex(engine_.Image().powerMode);
}

void SystemPage::ShowEngineState() {
  const auto lit = [this](int id, bool on) { static_cast<SkinButton*>(Control(id))->SetLit(on); };
  const auto enable = [this](int id, bool on) { Control(id)->setEnabled(on); };
  lit(kUnlock, !engine_.LockState());
  lit(kLock, engine_.LockState());
  enable(kUnlock, logic_.LockButtonsEnabled());
  enable(kLock, logic_.LockButtonsEnabled());
  enable(kLockModify, logic_.LockModifyEnabled());
  const int adminButtons[] = {kAdminUser, kAdminAdmin, kAdminSecond};
  for (int mode = 0; mode < 3; ++mode) {
    lit(adminButtons[mode], engine_.AdminMode() == mode);
    enable(adminButtons[mode], logic_.AdminButtonsEnabled());
  }
  enable(kAdminModify, logic_.AdminModifyEnabled());
  lit(kEnglish, engine_.Language() == Lang::kEnglish);
  lit(kChinese, engine_.Language() == Lang::kChinese);
  lit(kVolMode, engine_.UseInitVol());
  enable(kBtModify, logic_.BtModifyEnabled());

  // Hidden until a service code shows them.
  for (int id : {kLogoLine1, kLogoLine2, kLogoSet, kLogoClear, kPowerMode})
    Control(id)->setVisible(logic_.LogoShown());
  for (int id : {kLogoLine1, kLogoLine2, kPowerMode})
    if (QLabel* caption = Binder().CaptionOf(id)) caption->setVisible(logic_.LogoShown());
  Control(kWifi)->setVisible(logic_.WifiShown());
  Control(kRestoreFactory)->setVisible(logic_.FactoryAllowed());
  Control(kDeletePc)->setVisible(logic_.BoostShown());
  Control(kAdminSecond)->hide();

  static_cast<QLabel*>(Control(kBtNameLabel))->setText(DeviceName(engine_.Image().btName));
  static_cast<QLabel*>(Control(kBleNameLabel))->setText(DeviceName(engine_.Image().bleName));
  ShowModes();
  ShowPcFiles();
}

void SystemPage::ShowModes() {
  auto* combo = static_cast<QComboBox*>(Control(kModeCombo));
  const QSignalBlocker block(combo);
  const auto entries = logic_.ModeEntries();
  if (combo->count() != static_cast<int>(entries.size())) {
    combo->clear();
    for (const auto& e : entries) combo->addItem(Utf8(e));
  } else {
    for (int i = 0; i < combo->count(); ++i)
      combo->setItemText(i, Utf8(entries[static_cast<std::size_t>(i)]));
  }
  combo->setCurrentIndex(logic_.SelectedMode());
}

void SystemPage::ShowPcFiles() {
  const auto& files = engine_.PcFiles();
  if (pcList_->topLevelItemCount() == static_cast<int>(files.size())) return;
  const QSignalBlocker block(pcList_);
  pcList_->clear();
  for (std::size_t i = 0; i < files.size(); ++i) {
    auto* item = new QTreeWidgetItem(pcList_);
    item->setText(0, QString::number(i + 1));
    item->setText(1, Utf8(files[i]));
  }
}

void SystemPage::PcListMenu(const QPoint& at) {
  QTreeWidgetItem* item = pcList_->itemAt(at);
  if (!item || !engine_.Connected()) return;
  const int row = pcList_->indexOfTopLevelItem(item);
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QMenu* into =
      menu->addMenu(QString::fromUtf8(LabelText(Label::kUploadToEquipment, engine_.Language())));
  const auto entries = logic_.ModeEntries();
  for (int slot = 0; slot < sys::kUserModes; ++slot) {
    into->addAction(Utf8(entries[static_cast<std::size_t>(slot)]), this,
                    [this, row, slot] { logic_.LoadIntoSlot(row, slot); });
  }
  menu->popup(pcList_->viewport()->mapToGlobal(at));
}

void SystemPage::ApplyLanguage(Lang lang) {
  Page::ApplyLanguage(lang);
  lang_ = lang;
  tools_.ApplyLanguage(lang);
  Binder().ApplyLabels(nav::PageKind::kSystem, lang);
  for (const auto& t : titles_) t.label->setText(QString::fromUtf8(LabelText(t.text, lang)));
  // Texts of the controls the label table does not name.
  const struct {
    int id;
    TextId text;
  } own[] = {{kDeletePc, TextId::kSysDeletePc},
             {kLogoSet, TextId::kSysLogo},
             {kLogoClear, TextId::kSysClearLogo},
             {kWifi, TextId::kSysWifi},
             {kAdminSecond, TextId::kSysSecondAdmin}};
  for (const auto& o : own)
    static_cast<QPushButton*>(Control(o.id))->setText(QString::fromUtf8(Text(o.text, lang)));
  Binder().CaptionOf(kLogoLine1)->setText(QString::fromUtf8(Text(TextId::kSysLogoLine1, lang)));
  Binder().CaptionOf(kLogoLine2)->setText(QString::fromUtf8(Text(TextId::kSysLogoLine2, lang)));
  pcList_->setHeaderLabels({QString::fromUtf8(Text(TextId::kMassColumnNumber, lang)),
                            QString::fromUtf8(LabelText(Label::kNameColumn, lang))});
  auto* power = static_cast<QComboBox*>(Control(kPowerMode));
  const int current = power->currentIndex();
  const QSignalBlocker block(power);
  power->clear();
  power->addItems(PowerModeItems(lang));
  power->setCurrentIndex(current);
  ShowEngineState();
}

void SystemPage::OpenWifi() {
  auto* dialog = new WifiDialog(engine_.Language(), hooks_.moduleEndpoint, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void SystemPage::Say(const std::string& caption, const std::string& text) {
  shown_.push_back(Utf8(text));
  ShowNotice(this, Utf8(caption), Utf8(text));
}

void SystemPage::Ask(const std::string& caption, const std::string& text, bool okCancel,
                     std::function<void()> onYes) {
  shown_.push_back(Utf8(text));
  AskQuestion(this, Utf8(caption), Utf8(text), okCancel ? QMessageBox::Ok : QMessageBox::Yes,
              okCancel ? QMessageBox::Cancel : QMessageBox::No, std::move(onYes));
}

}  // namespace tavelo::ui
