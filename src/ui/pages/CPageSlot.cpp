#include "ui/pages/CPageSlot.h"

namespace tavelo::ui {
namespace {

const PageDefinition& Empty() {
  static const PageDefinition def;
  return def;
}

}  // namespace

CPageSlot::CPageSlot(const QString& name, ParamImage& image, BlockPoster post, QSize size,
                     QWidget* parent)
    : CPage(Empty(), image, std::move(post), size, parent) {
  setObjectName(name);
}

}  // namespace tavelo::ui
