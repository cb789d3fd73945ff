// One full redraw of a music-page graph at the main window's client width: sum of 7
// equaliser bands, 2 pass filters and 3 tone bands, the selected band's area and outline,
// 12 markers and the readout, then the copy that goes to the screen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "ui/graph/EqGraph.h"
#include "ui/skin/Blend.h"

namespace {

using tavelo::EqBand;

// 780 dialog units at the standard dialog font's 6-pixel average character width.
constexpr int kClientWidth = 1170;

QApplication& App() {
  static int argc = 1;
  static char name[] = "ui_graph_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

struct MusicGraph {
  MusicGraph();
  tavelo::ui::EqGraph view;
  EqBand bands[9];
  EqBand tones[3];
};

MusicGraph::MusicGraph() {
  App();
  view.InitWithDefaultArt(tavelo::GraphGeometry::ForWidth(kClientWidth), 20);
  const int freq[7] = {63, 160, 400, 1000, 2500, 6300, 12000};
  const int gain[7] = {60, -40, 25, -10, -80, 30, 100};
  for (int i = 0; i < 7; ++i) {
    bands[i].type = i == 0   ? tavelo::kBandLowShelf
                    : i == 6 ? tavelo::kBandHighShelf
                             : tavelo::kBandPeak;
    bands[i].freq = static_cast<std::int16_t>(freq[i]);
    bands[i].gain = static_cast<std::int16_t>(gain[i]);
    bands[i].q = 14;
  }
  bands[7] = {tavelo::kSlopeButter24, tavelo::kBandLowPass, 16000, 10, 0};
  bands[8] = {tavelo::kSlopeBessel18, tavelo::kBandHighPass, 40, 10, 0};
  tones[0] = {0, tavelo::kBandLowShelf, 100, 10, 30};
  tones[1] = {0, tavelo::kBandPeak, 1000, 10, -20};
  tones[2] = {0, tavelo::kBandHighShelf, 8000, 10, 40};
  view.SetSelectedBand(4);
}

void FullRedraw(benchmark::State& state) {
  MusicGraph m;
  auto& bands = m.bands;
  QImage screen;
  int step = 0;
  for (auto _ : state) {
    // A drag step: the selected band moves a little each redraw.
    bands[4].gain = static_cast<std::int16_t>(-80 + (step++ % 40));
    m.view.RenderWithTones(bands, 9, m.tones, 9);
    tavelo::ui::PresentOpaque(m.view.Frame(), screen);
    benchmark::DoNotOptimize(screen.constBits());
  }
}
BENCHMARK(FullRedraw)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The share of the redraw that is response arithmetic (sum of 12 bands).
void SumOnly(benchmark::State& state) {
  MusicGraph m;
  for (auto _ : state) {
    m.view.Resp().SumBandCurves(m.bands, 9);
    m.view.Resp().AddBandCurves(m.tones);
    benchmark::DoNotOptimize(m.view.Resp().SumCurve().data());
  }
}
BENCHMARK(SumOnly)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
