// The boost page driven with the mouse and keys: channels and their band counts, the
// "Boost" boxes (code 48 only on a real change), band edits (code 49), Save Boost (code
// 51) and the boost files, with the file dialogs answered by the test.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <utility>
#include <vector>

#include "core/presets/BoostFile.h"
#include "core/text/Texts.h"
#include "support/page_driver.h"
#include "support/qt_app.h"
#include "ui/controls/SkinButton.h"
#include "ui/pages/BoostPage.h"
#include "ui/pages/BoostPageTable.h"

namespace tavelo {
namespace {

using test::Posts;
constexpr int kMusic = 1;

class BoostPage : public ::testing::Test {
 protected:
  BoostPage() {
    ApplyDefaults(image_);
    window_.resize(1180, 680);
    page_ = new ui::BoostPage(image_, test::RecordPosts(posted_), QSize(1164, 610), &window_);
    page_->chooseFile = [this](bool) { return answer_; };
    page_->Model().SetState(PageModel::kData);
    page_->Refresh();
    window_.show();
    posted_.clear();
  }

  QWidget* W(int id) { return page_->Binder().Widget(id); }
  void Click(int id) { QTest::mouseClick(W(id), Qt::LeftButton); }
  void Type(int id, const char* text) { test::TypeAndEnter(W(id), text); }
  QMessageBox* Message() { return page_->findChild<QMessageBox*>("boostMessage"); }
  void CloseMessages() {
    for (auto* box : page_->findChildren<QMessageBox*>()) delete box;
  }

