#include "ui/tools/SystemTools.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

#include "core/presets/PresetCompare.h"
#include "core/text/ReportTexts.h"
#include "core/text/Texts.h"
#include "core/text/ToolTexts.h"
#include "ui/controls/SkinButton.h"
#include "ui/dialogs/MassSaveDialog.h"
#include "ui/pages/PageBinder.h"
#include "ui/pages/SysPageTable.h"
#include "ui/report/ReportPdf.h"
#include "ui/system/SysPageRules.h"
#include "ui/tools/CompareDialog.h"

namespace tavelo::ui {
namespace {

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Std(const QString& text) {
  return text.toUtf8().toStdString();
}

QString Word(ReportText text, Lang lang) {
  const std::string_view w = ReportWord(text, lang);
  return QString::fromUtf8(w.data(), static_cast<qsizetype>(w.size()));
}

}  // namespace

SystemTools::SystemTools(Engine& engine, QWidget* host, Hooks hooks)
    : engine_(engine),
      host_(host),
      hooks_(std::move(hooks)),
      ab_(engine, AbSwitch::Hooks{[this] {
                                    ShowAb();
                                    if (hooks_.imageSwitched) hooks_.imageSwitched();
                                  },
                                  [this] { ShowAb(); },
                                  [this](const std::string& text, std::function<void()> onYes) {
                                    if (hooks_.ask)
                                      hooks_.ask(Text(TextId::kCaptionWarning, lang_), text,
                                                 std::move(onYes));
                                  },
                                  [this](const std::string& text) {
                                    Say(Text(TextId::kCaptionWarning, lang_), text);
                                  }}) {}

void SystemTools::Place(PageBinder& b, QPoint at) {
  using namespace sys_page;
  const int x = at.x(), y = at.y();
  title_ = b.Caption(QRect(x, y, 300, 20), {});
  storeA_ = b.Button(kStoreA, QRect(x, y + 24, 96, 26), {});
  storeB_ = b.Button(kStoreB, QRect(x + 102, y + 24, 96, 26), {});
  toggle_ = b.Button(kAbToggle, QRect(x + 204, y + 24, 110, 26), {});
  compare_ = b.Button(kCompare, QRect(x, y + 58, 198, 26), {});
  report_ = b.Button(kExportReport, QRect(x + 204, y + 58, 110, 26), {});
  const auto on = [this](SkinButton* button, std::function<void()> action) {
    connect(button, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
  };
  on(storeA_, [this] { ab_.Store(AbSwitch::kA); });
  on(storeB_, [this] { ab_.Store(AbSwitch::kB); });
  on(toggle_, [this] { ab_.Toggle(); });
  on(compare_, [this] { ChooseCompareFile(); });
  on(report_, [this] { ChooseReportFile(); });
}

void SystemTools::ShowAb() {
  if (!toggle_) return;
  const AbSwitch::Slot live = ab_.Live();
  const ToolText text = live == AbSwitch::kA   ? ToolText::kLiveA
                        : live == AbSwitch::kB ? ToolText::kLiveB
                                               : ToolText::kLiveNone;
  toggle_->setText(QString::fromUtf8(Text(text, lang_)));
  toggle_->SetLit(live != AbSwitch::kNone);
  toggle_->setEnabled(ab_.Stored(AbSwitch::kA) && ab_.Stored(AbSwitch::kB));
}

void SystemTools::ChooseCompareFile() {
  const QString path = QFileDialog::getOpenFileName(
      host_, QString::fromUtf8(Text(ToolText::kCompareWithFile, lang_)),
      QString::fromStdString(engine_.ParamDir().string()),
      QString::fromUtf8(Text(ToolText::kPresetFileTypes, lang_)));
  if (!path.isEmpty()) CompareWith(path);
}

void SystemTools::ChooseReportFile() {
  const QString name = Utf8(sys::ModeName(engine_.Image().name)).trimmed();
  const QString suggested = QString::fromStdString(engine_.ParamDir().string()) + "/" +
                            (name.isEmpty() ? QStringLiteral("report") : name) + ".pdf";
  const QString path = QFileDialog::getSaveFileName(host_, Word(ReportText::kExport, lang_),
                                                    suggested, Word(ReportText::kPdfFiles, lang_));
  if (path.isEmpty()) return;
  QString error;
  if (!ExportReport(path, error)) {
    Say(Text(TextId::kCaptionWarning, lang_), Std(error));
    return;
  }
  Say(" ", Std(Word(ReportText::kWritten, lang_).replace(QStringLiteral("%s"), path)));
}

bool SystemTools::ExportReport(const QString& path, QString& error) {
  ReportHeader header;
  header.presetName = Utf8(sys::ModeName(engine_.Image().name));
  header.source = Word(ReportText::kProcessor, lang_);
  header.when = QDateTime::currentDateTime();
  header.lang = lang_;
  return WriteReportPdf(engine_.Image(), header, path, error);
}

CompareDialog* SystemTools::CompareWith(const QString& path) {
  const std::string name = Std(QFileInfo(path).fileName());
  const PresetComparison result =
      CompareWithFile(engine_.Image(), std::filesystem::path(path.toStdString()));
  const char* caption = Text(TextId::kCaptionWarning, lang_);
  if (!result.ok) {
    Say(caption, FormatText(ToolText::kCompareRefused, lang_, name) + result.message);
    return nullptr;
  }
  if (result.fields.empty()) {
    Say(" ", FormatText(ToolText::kCompareSame, lang_, name));
    return nullptr;
  }
  auto* dialog = new CompareDialog(Utf8(name), result.fields, lang_, host_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
  return dialog;
}

void SystemTools::OpenMassUpload(bool factoryAllowed) {
  auto* dialog = new MassSaveDialog(engine_.Language(), engine_.ParamDir(), factoryAllowed, host_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &MassSaveDialog::UploadRequested, this,
          [this](const std::vector<std::string>& files, bool factory) {
            if (hooks_.startMassUpload) hooks_.startMassUpload(files, factory);
          });
  dialog->open();
}

void SystemTools::ApplyLanguage(Lang lang) {
  lang_ = lang;
  if (!title_) return;
  title_->setText(QString::fromUtf8(Text(ToolText::kToolsGroup, lang)));
  storeA_->setText(QString::fromUtf8(Text(ToolText::kStoreA, lang)));
  storeB_->setText(QString::fromUtf8(Text(ToolText::kStoreB, lang)));
  compare_->setText(QString::fromUtf8(Text(ToolText::kCompareWithFile, lang)));
  report_->setText(Word(ReportText::kExport, lang));
  ShowAb();
}

void SystemTools::Say(const std::string& caption, const std::string& text) {
  if (hooks_.say) hooks_.say(caption, text);
}

}  // namespace tavelo::ui
