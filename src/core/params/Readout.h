#pragma once
// Value readouts: every format a page shows beside a slider, as data, so a catalogue row
// names the format and the rule lives in one place.
#include <string>

namespace tavelo {

enum class ReadoutKind {
  kNone,           // the slider has no readout
  kNumber,         // "%d" p
  kSigned,         // "%d" p - offset
  kDecibels,       // "%ddb" p - offset
  kDecibelsOrOff,  // "OFF" for p <= 0, else "%ddb" p - offset
  kNumberOrOff,    // "OFF" for p <= 0, else "%d" p
  kMilliseconds,   // "%dms" p * scale + base
  kRatio,          // "1:%d" p
  kSeconds,        // "%0.1fs" p * 0.1
  kPercent,        // "%d%%" p - offset
  kTenthsDb,       // "%1.1f" (p - 240) / 10
  kHalfDbOrOff,    // "OFF" for p == 0, else "%1.1fdB" (p - 75) * 0.5
  kDelayDistance,  // "%dms/%0.1fm" p, p * 0.34
  kMusicKey,       // "b%d" 7 - p, "0", "#%d" p - 7
  kWholeSeconds,   // "%ds" p
};

struct ReadoutFormat {
  ReadoutKind kind = ReadoutKind::kNone;
  int offset = 0;
  int scale = 1;
  int base = 0;
};

std::string FormatReadout(const ReadoutFormat& format, int position);

// The band column's texts: gain and Q in tenths shown with one decimal, frequency "%d".
std::string FormatTenths(int tenths);  // "%0.1f" of tenths / 10
std::string FormatInt(int value);      // "%d"

}  // namespace tavelo
