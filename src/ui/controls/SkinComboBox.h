#pragma once
// Flat grey drop-down list built from three parts that take over the combo box's own
// children: the edit line (SkinComboBoxEdit), the drop-down list
// (SkinComboBoxList) and the static part (SkinComboBoxStatic, no behaviour).
// A click anywhere toggles the list; the arrow shows pressed while the list is open.
// Selection changes arrive as from any QComboBox (currentIndexChanged / activated).
#include <QColor>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QListView>

#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

inline const QColor kComboFace{140, 140, 140};
inline const QColor kComboFrameTopLeft{58, 58, 58};
inline const QColor kComboFrameBottomRight{120, 120, 120};

class SkinComboBox;

class SkinComboBoxEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit SkinComboBoxEdit(QWidget* parent = nullptr);
  void SetTextColours(QColor readOnly, QColor editable);
  QColor TextColour() const { return isReadOnly() ? readOnlyText_ : editableText_; }
  void SetCombo(SkinComboBox* combo) { combo_ = combo; }

 protected:
  // A read-only line never shows a selection; its clicks go to the combo box.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ApplyPalette();
  SkinComboBox* combo_ = nullptr;
  QColor readOnlyText_{0, 0, 0};
  QColor editableText_{0, 0, 0};
};

class SkinComboBoxList : public QListView {
  Q_OBJECT
 public:
  explicit SkinComboBoxList(QWidget* parent = nullptr);
  void SetCombo(SkinComboBox* combo) { combo_ = combo; }

 protected:
  // Tells the combo box that the list went away (the list-closed notification).
  void hideEvent(QHideEvent* event) override;

 private:
  SkinComboBox* combo_ = nullptr;
};

class SkinComboBoxStatic {
 public:
  // The static child has no behaviour of its own.
};

class SkinComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit SkinComboBox(QWidget* parent = nullptr);

  // Loads the two arrow pictures (normal and pressed); before this the face has no arrow.
  void SetUp();
  bool ImagesLoaded() const { return imagesLoaded_; }
  bool Pressed() const { return pressed_; }
  // Lists whose entries must not be typed (the slope lists) are read-only.
  void SetReadOnly(bool readOnly);

  SkinComboBoxEdit* EditPart() const { return edit_; }
  SkinComboBoxList* ListPart() const { return list_; }
  const SkinComboBoxStatic& StaticPart() const { return static_; }

  // A click on the box (or on its read-only edit line): focus, toggle the list.
  void ClickToggle();
  // The list part was hidden: back to the normal arrow.
  void OnListHidden();
  void hidePopup() override;
  // The composed face (fill, frame, arrow) for the current state, in the pixels of a
  // screen of `ratio`.
  QImage Compose(qreal ratio = 1.0) const;

 signals:
  void ListClosed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // The release of the click that opened the list reaches the open list first: it must
  // not close it again.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QElapsedTimer openedByClick_;
  SkinComboBoxStatic static_;
  SkinComboBoxEdit* edit_ = nullptr;
  SkinComboBoxList* list_ = nullptr;
  SkinImage arrowNormal_, arrowPressed_;
  bool imagesLoaded_ = false;
  bool pressed_ = false;
};

}  // namespace tavelo::ui
