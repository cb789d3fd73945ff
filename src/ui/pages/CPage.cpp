#include "ui/pages/CPage.h"

#include <QPainter>

namespace tavelo::ui {

CPage::CPage(const PageDefinition& def, ParamImage& image, BlockPoster post, QSize size,
             QWidget* parent)
    : QWidget(parent), model_(def, image, std::move(post)), binder_(new PageBinder(model_, this)) {
  resize(size);
  model_.onGraphChanged = [this] { RenderGraph(); };
}

void CPage::ShowParameterSet() {
  model_.SetState(PageModel::kData);
  Refresh();
}

void CPage::Refresh() {
  model_.Refresh();
}

void CPage::ReloadChanged() {
  model_.ReloadChanged();
}

void CPage::AppModeChanged() {
  model_.Refresh();
}

void CPage::ApplyLanguage(Lang) {}

void CPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
}

}  // namespace tavelo::ui
