#pragma once
// A pair of small arrows beside a band's Q edit. A click on the upper arrow raises the Q
// one step, on the lower one lowers it; Step carries the classic spin delta (-1 raises,
// +1 lowers).
#include <QWidget>

namespace tavelo::ui {

class QStepArrows : public QWidget {
  Q_OBJECT
 public:
  explicit QStepArrows(QWidget* parent = nullptr);

 signals:
  void Step(int delta);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tavelo::ui
