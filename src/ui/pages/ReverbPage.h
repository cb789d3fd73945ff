#pragma once
// The reverb page: the effect page shape with the reverb's level, decay, predelay and
// direct level.
#include "ui/pages/EffectPage.h"

namespace tavelo::ui {

class ReverbPage : public EffectPage {
  Q_OBJECT
 public:
  ReverbPage(ParamImage& image, BlockPoster post, PageHost host, QSize size, QWidget* parent);
};

}  // namespace tavelo::ui
