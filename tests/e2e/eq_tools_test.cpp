// The equaliser tools of tavelo-cli against tavelo-sim over loopback: a room-measurement
// filter file into the music set and back out, the dry run, and the pictures and reports.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QImage>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "core/eq/FilterText.h"
#include "core/eq/GraphAxes.h"
#include "core/params/Catalogue.h"
#include "e2e_support.h"

namespace tavelo::e2e {
namespace {

const char* const kRoomFile =
    "Filter Settings file\r\n\r\nRoom EQ V5.20.13\r\nNotes:Room 4\r\n\r\nEqualiser: Generic\r\n"
    "Filter  1: ON  PK       Fc   63.0 Hz  Gain  -5.0 dB  Q  4.00\r\n"
    "Filter  2: ON  PK       Fc   98.0 Hz  Gain  -7.5 dB  Q  6.30\r\n"
    "Filter  3: ON  LS       Fc   45.0 Hz  Gain   3.0 dB\r\n"
    "Filter  4: ON  PK       Fc  160.0 Hz  Gain  -3.5 dB  Q  2.10\r\n"
    "Filter  5: ON  PK       Fc  420.0 Hz  Gain   2.0 dB  Q  1.50\r\n"
    "Filter  6: ON  HSC      Fc 8000.0 Hz  Gain  -2.0 dB  Q  0.71\r\n"
    "Filter  7: ON  PK       Fc 1250.0 Hz  Gain  -1.5 dB  Q  3.00\r\n"
    "Filter  8: ON  PK       Fc 2500.0 Hz  Gain   1.0 dB  Q  2.00\r\n"
    "Filter  9: ON  PK       Fc 3150.0 Hz  Gain  -2.5 dB  Q  5.00\r\n"
    "Filter 10: ON  PK       Fc 5000.0 Hz  Gain  -1.0 dB  Q  4.00\r\n";

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class EqTools : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.Started()) << sim_.Output();
    Write(dir_.Path("room.txt"), kRoomFile);
  }
  SimProcess sim_{{"--seed", "3"}};
  TempFolder dir_;
};

TEST_F(EqTools, TenFiltersSetTheSevenMusicBandsReportTheRestAndExportReadsBack) {
  const CliRun import =
      RunCli(QStringList{"eq-import", "music_eq", dir_.Q("room.txt")} + sim_.Link());
  ASSERT_EQ(import.exitCode, 0) << import.err;
  for (int f : {8, 9, 10}) {
    EXPECT_NE(import.err.find("filter " + std::to_string(f) + " (line " + std::to_string(f + 6) +
                              ", PK) not taken: the set has 7 bands"),
              std::string::npos)
        << import.err;
  }
  EXPECT_EQ(LinesStartingWith(import.out, "music_eq.band").size(), 7u) << import.out;

  const CliRun exported =
      RunCli(QStringList{"eq-export", "music_eq", "--out", dir_.Q("back.txt")} + sim_.Link());
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const FilterTextReading back = ReadFilterText(Slurp(dir_.Path("back.txt")));
  const FilterTextReading sent = ReadFilterText(kRoomFile);
  ASSERT_EQ(back.filters.size(), 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(FitFilter(back.filters[i]).band, FitFilter(sent.filters[i]).band) << i;
  }

  // The processor's own record agrees: pulled and shown by name.
  ASSERT_EQ(RunCli(QStringList{"pull", dir_.Q("now.prm")} + sim_.Link()).exitCode, 0);
  const CliRun show = RunCli({"show", dir_.Q("now.prm")});
  EXPECT_EQ(LinesStartingWith(show.out, "music_eq.band1: ").at(0), "peak 63 Hz q=4.0 -5.0 dB");
}

TEST_F(EqTools, DryRunNeedsNoProcessorAndAFileWithoutFiltersSetsNothing) {
  // Port 1 on loopback refuses: the dry run must not try it.
  const CliRun dry = RunCli({"eq-import", "music_eq", dir_.Q("room.txt"), "--dry-run", "--link",
                             "wifi", "--host", "127.0.0.1", "--port", "1"});
  ASSERT_EQ(dry.exitCode, 0) << dry.err;
  EXPECT_EQ(LinesStartingWith(dry.out, "music_eq.band1=").at(0), "peak,63,4.0,-5.0");
  EXPECT_EQ(LinesStartingWith(dry.out, "music_eq.band").size(), 7u);

  Write(dir_.Path("none.txt"), "Filter 1: ON LP Fc 80 Hz\nFilter 2: ON NO Fc 50 Hz\n");
  const CliRun none =
      RunCli(QStringList{"eq-import", "music_eq", dir_.Q("none.txt")} + sim_.Link());
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.err.find("line 1: filter 1 (LP) is a low-pass filter"), std::string::npos)
      << none.err;
  EXPECT_NE(none.err.find("nothing was set"), std::string::npos) << none.err;

  const CliRun badSet = RunCli({"eq-import", "musik_eq", dir_.Q("room.txt"), "--dry-run"});
  EXPECT_EQ(badSet.exitCode, 2);
  EXPECT_NE(badSet.err.find("no equaliser set \"musik_eq\""), std::string::npos) << badSet.err;
}

