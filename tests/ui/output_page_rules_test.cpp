// The rules of the four output pages, one test body over the four tables: readouts, set
// choice by mode and by the output display selector, AUTO greying, the codes and arguments
// posted, bypass, reset, crossovers. The expected numbers are the processor's, written out.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "core/params/ParamImage.h"
#include "ui/pages/OutputPageTable.h"
#include "ui/pages/PageModel.h"

namespace tavelo {
namespace {

using namespace output;

struct Expect {
  const OutputPageSpec* page;
  const char* name;
  int channel;                  // code 14 argument
  int setId;                    // code 3 / 4 low byte
  int lpfN, hpfN;               // code 17 arguments
  int volumeByte;               // left (or only) volume, set 1
  int lpfSlopeByte;             // set 1
  int hpfWord;                  // set 1
  int delayWord;                // left (or only) delay
  int muteBit, compBit, eqBit;  // switch bits (left or only mute; set 1's equaliser)
  int bands;
  int firstReset;  // reset frequency of band 0
};

const Expect kPages[] = {
    {&kMain, "main", 0, 3, 5, 4, 28, 46, 4, 30, 0, 6, 16, 7, 125},
    {&kSurround, "surround", 2, 5, 9, 8, 48, 66, 8, 32, 2, 8, 18, 5, 125},
    {&kCentre, "centre", 4, 7, 13, 12, 68, 86, 12, 34, 4, 10, 20, 5, 125},
    {&kSub, "sub", 5, 8, 15, 14, 88, 106, 16, 35, 5, 11, 22, 5, 31},
};

struct Post {
  int code, arg;
  friend bool operator==(const Post&, const Post&) = default;
};

class OutputRules : public ::testing::TestWithParam<Expect> {
 protected:
  void Open(int mode, int display = 0) {
    ApplyDefaults(image_);
    image_.byte(img::kAppMode) = static_cast<std::uint8_t>(mode);
    image_.byte(img::kOutputDisplay) = static_cast<std::uint8_t>(display);
    model_ = std::make_unique<PageModel>(Definition(Page()), image_, [this](const BlockRequest& r) {
      posts_.push_back({CodeNumber(r.code), r.arg.value});
    });
    model_->SetState(PageModel::kData);
    model_->Refresh();
    posts_.clear();
  }
  const OutputPageSpec& Page() const { return *GetParam().page; }
  const Expect& X() const { return GetParam(); }
  ControlStore& C() { return model_->Controls(); }
  std::vector<Post> Take() { return std::exchange(posts_, {}); }
  Post Channel() const { return {14, X().channel}; }
  EqBand* Set(int s) { return image_.set(static_cast<EqSet>(Page().firstSet + s)); }

