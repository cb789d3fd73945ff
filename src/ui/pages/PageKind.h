#pragma once
// The panel's pages by what they show. The navigation row, the page factory and the page
// caption tables all name a page by this one enum.

namespace tavelo::nav {

enum class PageKind {
  kMusic,
  kMic,
  kReverb,
  kEcho,
  kMainOutput,
  kSurround,
  kCentre,
  kSubwoofer,
  kSystem,
  kNone,  // "Calibrate" and "Surround Right": every page hidden
  kBoost,
};

}  // namespace tavelo::nav
