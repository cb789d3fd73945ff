#include "ui/pages/Page.h"

#include <QPainter>

namespace tavelo::ui {

Page::Page(const PageDefinition& def, ParamImage& image, BlockPoster post, QSize size,
           QWidget* parent)
    : QWidget(parent), model_(def, image, std::move(post)), binder_(new PageBinder(model_, this)) {
  resize(size);
  model_.onGraphChanged = [this] { RenderGraph(); };
}

void Page::ShowParameterSet() {
  model_.SetState(PageModel::kData);
  model_.ForgetPassFilters();
  Refresh();
}

void Page::Refresh() {
  model_.Refresh();
}

void Page::ReloadChanged() {
  model_.ReloadChanged();
}

void Page::AppModeChanged() {
  model_.Refresh();
}

void Page::ApplyLanguage(Lang) {}

void Page::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
}

}  // namespace tavelo::ui
