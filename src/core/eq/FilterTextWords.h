#pragma once
// The words of the filter-import report in English and Chinese: why a line of a filter file
// was not taken, and what was held to the processor's limits. Shared by the panel, which
// reports in the user's language, and the command line, which reports in English.
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/text/Lang.h"

namespace tavelo {

enum class FilterWord : int {
  kLine,              // {0} line number
  kLineFilter,        // {0} line, {1} type word
  kLineFilterNumber,  // {0} line, {1} filter number, {2} type word
  kNeedsFilterLabel,  // {0} the line's prefix
  kNotAFilterNumber,  // {0} prefix, {1} the quoted label
  kEmptyFilterLine,   // {0} prefix
  kLackedType,        // {0} prefix, {1} what the type is (kTypeLowPass...)
  kTypeLowPass,
  kTypeHighPass,
  kTypeBandPass,
  kTypeNotch,
  kTypeAllPass,
  kTypeModal,
  kTypeOther,
  kNotAKey,          // {0} prefix, {1} the quoted word
  kNeedsNumber,      // {0} prefix, {1} key
  kMissing,          // {0} prefix, {1} Fc, Gain or Q
  kFirstOrderShelf,  // {0} prefix
  kTooSteep,         // {0} prefix, {1} slope, {2} gain
  kQNotAboveZero,    // {0} prefix
  kOtherCommand,     // {0} prefix, {1} the command
  kUnknownLine,      // {0} prefix, {1} the quoted line
  kUtf16,            // {0} "UTF-16LE" or "UTF-16BE"
  kBand,             // {0} band number, {1} what follows
  kHeldFrequency,    // {0} from, {1} to
  kHeldGain,         // {0} from, {1} to
  kHeldQ,            // {0} from, {1} to
  kBandLeftFlat,
  kCount
};

// The text with {0}, {1}, {2} replaced by the arguments in order.
std::string SayFilter(FilterWord id, Lang lang, std::initializer_list<std::string_view> args = {});

}  // namespace tavelo
