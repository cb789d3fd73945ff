#include "ui/controls/GreyButton.h"

#include "ui/skin/SkinArt.h"

namespace tavelo::ui {

SkinButton* MakeGreyButton(QWidget* parent, const QRect& rect, const QString& objectName,
                           const QString& text) {
  auto* button = new SkinButton(text, parent);
  button->setObjectName(objectName);
  button->setGeometry(rect);
  button->SetImages(ButtonImages{ButtonFaces(rect.width(), rect.height(), ButtonLook::kGrey), {}});
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace tavelo::ui
