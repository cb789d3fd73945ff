// "Import filters..." and "Export filters..." on the EQ pages against the virtual
// processor: ten measured filters into the music set's seven bands set the seven, report
// the three left over, reach the processor and are taken back by one undo; the export
// reads back as the bands it was written from.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "core/eq/FilterText.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/MusicPageTable.h"
#include "ui/panel_test_env.h"
#include "ui/tools/EditTools.h"
#include "ui/tools/FilterFileActions.h"

namespace tavelo {
namespace {

// Written the way the measuring program writes it: CRLF, a header, a preamp line.
constexpr const char* kTenFilters =
    "Filter Settings file\r\n"
    "\r\n"
    "Room EQ V5.20\r\n"
    "Dated: 08-Dec-2026 10:00:00\r\n"
    "\r\n"
    "Notes:\r\n"
    "\r\n"
    "Equaliser: Generic\r\n"
    "Preamp: -6.0 dB\r\n"
    "Filter  1: ON  PK       Fc    63.0 Hz  Gain  -5.0 dB  Q  4.00\r\n"
    "Filter  2: ON  PK       Fc   125.0 Hz  Gain  -3.5 dB  Q  2.50\r\n"
    "Filter  3: ON  LSC      Fc    80.0 Hz  Gain   4.0 dB  Q  0.70\r\n"
    "Filter  4: ON  PK       Fc   250.0 Hz  Gain  -2.0 dB  Q  1.50\r\n"
    "Filter  5: ON  PK       Fc   500.0 Hz  Gain   1.5 dB  Q  1.00\r\n"
    "Filter  6: ON  PK       Fc  1000.0 Hz  Gain  -4.0 dB  Q  3.00\r\n"
    "Filter  7: ON  HSC      Fc  8000.0 Hz  Gain  -2.5 dB  Q  0.70\r\n"
    "Filter  8: ON  PK       Fc  2000.0 Hz  Gain  -1.0 dB  Q  2.00\r\n"
    "Filter  9: ON  PK       Fc  4000.0 Hz  Gain  -3.0 dB  Q  2.00\r\n"
    "Filter 10: ON  PK       Fc 12000.0 Hz  Gain   2.0 dB  Q  1.00\r\n"
    "Filter 11: None\r\n";

class FilterImportTest : public ::testing::Test, public test::PanelFixture {
 protected:
  void SetUp() override {
    W().show();
    ASSERT_TRUE(ConnectDemo());
    page_ = W().FindMusicPage();
  }
  bool Settled() {
    return Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); });
  }
  QString Write(const char* name, const std::string& text) {
    const QString path = dir_.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    return path;
  }
  const EqBand* Bands() { return page_->Model().Bands(); }
  const EqBand* DeviceBands() { return W().Demo().Processor().Current().set(kEqMusic); }

  QTemporaryDir dir_;
  ui::MusicPage* page_ = nullptr;
};

TEST_F(FilterImportTest, TenFiltersIntoSevenBandsSetSevenReportThreeAndUndoAsOneStep) {
  std::vector<EqBand> before(Bands(), Bands() + music::kEqBands);
  const QString message = page_->ImportFilters(Write("room.txt", kTenFilters));
  ASSERT_TRUE(Settled());

  const FilterTextReading reading = ReadFilterText(kTenFilters);
  ASSERT_EQ(reading.filters.size(), 10u);
  for (int k = 0; k < music::kEqBands; ++k) {
    EXPECT_EQ(Bands()[k], FitFilter(reading.filters[static_cast<std::size_t>(k)]).band) << k;
    EXPECT_EQ(DeviceBands()[k], Bands()[k]) << k;
  }
  // The page's words for the set, not the tools' name.
  EXPECT_TRUE(message.startsWith("Filters imported into Music EQ.")) << message.toStdString();
  EXPECT_FALSE(message.contains("music_eq")) << message.toStdString();
  EXPECT_TRUE(message.contains("Skipped: ")) << message.toStdString();
  EXPECT_TRUE(message.contains("only 7 bands")) << message.toStdString();
  for (int line : {17, 18, 19}) EXPECT_TRUE(message.contains(QString("line %1:").arg(line)));
  EXPECT_FALSE(message.contains("line 16:"));
  // The page's controls show the imported values.
  EXPECT_EQ(page_->Model().Controls().Text(music::Column(0).freqEdit), "63");

  EXPECT_EQ(W().Edits().History().UndoCount(), 1u);
  ASSERT_TRUE(W().Edits().Undo());
  ASSERT_TRUE(Settled());
  for (int k = 0; k < music::kEqBands; ++k) {
    EXPECT_EQ(Bands()[k], before[static_cast<std::size_t>(k)]) << k;
    EXPECT_EQ(DeviceBands()[k], before[static_cast<std::size_t>(k)]) << k;
  }
}

