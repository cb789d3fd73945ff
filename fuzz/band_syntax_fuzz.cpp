// Arbitrary text as a band on the command line ("peak,1000,1.0,3", show's "high-pass 80 Hz
// butter_24db"). A band it accepts must lie in the ranges the pages keep, and its written
// form must read back as the same band; any band at all, in or out of range, must write
// without trouble.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/eq/BandSyntax.h"

namespace {

using namespace tavelo;

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckRange(const EqBand& b) {
  Check(BandTypeWord(b.type) != nullptr);
  Check(SlopeWord(b.slope) != nullptr);
  Check(b.freq >= kBandMinFrequency && b.freq <= kBandMaxFrequency);
  Check(b.q >= kBandMinQ);
  Check(b.gain >= -kBandGainLimit && b.gain <= kBandGainLimit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  if (const auto band = ParseBand(text, error)) {
    CheckRange(*band);
    const std::string written = FormatBand(*band);
    std::string again;
    const auto reread = ParseBand(written, again);
    Check(reread.has_value() && *reread == *band);
  } else {
    Check(!error.empty());
  }
  // The same bytes as a raw band (a file's or a processor's): writing never fails.
  if (size >= sizeof(EqBand)) {
    EqBand raw;
    std::memcpy(&raw, data, sizeof raw);
    Check(!FormatBand(raw).empty());
  }
  // Tenths and slope names on their own.
  (void)ParseTenths(text);
  if (const auto slope = ParseSlopeName(text)) Check(SlopeWord(*slope) != nullptr);
  return 0;
}
