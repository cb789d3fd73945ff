// The shared page behaviour driven through the music page's table, without widgets:
// every action must leave the right values in the image and post the right blocks.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/pages/MusicPageTable.h"
#include "ui/pages/PageModel.h"

namespace tavelo {
namespace {

constexpr int kMusicSetId = 2;  // the music band set in band arguments

using Posted = std::pair<int, int>;  // code, argument

class MusicModelTest : public ::testing::Test {
 protected:
  MusicModelTest()
      : model_(music::Definition(), image_, [this](const BlockRequest& r) {
          posted_.emplace_back(CodeNumber(r.code), r.arg.value);
        }) {
    model_.SetVrPresent([this] { return vr_; });
    model_.onGraphChanged = [this] { ++redraws_; };
    model_.Refresh();
    posted_.clear();
  }

  static ParamImage Defaults() {
    ParamImage image;
    ApplyDefaults(image);
    return image;
  }
  const EqBand& Band(int k) const { return image_.set(kEqMusic)[k]; }
  const ControlStore& C() const { return model_.Controls(); }
  static int BandArg(int band) { return band * 256 + kMusicSetId; }

  ParamImage image_ = Defaults();
  bool vr_ = false;
  int redraws_ = 0;
  std::vector<Posted> posted_;
  PageModel model_;
};

TEST_F(MusicModelTest, TypedGainsFollowTheEditRules) {
  const auto& col = music::Column(2);
  model_.EditReturn(col.gainEdit, "24.04");
  EXPECT_EQ(Band(2).gain, 240);
  EXPECT_EQ(C().Text(col.gainEdit), "24.0");
  EXPECT_EQ(C().Position(col.gainSlider), 0);
  EXPECT_EQ(posted_, (std::vector<Posted>{{3, BandArg(2)}}));
  EXPECT_EQ(model_.Selected(), 2);

  posted_.clear();
  model_.EditReturn(col.gainEdit, "24.05");   // above the range: ignored, text stays
  model_.EditReturn(col.gainEdit, "1.2345");  // too long: ignored
  EXPECT_EQ(C().Text(col.gainEdit), "1.2345");
  EXPECT_EQ(Band(2).gain, 240);
  EXPECT_TRUE(posted_.empty());

  model_.EditReturn(col.gainEdit, "-0.06");
  EXPECT_EQ(Band(2).gain, -1);
  EXPECT_EQ(C().Text(col.gainEdit), "-0.1");
  EXPECT_EQ(C().Position(col.gainSlider), 241);
  model_.EditReturn(col.gainEdit, "-0.1");  // same value: nothing more
  EXPECT_EQ(posted_, (std::vector<Posted>{{3, BandArg(2)}}));
}

TEST_F(MusicModelTest, GainSliderEndsAndMiddle) {
  const auto& col = music::Column(0);
  model_.SliderMoved(col.gainSlider, 0);
  EXPECT_EQ(C().Text(col.gainEdit), "24.0");
  EXPECT_EQ(Band(0).gain, 240);
  model_.SliderMoved(col.gainSlider, 480);
  EXPECT_EQ(C().Text(col.gainEdit), "-24.0");
  EXPECT_EQ(Band(0).gain, -240);
  model_.SliderMoved(col.gainSlider, 240);
  EXPECT_EQ(C().Text(col.gainEdit), "0.0");
  model_.SliderMoved(col.gainSlider, 240);  // cached position: nothing
  EXPECT_EQ(posted_.size(), 3u);
}

TEST_F(MusicModelTest, QTypesAndStepsStoreTypeAndQTogether) {
  const auto& col = music::Column(4);
  model_.EditReturn(col.qEdit, "0.3");
  EXPECT_EQ(C().Text(col.qEdit), "0.7");
  EXPECT_EQ(Band(4).q, 7);
  model_.EditReturn(col.qEdit, "2.5");
  EXPECT_EQ(Band(4).q, 25);
  ASSERT_EQ(posted_.size(), 2u);

  // Choosing a shelf with Q 2.5 commits Q as typed: 0.7, type and Q in one post.
  model_.ButtonClicked(col.typeButtons[kBandLowShelf]);
  EXPECT_EQ(Band(4).type, kBandLowShelf);
  EXPECT_EQ(Band(4).q, 7);
  EXPECT_TRUE(C().Lit(col.typeButtons[1]));
  EXPECT_FALSE(C().Lit(col.typeButtons[0]));
  EXPECT_EQ(posted_.size(), 3u);
  model_.ButtonClicked(col.typeButtons[kBandLowShelf]);  // already chosen
  EXPECT_EQ(posted_.size(), 3u);

  // Wheel on the Q edit: away raises, towards lowers; a shelf stops at 2.0.
  model_.EditWheel(col.qEdit, "1.9", true);
  EXPECT_EQ(Band(4).q, 20);
  model_.EditWheel(col.qEdit, "2.0", true);
  EXPECT_EQ(Band(4).q, 20);
  model_.EditWheel(col.qEdit, "5.0", false);  // lowering above a shelf's range gives 0.4
  EXPECT_EQ(Band(4).q, 4);
  EXPECT_EQ(C().Text(col.qEdit), "0.4");
  model_.EditWheel(col.qEdit, "0.4", false);
  EXPECT_EQ(Band(4).q, 4);
  for (const auto& p : posted_) EXPECT_EQ(p, Posted(3, BandArg(4)));
}

TEST_F(MusicModelTest, FrequencyEditRestoresOrStores) {
  const auto& col = music::Column(1);
  model_.EditReturn(col.freqEdit, "19");
  EXPECT_EQ(C().Text(col.freqEdit), "250");
  model_.EditFocusLost(col.freqEdit, "20001");
  EXPECT_EQ(C().Text(col.freqEdit), "250");
  model_.EditReturn(col.freqEdit, "250");
  EXPECT_TRUE(posted_.empty());
  model_.EditFocusLost(col.freqEdit, "315");
  EXPECT_EQ(Band(1).freq, 315);
  model_.EditWheel(col.freqEdit, "315", true);
  EXPECT_EQ(Band(1).freq, 316);
  EXPECT_EQ(C().Text(col.freqEdit), "316");
  EXPECT_EQ(posted_, (std::vector<Posted>{{3, BandArg(1)}, {3, BandArg(1)}}));
  EXPECT_EQ(model_.Selected(), 1);
}

TEST_F(MusicModelTest, GainWheelStopsAtTheRangeEnds) {
  const auto& col = music::Column(6);
  model_.EditReturn(col.gainEdit, "23.9");
  model_.EditWheel(col.gainEdit, "23.9", true);
  EXPECT_EQ(Band(6).gain, 240);
  EXPECT_EQ(C().Position(col.gainSlider), 0);
  model_.EditWheel(col.gainEdit, "24.0", true);
  EXPECT_EQ(Band(6).gain, 240);
  EXPECT_EQ(posted_.size(), 2u);
}

TEST_F(MusicModelTest, ResetAndBypassPostEveryPress) {
  model_.EditReturn(music::Column(3).gainEdit, "6");
  model_.ButtonClicked(music::Column(3).typeButtons[2]);
  posted_.clear();
  model_.ButtonClicked(music::kResetButton);
  model_.ButtonClicked(music::kResetButton);
  EXPECT_EQ(posted_, (std::vector<Posted>{{4, 2}, {4, 2}}));
  for (int k = 0; k < music::kEqBands; ++k) {
    EXPECT_EQ(Band(k).gain, 0);
    EXPECT_EQ(Band(k).q, 10);
    EXPECT_EQ(Band(k).type, kBandPeak);
  }
  EXPECT_EQ(Band(3).freq, 1000);
  EXPECT_EQ(C().Text(music::Column(3).gainEdit), "0.0");
  EXPECT_TRUE(C().Lit(music::Column(3).typeButtons[0]));
  EXPECT_EQ(Band(music::kLowPassBand).type, kBandLowPass);  // pass filters untouched

  posted_.clear();
  ASSERT_TRUE(image_.switchWord & (1u << 15));
  model_.ButtonClicked(music::kBypassButton);
  EXPECT_FALSE(image_.switchWord & (1u << 15));
  EXPECT_TRUE(model_.Bypassed());
  EXPECT_TRUE(C().Lit(music::kBypassButton));
  model_.ButtonClicked(music::kBypassButton);
  EXPECT_TRUE(image_.switchWord & (1u << 15));
  EXPECT_FALSE(model_.Bypassed());
  EXPECT_EQ(posted_, (std::vector<Posted>{{15, 0}, {15, 0}}));
}

TEST_F(MusicModelTest, PassFiltersFollowSliderEditAndList) {
  EXPECT_EQ(Band(music::kHighPassBand).type, kBandHighPass);
  EXPECT_EQ(Band(music::kLowPassBand).type, kBandLowPass);
  model_.SliderMoved(music::kHpfSlider, 80);
  EXPECT_EQ(image_.word(2), 80);
  EXPECT_EQ(Band(music::kHighPassBand).freq, 80);
  EXPECT_EQ(C().Text(music::kHpfEdit), "80");
  EXPECT_EQ(model_.Selected(), music::kHighPassBand);
  model_.EditReturn(music::kLpfEdit, "12000");
  EXPECT_EQ(image_.word(3), 12000);
  EXPECT_EQ(C().Position(music::kLpfSlider), 12000);
  EXPECT_EQ(model_.Selected(), music::kLowPassBand);
  model_.EditReturn(music::kLpfEdit, "30000");
  EXPECT_EQ(C().Text(music::kLpfEdit), "12000");
  model_.ListChanged(music::kHpfList, kSlopeButter24);
  EXPECT_EQ(image_.byte(7), kSlopeButter24);
  EXPECT_EQ(Band(music::kHighPassBand).slope, kSlopeButter24);
  model_.ListChanged(music::kHpfList, kSlopeButter24);
  EXPECT_EQ(posted_, (std::vector<Posted>{{17, 2}, {17, 3}, {17, 2}}));
}

TEST_F(MusicModelTest, ReadoutsAndByteBlockSliders) {
  model_.SliderMoved(music::kKeySlider, 0);
  EXPECT_EQ(C().Text(music::kKeyText), "b7");
  model_.SliderMoved(music::kKeySlider, 14);
  EXPECT_EQ(C().Text(music::kKeyText), "#7");
  EXPECT_EQ(image_.byte(9), 14);
  model_.SliderMoved(music::kGateSlider, 41);
  EXPECT_EQ(C().Text(music::kGateText), "-50db");
  EXPECT_EQ(image_.byte(5), 41);
  model_.SliderMoved(music::kGateSlider, 0);
  EXPECT_EQ(C().Text(music::kGateText), "OFF");
  model_.SliderMoved(music::kOpticalGain, 3);
  EXPECT_EQ(C().Text(music::kOpticalGainText), "-9");
  EXPECT_EQ(image_.byte(26), 3);
  model_.SliderMoved(music::kOpticalGain, 99);  // clamped to the range
  EXPECT_EQ(image_.byte(26), 12);
  EXPECT_EQ(posted_.size(), 6u);
  for (const auto& p : posted_) EXPECT_EQ(p, Posted(2, 0));
}

TEST_F(MusicModelTest, InputButtonsPostOnlyAChange) {
  image_.byte(6) = 2;
  model_.Refresh();
  EXPECT_TRUE(C().Lit(music::kInputButtons[2]));
  model_.ButtonClicked(music::kInputButtons[2]);
  EXPECT_TRUE(posted_.empty());
  model_.ButtonClicked(music::kInputButtons[4]);
  EXPECT_EQ(image_.byte(6), 4);
  EXPECT_TRUE(C().Lit(music::kInputButtons[4]));
  EXPECT_FALSE(C().Lit(music::kInputButtons[2]));
  EXPECT_EQ(posted_, (std::vector<Posted>{{2, 0}}));
}

TEST_F(MusicModelTest, ToneControlsAreIgnoredWhileTheProcessorHasVr) {
  model_.SliderMoved(music::kBassSlider, 300);
  EXPECT_EQ(image_.word(40), 300);
  EXPECT_EQ(C().Text(music::kBassEdit), "6.0");
  EXPECT_EQ(model_.ToneBands()[0].gain, 60);
  model_.EditReturn(music::kTrebleEdit, "-3");
  EXPECT_EQ(image_.word(43), 210);
  model_.EditReturn(music::kMidFreqEdit, "2500");
  EXPECT_EQ(image_.word(42), 2500);
  EXPECT_EQ(model_.ToneBands()[1].freq, 2500);
  EXPECT_EQ(posted_, (std::vector<Posted>{{12, 2}, {12, 770}, {12, 514}}));

  posted_.clear();
  vr_ = true;
  image_.toneGroups[0][1].gain = -30;  // what the processor's bass knob reports
  model_.Refresh();
  EXPECT_EQ(C().Text(music::kBassEdit), "-3.0");
  model_.SliderMoved(music::kBassSlider, 400);
  model_.EditReturn(music::kMidEdit, "5");
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(image_.word(40), 300);
  EXPECT_EQ(C().Position(music::kBassSlider), 210);
}

TEST_F(MusicModelTest, SelectionMovesTheHighlight) {
  model_.FocusGained(music::Column(1).qEdit);
  EXPECT_EQ(model_.Selected(), 1);
  EXPECT_TRUE(C().Highlighted(music::Column(1).gainSlider));
  model_.SelectBand(music::kLowPassBand);
  EXPECT_FALSE(C().Highlighted(music::Column(1).gainSlider));
  EXPECT_EQ(model_.FocusSliderOfBand(music::kLowPassBand), music::kLpfSlider);
  EXPECT_EQ(model_.FocusSliderOfBand(music::kHighPassBand), music::kHpfSlider);
  EXPECT_EQ(model_.FocusSliderOfBand(3), music::Column(3).gainSlider);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(MusicModelTest, GraphDragsPinAndPostOncePerMove) {
  model_.DragPoint(0, 5, 999);
  EXPECT_EQ(Band(0).freq, 20);
  EXPECT_EQ(Band(0).gain, 240);
  EXPECT_EQ(C().Text(music::Column(0).gainEdit), "24.0");
  EXPECT_EQ(C().Text(music::Column(0).freqEdit), "20");
  EXPECT_EQ(posted_.size(), 1u);
  model_.DragPoint(0, 20, 240);  // nothing changed
  EXPECT_EQ(posted_.size(), 1u);
  model_.DragQ(0, 5000);
  EXPECT_EQ(Band(0).q, 999);
  model_.DragQ(0, 1);
  EXPECT_EQ(Band(0).q, 4);
  EXPECT_EQ(C().Text(music::Column(0).qEdit), "0.4");
  model_.DragPassFilter(music::kLowPassBand, 50000);
  EXPECT_EQ(image_.word(3), 20000);  // already there: no post
  model_.DragPassFilter(music::kLowPassBand, 8000);
  EXPECT_EQ(image_.word(3), 8000);
  EXPECT_EQ(posted_,
            (std::vector<Posted>{{3, BandArg(0)}, {3, BandArg(0)}, {3, BandArg(0)}, {17, 3}}));
}

}  // namespace
}  // namespace tavelo
