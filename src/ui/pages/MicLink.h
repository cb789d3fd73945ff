#pragma once
// The link between the two microphones' equalisers. Turning it on makes the other
// microphone a copy of the shown one; while it is on, every change of the shown
// microphone's bands 0..10, its equaliser enable bit and its reset is copied to the other
// one after it is stored and before the shown one is posted. Only the shown microphone's
// change is posted: the processor applies the link itself.
#include <optional>

#include "core/params/Catalogue.h"
#include "core/params/ParamImage.h"

namespace tavelo {

class MicLink {
 public:
  static constexpr int kMicrophones = 2;
  // Bands a linked change copies: the equaliser and the low-pass filter (band 10). The
  // high-pass filter's slider writes both arrays by itself.
  static constexpr int kLinkedBands = 11;
  static constexpr int kEqBands = 10;

  explicit MicLink(ParamImage& image) : image_(image) {}

  bool Linked() const { return image_.micEqLink != 0; }

  // The link button went on or off while microphone `shown` (0, 1) is shown. Turning it on
  // copies all 12 bands and the enable bit first. Returns the code-60 request, or nothing
  // when the flag already had that state.
  std::optional<BlockRequest> Switch(bool on, int shown);

  // After band `band` of the shown microphone was stored.
  void BandStored(int shown, int band);
  // After the shown microphone's equaliser enable bit changed.
  void BypassChanged(int shown);
  // After the shown microphone's equaliser was reset (bands 0..9).
  void ResetDone(int shown);

  static EqSet SetOf(int mic) { return mic == 0 ? kEqMicA : kEqMicB; }
  static RowId EnableRowOf(int mic) {
    return mic == 0 ? row::kSwitchMicMic1EqOn : row::kSwitchMicMic2EqOn;
  }

 private:
  void CopyBand(int shown, int band);
  void CopyEnable(int shown);

  ParamImage& image_;
};

}  // namespace tavelo
