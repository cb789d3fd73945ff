#pragma once
// The navigation row: twelve buttons in page-index order, the page each one shows and the
// name `--page` knows it by.
#include <array>
#include <optional>
#include <string_view>

#include "ui/pages/PageKind.h"

namespace tavelo::nav {

struct NavEntry {
  int index;
  int buttonId;
  const char* caption;  // the button's own caption (the language tables may replace it)
  PageKind page;
  const char* cliName;  // "" when --page does not offer it
  bool hiddenAtStart;
};

inline constexpr int kNavCount = 12;
inline constexpr int kCalibrate = 9;
inline constexpr int kSurroundRight = 10;
inline constexpr int kBoost = 11;

inline constexpr std::array<NavEntry, kNavCount> kNavTable = {{
    {0, 1545, "music", PageKind::kMusic, "music", false},
    {1, 1808, "mic", PageKind::kMic, "mic", false},
    {2, 1809, "rev", PageKind::kReverb, "rev", false},
    {3, 1811, "echo", PageKind::kEcho, "echo", false},
    {4, 1810, "Main", PageKind::kMainOutput, "main", false},
    {5, 1546, "Sur", PageKind::kSurround, "sur", false},
    {6, 1812, "Cout", PageKind::kCentre, "cout", false},
    {7, 1813, "SWout", PageKind::kSubwoofer, "swout", false},
    {8, 1815, "System", PageKind::kSystem, "system", false},
    {9, 1814, "Calibrate", PageKind::kNone, "", false},
    {10, 1816, "Surround Right", PageKind::kNone, "", true},
    {11, 1819, "Boost", PageKind::kBoost, "boost", true},
}};

// The navigation index a --page name selects.
std::optional<int> IndexOfPageName(std::string_view name);

}  // namespace tavelo::nav
