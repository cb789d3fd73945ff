#include "ui/pages/PlaceholderPage.h"

namespace tavelo::ui {
namespace {

const PageDefinition& Empty() {
  static const PageDefinition def;
  return def;
}

}  // namespace

PlaceholderPage::PlaceholderPage(const QString& name, ParamImage& image, BlockPoster post,
                                 QSize size, QWidget* parent)
    : Page(Empty(), image, std::move(post), size, parent) {
  setObjectName(name);
}

}  // namespace tavelo::ui
