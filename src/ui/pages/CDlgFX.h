#pragma once
// The reverb page: the effect page shape with the reverb's level, decay, predelay and
// direct level.
#include "ui/pages/CEffectPage.h"

namespace tavelo::ui {

class CDlgFX : public CEffectPage {
  Q_OBJECT
 public:
  CDlgFX(ParamImage& image, BlockPoster post, PageHost host, QSize size, QWidget* parent);
};

}  // namespace tavelo::ui
