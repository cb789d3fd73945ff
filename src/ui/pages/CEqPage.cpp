#include "ui/pages/CEqPage.h"

#include <QPainter>

namespace tavelo::ui {

CEqPage::CEqPage(const PageDefinition& def, ParamImage& image, BlockPoster post, QSize size,
                 int graphSlots, QWidget* parent)
    : QWidget(parent),
      model_(def, image, std::move(post)),
      mouse_(GraphGeometry::ForWidth(size.width())),
      graph_(new GraphWidget(this)),
      binder_(new PageBinder(model_, this)) {
  resize(size);
  view_.InitWithDefaultArt(GraphGeometry::ForWidth(size.width()), graphSlots);
  graph_->setGeometry(0, 0, size.width(), kPageGraphHeight);
  graph_->SetFrame(&view_.Frame());
  graph_->SetHandler(this);
  model_.onGraphChanged = [this] { RenderGraph(); };
}

CEqPage::~CEqPage() {
  model_.onGraphChanged = nullptr;
}

void CEqPage::Refresh() {
  model_.Refresh();
}

void CEqPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
}

void CEqPage::RenderGraph() {
  // Until a parameter set has been read the graph shows its empty grid.
  if (model_.State() != PageModel::kData) return;
  view_.SetSelectedBand(model_.Selected());
  view_.SetBypassStamp(model_.Bypassed());
  if (model_.ToneCount() == 3)
    view_.RenderWithTones(model_.Bands(), model_.BandCount(), model_.ToneBands(),
                          model_.BandCount());
  else
    view_.Render(model_.Bands(), model_.BandCount());
  graph_->Refresh();
}

GraphBandSet CEqPage::BandSet() const {
  GraphBandSet set;
  set.bands = model_.Bands();
  set.eqCount = model_.EqBandCount();
  set.passCount = model_.BandCount() - model_.EqBandCount();
  return set;
}

void CEqPage::GraphPress(Qt::MouseButton button, QPoint p) {
  if (model_.State() != PageModel::kData) return;
  const int focusBand = model_.BandOfControl(binder_->IdOf(focusWidget()));
  const bool controlFocus = focusBand >= 0 && isAncestorOf(focusWidget());
  GraphEdit edit;
  if (button == Qt::LeftButton)
    edit = mouse_.LeftDown(p, BandSet(), model_.Selected(), controlFocus);
  else if (button == Qt::RightButton)
    edit = mouse_.RightDown(p, BandSet(), model_.Selected(), controlFocus);
  Apply(edit);
}

void CEqPage::GraphRelease(Qt::MouseButton, QPoint) {
  mouse_.ButtonUp();
}

void CEqPage::GraphMove(QPoint p) {
  if (model_.State() != PageModel::kData) return;
  Apply(mouse_.Move(p, BandSet()));
}

void CEqPage::Apply(const GraphEdit& edit) {
  if (edit.band < 0) return;
  if (edit.select) {
    if (QWidget* slider = binder_->Widget(model_.FocusSliderOfBand(edit.band)))
      slider->setFocus(Qt::MouseFocusReason);
    model_.SelectBand(edit.band);
  }
  if (!edit.Changed()) return;
  const EqBand& band = model_.Bands()[edit.band];
  if (edit.passFilter) {
    if (edit.setFreq) model_.DragPassFilter(edit.band, edit.freq);
  } else if (edit.setQ) {
    model_.DragQ(edit.band, edit.q);
  } else {
    model_.DragPoint(edit.band, edit.setFreq ? edit.freq : band.freq,
                     edit.setGain ? edit.gain : band.gain);
  }
}

}  // namespace tavelo::ui
