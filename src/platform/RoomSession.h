#pragma once
// One room's session with its processor, the same for every program that talks to one: the
// panel, a tavelo-cli command, each room of a fleet command and the venue service. It holds
// the engine, makes the transport for each Connect and turns the transport's "bytes have
// arrived" (announced on the transport's own thread) into Engine::BytesArrived() on the
// session's thread.
//
// Contract:
//   - Lives on one thread that runs a Qt event loop; wake-ups are queued to it. Nothing
//     here blocks: callers post, then look at the state when told something happened.
//   - Connect() starts connecting; the engine then reads the whole parameter set by itself.
//     Disconnect() takes the link down. Both are safe in any state.
//   - Ticks: StartTicking() runs the session's own 50 ms timer; an owner that ticks many
//     sessions from one timer calls Tick() instead.
//   - Observing: every engine report goes to the observer given at construction, on the
//     session's thread. SetAfterInput() names a call made after every input the engine has
//     handled (tick, bytes, Connect, Post through the session), the moment to look at
//     State(), Ready() or Image().
//   - The unlock prompt goes to the observer (the panel opens its dialog), unless
//     AnswerUnlockWith() was called: then the session answers with the key, and gives the
//     connection up when there is none or the processor refuses it.
//   - The transport maker is called on each Connect and may return null ("Open failed").
//     The session sets the wake-up of what it returns; a maker that wraps a longer-lived
//     transport hands that one WakeHook() itself.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/engine/Engine.h"
#include "platform/QueuedWake.h"

namespace tavelo {

class TickDriver;

class RoomSession : private EngineObserver {
 public:
  using TransportMaker = std::function<std::unique_ptr<Transport>()>;

  RoomSession(EngineObserver& observer, TransportMaker makeTransport);
  ~RoomSession() override;
  RoomSession(const RoomSession&) = delete;
  RoomSession& operator=(const RoomSession&) = delete;

  // --- lifecycle -----------------------------------------------------------------------
  void Connect();
  void Disconnect();
  void StartTicking();
  void StopTicking();
  void Tick();
  // Closes the link without further reports (the owner is going away).
  void Shutdown() { engine_.Shutdown(); }

  // --- state ---------------------------------------------------------------------------
  ConnState State() const { return engine_.State(); }
  // The whole set has been read and shown, and nothing is in flight: ready for work.
  bool Ready() const;
  // Connected with no request in flight and none waiting.
  bool Quiet() const { return engine_.Quiet(); }
  bool Down() const { return engine_.State() == ConnState::kIdle; }
  // A locked processor was met and no key was given.
  bool LockedWithoutKey() const { return lockedWithoutKey_; }
  Engine& engine() { return engine_; }
  const Engine& engine() const { return engine_; }
  ParamImage& Image() { return engine_.Image(); }
  const ParamImage& Image() const { return engine_.Image(); }

  // --- observing -----------------------------------------------------------------------
  void SetAfterInput(std::function<void()> afterInput) { afterInput_ = std::move(afterInput); }
  // Announces arrived bytes; safe from any thread.
  std::function<void()> WakeHook() {
    return [this] { wake_.Request(); };
  }

  // --- requests ------------------------------------------------------------------------
  void Post(Message message);
  // Reads the whole parameter set again (the engine reads it by itself after Connect).
  void DownloadSet() { Post(msg::Block{CommandCode::kReadStart, {}}); }
  // Reads it again only when the processor announces another set (Engine::ProbeSet).
  bool ProbeSet() {
    const bool sent = engine_.ProbeSet();
    AfterInput();
    return sent;
  }
  // Answers the unlock prompt with `key` (four digits); without one a locked processor is
  // given up. `onLockedWithoutKey` is called when that happens.
  void AnswerUnlockWith(std::optional<std::string> key,
                        std::function<void()> onLockedWithoutKey = {});

 private:
  void AfterInput();
  std::unique_ptr<Transport> MakeTransport();

  // EngineObserver: everything goes on to the owner's observer; the unlock prompt and a
  // refused key are answered here when the session holds the key.
  void OnStatus(TextId id, const std::string& text) override;
  void OnConnectLit(bool lit) override;
  void OnConnectCaption(const std::string& text) override;
  void OnLinkChoiceEnabled(bool enabled) override;
  void OnMessage(const UserMessage& message) override;
  void OnWaitOpen(WaitKind kind) override;
  void OnWaitClose() override;
  void OnUnlockOpen() override;
  void OnUnlockClose() override;
  void OnDistribute() override;
  void OnApplyAppMode(int mode) override;
  void OnTopBar(const TopBarValues& values) override;
  void OnIndicators(std::uint8_t first, std::uint8_t second) override;
  void OnFrontPanel(const FrontPanel& panel) override;
  void OnEchoTypeReloaded() override;
  void OnPresetNames() override;
  void OnPcFiles() override;
  void OnMassUploadProgress(const MassUploadReport& report) override;
  void OnLockAdmin(bool locked, int adminMode) override;

  EngineObserver& observer_;
  TransportMaker makeTransport_;
  std::function<void()> afterInput_;
  // Outlives the transports that announce bytes through it.
  QueuedWake wake_{[this] {
    engine_.BytesArrived();
    AfterInput();
  }};
  Engine engine_;
  std::unique_ptr<TickDriver> ticks_;
  bool answersUnlock_ = false;
  std::optional<std::string> lockKey_;
  std::function<void()> onLockedWithoutKey_;
  bool unlockAnswered_ = false;
  bool lockedWithoutKey_ = false;
};

}  // namespace tavelo
