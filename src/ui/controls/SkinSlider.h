#pragma once
// Skinned slider: vertical or horizontal, linear or logarithmic. Composes its whole face
// in a 32-bit image at the screen's device pixel ratio and copies it to the screen in one go;
// reports every user change with Moved(id, value). The arithmetic lives in SliderModel.
#include <QImage>
#include <QWidget>

#include "ui/controls/SliderModel.h"
#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

class SkinSlider : public QWidget {
  Q_OBJECT
 public:
  explicit SkinSlider(QWidget* parent = nullptr, int id = 0);

  void SetId(int id) { id_ = id; }
  int Id() const { return id_; }

  // Vertical set-up: track blended on white, thumb images copied. A null focused thumb
  // draws an opaque green one; a null track leaves the background transparent red.
  // Call after the widget has its final size (the client size decides the buffers).
  void SetTrackImages(const SkinImage& track, const SkinImage& thumb,
                      const SkinImage& focusedThumb = {});
  // Horizontal set-up with a fill image drawn left of the thumb.
  void SetTrackImagesWithFill(const SkinImage& track, const SkinImage& fill, const SkinImage& thumb,
                              const SkinImage& focusedThumb = {});

  void SetRange(int min, int max, bool logarithmic = false);
  // Clamps, stores, repaints when the thumb moved; never emits Moved.
  void SetPos(int value);
  int GetPos() const { return model_.Value(); }
  // The focused look, set by the owner (selected band), whatever the keyboard focus.
  void SetHighlight(bool on);
  bool Highlighted() const { return focused_; }
  // When on, keyboard focus switches the focused look.
  void SetShowFocus(bool on) { showFocus_ = on; }

  const SliderModel& Model() const { return model_; }
  // The composed face (what the next paint shows) in the pixels of a screen of `ratio`;
  // composes it first.
  const QImage& Compose(qreal ratio = 1.0);

 signals:
  void Moved(int id, int value);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void SetUp(const SkinImage& track, const SkinImage* fill, const SkinImage& thumb,
             const SkinImage& focusedThumb);
  // The pictures in the pixels of a screen of `ratio`, from the art kept by SetUp.
  void Build(qreal ratio);
  void Apply(const SliderChange& change);
  int Coord(const QPointF& p) const;

  SliderModel model_;
  int id_ = 0;
  bool focused_ = false;
  bool showFocus_ = false;
  bool hasFill_ = false;
  SkinImage track_, fillArt_, thumbArt_, focusedArt_;
  QSize builtSize_;  // invalid until SetUp
  qreal builtRatio_ = 1.0;
  QImage background_, fill_, thumb_, focusedThumb_;
  QImage surface_, screen_;
};

}  // namespace tavelo::ui
