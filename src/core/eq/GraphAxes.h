#pragma once
// The equaliser graph's axes, shared by the panel's graph and every picture of a curve
// (tavelo-cli curve, reports): grid frequencies, labelled frequencies, decibel lines and
// their label texts.
#include <array>
#include <string>

namespace tavelo {

// Vertical grid lines (hertz); 10 Hz (the plot's left edge) is deliberately absent.
inline constexpr std::array<int, 28> kGridFrequencies = {
    20,  30,  40,  50,   60,   70,   80,   90,   100,  200,  300,  400,  500,   600,
    700, 800, 900, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000};
// Frequencies that carry a label.
inline constexpr std::array<int, 10> kLabelFrequencies = {20,   50,   100,  200,   500,
                                                          1000, 2000, 5000, 10000, 20000};
// The plot spans 10 Hz .. 25 kHz and +24 .. -24 dB.
inline constexpr double kAxisLowHz = 10.0;
inline constexpr double kAxisHighHz = 25000.0;
inline constexpr int kAxisDbLimit = 24;
// Decibel lines k = 0 (+24 dB) .. 8 (-24 dB), 6 dB apart.
inline constexpr int kDbLineCount = 9;
constexpr int DbOfLine(int k) {
  return kAxisDbLimit - 6 * k;
}

// " 24db", "  0db", "-24db".
std::string DbLineText(int k);
// "50hz" below 1000, "2khz" from 1000.
std::string FrequencyText(int hz);

}  // namespace tavelo
