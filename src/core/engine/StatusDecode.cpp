#include "core/engine/StatusDecode.h"

namespace tavelo {

namespace {

constexpr int kPositions = 13;
using Table = std::array<int, kPositions>;

constexpr Table kF1 = {150, 200, 300, 400, 600, 800, 1000, 1250, 1600, 2000, 3000, 4300, 6000};
constexpr Table kP = {0, 8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91, 100};
constexpr Table kT1 = {1, 35, 70, 105, 140, 175, 215, 262, 310, 360, 405, 452, 500};
constexpr Table kR1 = {0, 9, 19, 29, 38, 48, 58, 63, 68, 74, 79, 84, 90};
constexpr Table kF2 = {500, 825, 1150, 1475, 1800, 2125, 2450, 2875, 3300, 3725, 4150, 4575, 5000};

int Lookup(const Table& table, int position) {
  return position < kPositions ? table[static_cast<std::size_t>(position)] : 0;
}

int Hi(std::uint8_t b) {
  return b >> 4;
}
int Lo(std::uint8_t b) {
  return b & 0x0F;
}

// Bands 1, 2 and 3 of a status group are the bass, middle and treble tone bands.
void SetGroup(std::array<EqBand, 7>& group, int bass, int middle, int treble, int middleFreq) {
  group[1].gain = static_cast<std::int16_t>(bass);
  group[2].gain = static_cast<std::int16_t>(middle);
  group[3].gain = static_cast<std::int16_t>(treble);
  group[2].freq = static_cast<std::int16_t>(middleFreq);
}

}  // namespace

int PanelLevel(int position) {
  return position < kPositions ? (position - 6) * 20 : 0;
}

void DecodePanelPositions(const PanelPositions& raw, ParamImage& image, FrontPanel& panel) {
  SetGroup(image.toneGroups[0], PanelLevel(Hi(raw[0])), PanelLevel(Hi(raw[1])),
           PanelLevel(Hi(raw[3])), Lookup(kF1, Hi(raw[2])));
  SetGroup(image.toneGroups[1], PanelLevel(Lo(raw[0])), PanelLevel(Lo(raw[1])),
           PanelLevel(Lo(raw[3])), Lookup(kF1, Lo(raw[2])));
  panel.echoQuick = {Lookup(kP, Hi(raw[4])), Lookup(kT1, Hi(raw[5])), Lookup(kR1, Hi(raw[6]))};
  panel.reverbQuick = {Lookup(kP, Lo(raw[4])), Lookup(kF2, Lo(raw[5])), Lookup(kP, Lo(raw[6]))};
  panel.positions = raw;
}

}  // namespace tavelo
