#include "ui/pages/EqPage.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <algorithm>

#include "core/text/ToolTexts.h"
#include "ui/controls/GreyButton.h"
#include "ui/controls/SkinButton.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/graph/GraphLayout.h"
#include "ui/tools/FilterFileActions.h"
#ifdef TAVELO_HAS_EQ_FIT
#include "core/text/FitTexts.h"
#include "ui/fit/FitDialog.h"
#endif

namespace tavelo::ui {
namespace {

// The file buttons sit in the graph's top right corner, above the curve's +24 dB line.
constexpr int kFileButtonWidth = 104, kFileButtonHeight = 18, kFileButtonTop = 2;
constexpr int kFitButtonWidth = 132;

SkinButton* FileButton(QWidget* page, int x, const char* name) {
  return MakeGreyButton(page, QRect(x, kFileButtonTop, kFileButtonWidth, kFileButtonHeight), name);
}

std::filesystem::path PathOf(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

}  // namespace

EqPage::EqPage(const PageDefinition& def, ParamImage& image, BlockPoster post, QSize size,
               int graphSlots, QWidget* parent)
    : Page(def, image, std::move(post), size, parent),
      graphSlots_(graphSlots),
      mouse_(GraphGeometry::ForWidth(size.width())),
      graph_(new GraphWidget(this)),
      import_(FileButton(this, size.width() - 2 * kFileButtonWidth - 8, "importFilters")),
      export_(FileButton(this, size.width() - kFileButtonWidth - 4, "exportFilters")) {
  view_.InitWithDefaultArt(GraphGeometry::ForWidth(size.width()), graphSlots);
  graph_->setGeometry(0, 0, size.width(), kPageGraphHeight);
  graph_->SetFrame(&view_.Frame());
  graph_->SetHandler(this);
#ifdef TAVELO_HAS_EQ_FIT
  fit_ = MakeGreyButton(this,
                        QRect(size.width() - 2 * kFileButtonWidth - kFitButtonWidth - 12,
                              kFileButtonTop, kFitButtonWidth, kFileButtonHeight),
                        "fitMeasurement");
  fit_->raise();
  connect(fit_, &QPushButton::clicked, this, [this] { OpenFitDialog(); });
#endif
  import_->raise();
  export_->raise();
  connect(import_, &QPushButton::clicked, this, [this] { ChooseFilterFile(false); });
  connect(export_, &QPushButton::clicked, this, [this] { ChooseFilterFile(true); });
  EqPage::ApplyLanguage(Lang::kEnglish);
}

void EqPage::ApplyLanguage(Lang lang) {
  Page::ApplyLanguage(lang);
  lang_ = lang;
  import_->setText(QString::fromUtf8(Text(ToolText::kImportFilters, lang)));
  export_->setText(QString::fromUtf8(Text(ToolText::kExportFilters, lang)));
#ifdef TAVELO_HAS_EQ_FIT
  fit_->setText(QString::fromUtf8(Text(FitText::kFitButton, lang)));
#endif
}

FitDialog* EqPage::OpenFitDialog() {
#ifdef TAVELO_HAS_EQ_FIT
  if (fitDialog_) {
    fitDialog_->raise();
    return OpenedFitDialog();
  }
  // Window-modal without a nested event loop: the graph behind it shows the proposal and
  // the processor keeps being answered.
  auto* dialog = new FitDialog(*this, lang_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowModality(Qt::WindowModal);
  dialog->show();
  fitDialog_ = dialog;
  return dialog;
#else
  return nullptr;
#endif
}

FitDialog* EqPage::OpenedFitDialog() const {
#ifdef TAVELO_HAS_EQ_FIT
  return static_cast<FitDialog*>(fitDialog_.data());
#else
  return nullptr;
#endif
}

int EqPage::FitBandCount() {
  return Model().BandSide().EqBandCount();
}

bool EqPage::CanSetBands() {
  const BandEditor& bands = Model().BandSide();
  return bands.HasBands() && bands.Enabled() && Model().State() == PageModel::kData;
}

bool EqPage::SetBands(const std::vector<EqBand>& bands) {
  if (!CanSetBands()) return false;
  return Model().BandSide().ImportBands(bands);
}

std::string EqPage::ShownSetName(Lang lang) {
  return tavelo::ShownSetName(Model().BandSide().ViewName(), lang);
}

void EqPage::ShowPreview(std::vector<EqGraph::Overlay> overlays, std::vector<EqBand> bands) {
  view_.SetOverlays(std::move(overlays));
  previewBands_ = std::move(bands);
  RenderGraph();
}

void EqPage::ClearPreview() {
  if (previewBands_.empty() && !view_.HasOverlays()) return;
  view_.SetOverlays({});
  previewBands_.clear();
  RenderGraph();
}

void EqPage::ChooseFilterFile(bool save) {
  const QString title =
      QString::fromUtf8(Text(save ? ToolText::kExportFilters : ToolText::kImportFilters, lang_));
  const QString types = QString::fromUtf8(Text(ToolText::kFilterFileTypes, lang_));
  const QString path = save ? QFileDialog::getSaveFileName(this, title, {}, types)
                            : QFileDialog::getOpenFileName(this, title, {}, types);
  if (path.isEmpty()) return;
  const QString message = save ? ExportFilters(path) : ImportFilters(path);
  if (!message.isEmpty()) ShowNotice(this, title, message);
}

QString EqPage::ImportFilters(const QString& path) {
  const FilterFileOutcome outcome = ImportFilterFile(Model(), PathOf(path), lang_);
  return QString::fromStdString(outcome.message);
}

QString EqPage::ExportFilters(const QString& path) {
  const FilterFileOutcome outcome = ExportFilterFile(Model(), PathOf(path), lang_);
  return QString::fromStdString(outcome.message);
}

EqPage::~EqPage() {
  // An open dialog is a child that would otherwise outlive the page's own members.
  delete fitDialog_.data();
  Model().onGraphChanged = nullptr;
}

void EqPage::DrawGraphFor(qreal ratio) {
  if (ratio <= 0 || qFuzzyCompare(view_.Ratio(), ratio)) return;
  const GraphGeometry geometry = view_.Geometry();
  view_.InitWithDefaultArt(geometry, graphSlots_, ratio);
  graph_->SetFrame(&view_.Frame());
  RenderGraph();
}

bool EqPage::event(QEvent* event) {
  if (event->type() == QEvent::ScreenChangeInternal) DrawGraphFor(devicePixelRatioF());
  return Page::event(event);
}

void EqPage::RenderGraph() {
  PageModel& model = Model();
  // Until a parameter set has been read the graph shows its empty grid.
  if (model.State() != PageModel::kData || !model.Bands()) return;
  view_.SetSelectedBand(model.Selected());
  view_.SetBypassStamp(model.Bypassed());
  // The band array shown now may draw in colours of its own (the two microphones).
  const EqView& shown = model.BandSide().View();
  view_.SetCurveColour(shown.curveColour ? shown.curveColour : kDefaultCurveColour);
  view_.SetBandColour(shown.bandColour ? shown.bandColour : kDefaultBandColour);
  // A fit's proposal is drawn in place of the first bands until it is applied or dropped.
  const EqBand* bands = model.Bands();
  std::vector<EqBand> proposal;
  if (!previewBands_.empty()) {
    proposal.assign(bands, bands + model.BandCount());
    std::copy_n(previewBands_.begin(), std::min(previewBands_.size(), proposal.size()),
                proposal.begin());
    bands = proposal.data();
  }
  if (model.ToneCount() == 3)
    view_.RenderWithTones(bands, model.BandCount(), model.ToneBands(), model.BandCount());
  else
    view_.Render(bands, model.BandCount());
  graph_->Refresh();
}

GraphBandSet EqPage::BandSet() {
  PageModel& model = Model();
  GraphBandSet set;
  set.bands = model.Bands();
  set.eqCount = model.EqBandCount();
  set.passCount = model.BandCount() - model.EqBandCount();
  for (int i = 0; i < set.passCount; ++i) {
    const auto [lo, hi] = model.Rows().PassRange(set.eqCount + i);
    set.passRanges.push_back({lo, hi});
  }
  return set;
}

bool EqPage::MouseEditing() {
  PageModel& model = Model();
  return model.State() == PageModel::kData && model.Enabled() && model.Bands();
}

void EqPage::GraphPress(Qt::MouseButton button, QPoint p) {
  if (!MouseEditing()) return;
  // Only a band control that holds the keyboard focus right now keeps its band under
  // another marker; the page's last focused child may have lost the focus long ago.
  QWidget* focus = QApplication::focusWidget();
  const int focusBand =
      focus && isAncestorOf(focus) ? Model().BandOfControl(Binder().IdOf(focus)) : -1;
  const bool controlFocus = focusBand >= 0;
  GraphEdit edit;
  if (button == Qt::LeftButton)
    edit =
        mouse_.LeftDown(p, BandSet(), controlFocus ? focusBand : Model().Selected(), controlFocus);
  else if (button == Qt::RightButton)
    edit =
        mouse_.RightDown(p, BandSet(), controlFocus ? focusBand : Model().Selected(), controlFocus);
  Apply(edit);
}

void EqPage::GraphRelease(Qt::MouseButton, QPoint) {
  mouse_.ButtonUp();
}

void EqPage::GraphMove(QPoint p) {
  if (!MouseEditing()) return;
  Apply(mouse_.Move(p, BandSet()));
}

void EqPage::Apply(const GraphEdit& edit) {
  if (edit.band < 0) return;
  PageModel& model = Model();
  if (edit.select) {
    if (QWidget* slider = Binder().Widget(model.FocusSliderOfBand(edit.band)))
      slider->setFocus(Qt::MouseFocusReason);
    model.SelectBand(edit.band);
  }
  if (!edit.Changed()) return;
  const EqBand& band = model.Bands()[edit.band];
  if (edit.passFilter) {
    if (edit.setFreq) model.DragPassFilter(edit.band, edit.freq);
  } else if (edit.setQ) {
    model.DragQ(edit.band, edit.q);
  } else {
    model.DragPoint(edit.band, edit.setFreq ? edit.freq : band.freq,
                    edit.setGain ? edit.gain : band.gain);
  }
}

}  // namespace tavelo::ui
