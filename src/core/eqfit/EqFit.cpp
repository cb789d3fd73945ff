// The fit itself: a greedy start, NLopt's bounded refinement, rounding and a step-wise polish.
#include "core/eqfit/EqFit.h"

#include <nlopt.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "core/eqfit/GridResponse.h"
#include "core/text/FitTexts.h"

namespace tavelo {
namespace {

// The refinement stops when a step changes no parameter by more than this share, or after
// this many evaluations of the objective and its gradient.
constexpr double kRelativeTolerance = 1e-5;
constexpr int kMaxEvaluations = 600;
// The penalty weight on any point where the bands together boost beyond the maximum: two
// overlapping boosts could otherwise add up past it.
constexpr double kBoostPenalty = 1000.0;
// A greedy band is not placed on a deviation smaller than this; it starts flat.
constexpr double kSmallestDeviationDb = 0.1;
// The widest Q the start gives a band: narrower peaks than this are left to the refinement.
constexpr double kStartMaxQ = 12.0;
// The set's curve counts as at the boost limit within this much of it; a band counts as
// holding part of it when it boosts that point by at least the second figure.
constexpr double kSharedLimitDb = 0.05;
constexpr double kShareOfLimitDb = 0.5;
// The Q a shelf starts with (the gentlest slope without an overshoot) and the corners tried
// for one, a third of an octave apart.
constexpr double kShelfStartQ = 0.7;
constexpr double kShelfCornerStepOctaves = 1.0 / 3;
// Passes of the step-wise polish after rounding.
constexpr int kPolishPasses = 6;
// A band whose removal costs less than this share of the squared error is made flat: once
// the deviations are used up, spare bands otherwise chase single noisy points.
constexpr double kPruneShare = 0.02;

struct Parameters {
  int type = kBandPeak;
  double logHz = 0, logQ = 0, gainDb = 0;
};

bool IsShelf(int type) {
  return type == kBandLowShelf || type == kBandHighShelf;
}

// The highest Q, in tenths, a band of `type` may hold within `limits`.
int MaxQOf(int type, const FitLimits& limits) {
  return std::min(limits.maxQ, BandMaxQ(type));
}

// The least-squares problem over the fit range.
class FitProblem {
 public:
  FitProblem(const FitCurves& curves, const FitLimits& limits)
      : hz_(curves.hz.begin() + curves.fitBegin, curves.hz.begin() + curves.fitEnd),
        grid_(hz_),
        n_(hz_.size()),
        maxBoostDb_(limits.maxGain / 10.0) {
    for (int i = curves.fitBegin; i < curves.fitEnd; ++i) {
      base_.push_back(curves.measured[static_cast<std::size_t>(i)] -
                      curves.target[static_cast<std::size_t>(i)]);
    }
    bandDb_.assign(static_cast<std::size_t>(limits.bands), std::vector<double>(n_, 0.0));
    types_.assign(static_cast<std::size_t>(limits.bands), kBandPeak);
  }

  // The bands' types, fixed during the refinement (the start chooses them).
  void SetTypes(std::vector<int> types) { types_ = std::move(types); }

  const std::vector<double>& Hz() const { return hz_; }
  const std::vector<double>& Base() const { return base_; }
  const GridResponse& Grid() const { return grid_; }
  int evaluations = 0;

  void Curve(const Parameters& p, double* out) const {
    grid_.PeakOrShelfDb(p.type, std::exp(p.logHz), std::exp(p.logQ), p.gainDb, out);
  }

  // Sum of squared residuals plus the boost penalty, per point; `weights` (may be null)
  // receives d(cost)/d(eq) per point.
  double Cost(const std::vector<double>& eq, std::vector<double>* weights) const {
    double cost = 0;
    for (std::size_t i = 0; i < n_; ++i) {
      const double r = base_[i] + eq[i];
      const double excess = std::max(0.0, eq[i] - maxBoostDb_);
      cost += r * r + kBoostPenalty * excess * excess;
      if (weights) (*weights)[i] = 2 * (r + kBoostPenalty * excess) / static_cast<double>(n_);
    }
    return cost / static_cast<double>(n_);
  }

