// "Fit to measurement..." on the EQ pages: the dialog's plain logic (files refused with the
// line that is wrong, in the user's language; fields read; the bands, report and graph
// curves of a fit of a synthetic room), and the dialog on the music page against the
// virtual processor: a proposal shown is not sent, Apply sends every band as one undo step,
// Cancel leaves the page as it was.
#ifdef TAVELO_HAS_EQ_FIT
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "core/eqfit/synthetic_room.h"
#include "ui/fit/FitDialog.h"
#include "ui/fit/MeasurementFit.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/MusicPageTable.h"
#include "ui/panel_test_env.h"
#include "ui/tools/EditTools.h"

namespace tavelo {
namespace {

using testing::Peak;
using testing::SyntheticRoom;

// As a measuring program exports it: comment lines, then frequency, SPL and phase.
std::string MeasurementText(const ResponseCurve& curve) {
  std::string text = "* Measurement data measured by a test\n* Freq(Hz) SPL(dB) Phase(degrees)\n";
  char line[64];
  for (std::size_t i = 0; i < curve.hz.size(); ++i) {
    std::snprintf(line, sizeof line, "%.3f %.3f 0.0\n", curve.hz[i], curve.db[i]);
    text += line;
  }
  return text;
}

const std::vector<EqBand>& RoomBands() {
  static const std::vector<EqBand> room = {Peak(63, 4, 8), Peak(125, 2.5, -5), Peak(800, 1.5, 4),
                                           Peak(3000, 2, 5)};
  return room;
}

class FitFiles {
 protected:
  QString Write(const char* name, const std::string& text) {
    const QString path = dir_.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    return path;
  }
  std::filesystem::path PathOf(const QString& path) { return path.toStdString(); }
  QString Room() { return Write("room.txt", MeasurementText(SyntheticRoom(RoomBands(), 0.5))); }

