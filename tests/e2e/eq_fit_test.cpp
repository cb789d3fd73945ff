// tavelo-cli eq-fit against tavelo-sim over loopback: a synthetic room fitted, set, pulled
// back, and the processor's curve compared with the one the report predicted.
#include <gtest/gtest.h>

#ifdef TAVELO_HAS_EQ_FIT
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <fstream>

#include "core/eq/BandSyntax.h"
#include "core/eq/EqResponse.h"
#include "core/eqfit/synthetic_room.h"
#include "core/params/ParamImage.h"
#include "core/presets/PresetImage.h"
#include "e2e_support.h"

namespace tavelo::e2e {
namespace {

using tavelo::testing::Band;
using tavelo::testing::Peak;

void Write(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The room in the text a measuring program exports.
std::string RewText(const ResponseCurve& room) {
  std::string text =
      "* Measurement data measured by REW V5.20.13\n* Freq(Hz) SPL(dB) Phase(degrees)\n";
  for (std::size_t i = 0; i < room.hz.size(); ++i) {
    char line[80];
    std::snprintf(line, sizeof line, "%.4f %.3f 0.0\n", room.hz[i], room.db[i]);
    text += line;
  }
  return text;
}

// The band's response at `hz` from the core's design, section by section.
double DirectDb(const EqBand& band, double hz) {
  std::array<Biquad, 2> sections;
  const int count = EqResponse::DesignBand(band, sections);
  const float omega = static_cast<float>(hz / 48000.0 * 2.0 * 3.14159265358979323846);
  double db = 0;
  for (int i = 0; i < count; ++i)
    db += 20 * std::log10(EqResponse::SectionMagnitude(omega, sections[i]));
  return db;
}

class EqFitTool : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sim_.Started()) << sim_.Output(); }
  SimProcess sim_{{"--seed", "5"}};
  TempFolder dir_;
};

TEST_F(EqFitTool, TheProcessorsCurveAfterTheFitIsTheOneTheReportPredicted) {
  // A low-end rise and a treble tilt among the modes: shelves in the fit as well as peaks.
  const ResponseCurve room =
      tavelo::testing::SyntheticRoom({Band(kBandLowShelf, 100, 0.7, 5.0), Peak(38, 5.0, 8.0),
                                      Peak(64, 4.0, 6.0), Band(kBandHighShelf, 5000, 0.7, 3.0)},
                                     0.3);
  Write(dir_.Path("room.txt"), RewText(room));
  const CliRun fit =
      RunCli(QStringList{"eq-fit", "music_eq", dir_.Q("room.txt"), "--json"} + sim_.Link());
  ASSERT_EQ(fit.exitCode, 0) << fit.err;
  QJsonParseError parseError;
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray::fromStdString(fit.out), &parseError);
  ASSERT_FALSE(doc.isNull()) << parseError.errorString().toStdString() << "\n" << fit.out;
  const QJsonObject report = doc.object();
  EXPECT_LT(report["after"].toObject()["rms_db"].toDouble(), 0.5);
  const QJsonArray hz = report["curves"].toObject()["hz"].toArray();
  const QJsonArray eqDb = report["curves"].toObject()["eq_db"].toArray();
  ASSERT_GT(hz.size(), 400);
  ASSERT_EQ(hz.size(), eqDb.size());

  ASSERT_EQ(RunCli(QStringList{"pull", dir_.Q("now.prm")} + sim_.Link()).exitCode, 0);
  std::string error;
  const auto image = LoadPresetImage(dir_.Path("now.prm"), error);
  ASSERT_TRUE(image) << error;
  const EqBand* bands = image->set(kEqMusic);
  const QJsonArray reported = report["bands"].toArray();
  ASSERT_EQ(reported.size(), kEqSets[kEqMusic].wireBands);
  int shelves = 0;
  for (int b = 0; b < reported.size(); ++b) {
    const QJsonObject band = reported[b].toObject();
    EXPECT_EQ(band["type"].toString().toStdString(), BandTypeWord(bands[b].type)) << b;
    shelves += bands[b].type == kBandLowShelf || bands[b].type == kBandHighShelf;
    EXPECT_EQ(bands[b].freq, band["freq_hz"].toInt()) << b;
    EXPECT_EQ(bands[b].q, std::lround(band["q"].toDouble() * 10)) << b;
    EXPECT_EQ(bands[b].gain, std::lround(band["gain_db"].toDouble() * 10)) << b;
  }
  EXPECT_GT(shelves, 0);
  for (int i = 0; i < hz.size(); ++i) {
    double processor = 0;
    for (int b = 0; b < kEqSets[kEqMusic].wireBands; ++b)
      processor += DirectDb(bands[b], hz[i].toDouble());
    EXPECT_NEAR(processor, eqDb[i].toDouble(), 0.05) << hz[i].toDouble() << " Hz";
  }
}

TEST_F(EqFitTool, ABrokenMeasurementIsRefusedNamingItsLineAndNothingIsSent) {
  Write(dir_.Path("bad.txt"), "* REW\n20 70\n40 71\n30 72\n");
  const CliRun bad = RunCli(QStringList{"eq-fit", "music_eq", dir_.Q("bad.txt")} + sim_.Link());
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("line 4: the frequency 30 Hz does not rise above 40 Hz on line 3"),
            std::string::npos)
      << bad.err;
  EXPECT_EQ(bad.out, "");

  const ResponseCurve room = tavelo::testing::SyntheticRoom({Peak(50, 4.0, 8.0)}, 0.2);
  Write(dir_.Path("room.txt"), RewText(room));
  // Port 1 on loopback refuses: the dry run must not try it.
  const CliRun dry =
      RunCli({"eq-fit", "sub_eq_1", dir_.Q("room.txt"), "--range", "20", "500", "--max-boost", "0",
              "--dry-run", "--link", "wifi", "--host", "127.0.0.1", "--port", "1"});
  ASSERT_EQ(dry.exitCode, 0) << dry.err;
  EXPECT_NE(dry.out.find("sub_eq_1: 5 bands fitted to 1 measurement, 20 to 49"), std::string::npos)
      << dry.out;
  EXPECT_NE(dry.out.find("sub_eq_1.band1=peak,50,"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("(dry run: nothing was sent)"), std::string::npos) << dry.out;

  const CliRun half = RunCli({"eq-fit", "sub_eq_1", dir_.Q("room.txt"), "--range", "20"});
  EXPECT_EQ(half.exitCode, 2);
  EXPECT_NE(half.err.find("--range needs two values"), std::string::npos) << half.err;
}

}  // namespace
}  // namespace tavelo::e2e
#endif