  double Objective(const double* x, double* gradient) {
    ++evaluations;
    const std::size_t bands = bandDb_.size();
    std::vector<double> eq(n_, 0.0);
    for (std::size_t b = 0; b < bands; ++b) {
      Curve(At(x, b), bandDb_[b].data());
      for (std::size_t i = 0; i < n_; ++i) eq[i] += bandDb_[b][i];
    }
    std::vector<double> weights(n_);
    const double cost = Cost(eq, gradient ? &weights : nullptr);
    if (!gradient) return cost;
    // Each band's parameters change only that band's curve: forward differences of it from
    // the curve just computed (the curves are smooth in every parameter, and one evaluation
    // per parameter instead of two halves the cost of a step).
    std::vector<double> plus(n_);
    for (std::size_t b = 0; b < bands; ++b) {
      for (int k = 0; k < 3; ++k) {
        const double h = k == 2 ? 1e-4 : 1e-5;
        Parameters up = At(x, b);
        Field(up, k) += h;
        Curve(up, plus.data());
        double g = 0;
        for (std::size_t i = 0; i < n_; ++i) g += weights[i] * (plus[i] - bandDb_[b][i]);
        gradient[3 * b + static_cast<std::size_t>(k)] = g / h;
      }
    }
    return cost;
  }

  Parameters At(const double* x, std::size_t band) const {
    return {types_[band], x[3 * band], x[3 * band + 1], x[3 * band + 2]};
  }
  static double& Field(Parameters& p, int k) {
    return k == 0 ? p.logHz : k == 1 ? p.logQ : p.gainDb;
  }

