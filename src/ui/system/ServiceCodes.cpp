#include "ui/system/ServiceCodes.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace tavelo::ui {
namespace {

constexpr std::uint8_t kMask = 0x5A;

struct MaskedCode {
  ServiceCode code;
  std::initializer_list<std::uint8_t> masked;  // each character XOR kMask
};

// The four service codes, masked. Lengths: 12, 11, 11, 11; letters and digits only.
const std::array<MaskedCode, 4> kCodes = {{
    {ServiceCode::kBoost, {0x18, 0x29, 0x2E, 0x63, 0x11, 0x2B, 0x6E, 0x0E, 0x2C, 0x6D, 0x08, 0x37}},
    {ServiceCode::kLogo, {0x16, 0x3D, 0x6F, 0x0D, 0x34, 0x62, 0x0A, 0x39, 0x69, 0x12, 0x3E}},
    {ServiceCode::kWifi, {0x0D, 0x3C, 0x68, 0x17, 0x30, 0x6C, 0x02, 0x28, 0x63, 0x14, 0x29}},
    {ServiceCode::kFactory, {0x1C, 0x39, 0x6D, 0x0B, 0x20, 0x69, 0x0C, 0x38, 0x62, 0x11, 0x2E}},
}};

std::string Unmask(const MaskedCode& entry) {
  std::string text;
  for (std::uint8_t b : entry.masked) text += static_cast<char>(b ^ kMask);
  return text;
}

}  // namespace

ServiceCode MatchServiceCode(std::string_view text) {
  for (const MaskedCode& entry : kCodes) {
    if (text == Unmask(entry)) return entry.code;
  }
  return ServiceCode::kNone;
}

std::string ServiceCodeText(ServiceCode code) {
  for (const MaskedCode& entry : kCodes) {
    if (entry.code == code) return Unmask(entry);
  }
  return {};
}

}  // namespace tavelo::ui
