#pragma once
// A page slot whose page is not built yet: the navigation shows it like any other page,
// and it draws only the white page face.
#include <QWidget>

namespace tavelo::ui {

class CPageSlot : public QWidget {
  Q_OBJECT
 public:
  CPageSlot(const QString& name, QSize size, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tavelo::ui
