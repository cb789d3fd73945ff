#pragma once
// Equaliser responses in dB at the frequencies of a fit's grid, from the core's band design
// (EqResponse::DesignBand), so that what a fit predicts is what the processor's set does.
#include <vector>

#include "core/eq/EqResponse.h"
#include "core/params/EqBand.h"

namespace tavelo {

class GridResponse {
 public:
  explicit GridResponse(const std::vector<double>& hz);
  std::size_t size() const { return phi_.size(); }

  // out[i] = the band's response in dB at hz[i] (0 where the band is flat or skipped).
  void BandDb(const EqBand& band, double* out) const;
  // The same for a peak or shelf with unrounded values.
  void PeakOrShelfDb(int type, double hz, double q, double gainDb, double* out) const;
  // The sum of the bands' responses.
  std::vector<double> SumDb(const std::vector<EqBand>& bands) const;

 private:
  void SectionsDb(const Biquad* sections, int count, double* out) const;
  std::vector<double> phi_, phiCo_;  // sin^2(w / 2) and phi (1 - phi) per grid point
};

}  // namespace tavelo