TEST_F(FilterImportTest, HeldValuesAndUnreadableFilesAreReportedAndNothingIsGuessed) {
  const QString held = page_->ImportFilters(Write(
      "loud.txt", "Filter 1: ON PK Fc 100 Hz Gain 30,0 dB Q 1,0\nFilter 2: ON NO Fc 50 Hz\n"));
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Bands()[0].gain, 240);
  EXPECT_TRUE(held.contains("held to")) << held.toStdString();
  EXPECT_TRUE(held.contains("line 2")) << held.toStdString();

  const std::vector<EqBand> now(Bands(), Bands() + music::kEqBands);
  const QString nothing = page_->ImportFilters(Write("empty.txt", "Preamp: -3 dB\n"));
  EXPECT_TRUE(nothing.contains("empty.txt"));
  const QString missing = page_->ImportFilters(dir_.filePath("absent.txt"));
  EXPECT_TRUE(missing.contains("absent.txt"));
  for (int k = 0; k < music::kEqBands; ++k) EXPECT_EQ(Bands()[k], now[static_cast<std::size_t>(k)]);
}

TEST_F(FilterImportTest, InChineseTheReportsLinesAreChineseToo) {
  W().SetLanguage(Lang::kChinese, false);
  const QString report = page_->ImportFilters(Write(
      "loud.txt", "Filter 1: ON PK Fc 100 Hz Gain 30,0 dB Q 1,0\nFilter 2: ON NO Fc 50 Hz\n"));
  ASSERT_TRUE(Settled());
  const std::string text = report.toStdString();
  EXPECT_NE(text.find("频段 1：第 1 行：滤波器 1（PK） 增益 +30.0 dB 限制为 +24.0 dB"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("第 2 行：滤波器 2（NO） 是陷波滤波器"), std::string::npos) << text;
  for (const char* english : {"line ", "held to", "filter ", "band "}) {
    EXPECT_EQ(text.find(english), std::string::npos) << english << " in " << text;
  }
}

TEST_F(FilterImportTest, TheExportReadsBackAsTheBands) {
  page_->Model().SliderMoved(music::Column(2).gainSlider, 60);
  ASSERT_TRUE(Settled());
  const QString path = dir_.filePath("out.txt");
  const QString message = page_->ExportFilters(path);
  EXPECT_TRUE(message.contains("out.txt"));
  std::ifstream in(path.toStdString(), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const FilterTextReading reading = ReadFilterText(text);
  ASSERT_EQ(reading.filters.size(), static_cast<std::size_t>(music::kEqBands));
  const FilterImport back = ImportFilters(reading.filters, Bands(), music::kEqBands);
  for (int k = 0; k < music::kEqBands; ++k)
    EXPECT_EQ(back.bands[static_cast<std::size_t>(k)], Bands()[k]) << k;

  EXPECT_NE(
      page_->ExportFilters(dir_.filePath("no/such/folder/out.txt")).indexOf("cannot be written"),
      -1);
}

}  // namespace
}  // namespace tavelo
