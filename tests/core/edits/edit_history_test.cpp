// Undo and redo over the image: a step holds what one edit (or one gesture) changed, an
// undo brings those values back and names the blocks that carry them, changes made by
// other means are not taken back, and a new edit forgets what could be redone.
#include <gtest/gtest.h>

#include "core/edits/EditHistory.h"
#include "core/edits/RowValues.h"

namespace tavelo {
namespace {

class EditHistoryTest : public ::testing::Test {
 protected:
  EditHistoryTest() {
    ApplyDefaults(image);
    history.Reset(image);
  }
  // A page's edit: the image is written, then the edit is recorded.
  void Edit(RowId id, int value) {
    WriteValue(image, RowOf(id), value);
    history.Recorded(image);
  }
  void Gain(int band, int gain) {
    BandOf(image, RowOf(BandRow(kEqMusic, band))).gain = static_cast<std::int16_t>(gain);
    history.Recorded(image);
  }
  int Value(RowId id) const { return ReadValue(image, RowOf(id)); }
  int GainOf(int band) const { return BandOf(image, RowOf(BandRow(kEqMusic, band))).gain; }
  bool Undo() {
    const auto plan = history.PlanUndo(image);
    if (!plan) return false;
    last = *plan;
    history.CommitUndo(image, *plan);
    return true;
  }
  bool Redo() {
    const auto plan = history.PlanRedo(image);
    if (!plan) return false;
    last = *plan;
    history.CommitRedo(image, *plan);
    return true;
  }

  ParamImage image;
  EditHistory history;
  SwitchPlan last;
};

TEST_F(EditHistoryTest, UndoRestoresTheValueAndSendsItsBlockAndRedoGoesForward) {
  const int volume = Value(row::kMusicVolume);
  Edit(row::kMusicVolume, volume + 5);
  Edit(row::kMicHpfHz, 120);
  EXPECT_EQ(history.UndoCount(), 2u);

  ASSERT_TRUE(Undo());
  EXPECT_NE(Value(row::kMicHpfHz), 120);
  EXPECT_EQ(Value(row::kMusicVolume), volume + 5);
  EXPECT_EQ(last.requests, std::vector<BlockRequest>{RequestFor(image, RowOf(row::kMicHpfHz))});
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Value(row::kMusicVolume), volume);
  EXPECT_EQ(last.requests, std::vector<BlockRequest>{RequestFor(image, RowOf(row::kMusicVolume))});
  EXPECT_FALSE(Undo());

  ASSERT_TRUE(Redo());
  EXPECT_EQ(Value(row::kMusicVolume), volume + 5);
  ASSERT_TRUE(Redo());
  EXPECT_EQ(Value(row::kMicHpfHz), 120);
  EXPECT_FALSE(Redo());
}

TEST_F(EditHistoryTest, AGestureIsOneStepWhateverItPosted) {
  const int before = GainOf(2);
  history.Begin();
  for (int g = 10; g <= 100; g += 10) Gain(2, g);
  Gain(4, -30);  // the mic page's linked band, or a second band of one action
  history.End();
  Edit(row::kMusicVolume, 3);
  EXPECT_EQ(history.UndoCount(), 2u);

  ASSERT_TRUE(Undo());  // the volume
  ASSERT_TRUE(Undo());  // the whole drag
  EXPECT_EQ(GainOf(2), before);
  EXPECT_NE(GainOf(4), -30);
  EXPECT_EQ(last.requests.size(), 2u);  // one block per band, not one per move
  EXPECT_FALSE(history.CanUndo());
}

TEST_F(EditHistoryTest, ChangesByOtherMeansAreNotTakenBack) {
  Edit(row::kMusicVolume, 20);
  // The processor's knob moves the microphone volume; the panel rebases.
  WriteValue(image, RowOf(row::kMicVolume), 33);
  history.Rebase(image);
  Edit(row::kMusicVolume, 30);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Value(row::kMusicVolume), 20);
  EXPECT_EQ(Value(row::kMicVolume), 33);
  EXPECT_EQ(last.changed, std::vector<RowId>{row::kMusicVolume});

  // Undo puts back only the step's rows, wherever the rest of the image has gone since.
  WriteValue(image, RowOf(row::kMicVolume), 44);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Value(row::kMicVolume), 44);
}

TEST_F(EditHistoryTest, ANewEditForgetsRedoAndResetForgetsEverything) {
  Edit(row::kMusicVolume, 20);
  Edit(row::kMusicVolume, 30);
  ASSERT_TRUE(Undo());
  EXPECT_TRUE(history.CanRedo());
  Edit(row::kMicVolume, 5);
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.UndoCount(), 2u);

  history.Reset(image);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
  // A recorded edit that changed nothing makes no step.
  history.Recorded(image);
  EXPECT_FALSE(history.CanUndo());
}

TEST(EditHistoryDepthTest, TheOldestStepsGoFirst) {
  ParamImage image;
  ApplyDefaults(image);
  EditHistory history(3);
  history.Reset(image);
  for (int v = 1; v <= 5; ++v) {
    WriteValue(image, RowOf(row::kMusicVolume), v);
    history.Recorded(image);
  }
  EXPECT_EQ(history.UndoCount(), 3u);
  for (int i = 0; i < 3; ++i) {
    const auto plan = history.PlanUndo(image);
    ASSERT_TRUE(plan);
    history.CommitUndo(image, *plan);
  }
  EXPECT_EQ(ReadValue(image, RowOf(row::kMusicVolume)), 2);
}

}  // namespace
}  // namespace tavelo
