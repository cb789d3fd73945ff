// The skinned combo box (click toggling, pressed arrow, read-only lists) and edit frame.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "support/qt_app.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/controls/SkinEdit.h"
#include "ui/skin/Blend.h"
#include "ui/skin/SkinArt.h"

namespace tavelo::ui {
namespace {

class SkinCombo : public ::testing::Test {
 protected:
  void SetUp() override {
    test::QtApp();
    combo = new SkinComboBox(&page);
    combo->setGeometry(10, 10, 160, 22);
    combo->addItems({"bypass", "bessel_12db", "butter_12db"});
    combo->SetUp();
    page.resize(300, 200);
    page.show();
    QApplication::setActiveWindow(&page);
  }
  // The arrow's centre pixel in the composed face.
  QRgb ArrowPixel() const {
    return combo->Compose().pixel(combo->width() - kArrowSize - 2 + 8, combo->height() / 2);
  }

  QApplication& app = test::QtApp();  // before any widget member
  QWidget page;
  SkinComboBox* combo = nullptr;
};

TEST_F(SkinCombo, PartsTakeOverTheChildrenAndFaceIsFlatGrey) {
  EXPECT_EQ(combo->lineEdit(), combo->EditPart());
  EXPECT_EQ(combo->view(), combo->ListPart());
  const QImage face = combo->Compose();
  EXPECT_EQ(face.pixel(0, 0) & 0x00ffffff, 0x003a3a3au);  // frame top-left
  EXPECT_EQ(face.pixel(face.width() - 1, face.height() - 1) & 0xffffff, 0x787878u);
  EXPECT_EQ(face.pixel(5, 5) & 0x00ffffff, 0x008c8c8cu);  // face
}

TEST_F(SkinCombo, TwoClicksOpenThenCloseAndTheArrowReturnsToNormal) {
  const QRgb normalArrow = ArrowPixel();
  QSignalSpy closed(combo, &SkinComboBox::ListClosed);
  combo->ClickToggle();
  EXPECT_TRUE(combo->view()->isVisible());
  EXPECT_TRUE(combo->Pressed());
  EXPECT_NE(ArrowPixel(), normalArrow);
  combo->ClickToggle();
  EXPECT_FALSE(combo->view()->isVisible());
  EXPECT_FALSE(combo->Pressed());
  EXPECT_EQ(ArrowPixel(), normalArrow);
  EXPECT_EQ(closed.count(), 1);
}

TEST_F(SkinCombo, ChoosingFromTheListReportsTheIndexAndReleasesTheArrow) {
  QSignalSpy changed(combo, &QComboBox::currentIndexChanged);
  combo->ClickToggle();
  combo->setCurrentIndex(2);
  combo->hidePopup();
  EXPECT_FALSE(combo->Pressed());
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toInt(), 2);
  EXPECT_EQ(combo->currentText(), "butter_12db");
}

TEST_F(SkinCombo, ReadOnlyListNeverSelectsTextAndEditableOneDoes) {
  combo->setCurrentIndex(1);
  combo->SetReadOnly(true);
  SkinComboBoxEdit* edit = combo->EditPart();
  QTest::mousePress(edit, Qt::LeftButton, {}, QPoint(2, 5));
  QTest::mouseMove(edit, QPoint(80, 5));
  QTest::mouseRelease(edit, Qt::LeftButton, {}, QPoint(80, 5));
  EXPECT_FALSE(edit->hasSelectedText());
  edit->setSelection(0, 4);  // even when asked in code
  EXPECT_FALSE(edit->hasSelectedText());
  QTest::mouseDClick(edit, Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_FALSE(edit->hasSelectedText());
  combo->hidePopup();

  combo->SetReadOnly(false);
  edit->setSelection(0, 4);
  EXPECT_TRUE(edit->hasSelectedText());
}

TEST_F(SkinCombo, EditPartTextColourFollowsReadOnly) {
  combo->EditPart()->SetTextColours(QColor(1, 2, 3), QColor(4, 5, 6));
  combo->SetReadOnly(true);
  EXPECT_EQ(combo->EditPart()->palette().color(QPalette::Text), QColor(1, 2, 3));
  combo->SetReadOnly(false);
  EXPECT_EQ(combo->EditPart()->palette().color(QPalette::Text), QColor(4, 5, 6));
}

// Leftmost column of the edit's grab that holds a dark text pixel, inside the frame.
int LeftmostText(SkinEdit& edit) {
  const QImage shot = edit.grab().toImage();
  for (int x = 1; x < shot.width() - 1; ++x) {
    for (int y = 1; y < shot.height() - 1; ++y) {
      if (qRed(shot.pixel(x, y)) < 100) return x;
    }
  }
  return -1;
}

TEST(SkinEdit, FrameColoursAndMarginsPlaceTheText) {
  test::QtApp();
  SkinEdit edit;
  edit.resize(100, 22);
  edit.setText("8888");
  const QImage shot = edit.grab().toImage();
  EXPECT_EQ(shot.pixel(0, 0) & 0xffffff, 0x282828u);    // top-left edge
  EXPECT_EQ(shot.pixel(99, 21) & 0xffffff, 0x646464u);  // bottom-right edge
  EXPECT_EQ(shot.pixel(99, 0) & 0xffffff, 0x646464u);
  EXPECT_EQ(shot.pixel(50, 2) & 0xffffff, 0xc0c0c0u);  // light grey face
  const int tight = LeftmostText(edit);
  ASSERT_GT(tight, 0);
  EXPECT_LE(tight, 6);  // directly inside the frame
  edit.SetMargins(12, 0);
  EXPECT_GE(LeftmostText(edit), tight + 12);
}

}  // namespace
}  // namespace tavelo::ui
