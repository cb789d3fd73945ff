#pragma once
// What a page may ask of the main window besides posting block requests: whether a
// processor is connected, whether it has front-panel knobs (VR) and what they were last
// reported at, and switching the adjust manner ("VR" 0, "Param" 1). Unset members answer
// "no" and do nothing, so a page works without a main window (tests, tools).
#include <functional>

#include "core/engine/EngineObserver.h"

namespace tavelo::ui {

struct PageHost {
  std::function<bool()> connected;
  std::function<bool()> vrPresent;
  std::function<FrontPanel()> frontPanel;
  std::function<void(int manner)> setAdjustManner;

  bool Connected() const { return connected && connected(); }
  bool VrPresent() const { return vrPresent && vrPresent(); }
  FrontPanel Panel() const { return frontPanel ? frontPanel() : FrontPanel{}; }
  void SetAdjustManner(int manner) const {
    if (setAdjustManner) setAdjustManner(manner);
  }
};

}  // namespace tavelo::ui
