// The microphone page's graph and page changes in the main window.
//   MicGraphRedraw: one full redraw of the microphone graph at the client width: sum of 10
//     equaliser bands, 2 pass filters and 3 tone bands, the selected band's area and
//     outline, 15 markers and the readout, then the copy that goes to the screen.
//   MicDragStep: the same reached the way a drag does it, through the page model (store
//     the band, post, redraw).
//   PageSwitch: the main window shows another page (music <-> microphone): navigation
//     with its reload from the image and the first paint of the whole page;
//     PageSwitchFullRefresh adds a complete refresh of the page from the image.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include "ui/app/MainWindow.h"
#include "ui/graph/EqGraph.h"
#include "ui/pages/MicPage.h"
#include "ui/skin/Blend.h"

namespace {

using tavelo::EqBand;

constexpr int kClientWidth = 1170;

QApplication& App() {
  static int argc = 1;
  static char name[] = "ui_mic_page_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* a = new QApplication(argc, argv);
    // The main window reads the language setting: keep it away from the real one.
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    return a;
  }();
  return *app;
}

void FillMicrophone(EqBand* bands) {
  const int freq[10] = {63, 125, 250, 500, 1000, 2000, 4000, 6300, 8000, 16000};
  const int gain[10] = {-60, 30, -15, 20, 45, -90, 60, -20, 80, -40};
  for (int i = 0; i < 10; ++i) {
    bands[i].type = static_cast<std::int8_t>(i % 3);
    bands[i].freq = static_cast<std::int16_t>(freq[i]);
    bands[i].gain = static_cast<std::int16_t>(gain[i]);
    bands[i].q = 14;
  }
  bands[10] = {tavelo::kSlopeButter24, tavelo::kBandLowPass, 16000, 10, 0};
  bands[11] = {tavelo::kSlopeBessel24, tavelo::kBandHighPass, 80, 10, 0};
}

void MicGraphRedraw(benchmark::State& state) {
  App();
  tavelo::ui::EqGraph view;
  view.InitWithDefaultArt(tavelo::GraphGeometry::ForWidth(kClientWidth),
                          tavelo::ui::MicPage::kGraphSlots);
  view.SetCurveColour(0xD56028);  // microphone 2's colours
  view.SetBandColour(0xC80000);
  EqBand bands[12];
  FillMicrophone(bands);
  const EqBand tones[3] = {{0, tavelo::kBandLowShelf, 100, 7, 30},
                           {0, tavelo::kBandPeak, 1000, 10, -20},
                           {0, tavelo::kBandHighShelf, 10000, 7, 40}};
  view.SetSelectedBand(4);
  QImage screen;
  int step = 0;
  for (auto _ : state) {
    bands[4].gain = static_cast<std::int16_t>(-80 + (step++ % 40));
    view.RenderWithTones(bands, 12, tones, 12);
    tavelo::ui::PresentOpaque(view.Frame(), screen);
    benchmark::DoNotOptimize(screen.constBits());
  }
}
BENCHMARK(MicGraphRedraw)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void MicDragStep(benchmark::State& state) {
  App();
  tavelo::ParamImage image;
  tavelo::ApplyDefaults(image);
  FillMicrophone(image.set(tavelo::kEqMicA));
  tavelo::ui::MicPage page(
      image, [](const tavelo::BlockRequest&) {}, QSize(kClientWidth - 6, 610), nullptr);
  page.Model().SetState(tavelo::PageModel::kData);
  page.Refresh();
  page.Model().SelectBand(4);
  int step = 0;
  for (auto _ : state) {
    page.Model().DragPoint(4, 1000 + (step % 7), -80 + (step % 40));
    ++step;
    benchmark::DoNotOptimize(page.View().Frame().constBits());
  }
}
BENCHMARK(MicDragStep)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Music <-> microphone as the navigation does it (the page shown reloads from the image
// what changed), then the first paint of the whole page; with `full`, a complete refresh
// from the image on top.
void SwitchPages(benchmark::State& state, bool full) {
  App();
  tavelo::ui::MainWindow::Options options;
  options.lang = tavelo::Lang::kEnglish;
  options.startTimer = false;
  tavelo::ui::MainWindow window(options);
  window.show();
  for (const int nav : {0, 1}) {
    auto* page = window.PageWidget(nav);
    page->Model().SetState(tavelo::PageModel::kData);
    page->Refresh();
  }
  QImage canvas(window.PageWidget(1)->size(), QImage::Format_ARGB32);
  int next = 1;
  for (auto _ : state) {
    window.Navigate(next);
    auto* page = window.PageWidget(next);
    if (full) page->Refresh();
    page->render(&canvas);
    benchmark::DoNotOptimize(canvas.constBits());
    next = 1 - next;
  }
}
void PageSwitch(benchmark::State& state) {
  SwitchPages(state, false);
}
void PageSwitchFullRefresh(benchmark::State& state) {
  SwitchPages(state, true);
}
BENCHMARK(PageSwitch)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(PageSwitchFullRefresh)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The two halves of a switch to the microphone page: refresh from the image, first paint.
void MicRefreshOnly(benchmark::State& state) {
  App();
  tavelo::ParamImage image;
  tavelo::ApplyDefaults(image);
  tavelo::ui::MicPage page(
      image, [](const tavelo::BlockRequest&) {}, QSize(kClientWidth - 6, 610), nullptr);
  page.Model().SetState(tavelo::PageModel::kData);
  for (auto _ : state) page.Refresh();
}
BENCHMARK(MicRefreshOnly)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void MicPaintOnly(benchmark::State& state) {
  App();
  tavelo::ParamImage image;
  tavelo::ApplyDefaults(image);
  tavelo::ui::MicPage page(
      image, [](const tavelo::BlockRequest&) {}, QSize(kClientWidth - 6, 610), nullptr);
  page.Model().SetState(tavelo::PageModel::kData);
  page.Refresh();
  QImage canvas(page.size(), QImage::Format_ARGB32);
  for (auto _ : state) {
    page.render(&canvas);
    benchmark::DoNotOptimize(canvas.constBits());
  }
}
BENCHMARK(MicPaintOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
