#pragma once
// The engine: everything the main window does apart from drawing. It owns the message
// queue, the parameter image and what the processor reported about it, and wires three
// parts together: the link session (transport, parser, time-outs, the request in flight,
// keep-alive), the set transfer (download and upload) and the mass upload. It speaks to
// its owner only through the observer.
//
// Contract: three inputs drive it, all on one thread:
//   Post(message)   posted messages, handled first in, first out, one at a time, never
//                   re-entrantly; payloads travel by value.
//   Tick()          the 50 ms tick; every time-out and keep-alive counts these exactly.
//   BytesArrived()  the transport has received bytes; while a reply is awaited they are
//                   parsed at once, so a reply is handled without waiting for the tick.
// Calls made from inside an observer callback are queued and run when the current
// handler has returned.
#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/engine/EngineMessages.h"
#include "core/engine/EngineObserver.h"
#include "core/engine/LinkSession.h"
#include "core/engine/MassUploadRun.h"
#include "core/engine/SetTransfer.h"
#include "core/link/Transport.h"
#include "core/params/BlockEncoder.h"
#include "core/params/ParamImage.h"
#include "core/presets/ParamFile.h"

namespace tavelo {

enum class ConnState : int { kIdle = 0, kOpening = 1, kReading = 2, kConnected = 3 };

using TransportFactory = std::function<std::unique_ptr<Transport>()>;

inline constexpr int kRequiredProtocolVersion = 3;

class Engine {
 public:
  // The image starts with the processor's default parameter set.
  explicit Engine(EngineObserver& observer);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // --- set-up --------------------------------------------------------------------------
  // Creates the transport at Connect (USB, Wi-Fi or the in-process processor). The
  // factory also sets the transport's wake-up hook (which leads to BytesArrived()).
  void SetTransportFactory(TransportFactory factory);
  // The PC preset folder (default "param_dir"); lists its files.
  void SetParamDir(const std::filesystem::path& dir);
  const std::filesystem::path& ParamDir() const { return paramDir_; }
  void SetLanguage(Lang lang);
  Lang Language() const { return lang_; }
  // The system page's mode-name edit: the preset name a preset upload carries.
  void SetModeNameText(const std::string& text) { modeNameText_ = text; }

  // --- inputs --------------------------------------------------------------------------
  void Post(Message message);
  void Tick();
  void BytesArrived();
  // Closing the main window: closes the link without further observer traffic.
  void Shutdown();

  // Asks whether the processor's set changed since the last completed read, at the cost of
  // one request: the start of a read. When its reply announces the set of that read (see
  // SameSetAnnounced) the read ends there; otherwise it goes on and reads the whole set, as
  // any other read. Probing() is true until the reply has decided. Only on a connected,
  // quiet link (false otherwise, nothing sent); the probe leaves the status poll's idle
  // countdown as it was, so that a room probed often still reports its front panel.
  bool ProbeSet();
  bool Probing() const { return probing_; }

  // A request by its wire number, for tools and tests that speak in those numbers.
  void PostBlock(int wireCode, int value = 0) {
    Post(msg::Block{static_cast<CommandCode>(wireCode), value});
  }

  // --- state ---------------------------------------------------------------------------
  ParamImage& Image() { return image_; }
  const ParamImage& Image() const { return image_; }
  ConnState State() const { return state_; }
  bool Connected() const { return state_ == ConnState::kConnected; }
  LinkKind Link() const { return link_.Kind(); }
  bool ReplyAwaited() const { return link_.ReplyAwaited(); }
  int ReplyTimeout() const { return link_.ReplyTimeout(); }
  int KeepAliveCountdown() const { return link_.KeepAliveCountdown(); }
  // Block requests waiting for the request in flight, in the order they will go out.
  const PendingRequests& Pending() const { return link_.Pending(); }
  // Connected with no request in flight and none waiting.
  bool Quiet() const { return Connected() && !ReplyAwaited() && Pending().Empty(); }
  const DownloadHeader& Header() const { return header_; }
  bool ParamSetRead() const { return paramSetRead_; }
  bool ParamSetShown() const { return paramSetShown_; }
  int CurrentPreset() const { return currentPreset_; }
  bool UseInitVol() const { return useInitVol_; }
  bool VrPresent() const { return header_.vrPresent; }
  // Set while the processor's front-panel controls own the tone and quick values.
  bool AdjustLocked() const { return adjustLocked_; }
  bool LockState() const { return lockCurrent_; }
  int AdminMode() const { return adminCurrent_; }
  bool MassUploadRunning() const { return mass_.Running(); }
  bool MassUploadFactory() const { return mass_.Factory(); }
  // The last mass upload's slots: written, in progress, not reached.
  const MassUploadReport& MassUpload() const { return mass_.Report(); }
  // Whether a download or an upload is under way.
  SetTransfer::Phase TransferPhase() const { return transfer_.State(); }
  bool WaitOpen() const { return waitOpen_; }
  bool UnlockOpen() const { return unlockOpen_; }
  const FrontPanel& Panel() const { return panel_; }
  std::uint8_t Indicator() const { return indicator_[0]; }
  // Why the last connection attempt or link failed, in plain words for the console: the
  // link's own reason, or which check failed at which step. Empty while nothing failed.
  const std::string& FailureDetail() const { return link_.FailureDetail(); }
  // Protocol version of the last status poll reply (-1 before the first).
  int ProtocolVersion() const { return protocolVersion_; }
  const std::vector<std::string>& PcFiles() const { return pcFiles_; }
  void RefreshPcFiles();

