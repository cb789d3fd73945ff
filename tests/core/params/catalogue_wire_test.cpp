// The catalogue against the block layouts: every row's value travels in exactly the payload
// bytes its code's layout gives its place, and every image field a layout sends is a row.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/params/BlockEncoder.h"
#include "core/params/BlockLayout.h"
#include "core/params/Catalogue.h"

namespace tavelo {
namespace {

using S = FieldSource;

// The place a layout field reads in the image, if any.
std::optional<Place> FieldPlace(const LayoutField& f) {
  switch (f.source) {
    case S::kByte:
      return Place{Where::kByte, f.index};
    case S::kArgLow:
      if (f.index == kNoMirror) return std::nullopt;
      return Place{Where::kByte, f.index};
    case S::kWord:
      return Place{Where::kWord, f.index};
    case S::kSwitchWord:
      return Place{Where::kSwitchWord};
    case S::kEqBand:
      return Place{Where::kEqBand, f.index, f.band};
    case S::kBoostBand:
      return Place{Where::kBoostBand, f.index, f.band};
    case S::kArgBoostSwitches:
    case S::kBoostSwitchByte:
      return Place{Where::kBoostSwitches};
    case S::kPowerMode:
      return Place{Where::kPowerMode};
    default:
      return std::nullopt;
  }
}

// Does a field (read in the image) carry `place`? A level and its on bit share their byte;
// a switch bit lives in one byte of the switch word.
std::vector<int> CarriedOffsets(const LayoutField& f, int at, const Place& place) {
  const auto fp = FieldPlace(f);
  if (!fp) return {};
  switch (place.where) {
    case Where::kByte:
    case Where::kLevel:
    case Where::kLevelOn:
      if (fp->where == Where::kByte && fp->index == place.index) return {at};
      return {};
    case Where::kWord:
      if (*fp == Place{Where::kWord, place.index}) return {at, at + 1};
      return {};
    case Where::kSwitchBit:
      if (fp->where == Where::kSwitchWord) return {at + place.index / 8};
      return {};
    case Where::kSwitchWord:
      if (fp->where == Where::kSwitchWord) return {at, at + 1, at + 2, at + 3};
      return {};
    case Where::kBoostSwitchBit:
    case Where::kBoostSwitches:
      if (fp->where == Where::kBoostSwitches) return {at};
      return {};
    case Where::kEqBand:
    case Where::kBoostBand:
      if (*fp == place) return {at, at + 1, at + 2, at + 3, at + 4};
      return {};
    case Where::kPowerMode:
      if (fp->where == Where::kPowerMode) return {at};
      return {};
    default:
      return {};
  }
}

// The payload offsets that carry `r` in the layout of `request`. Value-carrying codes (echo
// type, adjust manner, output display) carry it in their argument byte.
std::set<int> ExpectedOffsets(const CatalogueRow& r, const BlockRequest& request, int mode) {
  const auto layout = BlockLayout(CodeNumber(request.code), request.arg.value, mode);
  EXPECT_TRUE(layout) << r.name;
  std::set<int> out;
  if (!layout) return out;
  int at = 0;
  for (int i = 0; i < layout->count; ++i) {
    const LayoutField& f = layout->fields[static_cast<std::size_t>(i)];
    if (r.carrier.argRule == ArgRule::kValue && f.source == S::kArgLow) out.insert(at);
    for (int o : CarriedOffsets(f, at, r.place)) out.insert(o);
    at += FieldSize(f);
  }
  return out;
}

int ModeFor(const CatalogueRow& r) {
  switch (r.carrier.mode) {
    case ModeRule::kSingOnly:
      return kModeSing;
    case ModeRule::kNotSing:
      return kModeDance;
    case ModeRule::kAnyMode:
      break;
  }
  return kModeAuto;
}

// Changes the value a row names. A filter band travels as its pass filter: its frequency
// (and slope) change.
const CatalogueRow& Change(ParamImage& image, const CatalogueRow& r) {
  if (r.kind == ValueKind::kBand) {
    if (const auto pass = PassFilterOf(r)) {
      const CatalogueRow& freq = RowOf(pass->frequency);
      WriteValue(image, freq, ReadValue(image, freq) == freq.min ? freq.max : freq.min);
      return freq;
    }
    EqBand& band = BandOf(image, r);
    band.freq = static_cast<std::int16_t>(band.freq == 1000 ? 2000 : 1000);
    band.gain = static_cast<std::int16_t>(band.gain == 30 ? -30 : 30);
    return r;
  }
  const int v = ReadValue(image, r);
  const int maximum = r.kind == ValueKind::kHex ? 0xFF : r.max;
  WriteValue(image, r, v == r.min ? maximum : r.min);
  return r;
}

std::vector<std::uint8_t> Encode(const ParamImage& image, const BlockRequest& request) {
  Payload p;
  const auto result = EncodeBlock(image, request, p);
  EXPECT_EQ(result, EncodeResult::kPayload);
  return {p.data.begin(), p.data.begin() + p.length};
}

ParamImage StartImage(int mode) {
  ParamImage image;
  ApplyDefaults(image);
  image.byte(img::kAppMode) = static_cast<std::uint8_t>(mode);
  return image;
}

TEST(CatalogueWire, EveryCarriedValueChangesExactlyItsOwnPayloadBytes) {
  int checked = 0;
  for (const CatalogueRow& r : AllRows()) {
    if (!r.Carried()) continue;
    const int mode = ModeFor(r);
    ParamImage before = StartImage(mode);
    if (r.id == row::kAppMode) before.byte(img::kAppMode) = kModeAuto;
    ASSERT_EQ(CanCarry(before, r), Carry::kOk) << r.name;
    ParamImage after = before;
    const CatalogueRow& changed = Change(after, r);
    ASSERT_NE(before, after) << r.name;

    const BlockRequest request = RequestFor(after, r);
    const BlockRequest oldRequest = RequestFor(before, r);
    EXPECT_EQ(request.code, r.carrier.code) << r.name;
    if (r.carrier.argRule != ArgRule::kValue && r.carrier.argRule != ArgRule::kBoostSwitchByte) {
      EXPECT_EQ(request, oldRequest) << r.name;
    }
    const auto a = Encode(before, oldRequest);
    const auto b = Encode(after, request);
    ASSERT_EQ(a.size(), b.size()) << r.name;
    std::set<int> differ;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i]) differ.insert(static_cast<int>(i));
    }
    const std::set<int> expected = ExpectedOffsets(changed, request, after.byte(img::kAppMode));
    EXPECT_FALSE(differ.empty()) << r.name << ": the change does not reach the wire";
    for (int o : differ) {
      EXPECT_TRUE(expected.count(o)) << r.name << ": payload byte " << o << " changed";
    }
    ++checked;
  }
  EXPECT_GT(checked, 350);
}

