#pragma once
// The engine: everything the main window does apart from drawing. It owns the parameter
// image, the connection record and send state, the transfer buffer, the download header,
// the mass-upload state and the language, and runs the link protocol.
//
// Three inputs drive it, all on one thread:
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
#include <variant>
#include <vector>

#include "engine/EngineObserver.h"
#include "engine/MassUploadReport.h"
#include "engine/PendingRequests.h"
#include "link/ReplyParser.h"
#include "link/Transport.h"
#include "params/BlockEncoder.h"
#include "params/Bodies.h"
#include "params/ParamImage.h"
#include "presets/ParamFile.h"

namespace tavelo {

enum class ConnState : int { kIdle = 0, kOpening = 1, kReading = 2, kConnected = 3 };

using TransportFactory = std::function<std::unique_ptr<Transport>()>;

// Messages the owner (and the engine itself) posts.
namespace msg {
// The Connect button: connects when idle, disconnects when connected.
struct Connect {};
// A block request: a page wrote the image and asks for `code` to be sent (codes 1..78).
struct Block {
  int code = 0;
  BlockArg arg;
};
// Refresh every page from the image.
struct Distribute {};
struct OpenWait {
  WaitKind kind = WaitKind::kConnecting;
};
struct CloseWait {};
// Save To PC: writes the image as `pcName` into the preset folder. The caller has asked
// "overwrite ?" already when the name is listed.
struct SaveToPc {
  std::string pcName;
};
// Load From PC: a row of the PC file list, or a file path used as given (path wins when
// not empty).
struct LoadFromPc {
  int row = -1;
  std::string path;
};
// Load a PC file into processor slot `slot` (0..9); only while connected.
struct LoadIntoSlot {
  int row = -1;
  int slot = 0;
  std::string path;
};
// Mass upload: file i goes into slot i (at most 10 files; names in the preset folder, or
// absolute paths); the factory variant writes the factory presets.
struct MassUpload {
  std::vector<std::string> files;
  bool factory = false;
};
// The unlock prompt was closed without the right password: the connection is abandoned.
struct UnlockClosed {};
// The "VR" / "Param" buttons: image 140, code 7 when it changes.
struct SetAdjustManner {
  int manner = 0;
};

// Posted by the engine to itself.
struct TransferResult {
  int result = 0;  // 3 answered, 1 timed out
};
struct Notice {
  int code = 0;  // notification << 8 | result byte
};
struct UnlockResult {
  int result = 0;
};
struct ShowUnlock {};
}  // namespace msg

using Message = std::variant<msg::Connect, msg::Block, msg::Distribute, msg::OpenWait,
                             msg::CloseWait, msg::SaveToPc, msg::LoadFromPc, msg::LoadIntoSlot,
                             msg::MassUpload, msg::UnlockClosed, msg::SetAdjustManner,
                             msg::TransferResult, msg::Notice, msg::UnlockResult, msg::ShowUnlock>;

// The 17 header bytes of a download's start reply, decoded.
struct DownloadHeader {
  std::array<std::uint8_t, 17> raw{};
  int currentPreset = 0;         // byte 0
  bool lockEngaged = false;      // flags bit 0
  bool useInitVol = false;       // flags bit 2
  bool vrPresent = false;        // flags bit 7
  int adminMode = 0;             // byte 8
  std::uint8_t inputStatus = 0;  // byte 15
};

// Tick counts of the link protocol (one tick is 50 ms).
struct LinkTimings {
  int replyTimeout;  // ticks before an unanswered request fails
  int keepAlive;     // idle ticks before a status poll
};
inline constexpr LinkTimings kUsbTimings{100, 50};
inline constexpr LinkTimings kWifiTimings{130, 55};
inline constexpr int kWifiConnectTimerTicks = 20;  // the 1 s connect timer
inline constexpr int kWifiConnectAttempts = 4;
inline constexpr int kBoostStoreTimeout = 50;
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

  // Convenience for pages.
  void PostBlock(int code, int value = 0) { Post(msg::Block{code, BlockArg::Value(value)}); }

