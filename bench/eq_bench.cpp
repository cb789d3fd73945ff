// Redraw cost of a graph's sum curve: the microphone page's worst load at the widest
// graph, and the music page's load at a common window width.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <numbers>

#include "core/eq/EqResponse.h"

namespace {

using tavelo::EqBand;
using tavelo::EqResponse;
using tavelo::GraphGeometry;

EqBand Band(std::int8_t type, std::int16_t freq, std::int16_t q, std::int16_t gain,
            std::int8_t slope = 0) {
  EqBand b;
  b.type = type;
  b.freq = freq;
  b.q = q;
  b.gain = gain;
  b.slope = slope;
  return b;
}

const std::array<EqBand, 3> kToneBands = {
    Band(tavelo::kBandLowShelf, 100, 7, 45),
    Band(tavelo::kBandPeak, 1200, 10, -30),
    Band(tavelo::kBandHighShelf, 9000, 7, 60),
};

// Microphone page: 10 peaking bands and two 24 dB pass filters, plus the tone bands:
// 17 sections in all.
void BM_MicPageWorstLoad2048(benchmark::State& state) {
  std::array<EqBand, 12> bands{};
  const std::int16_t freqs[10] = {31, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
  for (int i = 0; i < 10; ++i) {
    bands[i] = Band(tavelo::kBandPeak, freqs[i], static_cast<std::int16_t>(5 + 9 * i),
                    static_cast<std::int16_t>((i % 2 ? -1 : 1) * (20 + 17 * i)));
  }
  bands[10] = Band(tavelo::kBandHighPass, 80, 7, 0, tavelo::kSlopeButter24);
  bands[11] = Band(tavelo::kBandLowPass, 15000, 7, 0, tavelo::kSlopeBessel24);
  EqResponse resp(GraphGeometry::ForWidth(2048));
  for (auto _ : state) {
    resp.SumBandCurves(bands.data(), static_cast<int>(bands.size()));
    resp.AddBandCurves(kToneBands.data());
    benchmark::DoNotOptimize(resp.SumCurve().data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MicPageWorstLoad2048)->Unit(benchmark::kMicrosecond);

// Music page: 7 peaking bands, a low-pass and a high-pass filter, three tone bands.
void BM_MusicPageLoad1000(benchmark::State& state) {
  std::array<EqBand, 9> bands{};
  const std::int16_t freqs[7] = {125, 250, 500, 1000, 2000, 4000, 8000};
  for (int i = 0; i < 7; ++i) {
    bands[i] = Band(tavelo::kBandPeak, freqs[i], 10, static_cast<std::int16_t>(-60 + 20 * i));
  }
  bands[7] = Band(tavelo::kBandLowPass, 18000, 7, 0, tavelo::kSlopeLinkwitzRiley24);
  bands[8] = Band(tavelo::kBandHighPass, 40, 7, 0, tavelo::kSlopeButter18);
  EqResponse resp(GraphGeometry::ForWidth(1000));
  for (auto _ : state) {
    resp.SumBandCurves(bands.data(), static_cast<int>(bands.size()));
    resp.AddBandCurves(kToneBands.data());
    benchmark::DoNotOptimize(resp.SumCurve().data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MusicPageLoad1000)->Unit(benchmark::kMicrosecond);

// The selected band's shaded area: one band curve into the scratch buffer.
void BM_SelectedBandCurve2048(benchmark::State& state) {
  const EqBand band = Band(tavelo::kBandPeak, 1000, 14, 90);
  EqResponse resp(GraphGeometry::ForWidth(2048));
  for (auto _ : state) {
    benchmark::DoNotOptimize(resp.ComputeBandCurve(band, resp.ScratchCurve()));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SelectedBandCurve2048)->Unit(benchmark::kMicrosecond);

// Baseline for comparison: trigonometry per section and column, as the formulas read.
void BM_MicPageWorstLoadDirect2048(benchmark::State& state) {
  std::array<EqBand, 15> bands{};
  const std::int16_t freqs[10] = {31, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
  for (int i = 0; i < 10; ++i) {
    bands[i] = Band(tavelo::kBandPeak, freqs[i], static_cast<std::int16_t>(5 + 9 * i),
                    static_cast<std::int16_t>((i % 2 ? -1 : 1) * (20 + 17 * i)));
  }
  bands[10] = Band(tavelo::kBandHighPass, 80, 7, 0, tavelo::kSlopeButter24);
  bands[11] = Band(tavelo::kBandLowPass, 15000, 7, 0, tavelo::kSlopeBessel24);
  for (int i = 0; i < 3; ++i) bands[12 + i] = kToneBands[i];
  const GraphGeometry g = GraphGeometry::ForWidth(2048);
  EqResponse::Curve sum{};
  for (auto _ : state) {
    sum.fill(0);
    for (const EqBand& band : bands) {
      std::array<tavelo::Biquad, 2> sections;
      const int count = EqResponse::DesignBand(band, sections);
      for (int s = 0; s < count; ++s) {
        for (int x = g.xStart; x < g.width; ++x) {
          const float f = static_cast<float>(g.FrequencyOfColumn(x));
          const float omega = f / 48000.0f * 2.0f * std::numbers::pi_v<float>;
          sum[x] +=
              20.0f * std::log10(EqResponse::SectionMagnitude(omega, sections[s])) * g.pixelsPerDb;
        }
      }
    }
    benchmark::DoNotOptimize(sum.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MicPageWorstLoadDirect2048)->Unit(benchmark::kMicrosecond);

}  // namespace
