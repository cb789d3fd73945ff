#include "core/params/Readout.h"

#include <cstdarg>
#include <cstdio>

#include "core/text/ClassicNumbers.h"

namespace tavelo {
namespace {

std::string Printf(const char* format, ...) {
  char buffer[64];
  const ClassicNumbers classic;
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

}  // namespace

std::string FormatTenths(int tenths) {
  return Printf("%0.1f", tenths / 10.0);
}

std::string FormatInt(int value) {
  return Printf("%d", value);
}

std::string FormatReadout(const ReadoutFormat& f, int p) {
  switch (f.kind) {
    case ReadoutKind::kNone:
      return {};
    case ReadoutKind::kNumber:
      return Printf("%d", p);
    case ReadoutKind::kSigned:
      return Printf("%d", p - f.offset);
    case ReadoutKind::kDecibels:
      return Printf("%ddb", p - f.offset);
    case ReadoutKind::kDecibelsOrOff:
      return p <= 0 ? std::string("OFF") : Printf("%ddb", p - f.offset);
    case ReadoutKind::kNumberOrOff:
      return p <= 0 ? std::string("OFF") : Printf("%d", p);
    case ReadoutKind::kMilliseconds:
      return Printf("%dms", p * f.scale + f.base);
    case ReadoutKind::kRatio:
      return Printf("1:%d", p);
    case ReadoutKind::kSeconds:
      return Printf("%0.1fs", p * 0.1);
    case ReadoutKind::kPercent:
      return Printf("%d%%", p - f.offset);
    case ReadoutKind::kTenthsDb:
      return Printf("%1.1f", (p - 240) / 10.0);
    case ReadoutKind::kHalfDbOrOff:
      return p == 0 ? std::string("OFF") : Printf("%1.1fdB", (p - 75) * 0.5);
    case ReadoutKind::kDelayDistance:
      return Printf("%dms/%0.1fm", p, p * 0.34);
    case ReadoutKind::kMusicKey:
      if (p <= 6) return Printf("b%d", 7 - p);
      if (p == 7) return "0";
      return Printf("#%d", p - 7);
    case ReadoutKind::kWholeSeconds:
      return Printf("%ds", p);
  }
  return {};
}

}  // namespace tavelo
