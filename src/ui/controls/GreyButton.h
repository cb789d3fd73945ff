#pragma once
// A grey skinned push button placed by code rather than by a page table (the top bar's
// buttons, the undo and redo buttons, the EQ pages' file buttons): named, faced for its size
// and kept out of the focus chain like every other button of the panel.
#include <QRect>
#include <QString>

#include "ui/controls/SkinButton.h"

namespace tavelo::ui {

SkinButton* MakeGreyButton(QWidget* parent, const QRect& rect, const QString& objectName,
                           const QString& text = {});

}  // namespace tavelo::ui