  ParamImage image_;
  std::unique_ptr<PageModel> model_;
  std::vector<Post> posts_;
};

TEST_P(OutputRules, ReadoutsAtTheirEndsAndWhatEachSliderPosts) {
  Open(kModeSing);
  const int secondSet = image_.byte(X().volumeByte + 1);
  const auto move = [&](int id, int position, int text) {
    model_->SliderMoved(id, position);
    return C().Text(text);
  };
  EXPECT_EQ(move(kLeftVolume, 0, kLeftVolumeText), "OFF");
  EXPECT_EQ(move(kLeftVolume, 1, kLeftVolumeText), "-37.0dB");
  EXPECT_EQ(move(kLeftVolume, 75, kLeftVolumeText), "0.0dB");
  EXPECT_EQ(move(kLeftVolume, 99, kLeftVolumeText), "12.0dB");
  EXPECT_EQ(move(kCompThreshold, 0, kCompThresholdText), "-50db");
  EXPECT_EQ(move(kCompThreshold, 50, kCompThresholdText), "0db");
  EXPECT_EQ(move(kCompRelease, 1, kCompReleaseText), "0.1s");
  EXPECT_EQ(move(kCompRelease, 25, kCompReleaseText), "2.5s");
  EXPECT_EQ(move(kCompRatio, 2, kCompRatioText), "1:2");
  EXPECT_EQ(move(kCompAttack, 90, kCompAttackText), "90ms");
  EXPECT_EQ(move(kLeftDelay, 0, kLeftDelayText), "0ms/0.0m");
  EXPECT_EQ(move(kLeftDelay, 50, kLeftDelayText), "50ms/17.0m");
  EXPECT_EQ(move(kMusicMix, 100, kMusicMixText), "100%");
  // Every change stored one code-14 request for the page's channel.
  const auto posts = Take();
  // Release and delay start at their low ends: moving them there again changed nothing.
  EXPECT_EQ(posts.size(), 11u);
  for (const Post& p : posts) EXPECT_EQ(p, Channel());
  EXPECT_EQ(image_.byte(X().volumeByte) & 0x7F, 99);
  EXPECT_EQ(image_.word(X().delayWord), 50);
  EXPECT_EQ(image_.byte(X().volumeByte + 1), secondSet) << "set 2 untouched in Sing";
}

TEST_P(OutputRules, ARepeatedSliderPositionPostsNothing) {
  Open(kModeDance);
  model_->SliderMoved(kMusicMix, 40);
  model_->SliderMoved(kMusicMix, 40);
  model_->SliderMoved(kCompAttack, 30);
  model_->SliderMoved(kCompAttack, 30);
  EXPECT_EQ(Take(), (std::vector<Post>{Channel(), Channel()}));
}

TEST_P(OutputRules, LevelsKeepTheirSwitchAndSwitchesKeepTheirLevel) {
  Open(kModeDance);
  const int byte = X().volumeByte + 1;  // set 2 in Dance
  image_.byte(byte) = 0x80 | 60;
  model_->Refresh();
  EXPECT_TRUE(C().Lit(kLeftVolumeOn));
  model_->SliderMoved(kLeftVolume, 20);
  EXPECT_EQ(image_.byte(byte), 0x80 | 20);
  model_->ButtonClicked(kLeftVolumeOn);
  EXPECT_EQ(image_.byte(byte), 20);
  EXPECT_FALSE(C().Lit(kLeftVolumeOn));
  EXPECT_EQ(Take(), (std::vector<Post>{Channel(), Channel()}));
}

TEST_P(OutputRules, TypedCrossoverOutsideItsRangeIsRestoredAndNotSent) {
  Open(kModeSing);
  const int stored = image_.word(X().hpfWord);
  for (const char* typed : {"10", "30000", "19", "20001", "abc"}) {
    model_->EditReturn(kHpfEdit, typed);
    EXPECT_EQ(C().Text(kHpfEdit), std::to_string(stored)) << typed;
  }
  model_->EditReturn(kHpfEdit, std::to_string(stored));
  EXPECT_TRUE(Take().empty());
  model_->EditReturn(kHpfEdit, "120");
  EXPECT_EQ(image_.word(X().hpfWord), 120);
  EXPECT_EQ(Set(0)[X().bands + 1].freq, 120) << "the high-pass band record follows";
  EXPECT_EQ(C().Position(kHpfSlider), 120);
  EXPECT_EQ(model_->Selected(), X().bands + 1);
  EXPECT_EQ(Take(), (std::vector<Post>{{17, X().hpfN}}));
}

TEST_P(OutputRules, LowPassSliderInSingStoresSetOneAndSelectsTheFilter) {
  Open(kModeSing);
  model_->SliderMoved(kLpfSlider, 120);
  EXPECT_EQ(image_.word(X().hpfWord + 2), 120);
  EXPECT_EQ(Set(0)[X().bands].freq, 120);
  EXPECT_EQ(C().Text(kLpfEdit), "120");
  EXPECT_EQ(model_->Selected(), X().bands);
  EXPECT_EQ(Take(), (std::vector<Post>{{17, X().lpfN}}));
}

TEST_P(OutputRules, LinkRileyInDanceWritesTheSecondSetsSlope) {
  Open(kModeDance);
  const int firstSet = image_.byte(X().lpfSlopeByte);
  model_->ListChanged(kLpfList, kSlopeLinkwitzRiley24);
  EXPECT_EQ(image_.byte(X().lpfSlopeByte + 1), kSlopeLinkwitzRiley24);
  EXPECT_EQ(image_.byte(X().lpfSlopeByte), firstSet) << "set 1 untouched";
  EXPECT_EQ(Set(1)[X().bands].slope, kSlopeLinkwitzRiley24);
  EXPECT_EQ(Set(0)[X().bands].slope, firstSet);
  model_->ListChanged(kLpfList, kSlopeLinkwitzRiley24);  // the same again: nothing
  EXPECT_EQ(Take(), (std::vector<Post>{{17, X().lpfN}}));
  model_->ListChanged(kHpfList, kSlopeBessel18);
  EXPECT_EQ(image_.byte(X().lpfSlopeByte - 1), kSlopeBessel18);
  EXPECT_EQ(Set(1)[X().bands + 1].slope, kSlopeBessel18);
  EXPECT_EQ(Take(), (std::vector<Post>{{17, X().hpfN}}));
}

TEST_P(OutputRules, CompBypassTwiceClearsThenSetsItsBit) {
  Open(kModeSing);
  const std::uint32_t bit = 1u << X().compBit;
  image_.switchWord |= bit;
  model_->Refresh();
  EXPECT_FALSE(C().Lit(kCompBypass));
  model_->ButtonClicked(kCompBypass);
  EXPECT_FALSE(image_.switchWord & bit);
  EXPECT_TRUE(C().Lit(kCompBypass));
  model_->ButtonClicked(kCompBypass);
  EXPECT_TRUE(image_.switchWord & bit);
  EXPECT_EQ(Take(), (std::vector<Post>{{15, 0}, {15, 0}}));
}

TEST_P(OutputRules, MuteAndEqBypassFollowTheirBits) {
  Open(kModeDance);
  model_->ButtonClicked(kLeftMute);
  EXPECT_TRUE(C().Lit(kLeftMute));
  const std::uint32_t eqBit = 1u << (X().eqBit + 1);  // set 2 in Dance
  ASSERT_TRUE(image_.switchWord & eqBit);
  model_->ButtonClicked(kEqBypass);
  EXPECT_FALSE(image_.switchWord & eqBit);
  EXPECT_TRUE(image_.switchWord & (1u << X().eqBit)) << "set 1's equaliser untouched";
  EXPECT_TRUE(model_->Bypassed());
  EXPECT_EQ(Take(), (std::vector<Post>{{15, 0}, {15, 0}}));
}

TEST_P(OutputRules, EqResetInSingLeavesSetTwoAlone) {
  Open(kModeSing);
  for (int s = 0; s < 2; ++s)
    for (int b = 0; b < X().bands; ++b) Set(s)[b] = EqBand{0, kBandHighShelf, 3000, 15, -60};
  const EqBand lowPass = Set(0)[X().bands];
  model_->Refresh();
  model_->ButtonClicked(kEqReset);
  ParamImage fresh;  // a reset returns the bands to a fresh panel's frequencies
  ApplyDefaults(fresh);
  for (int b = 0; b < X().bands; ++b) {
    EXPECT_EQ(Set(0)[b].freq, fresh.set(Page().firstSet)[b].freq);
    EXPECT_EQ(Set(0)[b].q, 10);
    EXPECT_EQ(Set(0)[b].gain, 0);
    EXPECT_EQ(Set(0)[b].type, kBandPeak);
    EXPECT_EQ(Set(1)[b].freq, 3000);
  }
  EXPECT_EQ(Set(0)[0].freq, X().firstReset);
  EXPECT_EQ(Set(0)[X().bands], lowPass) << "the pass filters are not reset";
  EXPECT_EQ(C().Text(output::Column(0).freqEdit), std::to_string(X().firstReset));
  model_->ButtonClicked(kEqReset);
  EXPECT_EQ(Take(), (std::vector<Post>{{4, X().setId}, {4, X().setId}}));
}

TEST_P(OutputRules, BandEditsGoToTheModesSetWithThePagesSetId) {
  Open(kModeDance);
  const auto& c = output::Column(1);
  model_->EditReturn(c.gainEdit, "-6.5");
  EXPECT_EQ(Set(1)[1].gain, -65);
  EXPECT_NE(Set(0)[1].gain, -65);
  model_->EditReturn(c.freqEdit, "333");
  EXPECT_EQ(Set(1)[1].freq, 333);
  EXPECT_EQ(Take(), (std::vector<Post>{{3, 256 + X().setId}, {3, 256 + X().setId}}));
}

// In AUTO the page edits no set: exactly the per-set controls are greyed out and ignore
// the user; the compressor, delays, mutes and "Comp Bypass" stay live.
TEST_P(OutputRules, AutoGreysOutExactlyThePerSetControls) {
  Open(kModeAuto);
  std::set<int> perSet = {kLeftVolume,     kLeftVolumeOn, kMusicMix,    kMusicMixOn, kMicDirectMix,
                          kMicDirectMixOn, kReverbMix,    kReverbMixOn, kEchoMix,    kEchoMixOn,
                          kLpfSlider,      kLpfEdit,      kLpfList,     kHpfSlider,  kHpfEdit,
                          kHpfList,        kEqBypass,     kEqReset};
  if (HasRightChannel(Page())) perSet.insert({kRightVolume, kRightVolumeOn});
  for (int b = 0; b < X().bands; ++b) {
    const auto& c = output::Column(b);
    perSet.insert({c.gainSlider, c.gainEdit, c.qEdit, c.freqEdit, c.qSpin, c.typeButtons[0],
                   c.typeButtons[1], c.typeButtons[2]});
  }
  std::set<int> always = {kCompThreshold, kCompRatio, kCompAttack, kCompRelease,
                          kLeftDelay,     kLeftMute,  kCompBypass};
  if (HasRightChannel(Page())) always.insert({kRightDelay, kRightMute});
  for (int id : perSet) EXPECT_FALSE(C().Enabled(id)) << id;
  for (int id : always) EXPECT_TRUE(C().Enabled(id)) << id;

  const ParamImage before = image_;
  model_->SliderMoved(kMusicMix, 3);
  model_->ButtonClicked(kMusicMixOn);
  model_->ButtonClicked(kEqBypass);
  model_->ButtonClicked(kEqReset);
  model_->ListChanged(kLpfList, 3);
  model_->EditReturn(kLpfEdit, "500");
  model_->EditReturn(output::Column(0).gainEdit, "3.0");
  model_->EditWheel(output::Column(0).freqEdit, "125", true);
  model_->DragPoint(0, 500, 60);
  model_->DragPassFilter(X().bands, 500);
  EXPECT_EQ(image_, before);
  EXPECT_TRUE(Take().empty());

  model_->SliderMoved(kCompRatio, 9);
  model_->ButtonClicked(kLeftMute);
  EXPECT_EQ(Take(), (std::vector<Post>{Channel(), {15, 0}}));

  // Sing brings them back.
  image_.byte(img::kAppMode) = kModeSing;
  model_->Refresh();
  for (int id : perSet) EXPECT_TRUE(C().Enabled(id)) << id;
}

// The disabled page shows a mixture: levels, switches and slope lists of set 1, band
// columns and "EQ Bypass" of set 2 (the set the processor uses in AUTO).
TEST_P(OutputRules, AutoShowsLevelsOfSetOneAndBandsOfSetTwo) {
  Open(kModeAuto);
  image_.byte(X().volumeByte) = 0x80 | 10;
  image_.byte(X().volumeByte + 1) = 20;
  image_.byte(X().lpfSlopeByte) = 2;
  image_.byte(X().lpfSlopeByte + 1) = 5;
  image_.word(X().hpfWord) = 111;
  image_.word(X().hpfWord + 1) = 222;
  Set(0)[0].gain = -30;
  Set(1)[0].gain = 45;
  image_.switchWord &= ~(1u << (X().eqBit + 1));
  model_->Refresh();
  EXPECT_EQ(C().Position(kLeftVolume), 10);
  EXPECT_TRUE(C().Lit(kLeftVolumeOn));
  EXPECT_EQ(C().Index(kLpfList), 2);
  EXPECT_EQ(C().Text(kHpfEdit), "111");
  EXPECT_EQ(C().Position(kHpfSlider), 222) << "the slider stands under the marker of set 2";
  EXPECT_EQ(model_->Bands()[X().bands + 1].freq, 222);
  EXPECT_EQ(C().Text(output::Column(0).gainEdit), "4.5");
  EXPECT_TRUE(C().Lit(kEqBypass));
  EXPECT_EQ(model_->Bands(), Set(1));
}

// While the output display selector is set: sliders, edits and the band columns use set 1
// whatever the mode, the slope lists and level switches still follow the mode, and the
// switches come from the second switch word.
TEST_P(OutputRules, DisplaySelectorEditsSetOneWithTheSecondSwitchWord) {
  Open(kModeDance, 1);
  model_->SliderMoved(kMusicMix, 33);
  EXPECT_EQ(image_.byte(X().volumeByte + 6) & 0x7F, 33) << "music level of set 1";
  const int firstSet = image_.byte(X().volumeByte);
  model_->ButtonClicked(kLeftVolumeOn);  // the mode's set: set 2
  EXPECT_EQ(image_.byte(X().volumeByte + 1) & 0x80, 0x80);
  EXPECT_EQ(image_.byte(X().volumeByte), firstSet);
  model_->ListChanged(kLpfList, 4);
  EXPECT_EQ(image_.byte(X().lpfSlopeByte + 1), 4);
  model_->EditReturn(output::Column(0).gainEdit, "2.0");
  EXPECT_EQ(Set(0)[0].gain, 20);
  EXPECT_EQ(model_->Bands(), Set(0));

  const std::uint32_t main = image_.switchWord;
  model_->ButtonClicked(kEqBypass);
  model_->ButtonClicked(kLeftMute);
  EXPECT_EQ(image_.switchWord, main) << "the first switch word stays";
  EXPECT_FALSE(image_.altSwitchWord & (1u << X().eqBit));
  EXPECT_TRUE(image_.altSwitchWord & (1u << X().muteBit));
  EXPECT_EQ(Take().back(), (Post{15, 0}));
}

TEST_P(OutputRules, DisplaySelectorLoadsLevelsOfSetOne) {
  Open(kModeDance, 1);
  image_.byte(X().volumeByte) = 11;
  image_.byte(X().volumeByte + 1) = 22;
  model_->Refresh();
  EXPECT_EQ(C().Position(kLeftVolume), 11);
  image_.byte(img::kOutputDisplay) = 0;
  model_->Refresh();
  EXPECT_EQ(C().Position(kLeftVolume), 22);
}

TEST_P(OutputRules, DelayRangeWidensWithDistancesOnTheSurroundPageOnly) {
  ParamImage image;
  ApplyDefaults(image);
  EXPECT_EQ(DelayMax(Page(), image), 50);
  image.byte(img::kOutputDisplay) = 1;
  EXPECT_TRUE(ShowsDistances(image));
  EXPECT_EQ(DelayMax(Page(), image), &Page() == &kSurround ? 150 : 50);
}

INSTANTIATE_TEST_SUITE_P(Pages, OutputRules, ::testing::ValuesIn(kPages),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(OutputRules, SurroundDelayOf150ReadsInMetres) {
  ParamImage image;
  ApplyDefaults(image);
  image.byte(img::kOutputDisplay) = 1;
  PageModel model(Definition(kSurround), image, nullptr);
  model.SetState(PageModel::kData);
  model.Refresh();
  model.SliderMoved(kLeftDelay, 150);
  EXPECT_EQ(model.Controls().Text(kLeftDelayText), "150ms/51.0m");
  EXPECT_EQ(image.word(32), 150);
}

TEST(OutputRules, OneChannelPagesHaveNoRightChannelControls) {
  for (const OutputPageSpec* page : {&kCentre, &kSub}) {
    const PageDefinition& def = Definition(*page);
    for (const auto& row : def.sliders) {
      EXPECT_NE(row.id, kRightVolume);
      EXPECT_NE(row.id, kRightDelay);
    }
    for (const auto& toggle : def.toggles) {
      EXPECT_NE(toggle.id, kRightVolumeOn);
      EXPECT_NE(toggle.id, kRightMute);
    }
  }
  EXPECT_FALSE(HasRightChannel(kCentre));
  EXPECT_TRUE(HasRightChannel(kSurround));
}

}  // namespace
}  // namespace tavelo