TEST_F(EqTools, CurvePicturesUseThePanelsAxesAtAnyScale) {
  const QStringList band = {"peak,1000,1.0,12"};
  ASSERT_EQ(RunCli(QStringList{"curve", "--svg", dir_.Q("c.svg")} + band).exitCode, 0);
  const std::string svg = Slurp(dir_.Path("c.svg"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  for (const int hz : kLabelFrequencies) {
    EXPECT_NE(svg.find(">" + FrequencyText(hz) + "<"), std::string::npos) << hz;
  }

  const CliRun png1 = RunCli(QStringList{"curve", "--png", dir_.Q("c1.png")} + band);
  ASSERT_EQ(png1.exitCode, 0) << png1.err;
  const CliRun png2 =
      RunCli(QStringList{"curve", "--png", dir_.Q("c2.png"), "--scale", "2"} + band);
  ASSERT_EQ(png2.exitCode, 0) << png2.err;
  const QImage one(dir_.Q("c1.png")), two(dir_.Q("c2.png"));
  EXPECT_EQ(one.size(), QSize(1000, 280));
  EXPECT_EQ(two.size(), QSize(2000, 560));

  // The curve's highest point sits at 1 kHz, half way between the 0 dB and +24 dB lines.
  auto greenest = [](const QImage& image) {
    QPoint best;
    int top = image.height();
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.green() > 150 && c.red() < 80 && c.blue() < 80 && y < top) {
          top = y;
          best = {x, y};
        }
      }
    }
    return best;
  };
  const QPoint peak = greenest(one);
  const QPoint peak2 = greenest(two);
  EXPECT_NEAR(peak2.x(), 2 * peak.x(), 3);
  EXPECT_NEAR(peak2.y(), 2 * peak.y(), 3);
  // Axis rows: find the label rows' grid lines is the renderer's business; here the peak must
  // lie in the upper half (a +12 dB boost) and in the middle third of the width (1 kHz of
  // 10 Hz .. 25 kHz is at log(100)/log(2500) = 59% of the plot).
  EXPECT_LT(peak.y(), 140);
  EXPECT_GT(peak.x(), 500);
  EXPECT_LT(peak.x(), 700);

  const CliRun bad = RunCli(QStringList{"curve", "--png", dir_.Q("no/such/dir/c.png")} + band);
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("cannot write"), std::string::npos) << bad.err;
}

// A full disk: the picture is refused with the system's reason, and neither a truncated
// picture nor an empty one is left; an earlier picture stays as it was. The disk is a small
// file system of its own, which needs root.
TEST(CurveOnAFullDisk, FailsAndLeavesNoPartialPicture) {
  TempFolder dir;
  const std::filesystem::path disk = dir.Path("disk");
  std::filesystem::create_directory(disk);
  if (::mount("tavelo-test", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small file system here (" << std::strerror(errno) << ")";
  }
  const QStringList band = {"peak,1000,1.0,12"};
  const QString earlier = QString::fromStdString((disk / "earlier.svg").string());
  ASSERT_EQ(RunCli(QStringList{"curve", "--svg", earlier} + band).exitCode, 0);
  const std::string before = Slurp(disk / "earlier.svg");
  {
    // Fill what is left; the file system keeps nothing spare.
    std::ofstream filler(disk / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    for (int i = 0; i < 64 && filler.write(block.data(), block.size()); ++i) {
    }
  }
  for (const QStringList& picture :
       {QStringList{"--svg", earlier},
        QStringList{"--svg", QString::fromStdString((disk / "new.svg").string())},
        QStringList{"--png", QString::fromStdString((disk / "new.png").string())}}) {
    const CliRun run = RunCli(QStringList{"curve"} + picture + band);
    EXPECT_EQ(run.exitCode, 1) << picture.join(' ').toStdString();
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
  }
  EXPECT_EQ(Slurp(disk / "earlier.svg"), before);
  EXPECT_FALSE(std::filesystem::exists(disk / "new.svg"));
  EXPECT_FALSE(std::filesystem::exists(disk / "new.png"));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(disk)) ++entries;
  EXPECT_EQ(entries, 2u) << "no temporary left behind";
  ::umount2(disk.c_str(), MNT_DETACH);
}

TEST_F(EqTools, ReportOfAPresetFileIsAWholePdfAndRefusalsSayWhy) {
  ASSERT_EQ(RunCli(QStringList{"pull", dir_.Q("room.prm")} + sim_.Link()).exitCode, 0);
  const CliRun report = RunCli({"report", dir_.Q("room.prm"), "--out", dir_.Q("room.pdf")});
  ASSERT_EQ(report.exitCode, 0) << report.err;
  const std::string pdf = Slurp(dir_.Path("room.pdf"));
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_GT(pdf.size(), 20000u);
  EXPECT_NE(report.err.find(" pages"), std::string::npos);

  const CliRun zh =
      RunCli({"report", dir_.Q("room.prm"), "--out", dir_.Q("zh.pdf"), "--lang", "zh"});
  EXPECT_EQ(zh.exitCode, 0) << zh.err;

  const CliRun notPreset = RunCli({"report", dir_.Q("room.txt"), "--out", dir_.Q("x.pdf")});
  EXPECT_EQ(notPreset.exitCode, 1);
  EXPECT_NE(notPreset.err.find("not a parameter file"), std::string::npos) << notPreset.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("x.pdf")));

  const CliRun noFolder =
      RunCli({"report", dir_.Q("room.prm"), "--out", dir_.Q("missing/room.pdf")});
  EXPECT_EQ(noFolder.exitCode, 1);
  EXPECT_NE(noFolder.err.find("cannot write"), std::string::npos) << noFolder.err;
  EXPECT_EQ(RunCli({"report", dir_.Q("room.prm")}).exitCode, 2);
}

}  // namespace
}  // namespace tavelo::e2e