  QTemporaryDir dir_;
};

class MeasurementFitTest : public ::testing::Test, public FitFiles {};

TEST_F(MeasurementFitTest, RefusedFilesNameTheFileAndTheLineInTheUsersLanguage) {
  const std::string bad = "* header\n100 80\n200 81\n150 79\n";
  for (Lang lang : {Lang::kEnglish, Lang::kChinese}) {
    MeasurementFit fit(lang);
    const std::string message = fit.AddMeasurement(PathOf(Write("bad.txt", bad)));
    EXPECT_NE(message.find("bad.txt"), std::string::npos) << message;
    EXPECT_NE(message.find(lang == Lang::kEnglish ? "line 4" : "第 4 行"), std::string::npos)
        << message;
    EXPECT_NE(message.find(lang == Lang::kEnglish ? "does not rise" : "没有高于"),
              std::string::npos)
        << message;
    EXPECT_TRUE(fit.MeasurementNames().empty());
  }
  MeasurementFit fit(Lang::kEnglish);
  const std::string nan = fit.AddMeasurement(PathOf(Write("nan.txt", "20 80\n30 NaN\n")));
  EXPECT_NE(nan.find("line 2"), std::string::npos) << nan;
  const std::string missing = fit.AddMeasurement(PathOf(dir_.filePath("absent.txt")));
  EXPECT_NE(missing.find("absent.txt"), std::string::npos) << missing;
  // Points beyond 20 kHz are left out with a word, and the file is taken.
  std::string wide = MeasurementText(SyntheticRoom({}, 0));
  wide += "22000 75 0\n24000 75 0\n";
  const std::string note = fit.AddMeasurement(PathOf(Write("wide.txt", wide)));
  EXPECT_NE(note.find("2 points"), std::string::npos) << note;
  EXPECT_EQ(fit.MeasurementNames(), std::vector<std::string>{"wide.txt"});
}

TEST_F(MeasurementFitTest, FieldsAreReadOrRefusedByName) {
  MeasurementFit fit(Lang::kEnglish);
  std::string error;
  FitFields fields;
  EXPECT_FALSE(fit.Prepare(fields, 7, error));
  EXPECT_EQ(error, "Add a measurement file first.");

  ASSERT_EQ(fit.AddMeasurement(PathOf(Room())), "");
  fields.rangeLow = "20,5";  // a decimal comma is a number
  fields.rangeHigh = "500";
  const auto settings = fit.ReadFields(fields, error);
  ASSERT_TRUE(settings);
  EXPECT_DOUBLE_EQ(settings->fitLowHz, 20.5);
  EXPECT_DOUBLE_EQ(settings->fitHighHz, 500);

  fields.alignHigh = "2k";
  EXPECT_FALSE(fit.ReadFields(fields, error));
  EXPECT_NE(error.find("Level aligned over"), std::string::npos) << error;
  EXPECT_NE(error.find("\"2k\""), std::string::npos) << error;
  fields.alignHigh = "2000";
  fields.maxBoost = "30";
  EXPECT_FALSE(fit.ReadFields(fields, error));
  EXPECT_NE(error.find("24 dB"), std::string::npos) << error;
  // A range outside 20 Hz..20 kHz is refused by the curves, with the core's reason.
  fields.maxBoost = "3";
  fields.rangeLow = "10";
  EXPECT_FALSE(fit.Prepare(fields, 7, error));
  EXPECT_NE(error.find("Nothing was fitted"), std::string::npos) << error;
  EXPECT_NE(error.find("between 20 Hz and 20 kHz"), std::string::npos) << error;
}

TEST_F(MeasurementFitTest, AFitGivesBandsWithinLimitsAReportAndTheGraphCurves) {
  MeasurementFit fit(Lang::kEnglish);
  ASSERT_EQ(fit.AddMeasurement(PathOf(Room())), "");
  std::string error;
  auto job = fit.Prepare(FitFields{}, 7, error);
  ASSERT_TRUE(job) << error;
  const FitOutcome outcome = RunFit(std::move(*job));
  ASSERT_EQ(outcome.fit.bands.size(), 7u);
  EXPECT_LT(outcome.fit.rmsAfter, outcome.fit.rmsBefore / 2);

  std::vector<EqBand> current(7);
  for (auto& band : current) band.slope = 5;
  const std::vector<EqBand> bands = FittedBands(outcome, current.data());
  for (const EqBand& band : bands) {
    EXPECT_EQ(band.slope, 5);  // not the fit's to choose
    EXPECT_LE(band.gain, 30);  // the default boost limit
    EXPECT_GE(band.freq, kBandMinFrequency);
    EXPECT_LE(band.freq, kBandMaxFrequency);
  }
  const std::string report = FitSummary(outcome);
  EXPECT_NE(report.find("7 bands fitted to 1 measurement"), std::string::npos) << report;
  EXPECT_NE(report.find("Error after:"), std::string::npos) << report;
  EXPECT_NE(report.find("Band 7"), std::string::npos) << report;

  const GraphGeometry g = GraphGeometry::ForWidth(1000);
  const FitPreview preview = PreviewOf(outcome, g);
  const int at63 = g.ColumnOfFrequency(63);
  const auto c = static_cast<std::size_t>(at63);
  EXPECT_NEAR(preview.target[c], 0.0f, 1e-3f);                   // flat target on the 0 dB row
  EXPECT_GT(preview.measured[c], 5 * g.pixelsPerDb);             // the room's peak
  EXPECT_LT(std::abs(preview.predicted[c]), 2 * g.pixelsPerDb);  // cut away
  // Left of 20 Hz the grid has no value: the curves leave a gap there.
  EXPECT_TRUE(std::isnan(preview.measured[static_cast<std::size_t>(g.ColumnOfFrequency(12))]));
}

TEST_F(MeasurementFitTest, TheChineseReportHoldsNoEnglishWords) {
  MeasurementFit fit(Lang::kChinese);
  ASSERT_EQ(fit.AddMeasurement(PathOf(Room())), "");
  std::string error;
  auto job = fit.Prepare(FitFields{}, 7, error);
  ASSERT_TRUE(job) << error;
  const std::string report = FitSummary(RunFit(std::move(*job)));
  EXPECT_NE(report.find("拟合后误差"), std::string::npos) << report;
  for (const char* english : {"Band", "Error", "limit", "fitted", "gain", "peak", "shelf"})
    EXPECT_EQ(report.find(english), std::string::npos) << english << " in " << report;
}

class FitDialogTest : public ::testing::Test, public test::PanelFixture, public FitFiles {
 protected:
  void SetUp() override {
    W().show();
    ASSERT_TRUE(ConnectDemo());
    page_ = W().FindMusicPage();
  }
  bool Settled() {
    return Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); });
  }
  // The fit runs on its own thread; the window's loop hears of its end.
  bool Fitted(ui::FitDialog& dialog) {
    return Wait([&] { return !dialog.Busy(); }, 20000) && dialog.HasResult();
  }
  std::vector<EqBand> Bands() {
    return {page_->Model().Bands(), page_->Model().Bands() + music::kEqBands};
  }
  std::vector<EqBand> DeviceBands() {
    const EqBand* set = W().Demo().Processor().Current().set(kEqMusic);
    return {set, set + music::kEqBands};
  }

  ui::MusicPage* page_ = nullptr;
};

