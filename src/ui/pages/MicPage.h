#pragma once
// The microphone page: the two microphones' 10-band equalisers (one shown at a time, in
// its own colours) with their pass filters, the link that keeps the two alike, the tone
// controls drawn as tone bands, volumes with their on/off buttons, feedback suppression,
// noise gate and compressor.
#include "ui/pages/EqPage.h"
#include "ui/pages/MicLink.h"

class QFrame;

namespace tavelo::ui {

class MicPage : public EqPage {
  Q_OBJECT
 public:
  static constexpr int kGraphSlots = 18;  // 12 bands, 3 tone markers (12..14), stamp in 17

  MicPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent);

  void ApplyLanguage(Lang lang) override;

  // The microphone shown now (0 or 1) and the link button's state.
  int ShownMicrophone();
  bool LinkOn() const { return linkOn_; }

 private:
  void Build();
  void PageButton(int id);
  void ShowMicrophone(int mic);
  void ToggleLink();
  void BandEvent(tavelo::BandEvent event, int band);

  BlockPoster post_;
  MicLink link_;
  bool linkOn_ = false;
  struct Caption {
    QLabel* label;
    Label text;
  };
  std::vector<Caption> extraCaptions_;
};

}  // namespace tavelo::ui
