// The graph frame: grid, stamp, curves, selected band area, marker order and readout.
#include <gtest/gtest.h>

#include "support/qt_app.h"
#include "ui/graph/EqGraph.h"
#include "ui/graph/GraphLayout.h"
#include "ui/skin/Blend.h"

namespace tavelo::ui {
namespace {

constexpr int kWidth = 1170;

EqBand Peak(int freq, int gain, int q = 10) {
  EqBand b;
  b.type = kBandPeak;
  b.freq = static_cast<std::int16_t>(freq);
  b.gain = static_cast<std::int16_t>(gain);
  b.q = static_cast<std::int16_t>(q);
  return b;
}

class GraphFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    test::QtApp();
    geometry = GraphGeometry::ForWidth(kWidth);
  }
  // Solid opaque 30 x 30 markers: slot k has red k + 1, selected ones green; the stamp is
  // solid blue.
  void InitSolid(int slotCount) {
    std::vector<SkinImage> normal, selected;
    for (int k = 0; k < slotCount - 1; ++k) {
      normal.push_back(SkinImage::Filled(30, 30, qRgba(k + 1, 0, 0, 255)));
      selected.push_back(SkinImage::Filled(30, 30, qRgba(0, k + 1, 0, 255)));
    }
    normal.push_back(SkinImage::Filled(310, 43, 0xff0000ff));
    view.Init(geometry, normal, selected, slotCount);
  }
  QRgb At(QPoint p) const { return view.Frame().pixel(p) & 0x00ffffff; }
  QRgb Bg(int x, int y) const { return view.Background().pixel(x, y); }

  GraphGeometry geometry;
  EqGraph view;
};

TEST_F(GraphFrame, GridHasItsLinesAndNeverThe10HzOne) {
  InitSolid(18);
  const QImage& bg = view.Background();
  ASSERT_EQ(bg.size(), QSize(kWidth, 280));
  for (int y = 0; y < 280; ++y) EXPECT_EQ(bg.pixel(0, y), 0u) << "10 Hz column, row " << y;
  const int x20 = geometry.ColumnOfFrequency(20);
  for (int y = 30; y <= 249; ++y) EXPECT_EQ(bg.pixel(x20, y), kGridColour) << y;
  EXPECT_EQ(bg.pixel(x20, 252), 0u);  // lines stop at row 249 (250 is the -24 dB line)
  for (int k = 0; k < 9; ++k) {
    const int y = DbLineRow(k);
    EXPECT_EQ(bg.pixel(50, y), kGridColour);
    EXPECT_EQ(bg.pixel(kWidth - 1, y), kGridColour);
    EXPECT_EQ(bg.pixel(49, y) == kGridColour, false) << "lines start at the plot edge";
  }
  // Labels only where listed: white text under 50 Hz, none under the 30 Hz line.
  auto textIn = [&](int x0, int x1) {
    int n = 0;
    for (int y = 255; y < 280; ++y) {
      for (int x = std::max(x0, 0); x < std::min(x1, kWidth); ++x) n += qRed(bg.pixel(x, y)) > 128;
    }
    return n;
  };
  const int x30 = geometry.ColumnOfFrequency(30), x50 = geometry.ColumnOfFrequency(50);
  EXPECT_EQ(textIn(x30 - 15, x30 + 25), 0);
  EXPECT_GT(textIn(x50 - 15, x50 + 25), 10);
  // Every grid pixel keeps alpha 0: the frame is drawn opaque-by-convention.
  EXPECT_EQ(qAlpha(bg.pixel(x20, 100)), 0);
}

TEST_F(GraphFrame, LabelTextsAndRows) {
  EXPECT_EQ(DbLabel(0), " 24db");
  EXPECT_EQ(DbLabel(4), "  0db");
  EXPECT_EQ(DbLabel(8), "-24db");
  EXPECT_EQ(DbLineRow(1), 57);
  EXPECT_EQ(DbLineRow(8), 250);
  EXPECT_EQ(FrequencyLabel(500), "500hz");
  EXPECT_EQ(FrequencyLabel(1000), "1khz");
  EXPECT_EQ(FrequencyLabel(20000), "20khz");
}