 private:
  std::vector<double> hz_;
  GridResponse grid_;
  std::size_t n_;
  double maxBoostDb_;
  std::vector<double> base_;
  std::vector<std::vector<double>> bandDb_;
  std::vector<int> types_;
};

double NloptObjective(unsigned, const double* x, double* gradient, void* data) {
  return static_cast<FitProblem*>(data)->Objective(x, gradient);
}

// A peak on the largest deviation the limits let a band reach: a cut on a peak, a boost on a
// dip only as far as the bands already placed leave headroom there, as wide as the deviation
// is at half its height. Null when nothing is left worth a band.
std::optional<Parameters> PeakCandidate(const FitProblem& problem, const FitLimits& limits,
                                        const std::vector<double>& residual,
                                        const std::vector<double>& eq) {
  const auto& hz = problem.Hz();
  const double maxBoost = limits.maxGain / 10.0, maxCut = -limits.minGain / 10.0;
  std::size_t best = 0;
  double bestScore = 0;
  for (std::size_t i = 0; i < residual.size(); ++i) {
    const double r = residual[i];
    const double score = r > 0 ? std::min(r, maxCut) : std::min(-r, maxBoost - eq[i]);
    if (score > bestScore) {
      bestScore = score;
      best = i;
    }
  }
  if (bestScore < kSmallestDeviationDb) return std::nullopt;
  const double peak = residual[best];
  std::size_t left = best, right = best;
  while (left > 0 && residual[left - 1] * peak > 0 &&
         std::abs(residual[left - 1]) > std::abs(peak) / 2)
    --left;
  while (right + 1 < residual.size() && residual[right + 1] * peak > 0 &&
         std::abs(residual[right + 1]) > std::abs(peak) / 2) {
    ++right;
  }
  const double octaves = std::max(std::log2(hz[right] / hz[left]), 1.0 / 48);
  const double widthRatio = std::exp2(octaves);
  const double q = std::sqrt(widthRatio) / (widthRatio - 1);
  Parameters p;
  p.logHz = std::log(hz[best]);
  p.logQ = std::log(std::clamp(q, limits.minQ / 10.0, std::min(kStartMaxQ, limits.maxQ / 10.0)));
  p.gainDb = peak > 0 ? -std::min(peak, maxCut) : bestScore;
  return p;
}

// The shelves a start may place: every corner a third of an octave apart across the range,
// each with its shape (response per dB of gain, from a 6 dB shelf).
struct ShelfShape {
  Parameters at;  // gain 0
  std::vector<double> perDb;
};

std::vector<ShelfShape> ShelfShapes(const FitProblem& problem, const FitLimits& limits) {
  constexpr double kShapeGainDb = 6.0;
  std::vector<ShelfShape> shapes;
  const double q = std::clamp(kShelfStartQ, limits.minQ / 10.0, limits.maxQ / 10.0);
  for (BandType type : limits.types) {
    if (!IsShelf(type)) continue;
    for (double hz = limits.minHz; hz <= limits.maxHz; hz *= std::exp2(kShelfCornerStepOctaves)) {
      ShelfShape shape{{type, std::log(hz), std::log(q), kShapeGainDb},
                       std::vector<double>(problem.Hz().size())};
      problem.Curve(shape.at, shape.perDb.data());
      for (double& v : shape.perDb) v /= kShapeGainDb;
      shape.at.gainDb = 0;
      shapes.push_back(std::move(shape));
    }
  }
  return shapes;
}

// The shelf of `shape` that best fills `residual` by least squares, within the gain limits
// and, for a boost, the headroom the bands already placed leave.
Parameters ShelfCandidate(const ShelfShape& shape, const FitLimits& limits,
                          const std::vector<double>& residual, const std::vector<double>& eq) {
  double along = 0, norm = 0;
  for (std::size_t i = 0; i < residual.size(); ++i) {
    along += residual[i] * shape.perDb[i];
    norm += shape.perDb[i] * shape.perDb[i];
  }
  double gain = norm > 0 ? -along / norm : 0;
  gain = std::clamp(gain, limits.minGain / 10.0, limits.maxGain / 10.0);
  if (gain > 0) {
    for (std::size_t i = 0; i < eq.size(); ++i) {
      if (shape.perDb[i] > 0.1)
        gain = std::min(gain, std::max(0.0, limits.maxGain / 10.0 - eq[i]) / shape.perDb[i]);
    }
  }
  Parameters p = shape.at;
  p.gainDb = gain;
  return p;
}

// One band at a time on what is left of the deviation: of a peak on its largest point and
// the shelves the set offers, the one that lowers the cost most. Where nothing is left worth
// a band, a flat peak spread over the range, for the refinement to use.
std::vector<Parameters> GreedyStart(const FitProblem& problem, const FitLimits& limits) {
  const auto& hz = problem.Hz();
  const std::size_t n = hz.size();
  const std::vector<ShelfShape> shelves = ShelfShapes(problem, limits);
  std::vector<double> eq(n, 0.0), residual(n), curve(n), trial(n);
  std::vector<Parameters> start;
  for (int b = 0; b < limits.bands; ++b) {
    for (std::size_t i = 0; i < n; ++i) residual[i] = problem.Base()[i] + eq[i];
    const double cost = problem.Cost(eq, nullptr);
    std::optional<Parameters> best;
    double bestCost = cost;
    const auto consider = [&](const Parameters& p) {
      problem.Curve(p, curve.data());
      for (std::size_t i = 0; i < n; ++i) trial[i] = eq[i] + curve[i];
      const double c = problem.Cost(trial, nullptr);
      if (c < bestCost) {
        bestCost = c;
        best = p;
      }
    };
    if (const auto peak = PeakCandidate(problem, limits, residual, eq)) consider(*peak);
    for (const ShelfShape& shape : shelves) consider(ShelfCandidate(shape, limits, residual, eq));
    if (!best) {
      const double t = (b + 0.5) / limits.bands;
      Parameters flat;
      flat.logHz = std::log(hz.front()) + t * (std::log(hz.back()) - std::log(hz.front()));
      start.push_back(flat);
      continue;
    }
    problem.Curve(*best, curve.data());
    for (std::size_t i = 0; i < n; ++i) eq[i] += curve[i];
    start.push_back(*best);
  }
  return start;
}

EqBand Rounded(const Parameters& p, const FitLimits& limits) {
  EqBand band;
  band.type = static_cast<std::int8_t>(p.type);
  band.freq = static_cast<std::int16_t>(
      std::clamp(static_cast<int>(std::lround(std::exp(p.logHz))), limits.minHz, limits.maxHz));
  band.q = static_cast<std::int16_t>(std::clamp(
      static_cast<int>(std::lround(std::exp(p.logQ) * 10)), limits.minQ, MaxQOf(p.type, limits)));
  band.gain = static_cast<std::int16_t>(
      std::clamp(static_cast<int>(std::lround(p.gainDb * 10)), limits.minGain, limits.maxGain));
  return band;
}

// Rounding moves every band off its optimum a little; one step of each field either way is
// tried against the exact response of the rounded bands, kept when it lowers the cost.
void Polish(const FitProblem& problem, const FitLimits& limits, std::vector<EqBand>& bands) {
  const GridResponse& grid = problem.Grid();
  const std::size_t n = grid.size();
  std::vector<std::vector<double>> curves(bands.size(), std::vector<double>(n));
  std::vector<double> eq(n, 0.0), trial(n), trialEq(n);
  for (std::size_t b = 0; b < bands.size(); ++b) {
    grid.BandDb(bands[b], curves[b].data());
    for (std::size_t i = 0; i < n; ++i) eq[i] += curves[b][i];
  }
  double cost = problem.Cost(eq, nullptr);
  for (int pass = 0; pass < kPolishPasses; ++pass) {
    bool improved = false;
    for (std::size_t b = 0; b < bands.size(); ++b) {
      for (int field = 0; field < 3; ++field) {
        for (int step : {-1, 1}) {
          EqBand candidate = bands[b];
          std::int16_t& value = field == 0   ? candidate.freq
                                : field == 1 ? candidate.q
                                             : candidate.gain;
          const int lo = field == 0 ? limits.minHz : field == 1 ? limits.minQ : limits.minGain;
          const int hi = field == 0   ? limits.maxHz
                         : field == 1 ? MaxQOf(candidate.type, limits)
                                      : limits.maxGain;
          const int next = value + step;
          if (next < lo || next > hi) continue;
          value = static_cast<std::int16_t>(next);
          grid.BandDb(candidate, trial.data());
          for (std::size_t i = 0; i < n; ++i) trialEq[i] = eq[i] - curves[b][i] + trial[i];
          const double trialCost = problem.Cost(trialEq, nullptr);
          if (trialCost < cost) {
            cost = trialCost;
            bands[b] = candidate;
            curves[b] = trial;
            eq = trialEq;
            improved = true;
          }
        }
      }
    }
    if (!improved) break;
  }
  for (std::size_t b = 0; b < bands.size(); ++b) {
    if (bands[b].gain == 0) continue;
    for (std::size_t i = 0; i < n; ++i) trialEq[i] = eq[i] - curves[b][i];
    const double trialCost = problem.Cost(trialEq, nullptr);
    if (trialCost < cost * (1 + kPruneShare)) {
      bands[b].gain = 0;
      bands[b].type = kBandPeak;
      bands[b].q = static_cast<std::int16_t>(std::clamp(10, limits.minQ, limits.maxQ));
      std::fill(curves[b].begin(), curves[b].end(), 0.0);
      eq = trialEq;
      cost = trialCost;
    }
  }
}

// All bands refined together from `start` (their types kept), rounded to the processor's
// steps and polished.
std::vector<EqBand> Refine(FitProblem& problem, const FitLimits& limits,
                           const std::vector<Parameters>& start) {
  std::vector<int> types;
  for (const Parameters& p : start) types.push_back(p.type);
  problem.SetTypes(types);
  const std::size_t dimension = 3 * start.size();
  std::vector<double> x(dimension), lower(dimension), upper(dimension);
  for (std::size_t b = 0; b < start.size(); ++b) {
    lower[3 * b] = std::log(static_cast<double>(limits.minHz));
    upper[3 * b] = std::log(static_cast<double>(limits.maxHz));
    lower[3 * b + 1] = std::log(limits.minQ / 10.0);
    upper[3 * b + 1] = std::log(MaxQOf(start[b].type, limits) / 10.0);
    lower[3 * b + 2] = limits.minGain / 10.0;
    upper[3 * b + 2] = limits.maxGain / 10.0;
    const double values[3] = {start[b].logHz, start[b].logQ, start[b].gainDb};
    for (std::size_t k = 0; k < 3; ++k) {
      x[3 * b + k] = std::clamp(values[k], lower[3 * b + k], upper[3 * b + k]);
    }
  }
  nlopt_opt opt = nlopt_create(NLOPT_LD_LBFGS, static_cast<unsigned>(dimension));
  std::vector<double> refined = x;
  if (opt != nullptr) {
    nlopt_set_lower_bounds(opt, lower.data());
    nlopt_set_upper_bounds(opt, upper.data());
    nlopt_set_min_objective(opt, NloptObjective, &problem);
    nlopt_set_xtol_rel(opt, kRelativeTolerance);
    nlopt_set_maxeval(opt, kMaxEvaluations);
    double cost = 0;
    // A failed or interrupted run still leaves its best point in `refined`; a worse one than
    // the start is not taken.
    const nlopt_result status = nlopt_optimize(opt, refined.data(), &cost);
    nlopt_destroy(opt);
    if (status < 0 || !(cost <= problem.Objective(x.data(), nullptr))) refined = x;
  }
  std::vector<EqBand> bands;
  for (std::size_t b = 0; b < start.size(); ++b) {
    bands.push_back(Rounded(problem.At(refined.data(), b), limits));
  }
  Polish(problem, limits, bands);
  return bands;
}

std::string Db(int tenths) {
  char text[16];
  std::snprintf(text, sizeof text, "%+.1f dB", tenths / 10.0);
  return text;
}

// Boosts that reach the maximum only together: each boosting band that carries a share of
// the set's curve where it meets the limit is told so, as a band at the limit is.
void AddSharedBoostLimit(const GridResponse& grid, const FitCurves& curves, const FitLimits& limits,
                         Lang lang, EqFitResult& result) {
  const double limitDb = limits.maxGain / 10.0;
  std::vector<double> curve(grid.size());
  for (FitBandResult& fitted : result.bands) {
    const EqBand& band = fitted.band;
    if (band.gain <= 0 || band.gain == limits.maxGain) continue;
    grid.BandDb(band, curve.data());
    for (int i = curves.fitBegin; i < curves.fitEnd; ++i) {
      const auto k = static_cast<std::size_t>(i);
      if (result.eqDb[k] >= limitDb - kSharedLimitDb && curve[k] >= kShareOfLimitDb) {
        fitted.atLimit.push_back(SayFit(FitText::kSumAtBoostLimit, lang, {Db(limits.maxGain)}));
        break;
      }
    }
  }
}

}  // namespace

std::vector<std::string> LimitsHit(const EqBand& band, const FitLimits& limits, Lang lang) {
  std::vector<std::string> hit;
  if (band.gain == 0) return hit;
  if (band.gain == limits.maxGain) {
    hit.push_back(
        SayFit(limits.maxGain < kBandGainLimit ? FitText::kGainAtBoostLimit : FitText::kGainAtLimit,
               lang, {Db(limits.maxGain)}));
  }
  if (band.gain == limits.minGain)
    hit.push_back(SayFit(FitText::kGainAtLimit, lang, {Db(limits.minGain)}));
  if (band.q == limits.minQ || band.q == MaxQOf(band.type, limits)) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", band.q / 10.0);
    hit.push_back(SayFit(FitText::kQAtLimit, lang, {text}));
  }
  if (band.freq == limits.minHz || band.freq == limits.maxHz) {
    hit.push_back(SayFit(FitText::kFrequencyAtEdge, lang, {std::to_string(band.freq)}));
  }
  return hit;
}

