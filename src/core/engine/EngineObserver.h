#pragma once
// The one interface through which the engine speaks to whoever draws it: the panel with
// widgets, tavelo-cli with console lines, tests with a recorder. Every call happens on the
// engine's thread, from inside Post(), Tick() or BytesArrived(); an observer may post new
// messages from a call (they are queued), but must not block waiting for the user: modal
// prompts are opened here and answered later with a posted message.
#include <array>
#include <cstdint>
#include <string>

#include "core/engine/MassUploadReport.h"
#include "core/text/Lang.h"
#include "core/text/Texts.h"

namespace tavelo {

// What the wait dialog says while it is up.
enum class WaitKind : int { kConnecting = 0, kLoading = 1, kSaving = 2 };

// Which kind of message box a message belongs in; the drawing side picks the caption.
enum class CaptionKind : int {
  kSpace,     // processor replies, password and version messages
  kAppTitle,  // Save To PC results and the load-fail message
  kEmpty,     // the load-OK message
};

// A modal message for the user. `text` is already rendered in `lang` (file name filled in
// for the "%s Load fail" message); `id` says which text it is.
struct UserMessage {
  TextId id;
  Lang lang;
  CaptionKind captionKind = CaptionKind::kSpace;
  std::string text;      // rendered text
  std::string fileName;  // the file a load-fail message names; empty otherwise
  // Why it failed, in the system's words (a failed save's "Permission denied"); already
  // on a line of its own at the end of `text`. Empty otherwise.
  std::string detail;
};

// The top bar's level sliders and labels ("%d").
struct TopBarValues {
  int music = 0;   // image 0
  int mic = 0;     // image 1
  int effect = 0;  // image 2
  int master = 0;  // image 139
  friend bool operator==(const TopBarValues&, const TopBarValues&) = default;
};

// The processor's front-panel controls as the status poll reports them. The tone-band
// gains and middle frequencies go into ParamImage::toneGroups; the quick values are these.
struct FrontPanel {
  std::array<std::uint8_t, 7> positions{};      // the seven raw position bytes
  std::array<int, 3> echoQuick{100, 200, 60};   // level, delay, repeat
  std::array<int, 3> reverbQuick{10, 2680, 0};  // level, decay, predelay
  friend bool operator==(const FrontPanel&, const FrontPanel&) = default;
};

class EngineObserver {
 public:
  virtual ~EngineObserver() = default;

  // The status line (control 1002): "Idle", "Connecting...", "connected", "OK", ...
  virtual void OnStatus(TextId /*id*/, const std::string& /*text*/) {}
  // The Connect button: lit while a connection is being made or stands.
  virtual void OnConnectLit(bool /*lit*/) {}
  // The Connect button's caption is set back to the label "Connect" (after link down).
  virtual void OnConnectCaption(const std::string& /*text*/) {}
  // The link-choice buttons (USB, WIFI, DEMO) and the system page's link controls.
  virtual void OnLinkChoiceEnabled(bool /*enabled*/) {}

  virtual void OnMessage(const UserMessage& /*message*/) {}

  // Wait dialog: opened once per request (a second open while up is ignored), closed once.
  virtual void OnWaitOpen(WaitKind /*kind*/) {}
  virtual void OnWaitClose() {}

  // Unlock prompt: opened when the processor reports its settings locked; closed by the
  // engine when the right password was accepted. The prompt sends its password as a block
  // request (code 43) and reports the user's "Close" with msg::UnlockClosed.
  virtual void OnUnlockOpen() {}
  virtual void OnUnlockClose() {}

  // Every page reloads from Engine::Image() (and the engine's header flags).
  virtual void OnDistribute() {}
  // The application mode that came with the parameter set is to be applied (the panel
  // resets its navigation only when the mode differs from the one it shows).
  virtual void OnApplyAppMode(int /*mode*/) {}
  // Top-bar levels changed by the engine (clamping, loads, the upload-finished rule).
  virtual void OnTopBar(const TopBarValues& /*values*/) {}
  // Status-poll indicator byte changed (key buttons' lit state, input indicator).
  virtual void OnIndicators(std::uint8_t /*first*/, std::uint8_t /*second*/) {}
  // The processor's front-panel positions changed: the current page reloads the tone
  // groups and quick values.
  virtual void OnFrontPanel(const FrontPanel& /*panel*/) {}
  // The echo type reply arrived (image 114..122, W26..W29): the echo page lays itself out.
  virtual void OnEchoTypeReloaded() {}
  // The processor's preset-name table changed (system page user-mode list).
  virtual void OnPresetNames() {}
  // The PC preset file list changed (a row was added by Save To PC).
  virtual void OnPcFiles() {}
  // A mass upload started, a slot's upload began or was confirmed, or the run ended (its
  // `running` turns false; `complete` says whether every slot was written).
  virtual void OnMassUploadProgress(const MassUploadReport& /*report*/) {}
  // Lock state or admin mode changed (confirmed, rolled back or read from the processor).
  virtual void OnLockAdmin(bool /*locked*/, int /*adminMode*/) {}
};

}  // namespace tavelo
