#include "ui/pages/BandRules.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "ui/pages/ClassicNumbers.h"

namespace tavelo {

double ReadNumber(std::string_view text) {
  const std::string copy(text);  // strtod needs a terminated string
  const ClassicNumbers classic;
  return std::strtod(copy.c_str(), nullptr);
}

int ReadInteger(std::string_view text) {
  const std::string copy(text);
  const long value = std::strtol(copy.c_str(), nullptr, 10);
  if (value > 1000000) return 1000000;  // far outside every range; keeps int arithmetic safe
  if (value < -1000000) return -1000000;
  return static_cast<int>(value);
}

std::optional<int> ParseTypedGain(std::string_view text) {
  text = text.substr(0, 10);
  if (text.size() > 5) return std::nullopt;
  const double value = ReadNumber(text);
  if (!std::isfinite(value) || std::fabs(value) > 1000) return std::nullopt;
  const double scaled = std::fabs(value) * 10.0 + 0.5;
  const int magnitude = static_cast<int>(scaled);
  const int gain = value < 0 ? -magnitude : magnitude;
  if (gain < -kBandGainLimit || gain > kBandGainLimit) return std::nullopt;
  return gain;
}

std::optional<int> StepGain(int gain, bool up) {
  const int next = gain + (up ? 1 : -1);
  if (next < -kBandGainLimit || next > kBandGainLimit) return std::nullopt;
  return next;
}

int MaxQForType(int type) {
  return BandMaxQ(type);
}

int CommitQ(std::string_view text, int type, QCommit how) {
  const double value = ReadNumber(text.substr(0, 10));
  // Out-of-range text is clamped before the conversion so nothing overflows an int.
  const double clamped =
      std::isfinite(value) ? std::fmax(-100000.0, std::fmin(100000.0, value)) : 0;
  int q = static_cast<int>(clamped * 10.0 + 0.5);
  const int maximum = MaxQForType(type);
  switch (how) {
    case QCommit::kTyped:
      if (q < kBandMinQ || q > maximum) q = kTypedQFallback;
      break;
    case QCommit::kLower:
      if (q > kBandMinQ) --q;
      if (q < kBandMinQ || q > maximum) q = kBandMinQ;
      break;
    case QCommit::kRaise:
      q = q < maximum ? q + 1 : maximum;
      if (q < kBandMinQ) q = kBandMinQ;
      break;
  }
  return q;
}

std::optional<int> ParseTypedFrequency(std::string_view text) {
  const int freq = ReadInteger(text.substr(0, 10));
  if (freq < kBandMinFrequency || freq > kBandMaxFrequency) return std::nullopt;
  return freq;
}

std::optional<int> StepFrequency(int freq, bool up) {
  const int next = freq + (up ? 1 : -1);
  if (next < kBandMinFrequency || next > kBandMaxFrequency) return std::nullopt;
  return next;
}

}  // namespace tavelo
