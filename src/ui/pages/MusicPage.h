#pragma once
// The music page: a 7-band equaliser with high-pass and low-pass filters on the graph,
// slope lists, input buttons and trims, key, noise gate and the three tone controls.
#include "ui/pages/EqPage.h"

namespace tavelo::ui {

class MusicPage : public EqPage {
  Q_OBJECT
 public:
  static constexpr int kGraphSlots = 20;  // 9 bands, 3 tone markers, ..., stamp in slot 19

  MusicPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent);

  void ApplyLanguage(Lang lang) override;

 private:
  void Build();

  struct Caption {
    QLabel* label;
    Label text;
  };
  std::vector<Caption> extraCaptions_;
};

}  // namespace tavelo::ui
