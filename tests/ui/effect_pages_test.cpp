// The echo and reverb pages driven the way a user does (mouse drags on sliders and the
// graph, clicks, typed values), each case asserting the image bytes and the codes posted.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <utility>
#include <vector>

#include "support/page_driver.h"
#include "support/qt_app.h"
#include "ui/controls/SkinSlider.h"
#include "ui/graph/GraphLayout.h"
#include "ui/pages/EchoPage.h"
#include "ui/pages/EchoPageTable.h"
#include "ui/pages/EchoTypeChoice.h"
#include "ui/pages/ReverbPage.h"
#include "ui/pages/ReverbPageTable.h"

namespace tavelo {
namespace {

using Posted = std::pair<int, int>;
using enum row::Id;

// One effect page in a window of its own, with a host whose answers the test sets.
template <typename Page>
class EffectPage : public ::testing::Test {
 public:
  EffectPage() {
    ApplyDefaults(image_);
    window_.resize(1180, 680);
    ui::PageHost host;
    host.connected = [this] { return connected_; };
    host.vrPresent = [this] { return vr_; };
    host.frontPanel = [this] { return panel_; };
    host.setAdjustManner = [this](int manner) { manners_.push_back(manner); };
    page_ = new Page(image_, test::RecordPosts(posted_), host, QSize(1164, 610), &window_);
    page_->Model().SetFlags({[this] { return vr_; }, [this] { return locked_; }});
    page_->ShowParameterSet();
    window_.show();
    QApplication::setActiveWindow(&window_);
    posted_.clear();
  }

  QWidget* W(int id) { return page_->Binder().Widget(id); }
  ui::SkinSlider* Slider(int id) { return qobject_cast<ui::SkinSlider*>(W(id)); }
  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(W(id)); }
  std::string Text(int id) {
    if (auto* e = Edit(id)) return e->text().toStdString();
    return qobject_cast<QLabel*>(W(id))->text().toStdString();
  }
  bool Shown(int id) { return !W(id)->isHidden(); }
  int Value(RowId row) const { return ReadValue(image_, RowOf(row)); }

  // Grabs the thumb and lets it go at `x` along the track (the ends stop it).
  void DragThumbTo(int id, int x) { test::DragThumbTo(W(id), x); }
  void DragToMin(int id) { DragThumbTo(id, -300); }
  void DragToMax(int id) { DragThumbTo(id, Slider(id)->width() + 300); }

  void Type(int id, const char* text) { test::TypeAndEnter(W(id), text); }
  void Click(int id) { QTest::mouseClick(W(id), Qt::LeftButton); }

  // Drags band `band`'s marker on the graph to `to`.
  void DragMarker(const EqBand* bands, int band, QPoint to,
                  Qt::MouseButton button = Qt::LeftButton) {
    const QPoint from = ui::BandPointOf(page_->View().Geometry(), bands[band]);
    QTest::mousePress(page_->Graph(), button, Qt::NoModifier, from);
    QTest::mouseMove(page_->Graph(), to);
    QTest::mouseRelease(page_->Graph(), button, Qt::NoModifier, to);
  }

