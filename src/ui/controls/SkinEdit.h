#pragma once
// Flat numeric / name field: light grey face, near-black text and a one-pixel 3-D frame
// (dark top-left, lighter bottom-right) in place of the system border.
#include <QColor>
#include <QLineEdit>

namespace tavelo::ui {

inline const QColor kEditFrameTopLeft{40, 40, 40};
inline const QColor kEditFrameBottomRight{100, 100, 100};
inline const QColor kEditText{10, 10, 10};
inline const QColor kEditDisabledText{105, 105, 105};
inline const QColor kEditFace{192, 192, 192};

class SkinEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit SkinEdit(QWidget* parent = nullptr);
  // Pixels kept free left/right and top/bottom inside the frame (0 unless set).
  void SetMargins(int horizontal, int vertical);
  int HorizontalMargin() const { return hMargin_; }
  int VerticalMargin() const { return vMargin_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int hMargin_ = 0;
  int vMargin_ = 0;
};

}  // namespace tavelo::ui
