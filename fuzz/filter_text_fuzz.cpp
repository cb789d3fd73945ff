// Arbitrary bytes as a room-measurement filter file (eq-import, "Import filters..."). Whatever
// the file holds: the reader never fails, quotes nothing from the file raw into a problem,
// the bands it fills lie in the processor's ranges in both languages, and the bands written
// back out read in again as the same bands.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/eq/BandSyntax.h"
#include "core/eq/FilterText.h"

namespace {

using namespace tavelo;

constexpr int kBands = 7;  // the music set's equaliser bands

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckPrintable(const std::string& text) {
  for (const char c : text) Check(static_cast<unsigned char>(c) >= 0x20);
}

void CheckBand(const EqBand& b) {
  Check(b.type == kBandPeak || b.type == kBandLowShelf || b.type == kBandHighShelf);
  Check(b.freq >= kBandMinFrequency && b.freq <= kBandMaxFrequency);
  Check(b.q >= kBandMinQ && b.q <= BandMaxQ(b.type));
  Check(b.gain >= -kBandGainLimit && b.gain <= kBandGainLimit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<EqBand> current(kBands);
  for (auto& b : current) b = EqBand{0, kBandPeak, 1000, 10, 0};

  std::vector<EqBand> first;
  for (const Lang lang : {Lang::kEnglish, Lang::kChinese}) {
    const FilterTextReading reading = ReadFilterText(text, lang);
    for (const auto& p : reading.problems) CheckPrintable(p);
    for (const auto& f : reading.filters) {
      CheckPrintable(f.typeWord);
      Check(std::isfinite(f.frequency) && std::isfinite(f.gainDb) && f.q > 0);
    }
    const FilterImport import = ImportFilters(reading.filters, current.data(), kBands, lang);
    Check(import.bands.size() == static_cast<std::size_t>(kBands));
    for (const auto& b : import.bands) CheckBand(b);
    for (const auto& n : import.notes) CheckPrintable(n);
    // The language words the report, never what is read.
    if (first.empty()) {
      first = import.bands;
    } else {
      Check(first == import.bands);
    }
  }

  const std::string written = WriteFilterText(first.data(), kBands, text.substr(0, 40));
  const FilterTextReading back = ReadFilterText(written);
  Check(back.problems.empty());
  Check(ImportFilters(back.filters, current.data(), kBands).bands == first);
  return 0;
}
