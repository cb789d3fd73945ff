#pragma once
// A page whose table is not built yet: an empty page frame that the navigation shows like
// any other page.
#include "ui/pages/Page.h"

namespace tavelo::ui {

class PlaceholderPage : public Page {
  Q_OBJECT
 public:
  PlaceholderPage(const QString& name, ParamImage& image, BlockPoster post, QSize size,
                  QWidget* parent);
};

}  // namespace tavelo::ui
