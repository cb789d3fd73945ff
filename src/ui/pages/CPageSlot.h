#pragma once
// A page whose table is not built yet: an empty page frame that the navigation shows like
// any other page.
#include "ui/pages/CPage.h"

namespace tavelo::ui {

class CPageSlot : public CPage {
  Q_OBJECT
 public:
  CPageSlot(const QString& name, ParamImage& image, BlockPoster post, QSize size, QWidget* parent);
};

}  // namespace tavelo::ui