  QApplication& app_ = test::QtApp();  // before any widget member
  ParamImage image_;
  Posts posted_;
  QTemporaryDir dir_;
  QString answer_;  // what the file dialog returns
  QWidget window_;
  ui::BoostPage* page_ = nullptr;
};

TEST_F(BoostPage, AChannelShowsAsManyColumnsAsItHasAndItsEditsPostCode49) {
  EXPECT_TRUE(W(boost::Column(4).gainSlider)->isVisible());
  Click(boost::kChannelButtons[kMusic]);
  EXPECT_EQ(page_->Channel(), kMusic);
  EXPECT_TRUE(posted_.empty());
  EXPECT_TRUE(W(boost::Column(2).gainSlider)->isVisible());
  EXPECT_FALSE(W(boost::Column(3).gainSlider)->isVisible());
  EXPECT_FALSE(W(boost::Column(4).freqEdit)->isVisible());

  // A slider event for band 4 of a 3-band channel is ignored.
  const BoostBlock before = image_.boost;
  page_->Model().SliderMoved(boost::Column(4).gainSlider, 100);
  EXPECT_EQ(image_.boost, before);
  EXPECT_TRUE(posted_.empty());

  Type(boost::Column(1).gainEdit, "-4.5");
  Type(boost::Column(2).freqEdit, "1800");
  QTest::mouseClick(W(boost::Column(0).typeButtons[2]), Qt::LeftButton);
  EXPECT_EQ(image_.boost.bands[kMusic][1].gain, -45);
  EXPECT_EQ(image_.boost.bands[kMusic][2].freq, 1800);
  EXPECT_EQ(image_.boost.bands[kMusic][0].type, kBandHighShelf);
  EXPECT_EQ(posted_, (Posts{{49, 1 * 256 + kMusic}, {49, 2 * 256 + kMusic}, {49, kMusic}}));
  EXPECT_EQ(image_.boost.bands[0], before.bands[0]) << "the microphone's bands are untouched";
}

TEST_F(BoostPage, BoostBoxesPostCode48OnlyWhenTheirBitReallyChanges) {
  image_.boost.switches = 0x04;
  page_->Refresh();
  Click(boost::kBoostBoxes[0]);
  EXPECT_EQ(image_.boost.switches, 0x05);
  Click(boost::kBoostBoxes[0]);
  EXPECT_EQ(image_.boost.switches, 0x04);
  EXPECT_EQ(posted_, (Posts{{48, 0x05}, {48, 0x04}}));

  // The bit is set already (another window set it) while the box still shows it clear:
  // checking the box sends nothing.
  posted_.clear();
  image_.boost.switches = 0x0C;
  Click(boost::kBoostBoxes[3]);
  EXPECT_TRUE(qobject_cast<ui::SkinButton*>(W(boost::kBoostBoxes[3]))->Lit());
  EXPECT_EQ(image_.boost.switches, 0x0C);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(BoostPage, SaveBoostAsksTheProcessorToStoreTheBlock) {
  Click(boost::kStoreButton);
  EXPECT_EQ(posted_, (Posts{{51, 0}}));
}

TEST_F(BoostPage, AFileSavedAndLoadedBackIsShownAndStoredByTheProcessor) {
  image_.boost.switches = 0x09;
  image_.boost.bands[2][1] = EqBand{0, 1, 3150, 14, -75};
  answer_ = dir_.filePath("room.btpar");
  Click(boost::kSaveFileButton);
  ASSERT_NE(Message(), nullptr);
  EXPECT_EQ(Message()->text().toStdString(), Text(TextId::kMsgSaveOk, Lang::kEnglish));
  EXPECT_EQ(QFileInfo(answer_).size(), 116);
  EXPECT_TRUE(posted_.empty());
  CloseMessages();

  const BoostBlock saved = image_.boost;
  image_.boost.switches = 0;
  image_.boost.bands[2][1].gain = 0;
  Click(boost::kChannelButtons[2]);
  Click(boost::kLoadFileButton);
  EXPECT_EQ(image_.boost, saved);
  EXPECT_EQ(Message(), nullptr) << "a good load says nothing; the processor's reply will";
  EXPECT_EQ(posted_, (Posts{{51, 0}}));
  EXPECT_EQ(qobject_cast<QLineEdit*>(W(boost::Column(1).gainEdit))->text(), "-7.5");
  EXPECT_TRUE(qobject_cast<ui::SkinButton*>(W(boost::kBoostBoxes[3]))->Lit());
}

TEST_F(BoostPage, ABadOrUnreadableFileIsRefusedWithAMessageAndNothingIsSent) {
  auto bytes = BuildBoostFile(image_.boost);
  bytes[kBoostFileSize - 2] = static_cast<std::uint8_t>(bytes[kBoostFileSize - 2] + 1);
  answer_ = dir_.filePath("bad.btpar");
  {
    std::ofstream out(answer_.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  const BoostBlock before = image_.boost;
  Click(boost::kLoadFileButton);
  ASSERT_NE(Message(), nullptr);
  EXPECT_EQ(Message()->text().toStdString(), Text(TextId::kMsgLoadFail, Lang::kEnglish));
  EXPECT_TRUE(Message()->informativeText().contains("bad checksum"));
  EXPECT_TRUE(Message()->informativeText().contains("bad.btpar"));
  CloseMessages();

  answer_ = dir_.filePath("missing.btpar");
  Click(boost::kLoadFileButton);
  ASSERT_NE(Message(), nullptr);
  EXPECT_EQ(Message()->text().toStdString(), Text(TextId::kMsgLoadFail, Lang::kEnglish));
  EXPECT_TRUE(Message()->informativeText().startsWith("Cannot read missing.btpar"));
  CloseMessages();

  // In Chinese the whole message is Chinese, and so are the band rows' captions.
  page_->ApplyLanguage(Lang::kChinese);
  answer_ = dir_.filePath("bad.btpar");
  Click(boost::kLoadFileButton);
  ASSERT_NE(Message(), nullptr);
  EXPECT_EQ(Message()->text().toStdString(), Text(TextId::kMsgLoadFail, Lang::kChinese));
  EXPECT_TRUE(Message()->informativeText().startsWith(QString::fromUtf8("bad.btpar 不是可用的")))
      << Message()->informativeText().toStdString();
  CloseMessages();
  QStringList captions;
  for (auto* label : page_->findChildren<QLabel*>()) captions << label->text();
  for (const char* english : {"Gain(db)", "Freq(hz)", "Type"})
    EXPECT_FALSE(captions.contains(english)) << english;
  EXPECT_TRUE(captions.contains(QString::fromUtf8("增益(db)")));
  page_->ApplyLanguage(Lang::kEnglish);
  EXPECT_EQ(image_.boost, before);
  EXPECT_TRUE(posted_.empty());

  // A save that cannot be written says so; a cancelled dialog does nothing at all.
  answer_ = dir_.filePath("no/such/folder/x.btpar");
  Click(boost::kSaveFileButton);
  ASSERT_NE(Message(), nullptr);
  EXPECT_EQ(Message()->text().toStdString(), Text(TextId::kMsgSaveFailed, Lang::kEnglish));
  CloseMessages();
  answer_.clear();
  Click(boost::kLoadFileButton);
  Click(boost::kSaveFileButton);
  EXPECT_EQ(Message(), nullptr);
  EXPECT_TRUE(posted_.empty());
}

}  // namespace
}  // namespace tavelo