TEST_F(GraphFrame, StampLiesUnderCurvesAndMarkers) {
  InitSolid(18);
  EqBand flat = Peak(1000, 0);
  flat.freq = static_cast<std::int16_t>(geometry.FrequencyOfColumn(kWidth / 2) + 0.5);
  view.SetBypassStamp(true);
  view.Render(&flat, 1);
  const QPoint marker = view.BandPoint(&flat, 0);
  // Marker 0 over the stamp (an opaque blend still lets 1/256 of what lies below through).
  const QPoint side = marker + QPoint(5, -5);
  const QRgb stamped = BlendPixel(0xff0000ff, Bg(side.x(), side.y()));
  EXPECT_EQ(At(side), BlendPixel(0xff010000, stamped) & 0xffffff);
  const int stampLeft = (kWidth - 310) / 2;
  EXPECT_EQ(At({stampLeft + 5, 140}), kDefaultCurveColour);  // the 0 dB sum curve
  EXPECT_EQ(At({stampLeft + 5, 125}), BlendPixel(0xff0000ff, Bg(stampLeft + 5, 125)) & 0xffffff);
  view.SetBypassStamp(false);
  view.Render(&flat, 1);
  EXPECT_EQ(At({stampLeft + 5, 125}), Bg(stampLeft + 5, 125) & 0xffffff);
}

TEST_F(GraphFrame, CurvesStayBetweenRows29And251) {
  view.Init(geometry, {}, {}, 0);  // no markers, no stamp
  view.SetReadoutEnabled(false);
  EqBand wild[3] = {Peak(100, 240, 4), Peak(8000, -240, 4), Peak(1000, 240, 4)};
  wild[1].type = kBandHighPass;
  wild[1].slope = kSlopeLinkwitzRiley24;
  wild[1].freq = 15000;
  view.SetSelectedBand(1);
  view.Render(wild, 3);
  int changed = 0;
  for (int y = 0; y < 280; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool differs = view.Frame().pixel(x, y) != Bg(x, y);
      if (y < 29 || y > 251) {
        EXPECT_FALSE(differs) << x << "," << y;
        if (differs) return;
      }
      changed += differs;
    }
  }
  EXPECT_GT(changed, 1000);
}

TEST_F(GraphFrame, SelectedBandAreaIsBandColourAtAlpha30) {
  view.Init(geometry, {}, {}, 0);
  view.SetReadoutEnabled(false);
  const EqBand boost = Peak(1000, 120, 10);
  const int x = geometry.ColumnOfFrequency(1000) + 3;  // beside the 1 kHz grid line
  view.Render(&boost, 1);
  EXPECT_EQ(view.Frame().pixel(x, 139), Bg(x, 139));  // nothing selected, no area
  view.SetSelectedBand(0);
  view.Render(&boost, 1);
  const QRgb area = BlendPixel((0x30u << 24) | kDefaultBandColour, Bg(x, 139));
  EXPECT_EQ(view.Frame().pixel(x, 139), area);
  EXPECT_EQ(view.Frame().pixel(x, 141), Bg(x, 141));  // a boost fills above 0 dB only
  // The peak sits 12 dB (55 rows) above the 0 dB row: outline, not area, there.
  EXPECT_EQ(
      At({x - 3, 140 - 55}) == kDefaultCurveColour || At({x - 3, 140 - 54}) == kDefaultCurveColour,
      true);
}

TEST_F(GraphFrame, ColoursCanBeChangedForTheSecondMicrophone) {
  view.Init(geometry, {}, {}, 0);
  view.SetCurveColour(qRgb(213, 96, 40));
  const EqBand flat = Peak(1000, 0);
  view.Render(&flat, 1);
  EXPECT_EQ(At({300, 140}), 0x00d56028u);
}

TEST_F(GraphFrame, MarkersDrawInIndexOrderWithTheSelectedOneOnTop) {
  InitSolid(18);
  const EqBand same[3] = {Peak(1000, 60), Peak(1000, 60), Peak(1000, 60)};
  const QPoint p = view.BandPoint(same, 0);
  view.Render(same, 3);
  EXPECT_EQ(At(p), 0x00030000u);  // last drawn wins
  view.SetSelectedBand(0);
  view.Render(same, 3);
  EXPECT_EQ(At(p), 0x00000100u);  // the selected image of slot 0, on top
  // Markers are centred on the band's point.
  EXPECT_EQ(At(p + QPoint(-15, -15)), 0x00000100u);
  EXPECT_NE(At(p + QPoint(15, 15)), 0x00000100u);
  EXPECT_EQ(view.BandPoint(same, -1), QPoint(0, 0));
}

