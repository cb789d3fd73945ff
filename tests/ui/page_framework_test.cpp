// The page framework's features that the pages after the music page stand on, each driven
// through a small stub table naming real catalogue rows: per-set values with the AUTO
// mixture and the second switch word, level bits and their on/off bit, "lit means clear"
// switches, band arrays chosen at run time with the hook before a band is posted, Q
// spins, the boost block, the adjustment lock, a layout that follows a value, and a page
// without a graph.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "ui/pages/PageModel.h"

namespace tavelo {
namespace {

using enum row::Id;
using Posted = std::pair<int, int>;  // code, argument

std::array<BandColumnIds, 7> Columns(int base) {
  std::array<BandColumnIds, 7> c{};
  for (int k = 0; k < 7; ++k)
    c[static_cast<std::size_t>(k)] = {base + 10 * k,
                                      base + 10 * k + 1,
                                      base + 10 * k + 2,
                                      base + 10 * k + 3,
                                      {base + 10 * k + 4, base + 10 * k + 5, base + 10 * k + 6},
                                      base + 10 * k + 7};
  return c;
}

class Fixture : public ::testing::Test {
 protected:
  Fixture() { ApplyDefaults(image_); }
  BlockPoster Poster() {
    return [this](const BlockRequest& r) { posted_.emplace_back(CodeNumber(r.code), r.arg.value); };
  }
  void Mode(int mode, int display = 0) {
    image_.byte(RowOf(kAppMode).place.index) = static_cast<std::uint8_t>(mode);
    image_.byte(RowOf(kOutputDisplay).place.index) = static_cast<std::uint8_t>(display);
  }
  ParamImage image_;
  std::vector<Posted> posted_;
};

// ---- an output page: two sets chosen by the application mode ---------------------------

constexpr int kVolume = 1220, kVolumeText = 1221, kVolumeOn = 1545, kComp = 1228;
constexpr int kLpf = 1242, kLpfEdit = 1351, kLpfList = 1536, kCompBypass = 1928, kMute = 1926;
constexpr int kEqBypass = 1924, kEqReset = 1925;
const auto kOutputColumns = Columns(100);
constexpr std::array<EqView, 2> kOutputViews = {{
    {BandStore::kImage, kEqMainFirst, 7, 9, kSwitchMainSet1EqOn},
    {BandStore::kImage, kEqMainSecond, 7, 9, kSwitchMainSet2EqOn},
}};
constexpr std::array<SliderRow, 3> kOutputSliders = {{
    {kVolume, kVolumeText, kMainSet1LeftVolume, false, Link::kNone, 0, EditRule::kNone,
     LockRule::kNone, SetRule::kHandler},
    {kComp, 1229, kMainCompThreshold},
    {kLpf, kLpfEdit, kMainSet1LpfHz, true, Link::kPassFrequency, 7, EditRule::kFrequency,
     LockRule::kNone, SetRule::kHandler},
}};
constexpr std::array<ListRow, 1> kOutputLists = {{
    {kLpfList, kMainSet1LpfSlope, Link::kPassSlope, 7, SetRule::kMode},
}};
constexpr std::array<ToggleRow, 3> kOutputToggles = {{
    {kVolumeOn, kMainSet1LeftVolumeOn, false, SetRule::kMode},
    {kCompBypass, kSwitchMainCompOn, true},
    {kMute, kSwitchMainLeftMute},
}};

PageDefinition OutputPageSpec() {
  PageDefinition def;
  def.eq.views = kOutputViews;
  def.eq.viewRule = SetRule::kHandler;
  def.eq.perSet = true;
  def.eq.spinsShown = false;
  def.eq.columns = kOutputColumns;
  def.eq.passFocusSlider[0] = kLpf;
  def.eq.bypassButton = kEqBypass;
  def.eq.resetButton = kEqReset;
  def.sliders = kOutputSliders;
  def.lists = kOutputLists;
  def.toggles = kOutputToggles;
  def.autoDisables = true;
  def.altSwitchWord = true;
  return def;
}

class OutputPageTest : public Fixture {
 protected:
  OutputPageTest() : model_(OutputPageSpec(), image_, Poster()) {}
  const ControlStore& C() const { return model_.Controls(); }
  PageModel model_;
};

TEST_F(OutputPageTest, LevelsKeepTheirOnBitAndFollowTheSetOfTheMode) {
  Mode(kModeSing);
  image_.byte(28) = 0x80 | 40;  // set 1 left volume 40, switched on
  model_.Refresh();
  EXPECT_EQ(C().Position(kVolume), 40);
  EXPECT_TRUE(C().Lit(kVolumeOn));
  model_.SliderMoved(kVolume, 75);
  EXPECT_EQ(image_.byte(28), 0x80 | 75);  // bits 0..6 only
  EXPECT_EQ(C().Text(kVolumeText), "0.0dB");
  model_.ButtonClicked(kVolumeOn);  // the on bit only
  EXPECT_EQ(image_.byte(28), 75);
  EXPECT_EQ(posted_, (std::vector<Posted>{{14, 0}, {14, 0}}));

  Mode(kModeDance);
  model_.Refresh();
  model_.SliderMoved(kVolume, 10);
  EXPECT_EQ(image_.byte(29) & 0x7f, 10);  // set 2
  EXPECT_EQ(image_.byte(28), 75);
  EXPECT_EQ(model_.Bands(), image_.set(kEqMainSecond));
}

TEST_F(OutputPageTest, PassFiltersOfTheActiveSet) {
  Mode(kModeDance);
  model_.Refresh();
  model_.SliderMoved(kLpf, 1200);
  EXPECT_EQ(image_.word(7), 1200);
  EXPECT_EQ(image_.set(kEqMainSecond)[7].freq, 1200);
  EXPECT_EQ(image_.set(kEqMainFirst)[7].freq, image_.word(6));
  model_.ListChanged(kLpfList, 7);
  EXPECT_EQ(image_.byte(47), 7);
  EXPECT_EQ(image_.set(kEqMainSecond)[7].slope, 7);
  EXPECT_EQ(posted_, (std::vector<Posted>{{17, 5}, {17, 5}}));
  EXPECT_EQ(model_.Selected(), 7);
}

TEST_F(OutputPageTest, LitMeansClearWhereTheButtonSaysBypassed) {
  Mode(kModeSing);
  image_.switchWord |= 1u << 6;  // compressor in circuit
  model_.Refresh();
  EXPECT_FALSE(C().Lit(kCompBypass));
  model_.ButtonClicked(kCompBypass);
  EXPECT_TRUE(C().Lit(kCompBypass));
  EXPECT_EQ(image_.switchWord >> 6 & 1u, 0u);
  model_.ButtonClicked(kCompBypass);
  EXPECT_EQ(image_.switchWord >> 6 & 1u, 1u);
  model_.ButtonClicked(kMute);  // a mute is lit while its bit is set
  EXPECT_EQ(image_.switchWord & 1u, 1u);
  EXPECT_EQ(posted_, (std::vector<Posted>{{15, 0}, {15, 0}, {15, 0}}));
}

TEST_F(OutputPageTest, AutoGreysPerSetControlsAndShowsTheMixture) {
  image_.byte(28) = 11;  // set 1 level
  image_.byte(29) = 22;  // set 2 level
  image_.set(kEqMainFirst)[0].gain = 10;
  image_.set(kEqMainSecond)[0].gain = -30;
  Mode(kModeAuto);
  model_.Refresh();
  EXPECT_EQ(C().Position(kVolume), 11);                        // levels: set 1
  EXPECT_EQ(C().Position(kOutputColumns[0].gainSlider), 270);  // bands: set 2
  EXPECT_FALSE(C().Enabled(kVolume));
  EXPECT_FALSE(C().Enabled(kVolumeOn));
  EXPECT_FALSE(C().Enabled(kLpfList));
  EXPECT_FALSE(C().Enabled(kOutputColumns[0].gainEdit));
  EXPECT_FALSE(C().Enabled(kEqBypass));
  EXPECT_TRUE(C().Enabled(kComp));
  EXPECT_TRUE(C().Enabled(kCompBypass));
  EXPECT_FALSE(C().Visible(kOutputColumns[0].qSpin));
  EXPECT_FALSE(model_.Enabled());
  model_.SliderMoved(kVolume, 50);
  model_.SliderMoved(kOutputColumns[0].gainSlider, 100);
  model_.ButtonClicked(kEqReset);
  model_.DragPoint(0, 1000, 50);
  EXPECT_EQ(image_.byte(28), 11);
  EXPECT_EQ(image_.set(kEqMainSecond)[0].gain, -30);
  EXPECT_TRUE(posted_.empty());

  Mode(kModeSing);
  model_.ApplyAppMode();
  EXPECT_TRUE(C().Enabled(kVolume));
  EXPECT_TRUE(model_.Enabled());
}

TEST_F(OutputPageTest, TheOutputDisplayUsesSetOneAndTheSecondSwitchWord) {
  Mode(kModeDance, 1);
  model_.Refresh();
  EXPECT_EQ(model_.Bands(), image_.set(kEqMainFirst));
  model_.SliderMoved(kVolume, 30);
  EXPECT_EQ(image_.byte(28) & 0x7f, 30);  // handlers: set 1 while distances are shown
  const std::uint32_t word = image_.switchWord;
  model_.ButtonClicked(kMute);
  EXPECT_EQ(image_.switchWord, word);
  EXPECT_EQ(image_.altSwitchWord & 1u, 1u);
  model_.ButtonClicked(kEqBypass);  // lit = bypassed: the enable bit goes clear
  EXPECT_EQ(image_.altSwitchWord >> 16 & 1u, 0u);
  EXPECT_EQ(image_.switchWord, word);
}

TEST_F(OutputPageTest, ResetTouchesTheActiveSetOnlyAndPostsOnce) {
  Mode(kModeDance);
  image_.set(kEqMainFirst)[2].gain = 55;
  image_.set(kEqMainSecond)[2].gain = 66;
  model_.Refresh();
  model_.ButtonClicked(kEqReset);
  EXPECT_EQ(image_.set(kEqMainSecond)[2].gain, 0);
  EXPECT_EQ(image_.set(kEqMainSecond)[2].freq, 500);
  EXPECT_EQ(image_.set(kEqMainFirst)[2].gain, 55);
  EXPECT_EQ(posted_, (std::vector<Posted>{{4, 3}}));  // the main output's set id
}

// ---- band arrays the page chooses, the hook before a band is posted, Q spins -----------

const auto kMicColumns = Columns(300);
constexpr std::array<EqView, 2> kMicViews = {{
    {BandStore::kImage, kEqMicA, 7, 7, kSwitchMicMic1EqOn, 0x14c800, 0x008080},
    {BandStore::kImage, kEqMicB, 7, 7, kSwitchMicMic2EqOn, 0xd56028, 0xc80000},
}};

TEST_F(Fixture, ChosenBandArraysAndTheHookBeforeABandIsPosted) {
  PageDefinition def;
  def.eq.views = kMicViews;
  def.eq.columns = kMicColumns;
  PageModel model(def, image_, Poster());
  model.Refresh();
  std::vector<int> seenAtHook;
  model.BandSide().onBandEvent = [&](BandEvent event, int band) {
    // Stored, not yet posted: a link copies the band here.
    ASSERT_EQ(event, BandEvent::kStored);
    seenAtHook.push_back(static_cast<int>(posted_.size()));
    image_.set(kEqMicA)[band] = image_.set(kEqMicB)[band];
  };
  model.ChooseView(1);
  EXPECT_EQ(model.Bands(), image_.set(kEqMicB));
  EXPECT_EQ(model.BandSide().View().curveColour, 0xd56028u);
  model.SliderMoved(kMicColumns[3].gainSlider, 200);
  EXPECT_EQ(image_.set(kEqMicB)[3].gain, 40);
  EXPECT_EQ(image_.set(kEqMicA)[3].gain, 40);
  EXPECT_EQ(seenAtHook, std::vector<int>{0});
  EXPECT_EQ(posted_, (std::vector<Posted>{{3, 3 * 256 + 1}}));  // the shown microphone's

  // A spin step selects its band and raises (delta -1) or lowers (+1) the Q.
  posted_.clear();
  model.EditReturn(kMicColumns[5].qEdit, "1.0");
  model.SpinStep(kMicColumns[5].qSpin, -1);
  EXPECT_EQ(image_.set(kEqMicB)[5].q, 11);
  EXPECT_EQ(model.Selected(), 5);
  model.SpinStep(kMicColumns[5].qSpin, 1);
  EXPECT_EQ(image_.set(kEqMicB)[5].q, 10);
}

// ---- the boost block --------------------------------------------------------------------

const auto kBoostColumns = Columns(500);
constexpr std::array<EqView, 2> kBoostViews = {{
    {BandStore::kBoost, 0, 5, 5},
    {BandStore::kBoost, 1, 3, 3},
}};
constexpr std::array<ToggleRow, 1> kBoostToggles = {{{900, kBoostSwitchMusic}}};

TEST_F(Fixture, BoostPagesEditTheBoostBlockWithTheirOwnBandCounts) {
  PageDefinition def;
  def.eq.views = kBoostViews;
  def.eq.columns = std::span<const BandColumnIds>(kBoostColumns).first(5);
  def.toggles = kBoostToggles;
  PageModel model(def, image_, Poster());
  model.ChooseView(1);
  model.Refresh();
  EXPECT_TRUE(model.Controls().Visible(kBoostColumns[2].gainSlider));
  EXPECT_FALSE(model.Controls().Visible(kBoostColumns[3].gainSlider));
  model.SliderMoved(kBoostColumns[4].gainSlider, 100);  // not a band of this channel
  EXPECT_TRUE(posted_.empty());
  model.SliderMoved(kBoostColumns[1].gainSlider, 230);
  EXPECT_EQ(image_.boost.bands[1][1].gain, 10);
  model.ButtonClicked(900);
  EXPECT_EQ(image_.boost.switches & 2, 2);
  EXPECT_EQ(posted_, (std::vector<Posted>{{49, 1 * 256 + 1}, {48, image_.boost.switches}}));
}

// ---- a page without a graph: the layout follows a value, the adjustment lock ------------

constexpr int kRightDelay = 1226, kRightDelayText = 1227, kLevel = 1224, kLevelText = 1225;
constexpr std::array<SliderRow, 3> kEchoSliders = {{
    {kRightDelay,
     kRightDelayText,
     kEchoRightDelayPercent,
     false,
     Link::kNone,
     0,
     EditRule::kNone,
     LockRule::kNone,
     SetRule::kNone,
     {kEchoType, 1u << 1}},
    {kRightDelay,
     kRightDelayText,
     kEchoRightDelayMs,
     false,
     Link::kNone,
     0,
     EditRule::kNone,
     LockRule::kNone,
     SetRule::kNone,
     {kEchoType, 1u << 2}},
    {kLevel, kLevelText, kEchoLevel, false, Link::kNone, 0, EditRule::kNone, LockRule::kAdjustLock},
}};

TEST_F(Fixture, RowsFollowAnotherValueAndTheAdjustmentLock) {
  PageDefinition def;
  def.sliders = kEchoSliders;
  PageModel model(def, image_, Poster());
  bool locked = false;
  model.SetFlags({nullptr, [&] { return locked; }});
  model.SetLockedValue([](int id) { return id == kLevel ? std::optional<int>(77) : std::nullopt; });
  const auto echoType = [&](int type) {
    WriteValue(image_, RowOf(kEchoType), type);
    model.Refresh();
  };
  const ControlStore& c = model.Controls();
  echoType(0);
  EXPECT_FALSE(c.Visible(kRightDelay));
  EXPECT_FALSE(c.Visible(kRightDelayText));
  echoType(1);
  EXPECT_TRUE(c.Visible(kRightDelay));
  EXPECT_EQ(c.Get(kRightDelay).max, 100);
  model.SliderMoved(kRightDelay, 0);
  EXPECT_EQ(c.Text(kRightDelayText), "-50%");
  EXPECT_EQ(ReadValue(image_, RowOf(kEchoRightDelayPercent)), 0);
  echoType(2);
  EXPECT_EQ(c.Get(kRightDelay).min, 1);
  EXPECT_EQ(c.Get(kRightDelay).max, 500);
  model.SliderMoved(kRightDelay, 320);
  EXPECT_EQ(c.Text(kRightDelayText), "320ms");
  EXPECT_EQ(ReadValue(image_, RowOf(kEchoRightDelayMs)), 320);
  EXPECT_EQ(posted_, (std::vector<Posted>{{13, 0}, {13, 0}}));

  posted_.clear();
  locked = true;
  model.Refresh();
  EXPECT_EQ(c.Position(kLevel), 77);  // what the front panel holds
  const int stored = ReadValue(image_, RowOf(kEchoLevel));
  model.SliderMoved(kLevel, 5);
  EXPECT_EQ(c.Position(kLevel), 77);
  EXPECT_EQ(ReadValue(image_, RowOf(kEchoLevel)), stored);
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(model.Bands(), nullptr);  // no graph, no bands
}

}  // namespace
}  // namespace tavelo
