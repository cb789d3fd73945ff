#include "core/eq/GraphAxes.h"

#include <cstdio>

namespace tavelo {

std::string DbLineText(int k) {
  char text[16];
  std::snprintf(text, sizeof text, "%3ddb", DbOfLine(k));
  return text;
}

std::string FrequencyText(int hz) {
  return hz < 1000 ? std::to_string(hz) + "hz" : std::to_string(hz / 1000) + "khz";
}

}  // namespace tavelo