FitLimits LimitsOfSet(EqSet set, const FitSettings& settings) {
  return LimitsOfBands(kEqSets[static_cast<std::size_t>(set)].wireBands, settings);
}

FitLimits LimitsOfBands(int bands, const FitSettings& settings) {
  FitLimits limits;
  limits.bands = bands;
  // Every equaliser band of the processor, the boost channels' among them, is a peak or a
  // shelf (its column's "P ", "LS" and "HS" buttons); the pass filters are bands of their own.
  limits.types = {kBandPeak, kBandLowShelf, kBandHighShelf};
  limits.maxQ = BandMaxQ(kBandPeak);
  limits.maxGain =
      std::clamp(static_cast<int>(std::floor(settings.maxBoostDb * 10 + 1e-9)), 0, kBandGainLimit);
  limits.minHz = std::max(kBandMinFrequency, static_cast<int>(std::ceil(settings.fitLowHz)));
  limits.maxHz = std::min(kBandMaxFrequency, static_cast<int>(std::floor(settings.fitHighHz)));
  return limits;
}

FitError ErrorOf(const FitCurves& curves, const std::vector<double>& eqDb) {
  FitError error;
  double sum = 0;
  for (int i = curves.fitBegin; i < curves.fitEnd; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const double r = curves.measured[k] + eqDb[k] - curves.target[k];
    sum += r * r;
    error.max = std::max(error.max, std::abs(r));
  }
  const int n = curves.fitEnd - curves.fitBegin;
  error.rms = n > 0 ? std::sqrt(sum / n) : 0;
  return error;
}

