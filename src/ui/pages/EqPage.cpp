#include "ui/pages/EqPage.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>

#include "core/text/ToolTexts.h"
#include "ui/controls/GreyButton.h"
#include "ui/controls/SkinButton.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/graph/GraphLayout.h"
#include "ui/tools/FilterFileActions.h"

namespace tavelo::ui {
namespace {

// The file buttons sit in the graph's top right corner, above the curve's +24 dB line.
constexpr int kFileButtonWidth = 104, kFileButtonHeight = 18, kFileButtonTop = 2;

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
  if (model.ToneCount() == 3)
    view_.RenderWithTones(model.Bands(), model.BandCount(), model.ToneBands(), model.BandCount());
  else
    view_.Render(model.Bands(), model.BandCount());
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
