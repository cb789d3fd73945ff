#pragma once
// Image push button with a lit state that its owner switches. The face is composed in a
// 32-bit image (background, then the state picture blended on it, then the caption) at the
// screen's device pixel ratio and copied to the screen in one go. Clicks are QPushButton's
// clicked().
#include <QColor>
#include <QImage>
#include <QPushButton>
#include <vector>

#include "ui/controls/ButtonModel.h"
#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

struct ButtonImages {
  std::vector<SkinImage> states;  // up to 4: normal, pressed, lit, lit and pressed
  SkinImage background;           // optional
};

class SkinButton : public QPushButton {
  Q_OBJECT
 public:
  explicit SkinButton(QWidget* parent = nullptr);
  explicit SkinButton(const QString& text, QWidget* parent = nullptr);

  // style: kind | alignment << 4 (1, 17, 33 ...). The background is the background colour
  // with the background image blended on it, or the plain fill when there is none; each
  // state buffer is the state fill with its image copied on it. Call after sizing.
  void SetImages(int style, QColor background, const ButtonImages& images, QColor plainFill,
                 QColor stateFill);
  // Short form: two-state, centred, white background.
  void SetImages(const ButtonImages& images);

  void SetLit(bool lit);
  bool Lit() const { return lit_; }
  void SetTextOffset(int pixels);
  int Kind() const { return kind_; }
  int Align() const { return align_; }

  // The composed face for the current state (what the next paint shows), in the pixels
  // of a screen of `ratio` (the picture carries that ratio).
  const QImage& Compose(qreal ratio = 1.0);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Build(qreal ratio);
  int kind_ = kButtonTwoState;
  int align_ = kAlignCentre;
  int textOffset_ = 0;
  bool lit_ = false;
  bool imagesSet_ = false;
  // Kept so a resize can rebuild the buffers at the new client size.
  ButtonImages images_;
  QColor backgroundColour_, plainFill_, stateFill_;
  QSize builtSize_;
  qreal builtRatio_ = 1.0;
  QImage background_;
  QImage states_[4];
  QImage surface_, screen_;
};

}  // namespace tavelo::ui