 private:
  // Message loop and handlers (Engine.cpp).
  void Pump();
  void Handle(Message& message);
  void Status(TextId id);
  void Say(TextId id, CaptionKind caption, const std::string& fileName = {},
           const std::string& detail = {});
  void TopBar();
  void ConnectCaption();
  void RecomputeAdjustLock();
  void Distribute();
  void OnSetAdjustManner(int manner);
  void OpenWaitDialog(WaitKind kind);
  void CloseWaitDialog();
  void OnShowUnlock();
  void OnUnlockResult(int result);
  void OnUnlockClosed();

  // Connecting and taking the link down (EngineLink.cpp).
  void OnConnect();
  void WifiConnected();
  // What a look at the Wi-Fi connection wait found: the poll goes out, the opening fails,
  // or the wait goes on.
  void OnWifiWait(LinkSession::WifiWait result);
  void OpenFailed();
  void ProtocolFailed(TextId status);
  void CloseLink();
  void LinkDown();
  bool SendRequest(std::uint8_t code);
  void SendPayload(const Payload& payload, bool encoderPath);

  // Block requests, the tick and replies (EngineSend.cpp).
  void OnBlock(const BlockRequest& request);
  void SendNextPending();
  void SendNow(const BlockRequest& request);
  void DoTick();
  void TickOpening();
  void TickConnected();
  void DoBytesArrived();
  void FetchIntoParser();
  bool DispatchReply(const Reply& reply);
  void OnUploadReply(std::uint8_t code);
  bool CheckProtocolVersion(const Reply& reply);
  void DecodeStatus(const Reply& reply);
  void OnTransferResult(int result);

  // Whole-set transfers and notices (EngineTransfer.cpp).
  void DownloadFailed(const std::string& why);
  void OnStartReply(const Reply& reply);
  void OnChunkReply(const Reply& reply);
  void FinishDownload();
  void OnEchoTypeReply(const Reply& reply);
  void OnBoostReply(const Reply& reply);
  void StartUpload(int slot);
  void SendUploadFinish();
  void UploadFinished();
  void OnNotice(int code);
  void OnLockNotice(int result);
  void OnAdminNotice(int result);

  // PC files (EngineFiles.cpp).
  std::filesystem::path ResolvePcFile(int row, const std::string& path) const;
  bool ReadPcFile(const std::filesystem::path& path, ParamFileData& out) const;
  bool LoadPcFileAndShow(int row, const std::string& givenPath);
  void OnSaveToPc(const std::string& pcName);
  void OnLoadFromPc(const msg::LoadFromPc& m);
  void OnLoadIntoSlot(const msg::LoadIntoSlot& m);
  void OnMassUpload(const msg::MassUpload& m);
  void MassUploadFile(int index);
  void SetMassSlot(int slot, MassSlotState state);
  void MassUploadStopped(TextId id, const std::string& fileName = {});

  EngineObserver& observer_;
  TransportFactory factory_;
  std::filesystem::path paramDir_;
  std::vector<std::string> pcFiles_;
  Lang lang_;
  std::string modeNameText_;

  // Message loop.
  std::deque<Message> queue_;
  bool busy_ = false;
  int ticksWaiting_ = 0;
  bool bytesWaiting_ = false;

  // The parts.
  ConnState state_ = ConnState::kIdle;
  LinkSession link_;
  SetTransfer transfer_;
  MassUploadRun mass_;

  // Parameter set and what the processor reported with it.
  ParamImage image_{};
  DownloadHeader header_{};
  bool probing_ = false;
  bool paramSetRead_ = false;
  bool paramSetShown_ = true;
  int currentPreset_ = 0;
  bool useInitVol_ = false;
  bool adjustLocked_ = false;
  bool lockCurrent_ = false;
  bool lockPrevious_ = false;
  int adminCurrent_ = 0;
  int adminPrevious_ = 0;
  std::array<std::uint8_t, 2> indicator_{};
  int protocolVersion_ = -1;
  FrontPanel panel_{};

  // Dialogs.
  bool waitOpen_ = false;
  bool unlockOpen_ = false;
  bool unlockSucceeded_ = false;
};

}  // namespace tavelo