EqFitResult FitEq(const FitCurves& curves, const FitLimits& limits, Lang lang) {
  EqFitResult result;
  const std::vector<double> flat(curves.hz.size(), 0.0);
  const FitError before = ErrorOf(curves, flat);
  result.rmsBefore = before.rms;
  result.maxBefore = before.max;
  if (limits.bands <= 0) {
    result.eqDb = flat;
    result.rmsAfter = before.rms;
    result.maxAfter = before.max;
    return result;
  }

  FitProblem problem(curves, limits);
  std::vector<EqBand> bands = Refine(problem, limits, GreedyStart(problem, limits));
  // A start that took a shelf where peaks would have served better can end in a worse
  // optimum: the peaks' own fit is tried as well and the better one kept.
  const bool shelved =
      std::any_of(bands.begin(), bands.end(), [](const EqBand& b) { return IsShelf(b.type); });
  if (shelved) {
    FitLimits peaksOnly = limits;
    peaksOnly.types = {kBandPeak};
    std::vector<EqBand> peaks = Refine(problem, limits, GreedyStart(problem, peaksOnly));
    if (problem.Cost(problem.Grid().SumDb(peaks), nullptr) <
        problem.Cost(problem.Grid().SumDb(bands), nullptr)) {
      bands = std::move(peaks);
    }
  }
  result.evaluations = problem.evaluations;

  const GridResponse whole(curves.hz);
  result.eqDb = whole.SumDb(bands);
  const FitError after = ErrorOf(curves, result.eqDb);
  result.rmsAfter = after.rms;
  result.maxAfter = after.max;
  for (const EqBand& band : bands) result.bands.push_back({band, LimitsHit(band, limits, lang)});
  AddSharedBoostLimit(whole, curves, limits, lang, result);
  return result;
}

}  // namespace tavelo
