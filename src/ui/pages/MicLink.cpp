#include "ui/pages/MicLink.h"

namespace tavelo {

namespace {
int Other(int mic) {
  return mic == 0 ? 1 : 0;
}
}  // namespace

std::optional<BlockRequest> MicLink::Switch(bool on, int shown) {
  if (on) {
    for (int band = 0; band < kEqSets[kEqMicA].memoryBands; ++band) CopyBand(shown, band);
    CopyEnable(shown);
  }
  if (Linked() == on) return std::nullopt;
  image_.micEqLink = on ? 1 : 0;
  // The argument is the new state in the high byte and the shown microphone in the low.
  return BlockRequest{CommandCode::kMicEqLink, (on ? 256 : 0) + shown};
}

void MicLink::BandStored(int shown, int band) {
  if (Linked() && band >= 0 && band < kLinkedBands) CopyBand(shown, band);
}

void MicLink::BypassChanged(int shown) {
  if (Linked()) CopyEnable(shown);
}

void MicLink::ResetDone(int shown) {
  if (!Linked()) return;
  for (int band = 0; band < kEqBands; ++band) CopyBand(shown, band);
}

void MicLink::CopyBand(int shown, int band) {
  image_.set(SetOf(Other(shown)))[band] = image_.set(SetOf(shown))[band];
}

void MicLink::CopyEnable(int shown) {
  WriteValue(image_, RowOf(EnableRowOf(Other(shown))),
             ReadValue(image_, RowOf(EnableRowOf(shown))));
}

}  // namespace tavelo