  // --- state ---------------------------------------------------------------------------
  ParamImage& Image() { return image_; }
  const ParamImage& Image() const { return image_; }
  ConnState State() const { return state_; }
  bool Connected() const { return state_ == ConnState::kConnected; }
  LinkKind Link() const { return linkKind_; }
  bool ReplyAwaited() const { return replyAwaited_; }
  int ReplyTimeout() const { return replyTimeout_; }
  int KeepAliveCountdown() const { return keepAlive_; }
  // Block requests waiting for the request in flight, in the order they will go out.
  const PendingRequests& Pending() const { return pending_; }
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
  bool MassUploadRunning() const { return massRunning_; }
  bool MassUploadFactory() const { return massFactory_; }
  // The last mass upload's slots: written, in progress, not reached.
  const MassUploadReport& MassUpload() const { return massReport_; }
  bool WaitOpen() const { return waitOpen_; }
  bool UnlockOpen() const { return unlockOpen_; }
  const FrontPanel& Panel() const { return panel_; }
  std::uint8_t Indicator() const { return indicator_[0]; }
  // Why the last connection attempt or link failed, in plain words for the console: the
  // link's own reason, or which check failed at which step. Empty while nothing failed.
  const std::string& FailureDetail() const { return failureDetail_; }
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

  // The link (EngineLink.cpp).
  const LinkTimings& Timings() const;
  void OnConnect();
  void WifiConnected();
  void WifiConnectTimer();
  void OpenFailed();
  void ProtocolFailed(TextId status);
  // Keeps the first cause of a failure; later consequences do not replace it.
  void NoteFailure(const std::string& detail);
  std::string LinkFailureText(const std::string& fallback) const;
  std::string ReplyTimeText() const;
  void ReleaseTransport();
  void CloseLink();
  void LinkDown();
  bool SendRequest(std::uint8_t code, const std::uint8_t* data, int length);
  void SendPayload(const Payload& payload, bool encoderPath);
  void OnBlock(int code, const BlockArg& arg);
  void SendNextPending();
  void SendNow(int code, const BlockArg& arg);
  void DoTick();
  void DoBytesArrived();
  void FetchIntoParser();
  bool DispatchReply(const Reply& reply);
  void DecodeStatus(const Reply& reply);
  void OnTransferResult(int result);

  // Whole-set transfers and notices (EngineTransfer.cpp).
  void DownloadFailed(const std::string& why);
  void OnStartReply(const Reply& reply);
  void SendChunkRequest();
  void OnChunkReply(const Reply& reply);
  void FinishDownload();
  void OnEchoTypeReply(const Reply& reply);
  void OnBoostReply(const Reply& reply);
  void StartUpload(int slot);
  void SendUploadChunk();
  void SendUploadFinish();
  void UploadFinished();
  void OnNotice(int code);

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
  std::unique_ptr<Transport> transport_;
  std::filesystem::path paramDir_;
  std::vector<std::string> pcFiles_;
  Lang lang_;
  std::string modeNameText_;

  // Message loop.
  std::deque<Message> queue_;
  bool busy_ = false;
  int ticksWaiting_ = 0;
  bool bytesWaiting_ = false;

  // Connection record and send state.
  LinkKind linkKind_ = LinkKind::kUsb;
  ConnState state_ = ConnState::kIdle;
  bool linkOpen_ = false;
  bool wifiConnecting_ = false;
  int wifiTicks_ = 0;     // 50 ms ticks since the Wi-Fi connect began
  int wifiAttempts_ = 0;  // connect timer firings without a connection
  bool replyAwaited_ = false;
  int replyTimeout_ = 0;
  int keepAlive_ = 0;
  std::uint8_t lastRequest_ = 0;
  std::uint8_t inFlight_ = 0;  // code of the request last sent
  std::string failureDetail_;
  PendingRequests pending_;
  ReplyParser parser_;
  bool stopParsing_ = false;

  // Parameter set.
  ParamImage image_{};
  DownloadHeader header_{};
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

  // Whole-set transfers.
  std::array<std::uint8_t, kTransferBufferSize> transfer_{};
  bool downloadActive_ = false;
  bool uploadActive_ = false;
  int downloadTotal_ = 0;
  int downloadOffset_ = 0;
  int downloadCount_ = 0;
  std::uint8_t downloadChecksum_ = 0;
  std::array<std::uint8_t, 17> downloadHeader_{};  // kept in header_ once the body checks out
  std::array<std::uint8_t, kUploadBodySize> uploadBody_{};
  int uploadOffset_ = 0;
  int uploadSlot_ = 0;
  bool loadOkPending_ = false;  // Load From PC says "Load OK" when its upload is confirmed

  // Mass upload.
  bool massRunning_ = false;
  bool massFactory_ = false;
  int massRemaining_ = 0;
  std::vector<std::string> massFiles_;
  MassUploadReport massReport_;

  // Dialogs.
  bool waitOpen_ = false;
  bool unlockOpen_ = false;
  bool unlockSucceeded_ = false;
};

}  // namespace tavelo