TEST_F(FitDialogTest, AProposalIsNotSentAndApplySendsEveryBandAsOneUndoStep) {
  const std::vector<EqBand> before = Bands();
  ASSERT_EQ(DeviceBands(), before);
  ui::FitDialog* dialog = page_->OpenFitDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->AddMeasurement(Room()), "");
  EXPECT_EQ(dialog->StartFit(), "");
  ASSERT_TRUE(Fitted(*dialog));
  ASSERT_TRUE(Settled());
  // Shown on the graph, nothing stored or sent yet.
  EXPECT_TRUE(page_->Previewing());
  EXPECT_EQ(Bands(), before);
  EXPECT_EQ(DeviceBands(), before);
  EXPECT_EQ(W().Edits().History().UndoCount(), 0u);

  const std::vector<EqBand> fitted = FittedBands(*dialog->Outcome(), before.data());
  ASSERT_NE(fitted, before);
  EXPECT_EQ(dialog->ApplyFit(), "The fitted bands were set in Music EQ.");
  ASSERT_TRUE(Settled());
  EXPECT_FALSE(page_->Previewing());
  EXPECT_EQ(Bands(), fitted);
  EXPECT_EQ(DeviceBands(), fitted);

  EXPECT_EQ(W().Edits().History().UndoCount(), 1u);
  ASSERT_TRUE(W().Edits().Undo());
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Bands(), before);
  EXPECT_EQ(DeviceBands(), before);
}

TEST_F(FitDialogTest, CancelAndChangedInputsDropTheProposal) {
  const std::vector<EqBand> before = Bands();
  ui::FitDialog* dialog = page_->OpenFitDialog();
  ASSERT_EQ(dialog->AddMeasurement(Room()), "");
  dialog->StartFit();
  ASSERT_TRUE(Fitted(*dialog));
  EXPECT_TRUE(page_->Previewing());
  // Another measurement makes the shown fit stale.
  dialog->AddMeasurement(Room());
  EXPECT_FALSE(dialog->HasResult());
  EXPECT_FALSE(page_->Previewing());
  dialog->StartFit();
  ASSERT_TRUE(Fitted(*dialog));
  dialog->reject();
  ASSERT_TRUE(Settled());
  EXPECT_FALSE(page_->Previewing());
  EXPECT_EQ(Bands(), before);
  EXPECT_EQ(DeviceBands(), before);
  EXPECT_EQ(W().Edits().History().UndoCount(), 0u);
}

}  // namespace
}  // namespace tavelo
#endif