// Every argument a layout can take, for the codes whose layout depends on it.
std::vector<int> ArgumentsOf(int code) {
  std::vector<int> args{0};
  const auto c = static_cast<CommandCode>(code);
  if (c == CommandCode::kEqBand || c == CommandCode::kToneValue || c == CommandCode::kBoostBand) {
    for (int hi = 0; hi < 12; ++hi) {
      for (int lo = 0; lo <= 10; ++lo) args.push_back(hi * 256 + lo);
    }
  } else if (c == CommandCode::kOutputChannel || c == CommandCode::kPassFilter) {
    for (int a = 1; a < 16; ++a) args.push_back(a);
  }
  return args;
}

TEST(CatalogueWire, EveryImageFieldALayoutSendsIsACatalogueRowOfThatCode) {
  std::set<std::pair<int, int>> sent;  // (where, index) of bytes and words that travel
  for (int code = 0; code < 256; ++code) {
    for (int arg : ArgumentsOf(code)) {
      for (int mode : {kModeAuto, kModeSing, kModeDance}) {
        const auto layout = BlockLayout(code, arg, mode);
        if (!layout) continue;
        for (int i = 0; i < layout->count; ++i) {
          const auto place = FieldPlace(layout->fields[static_cast<std::size_t>(i)]);
          if (!place) continue;
          const CatalogueRow* r = RowAt(*place);
          ASSERT_NE(r, nullptr) << "code " << code << " sends a field no row names";
          sent.emplace(static_cast<int>(place->where), place->index);
          // Two blocks repeat values that travel on their own: the boost store sends the
          // whole boost block, and the echo block the echo type, whose own code also
          // reloads that type's values.
          if (code == CodeNumber(CommandCode::kBoostBlock)) continue;
          if (code == CodeNumber(CommandCode::kEchoBlock) && r->id == row::kEchoType) continue;
          EXPECT_EQ(CodeNumber(r->carrier.code), code) << r->name;
        }
      }
    }
  }
  // What no block carries really travels in none.
  for (const CatalogueRow& r : AllRows()) {
    if (r.Carried() || (r.place.where != Where::kByte && r.place.where != Where::kWord)) continue;
    EXPECT_FALSE(sent.count({static_cast<int>(r.place.where), r.place.index}))
        << r.name << " is sent by a block but its row names no code";
  }
}

}  // namespace
}  // namespace tavelo
