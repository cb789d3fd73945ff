#pragma once
// The echo page: the effect page shape with the echo's rows, the right-channel rows laid
// out by echo type, and the echo type list. Choosing a type asks a connected processor for
// that type's values (the page is laid out again when they arrive) or, offline, loads the
// defaults every type starts from.
#include "ui/pages/EffectPage.h"

namespace tavelo::ui {

class EchoPage : public EffectPage {
  Q_OBJECT
 public:
  EchoPage(ParamImage& image, BlockPoster post, PageHost host, QSize size, QWidget* parent);
  void ApplyLanguage(Lang lang) override;

 private:
  bool TypeChosen(int id, int index);

  ParamImage& image_;
  BlockPoster post_;
};

}  // namespace tavelo::ui