TEST_F(GraphFrame, ToneMarkersAndASelectedToneBand) {
  InitSolid(20);
  const EqBand bands[2] = {Peak(100, 0), Peak(200, 0)};
  const EqBand tones[3] = {Peak(3000, 60), Peak(5000, 60), Peak(9000, 60)};
  view.SetSelectedBand(10);  // the second tone band
  view.RenderWithTones(bands, 2, tones, 9);
  const QRgb tone0 = At(view.BandPoint(tones, 0)), tone1 = At(view.BandPoint(tones, 1));
  EXPECT_EQ(qRed(tone0), 10);  // slot 9, normal look
  EXPECT_EQ(qGreen(tone0), 0);
  EXPECT_EQ(qRed(tone1), 0);  // slot 10, selected look
  EXPECT_EQ(qGreen(tone1), 11);
  // The sum holds the tone bands: the curve rises at 5 kHz.
  const int x = view.BandPoint(tones, 1).x();
  bool lifted = false;
  for (int y = 40; y < 140; ++y) lifted |= At({x + 20, y}) == kDefaultCurveColour;
  EXPECT_TRUE(lifted);
}

TEST_F(GraphFrame, ReadoutStandsAboveFlatOrCutBandsAndBelowBoosts) {
  const EqBand flat = Peak(2500, 0, 14);
  Readout r = ReadoutOf(geometry, flat);
  const QPoint p = BandPointOf(geometry, flat);
  ASSERT_EQ(r.count, 3);
  EXPECT_EQ(r.lines[0].text, "2500hz");
  EXPECT_EQ(r.lines[1].text, "0.0db");
  EXPECT_EQ(r.lines[2].text, "q=1.4");
  EXPECT_LT(r.lines[2].at.y() + kReadoutFontPixels, p.y() - 15 + 3);  // above the marker
  EXPECT_EQ(r.lines[0].at, QPoint(p.x() - 16, p.y() - 52));

  const EqBand boost = Peak(2500, 1, 14);
  r = ReadoutOf(geometry, boost);
  EXPECT_EQ(r.lines[0].at.y(), BandPointOf(geometry, boost).y() + 12);
  EXPECT_EQ(ReadoutOf(geometry, Peak(100, -85)).lines[1].text, "-8.5db");

  EqBand lowPass = Peak(16000, 0);
  lowPass.type = kBandLowPass;
  lowPass.slope = kSlopeButter12;
  r = ReadoutOf(geometry, lowPass);
  ASSERT_EQ(r.count, 1);
  EXPECT_EQ(r.lines[0].text, "16000hz");
  EXPECT_EQ(r.lines[0].at.y(), BandPointOf(geometry, lowPass).y() - 42);

  // Drawn in yellow into the frame.
  view.Init(geometry, {}, {}, 0);
  view.SetSelectedBand(0);
  view.Render(&flat, 1);
  int yellow = 0;
  for (int y = p.y() - 52; y < p.y() - 20; ++y) {
    for (int x = p.x() - 16; x < p.x() + 40; ++x) {
      const QRgb c = view.Frame().pixel(x, y);
      yellow += qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 60;
    }
  }
  EXPECT_GT(yellow, 20);
}

TEST_F(GraphFrame, BandsFromAConfusedProcessorDrawWithoutHarm) {
  InitSolid(18);
  EqBand odd[4] = {Peak(0, 120, 0), Peak(-5, -240, 10), Peak(1000, 120, 0), Peak(30000, 90)};
  odd[3].type = 9;
  view.SetSelectedBand(2);
  view.Render(odd, 4);
  view.SetSelectedBand(0);
  view.Render(odd, 4);
  SUCCEED();  // the sanitizer build checks the arithmetic
}

}  // namespace
}  // namespace tavelo::ui
