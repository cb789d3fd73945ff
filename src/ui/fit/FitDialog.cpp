#include "ui/fit/FitDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <filesystem>

#include "core/text/FitTexts.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/pages/EqPage.h"

namespace tavelo::ui {
namespace {

// The fit's curves on the graph: apart from the dark grid, the equaliser's green curve and
// the bands' cyan markers.
constexpr QRgb kMeasuredColour = 0xa0a0b4;
constexpr QRgb kTargetColour = 0xe070e0;
constexpr QRgb kPredictedColour = 0xffb040;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}
QString Q(FitText id, Lang lang) {
  return QString::fromUtf8(Text(id, lang));
}

std::filesystem::path PathOf(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

QLabel* Legend(FitText id, Lang lang, QRgb colour) {
  auto* label = new QLabel(Q(id, lang));
  label->setStyleSheet(QStringLiteral("color: #%1; font-weight: bold;")
                           .arg(colour & 0xffffff, 6, 16, QLatin1Char('0')));
  return label;
}

}  // namespace

FitDialog::FitDialog(EqPage& page, Lang lang)
    : QDialog(&page), page_(page), lang_(lang), fit_(lang) {
  setObjectName("fitDialog");
  setWindowTitle(Q(SayFit(FitText::kDialogTitle, lang, {page.ShownSetName(lang)})));
  Build();
  ShowFiles();
}

// The page deletes an open dialog before it goes itself; the preview is cleared in done().
FitDialog::~FitDialog() = default;

void FitDialog::Build() {
  auto* layout = new QVBoxLayout(this);

  layout->addWidget(new QLabel(Q(FitText::kMeasurements, lang_)));
  auto* fileRow = new QHBoxLayout;
  files_ = new QListWidget;
  files_->setObjectName("fitFiles");
  files_->setMaximumHeight(80);
  fileRow->addWidget(files_, 1);
  auto* fileButtons = new QVBoxLayout;
  auto* add = new QPushButton(Q(FitText::kAddMeasurement, lang_));
  add->setObjectName("fitAdd");
  auto* clear = new QPushButton(Q(FitText::kClearMeasurements, lang_));
  clear->setObjectName("fitClear");
  fileButtons->addWidget(add);
  fileButtons->addWidget(clear);
  fileButtons->addStretch();
  fileRow->addLayout(fileButtons);
  layout->addLayout(fileRow);

  auto* form = new QFormLayout;
  auto* targetRow = new QHBoxLayout;
  target_ = new QLabel;
  target_->setObjectName("fitTarget");
  auto* chooseTarget = new QPushButton(Q(FitText::kChooseTarget, lang_));
  chooseTarget->setObjectName("fitChooseTarget");
  auto* flat = new QPushButton(Q(FitText::kTargetFlat, lang_));
  flat->setObjectName("fitFlat");
  targetRow->addWidget(target_, 1);
  targetRow->addWidget(chooseTarget);
  targetRow->addWidget(flat);
  form->addRow(Q(FitText::kTarget, lang_), targetRow);

  const auto pair = [this](QLineEdit*& low, QLineEdit*& high, const char* name) {
    auto* row = new QHBoxLayout;
    low = new QLineEdit;
    high = new QLineEdit;
    low->setObjectName(QString(name) + "Low");
    high->setObjectName(QString(name) + "High");
    row->addWidget(low);
    row->addWidget(new QLabel(QStringLiteral("-")));
    row->addWidget(high);
    for (QLineEdit* edit : {low, high})
      connect(edit, &QLineEdit::textEdited, this, [this] { Forget(); });
    return row;
  };
  form->addRow(Q(FitText::kFitRange, lang_), pair(rangeLow_, rangeHigh_, "fitRange"));
  form->addRow(Q(FitText::kAlignBand, lang_), pair(alignLow_, alignHigh_, "fitAlign"));
  maxBoost_ = new QLineEdit;
  maxBoost_->setObjectName("fitMaxBoost");
  connect(maxBoost_, &QLineEdit::textEdited, this, [this] { Forget(); });
  form->addRow(Q(FitText::kMaxBoost, lang_), maxBoost_);
  layout->addLayout(form);
  SetFields(FitFields{});

  auto* runRow = new QHBoxLayout;
  run_ = new QPushButton(Q(FitText::kRunFit, lang_));
  run_->setObjectName("fitRun");
  runRow->addWidget(run_);
  runRow->addStretch();
  runRow->addWidget(Legend(FitText::kLegendMeasured, lang_, kMeasuredColour));
  runRow->addWidget(Legend(FitText::kLegendTarget, lang_, kTargetColour));
  runRow->addWidget(Legend(FitText::kLegendPredicted, lang_, kPredictedColour));
  layout->addLayout(runRow);

  report_ = new QPlainTextEdit;
  report_->setObjectName("fitReport");
  report_->setReadOnly(true);
  report_->setMinimumSize(460, 170);
  layout->addWidget(report_, 1);

  auto* buttons = new QDialogButtonBox;
  apply_ = buttons->addButton(Q(FitText::kApply, lang_), QDialogButtonBox::AcceptRole);
  apply_->setObjectName("fitApply");
  auto* cancel = buttons->addButton(Q(FitText::kCancel, lang_), QDialogButtonBox::RejectRole);
  cancel->setObjectName("fitCancel");
  layout->addWidget(buttons);

  const QString types = Q(FitText::kMeasurementFiles, lang_);
  connect(add, &QPushButton::clicked, this, [this, types] {
    for (const QString& path :
         QFileDialog::getOpenFileNames(this, Q(FitText::kMeasurements, lang_), {}, types))
      AddMeasurement(path);
  });
  connect(clear, &QPushButton::clicked, this, [this] {
    fit_.ClearMeasurements();
    Forget();
    ShowFiles();
  });
  connect(chooseTarget, &QPushButton::clicked, this, [this, types] {
    const QString path = QFileDialog::getOpenFileName(this, Q(FitText::kTarget, lang_), {}, types);
    if (!path.isEmpty()) ChooseTarget(path);
  });
  connect(flat, &QPushButton::clicked, this, [this] { ChooseTarget({}); });
  connect(run_, &QPushButton::clicked, this, [this] { StartFit(); });
  connect(apply_, &QPushButton::clicked, this, [this] { ApplyFit(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString FitDialog::Say(const std::string& message) {
  if (message.empty()) return {};
  const QString text = Q(message);
  ShowNotice(this, windowTitle(), text);
  return text;
}

void FitDialog::ShowFiles() {
  files_->clear();
  for (const auto& name : fit_.MeasurementNames()) files_->addItem(Q(name));
  target_->setText(fit_.TargetName().empty() ? Q(FitText::kTargetFlat, lang_)
                                             : Q(fit_.TargetName()));
  run_->setEnabled(!busy_ && !fit_.MeasurementNames().empty());
  apply_->setEnabled(!busy_ && outcome_.has_value());
}

FitFields FitDialog::Fields() const {
  FitFields f;
  f.rangeLow = rangeLow_->text().toStdString();
  f.rangeHigh = rangeHigh_->text().toStdString();
  f.alignLow = alignLow_->text().toStdString();
  f.alignHigh = alignHigh_->text().toStdString();
  f.maxBoost = maxBoost_->text().toStdString();
  return f;
}

void FitDialog::SetFields(const FitFields& f) {
  rangeLow_->setText(Q(f.rangeLow));
  rangeHigh_->setText(Q(f.rangeHigh));
  alignLow_->setText(Q(f.alignLow));
  alignHigh_->setText(Q(f.alignHigh));
  maxBoost_->setText(Q(f.maxBoost));
  Forget();
}

void FitDialog::Forget() {
  ++generation_;
  outcome_.reset();
  page_.ClearPreview();
  if (report_) report_->clear();
  if (apply_) ShowFiles();
}

QString FitDialog::AddMeasurement(const QString& path) {
  const std::string message = fit_.AddMeasurement(PathOf(path));
  Forget();
  return Say(message);
}

QString FitDialog::ChooseTarget(const QString& path) {
  std::string message;
  if (path.isEmpty())
    fit_.ClearTarget();
  else
    message = fit_.SetTarget(PathOf(path));
  Forget();
  return Say(message);
}

QString FitDialog::StartFit() {
  if (busy_) return {};
  if (!page_.CanSetBands()) return Say(Text(FitText::kPageDisabled, lang_));
  std::string error;
  auto job = fit_.Prepare(Fields(), page_.FitBandCount(), error);
  if (!job) return Say(error);
  Forget();
  busy_ = true;
  report_->setPlainText(Q(FitText::kFitting, lang_));
  ShowFiles();
  // The fit takes a good part of a second for ten bands: the window keeps answering the
  // processor meanwhile. The thread ends by itself; a dialog closed before then just does
  // not hear of it.
  auto result = std::make_shared<FitOutcome>();
  QThread* worker = QThread::create(
      [result, job = std::move(*job)]() mutable { *result = RunFit(std::move(job)); });
  const int generation = generation_;
  connect(worker, &QThread::finished, worker, &QObject::deleteLater);
  connect(worker, &QThread::finished, this, [this, result, generation] {
    busy_ = false;
    if (generation == generation_) Finished(std::move(*result));
    ShowFiles();
    emit fitFinished();
  });
  worker->start();
  return {};
}

void FitDialog::Finished(FitOutcome outcome) {
  outcome_ = std::move(outcome);
  report_->setPlainText(Q(FitSummary(*outcome_)));
  const FitPreview preview = PreviewOf(*outcome_, page_.View().Geometry());
  page_.ShowPreview({{preview.measured, kMeasuredColour},
                     {preview.target, kTargetColour},
                     {preview.predicted, kPredictedColour}},
                    FittedBands(*outcome_, page_.Model().Bands()));
}

QString FitDialog::Report() const {
  return report_->toPlainText();
}

QString FitDialog::ApplyFit() {
  if (!outcome_ || busy_) return {};
  const std::vector<EqBand> bands = FittedBands(*outcome_, page_.Model().Bands());
  page_.ClearPreview();
  if (!page_.SetBands(bands)) return Say(Text(FitText::kPageDisabled, lang_));
  const QString message = Q(SayFit(FitText::kApplied, lang_, {page_.ShownSetName(lang_)}));
  accept();
  return message;
}

void FitDialog::done(int result) {
  page_.ClearPreview();
  QDialog::done(result);
}

}  // namespace tavelo::ui