  QApplication& app_ = test::QtApp();  // before any widget member
  ParamImage image_;
  bool connected_ = false, vr_ = false, locked_ = false;
  FrontPanel panel_;
  std::vector<int> manners_;
  std::vector<Posted> posted_;
  QWidget window_;
  Page* page_ = nullptr;
};

using EchoPage = EffectPage<ui::EchoPage>;
using ReverbPage = EffectPage<ui::ReverbPage>;

// ---- echo layout by type -----------------------------------------------------------------

TEST_F(EchoPage, RightChannelRowsFollowTheEchoTypeAfterEveryDownload) {
  const int rightRows[] = {
      echo::kRightDelaySlider,  echo::kRightDelayText,    echo::kRightPredelaySlider,
      echo::kRightPredelayText, echo::kRightRepeatSlider, echo::kRightRepeatText,
      echo::kRightLevelSlider,  echo::kRightLevelText,    echo::kRightLevelSwitch};
  const auto download = [&](int type) {
    image_.byte(img::kEchoType) = static_cast<std::uint8_t>(type);
    page_->ShowParameterSet();
  };
  download(echo::kMono);
  for (int id : rightRows) EXPECT_FALSE(Shown(id)) << "mono " << id;
  EXPECT_TRUE(page_->Binder().CaptionOf(echo::kRightDelaySlider)->isHidden());

  download(echo::kStereo);
  for (int id : {echo::kRightDelaySlider, echo::kRightDelayText, echo::kRightPredelaySlider,
                 echo::kRightPredelayText})
    EXPECT_TRUE(Shown(id)) << "stereo " << id;
  for (int id : {echo::kRightRepeatSlider, echo::kRightRepeatText, echo::kRightLevelSlider,
                 echo::kRightLevelText, echo::kRightLevelSwitch})
    EXPECT_FALSE(Shown(id)) << "stereo " << id;
  EXPECT_FALSE(page_->Binder().CaptionOf(echo::kRightDelaySlider)->isHidden());
  // The percent bytes, shown about their middle.
  EXPECT_EQ(Slider(echo::kRightDelaySlider)->GetPos(), image_.byte(121));
  EXPECT_EQ(Text(echo::kRightDelayText), std::to_string(image_.byte(121) - 50) + "%");
  EXPECT_EQ(Slider(echo::kRightDelaySlider)->Model().Max(), 100);

  image_.word(28) = 321;
  image_.word(29) = 17;
  image_.byte(117) = 0x80 | 44;
  download(echo::kDual);
  for (int id : rightRows) EXPECT_TRUE(Shown(id)) << "dual " << id;
  // The millisecond words.
  EXPECT_EQ(Slider(echo::kRightDelaySlider)->GetPos(), 321);
  EXPECT_EQ(Slider(echo::kRightDelaySlider)->Model().Min(), 1);
  EXPECT_EQ(Slider(echo::kRightDelaySlider)->Model().Max(), 500);
  EXPECT_EQ(Text(echo::kRightDelayText), "321ms");
  EXPECT_EQ(Text(echo::kRightPredelayText), "17ms");
  EXPECT_EQ(Text(echo::kRightLevelText), "44");
  EXPECT_TRUE(page_->Model().Controls().Lit(echo::kRightLevelSwitch));
  EXPECT_TRUE(posted_.empty());

  // A type byte that names no type shows no right channel.
  download(7);
  for (int id : rightRows) EXPECT_FALSE(Shown(id)) << "type 7 " << id;

  // The type list speaks the user's language.
  auto* types = qobject_cast<QComboBox*>(W(echo::kTypeList));
  ASSERT_NE(types, nullptr);
  EXPECT_EQ(types->itemText(echo::kDual), "dual");
  page_->ApplyLanguage(Lang::kChinese);
  EXPECT_EQ(types->itemText(echo::kMono), QString::fromUtf8("单回声"));
  EXPECT_EQ(types->itemText(echo::kStereo), QString::fromUtf8("立体声"));
  EXPECT_EQ(types->itemText(echo::kDual), QString::fromUtf8("双回声"));
}

TEST_F(EchoPage, RightChannelControlsWriteThePercentBytesOrTheMillisecondWords) {
  image_.byte(img::kEchoType) = echo::kStereo;
  page_->Refresh();
  DragToMin(echo::kRightDelaySlider);
  EXPECT_EQ(Text(echo::kRightDelayText), "-50%");
  EXPECT_EQ(image_.byte(121), 0);
  DragToMax(echo::kRightPredelaySlider);
  EXPECT_EQ(Text(echo::kRightPredelayText), "50%");
  EXPECT_EQ(image_.byte(122), 100);
  EXPECT_EQ(posted_, (std::vector<Posted>{{13, 0}, {13, 0}}));
  const std::uint16_t words[2] = {image_.word(28), image_.word(29)};

  posted_.clear();
  image_.byte(img::kEchoType) = echo::kDual;
  page_->Refresh();
  DragToMin(echo::kRightDelaySlider);
  EXPECT_EQ(Text(echo::kRightDelayText), "1ms");
  EXPECT_EQ(image_.word(28), 1);
  DragToMax(echo::kRightDelaySlider);
  EXPECT_EQ(Text(echo::kRightDelayText), "500ms");
  EXPECT_EQ(image_.word(28), 500);
  DragToMax(echo::kRightPredelaySlider);
  EXPECT_EQ(Text(echo::kRightPredelayText), "100ms");
  EXPECT_EQ(image_.word(29), 100);
  DragToMin(echo::kRightPredelaySlider);
  EXPECT_EQ(Text(echo::kRightPredelayText), "0ms");
  EXPECT_EQ(image_.word(29), 0);
  EXPECT_EQ(image_.byte(121), 0);  // the stereo bytes are left as they were
  EXPECT_EQ(image_.byte(122), 100);
  EXPECT_NE(words[0], 500);
  EXPECT_EQ(posted_.size(), 4u);
}

// ---- every readout at its ends -----------------------------------------------------------

struct Ends {
  int slider;
  int readout;
  RowId row;
  int min;
  const char* minText;
  int max;
  const char* maxText;
};

template <typename Fixture>
void CheckEnds(Fixture& f, const Ends& e, int code) {
  SCOPED_TRACE(e.slider);
  f.posted_.clear();
  f.DragToMin(e.slider);
  EXPECT_EQ(f.Value(e.row), e.min);
  EXPECT_EQ(f.Text(e.readout), e.minText);
  f.DragToMax(e.slider);
  EXPECT_EQ(f.Value(e.row), e.max);
  EXPECT_EQ(f.Text(e.readout), e.maxText);
  ASSERT_FALSE(f.posted_.empty());
  for (const auto& p : f.posted_) EXPECT_EQ(p, (Posted{code, 0}));
}

TEST_F(EchoPage, EveryReadoutAtItsEnds) {
  image_.byte(img::kEchoType) = echo::kDual;
  for (int at : {115, 117, 119}) image_.byte(at) |= 0x80;  // switches on: kept
  page_->Refresh();
  const Ends ends[] = {
      {effect::kLevelSlider, effect::kLevelText, kEchoLevel, 0, "0", 100, "100"},
      {echo::kDelaySlider, echo::kDelayText, kEchoDelayMs, 1, "1ms", 500, "500ms"},
      {echo::kRepeatSlider, echo::kRepeatText, kEchoRepeat, 0, "0", 90, "90"},
      {echo::kLeftPredelaySlider, echo::kLeftPredelayText, kEchoLeftPredelayMs, 0, "0ms", 100,
       "100ms"},
      {echo::kDirectSlider, echo::kDirectText, kEchoDirect, 0, "0", 100, "100"},
      {echo::kRightRepeatSlider, echo::kRightRepeatText, kEchoRightRepeat, 0, "0%", 90, "90%"},
      {echo::kRightLevelSlider, echo::kRightLevelText, kEchoRightLevel, 0, "0", 100, "100"},
      {effect::kLpfSlider, effect::kLpfEdit, kEchoLpfHz, 4000, "4000", 16000, "16000"},
      {effect::kHpfSlider, effect::kHpfEdit, kEchoHpfHz, 20, "20", 1000, "1000"},
  };
  for (const Ends& e : ends) CheckEnds(*this, e, 13);
  for (int at : {115, 117, 119}) EXPECT_EQ(image_.byte(at), 0x80 | 100) << at;
  // The filter sliders drive their bands too.
  EXPECT_EQ(image_.set(kEqEcho)[effect::kLowPassBand].freq, 16000);
  EXPECT_EQ(image_.set(kEqEcho)[effect::kHighPassBand].freq, 1000);
}

TEST_F(ReverbPage, EveryReadoutAtItsEnds) {
  image_.byte(110) |= 0x80;
  page_->Refresh();
  const Ends ends[] = {
      {effect::kLevelSlider, effect::kLevelText, kReverbLevel, 0, "0", 100, "100"},
      {reverb::kDecaySlider, reverb::kDecayText, kReverbDecayMs, 500, "500ms", 5000, "5000ms"},
      {reverb::kPredelaySlider, reverb::kPredelayText, kReverbPredelayMs, 0, "0ms", 100, "100ms"},
      {reverb::kDirectSlider, reverb::kDirectText, kReverbDirect, 0, "0", 100, "100"},
      {effect::kLpfSlider, effect::kLpfEdit, kReverbLpfHz, 4000, "4000", 16000, "16000"},
      {effect::kHpfSlider, effect::kHpfEdit, kReverbHpfHz, 20, "20", 1000, "1000"},
  };
  for (const Ends& e : ends) CheckEnds(*this, e, 11);
  EXPECT_EQ(image_.byte(110), 0x80 | 100);
}

// ---- pass filters: linear sliders, typed values, graph drags that stop at the limits -----

TEST_F(EchoPage, PassFiltersAreLinearTakeTypedValuesInRangeAndStopAtTheirLimitsOnTheGraph) {
  ui::SkinSlider* lpf = Slider(effect::kLpfSlider);
  const int middle = (lpf->Model().PositionOfValue(4000) + lpf->Model().PositionOfValue(16000)) / 2;
  EXPECT_NEAR(lpf->Model().ValueOfPosition(middle), 10000, 200);

  const int stored = image_.word(23);
  Type(effect::kLpfEdit, "3999");
  EXPECT_EQ(Text(effect::kLpfEdit), std::to_string(stored));
  EXPECT_EQ(image_.word(23), stored);
  EXPECT_TRUE(posted_.empty());
  Type(effect::kLpfEdit, "5000");
  EXPECT_EQ(image_.word(23), 5000);
  EXPECT_EQ(image_.set(kEqEcho)[effect::kLowPassBand].freq, 5000);
  EXPECT_EQ(lpf->GetPos(), 5000);
  EXPECT_EQ(page_->Model().Selected(), effect::kLowPassBand);
  EXPECT_EQ(posted_, (std::vector<Posted>{{13, 0}}));

  // Band 6 dragged to the far right stops at 1000 Hz, to the far left at 20 Hz; its
  // slider takes the focus.
  posted_.clear();
  const EqBand* bands = image_.set(kEqEcho);
  const int width = page_->Graph()->width();
  DragMarker(bands, effect::kHighPassBand, QPoint(width - 2, 100));
  EXPECT_EQ(image_.word(22), 1000);
  EXPECT_EQ(bands[effect::kHighPassBand].freq, 1000);
  EXPECT_EQ(Text(effect::kHpfEdit), "1000");
  EXPECT_TRUE(Slider(effect::kHpfSlider)->hasFocus());
  DragMarker(bands, effect::kHighPassBand, QPoint(2, 100));
  EXPECT_EQ(image_.word(22), 20);
  DragMarker(bands, effect::kLowPassBand, QPoint(2, 100));
  EXPECT_EQ(image_.word(23), 4000);
  DragMarker(bands, effect::kLowPassBand, QPoint(width - 2, 100));
  EXPECT_EQ(image_.word(23), 16000);
  EXPECT_TRUE(Slider(effect::kLpfSlider)->hasFocus());
  ASSERT_FALSE(posted_.empty());
  for (const auto& p : posted_) EXPECT_EQ(p, (Posted{13, 0}));

  // An equaliser band goes out as code 3 of set 10; a right drag on a filter changes nothing.
  posted_.clear();
  DragMarker(bands, 2, ui::BandPointOf(page_->View().Geometry(), bands[2]) + QPoint(40, -30));
  ASSERT_FALSE(posted_.empty());
  EXPECT_EQ(posted_.back(), (Posted{3, 2 * 256 + 10}));
  posted_.clear();
  const EqBand before = bands[effect::kLowPassBand];
  DragMarker(bands, effect::kLowPassBand, QPoint(width / 2, 60), Qt::RightButton);
  EXPECT_EQ(bands[effect::kLowPassBand], before);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(ReverbPage, TypedFiltersOutsideTheirRangeRestoreTheStoredValue) {
  const int stored = image_.word(20);
  Type(effect::kHpfEdit, "1001");
  EXPECT_EQ(Text(effect::kHpfEdit), std::to_string(stored));
  EXPECT_EQ(image_.word(20), stored);
  Type(effect::kHpfEdit, "19");
  EXPECT_EQ(Text(effect::kHpfEdit), std::to_string(stored));
  EXPECT_TRUE(posted_.empty());
  Type(effect::kHpfEdit, "1000");
  EXPECT_EQ(image_.word(20), 1000);
  EXPECT_EQ(image_.set(kEqReverb)[effect::kHighPassBand].freq, 1000);
  EXPECT_EQ(posted_, (std::vector<Posted>{{11, 0}}));
  posted_.clear();
  const EqBand* bands = image_.set(kEqReverb);
  DragMarker(bands, 0, ui::BandPointOf(page_->View().Geometry(), bands[0]) + QPoint(30, 20));
  ASSERT_FALSE(posted_.empty());
  EXPECT_EQ(posted_.back(), (Posted{3, 0 * 256 + 9}));
}

// ---- switches, bypass, reset -------------------------------------------------------------

TEST_F(EchoPage, SwitchesBypassAndReset) {
  image_.byte(img::kEchoType) = echo::kDual;
  page_->Refresh();
  const int levels[] = {115, 117, 119};
  for (int at : levels) image_.byte(at) &= 0x7f;
  page_->Refresh();
  const int switches[] = {effect::kLevelSwitch, echo::kRightLevelSwitch, echo::kDirectSwitch};
  for (int i = 0; i < 3; ++i) {
    const int before = image_.byte(levels[i]);
    Click(switches[i]);
    EXPECT_EQ(image_.byte(levels[i]), before | 0x80) << switches[i];  // the level is kept
    EXPECT_TRUE(page_->Model().Controls().Lit(switches[i]));
    Click(switches[i]);
    EXPECT_EQ(image_.byte(levels[i]), before) << switches[i];
  }
  EXPECT_EQ(posted_, std::vector<Posted>(6, {13, 0}));

  posted_.clear();
  ASSERT_TRUE(image_.switchWord & (1u << 25));
  Click(effect::kBypassButton);
  EXPECT_FALSE(image_.switchWord & (1u << 25));
  EXPECT_TRUE(page_->View().BypassStamp());
  Click(effect::kBypassButton);
  EXPECT_TRUE(image_.switchWord & (1u << 25));
  EXPECT_EQ(posted_, (std::vector<Posted>{{15, 0}, {15, 0}}));

  posted_.clear();
  EqBand* bands = image_.set(kEqEcho);
  for (int k = 0; k < 7; ++k) bands[k] = {0, 2, static_cast<std::int16_t>(300 + k), 33, -50};
  page_->Refresh();
  Click(effect::kResetButton);
  Click(effect::kResetButton);
  const int freqs[] = {125, 250, 1000, 2500, 8000};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(bands[k].freq, freqs[k]);
    EXPECT_EQ(bands[k].type, 0);
    EXPECT_EQ(bands[k].q, 10);
    EXPECT_EQ(bands[k].gain, 0);
    EXPECT_EQ(Slider(effect::Column(k).gainSlider)->GetPos(), 240);
  }
  EXPECT_EQ(bands[effect::kLowPassBand].freq, image_.word(23));  // filters are not reset
  EXPECT_EQ(posted_, (std::vector<Posted>{{4, 10}, {4, 10}}));
}

TEST_F(ReverbPage, SwitchesBypassAndResetUseTheReverbsBitsAndSet) {
  image_.byte(108) = 40;
  page_->Refresh();
  Click(effect::kLevelSwitch);
  EXPECT_EQ(image_.byte(108), 0x80 | 40);
  Click(reverb::kDirectSwitch);
  EXPECT_EQ(image_.byte(110) & 0x80, 0x80);
  Click(effect::kBypassButton);
  EXPECT_FALSE(image_.switchWord & (1u << 24));
  EXPECT_TRUE(image_.switchWord & (1u << 25));  // the echo's bit is left alone
  Click(effect::kResetButton);
  EXPECT_EQ(posted_, (std::vector<Posted>{{11, 0}, {11, 0}, {15, 0}, {4, 9}}));
}

// ---- the adjustment lock and the front panel ---------------------------------------------

TEST_F(EchoPage, TheAdjustmentLockShowsTheFrontPanelsQuickValuesAndIgnoresMoves) {
  panel_.echoQuick = {41, 215, 63};
  vr_ = locked_ = true;
  page_->ShowParameterSet();
  EXPECT_EQ(Slider(effect::kLevelSlider)->GetPos(), 41);
  EXPECT_EQ(Text(effect::kLevelText), "41");
  EXPECT_EQ(Text(echo::kDelayText), "215ms");
  EXPECT_EQ(Text(echo::kRepeatText), "63");
  const ParamImage before = image_;
  for (int id : {effect::kLevelSlider, echo::kDelaySlider, echo::kRepeatSlider}) {
    DragToMax(id);
    EXPECT_EQ(Slider(id)->GetPos(), id == echo::kDelaySlider    ? 215
                                    : id == echo::kRepeatSlider ? 63
                                                                : 41);
  }
  EXPECT_EQ(Text(echo::kDelayText), "215ms");
  EXPECT_EQ(image_, before);
  EXPECT_TRUE(posted_.empty());
  // Rows the knobs do not own stay the user's.
  DragToMax(echo::kLeftPredelaySlider);
  EXPECT_EQ(image_.word(27), 100);

  // The knobs move: the page shows it, and text being typed elsewhere stays.
  Edit(effect::kLpfEdit)->setFocus();
  QTest::keyClicks(Edit(effect::kLpfEdit), "12");
  const std::string typing = Text(effect::kLpfEdit);
  panel_.echoQuick = {8, 500, 90};
  page_->ReloadChanged();
  EXPECT_EQ(Text(echo::kDelayText), "500ms");
  EXPECT_EQ(Slider(echo::kRepeatSlider)->GetPos(), 90);
  EXPECT_EQ(Text(effect::kLpfEdit), typing);

  // "VR OFF" is shown on a processor with knobs and hands the values back.
  EXPECT_TRUE(Shown(effect::kVrOffButton));
  Click(effect::kVrOffButton);
  EXPECT_EQ(manners_, std::vector<int>{1});
  locked_ = false;
  page_->ReloadChanged();
  EXPECT_EQ(Slider(echo::kDelaySlider)->GetPos(), image_.word(26));
  DragToMin(echo::kDelaySlider);
  EXPECT_EQ(image_.word(26), 1);
  vr_ = false;
  page_->Refresh();
  EXPECT_FALSE(Shown(effect::kVrOffButton));
}

TEST_F(ReverbPage, TheAdjustmentLockOwnsLevelDecayAndPredelay) {
  panel_.reverbQuick = {25, 1475, 58};
  vr_ = locked_ = true;
  page_->ShowParameterSet();
  EXPECT_EQ(Text(effect::kLevelText), "25");
  EXPECT_EQ(Text(reverb::kDecayText), "1475ms");
  EXPECT_EQ(Text(reverb::kPredelayText), "58ms");
  const ParamImage before = image_;
  DragToMin(reverb::kDecaySlider);
  DragToMax(reverb::kPredelaySlider);
  EXPECT_EQ(Text(reverb::kDecayText), "1475ms");
  EXPECT_EQ(image_, before);
  EXPECT_TRUE(posted_.empty());
  DragToMax(reverb::kDirectSlider);  // not a quick value
  EXPECT_EQ(posted_, (std::vector<Posted>{{11, 0}}));
}

// ---- the echo type list -------------------------------------------------------------------

TEST_F(EchoPage, ChoosingAnEchoTypeOfflineLoadsTheDefaultsAndLaysThePageOut) {
  image_.byte(img::kEchoType) = echo::kMono;
  image_.byte(115) = 0x80 | 7;
  image_.word(28) = 444;
  page_->Refresh();
  ASSERT_FALSE(Shown(echo::kRightDelaySlider));
  page_->Model().ListChanged(echo::kTypeList, echo::kDual);
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(image_.byte(img::kEchoType), echo::kDual);
  const int bytes[] = {100, 60, 100, 60, 64, 0, 50, 50};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(image_.byte(115 + i), bytes[i]) << 115 + i;
  const int words[] = {200, 0, 200, 0};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(image_.word(26 + k), words[k]) << 26 + k;
  EXPECT_TRUE(Shown(echo::kRightRepeatSlider));
  EXPECT_EQ(Text(echo::kRightDelayText), "200ms");
  EXPECT_EQ(Slider(echo::kRightDelaySlider)->GetPos(), 200);
  EXPECT_FALSE(page_->Model().Controls().Lit(effect::kLevelSwitch));
  // The same type again does nothing.
  image_.word(26) = 111;
  page_->Model().ListChanged(echo::kTypeList, echo::kDual);
  EXPECT_EQ(image_.word(26), 111);
}

TEST_F(EchoPage, ChoosingAnEchoTypeConnectedAsksTheProcessorAndWaitsForItsAnswer) {
  connected_ = true;
  image_.byte(img::kEchoType) = echo::kMono;
  page_->Refresh();
  const ParamImage before = image_;
  page_->Model().ListChanged(echo::kTypeList, echo::kStereo);
  EXPECT_EQ(posted_, (std::vector<Posted>{{58, echo::kStereo}}));
  EXPECT_EQ(image_.byte(img::kEchoType), echo::kStereo);
  EXPECT_EQ(image_.word(26), before.word(26));  // the values are the processor's to send
  EXPECT_EQ(page_->Model().Controls().Index(echo::kTypeList), echo::kStereo);
  EXPECT_FALSE(Shown(echo::kRightDelaySlider));  // laid out when the answer comes

  // The answer: the type's values, then the page looks again.
  image_.byte(121) = 80;
  page_->ReloadChanged();
  EXPECT_TRUE(Shown(echo::kRightDelaySlider));
  EXPECT_EQ(Text(echo::kRightDelayText), "30%");

  posted_.clear();
  page_->Model().ListChanged(echo::kTypeList, 3);  // not a type
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(page_->Model().Controls().Index(echo::kTypeList), echo::kStereo);
}

}  // namespace
}  // namespace tavelo
