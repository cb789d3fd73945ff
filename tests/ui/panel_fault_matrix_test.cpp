// The panel under every fault the virtual processor can show, over the demo's simulated USB
// exchange and over loopback TCP: what the user sees at the end (status line, message box,
// wait dialog, link buttons), what the panel holds (the parameter set unchanged, or whole)
// and that a new Connect afterwards works.
//
// The engine's ticks are driven by hand, one every kFastTickMs of real time, so its reply
// time-outs (100 and 130 ticks) pass in well under a second. On USB that lets the engine's
// time-out come before the demo reader's 3 s one, which at the real tick rate ends such a
// fault with "Idle" instead; one test below keeps the real rate for that path.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <chrono>
#include <optional>
#include <thread>
#include <tuple>

#include "core/params/Bodies.h"
#include "core/presets/ParamFile.h"
#include "core/presets/PresetFolder.h"
#include "core/sim/Faults.h"
#include "core/text/Texts.h"
#include "platform/SimServer.h"
#include "ui/controls/SkinButton.h"
#include "ui/dialogs/UnlockDialog.h"
#include "ui/dialogs/WaitDialog.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

using Body = std::array<std::uint8_t, kDownloadBodySize>;

constexpr int kFastTickMs = 4;
constexpr int kStepLimitMs = 8000;      // far above any fault's own end
constexpr std::uint32_t kTcpSeed = 77;  // a set unlike the panel's defaults

enum class Via { kUsb, kTcp };

// What the user does while the fault is armed.
enum class Step {
  kConnect,      // Connect; the fault shows during opening or reading
  kUnlockClose,  // Connect to a locked processor, then close the unlock prompt
  kUnlockKey,    // Connect to a locked processor, then give the right key
  kLoadFromPc,   // connected: Load From PC, which uploads the file into the current slot
  kMassUpload,   // connected: three files into slots 0..2 (slot 2 goes first)
};

struct FaultRow {
  const char* label;
  const char* fault;  // as tavelo-sim's --fault takes it
  Step step;
  TextId status;                       // the status line at the end
  std::optional<TextId> message;       // the one message box shown, if any
  std::optional<TextId> passedStatus;  // a status shown on the way (the "failed" before "Idle")
  int massInProgress = -1;             // the slot a stopped mass upload was writing
};

constexpr auto kNone = std::nullopt;

// clang-format off
const FaultRow kRows[] = {
  {"WrongVersion",        "wrong-version",             Step::kConnect,     TextId::kStatusOpenFailed1, TextId::kMsgVersionMismatch, kNone},
  {"WrongSignature",      "wrong-signature",           Step::kConnect,     TextId::kStatusOpenFailed1, kNone, kNone},
  {"BadBodyChecksum",     "bad-body-checksum",         Step::kConnect,     TextId::kStatusOpenFailed1, kNone, kNone},
  {"CorruptReplies",      "corrupt-reply-checksum",    Step::kConnect,     TextId::kStatusOpenFailed0, kNone, kNone},
  {"CorruptChunkReplies", "corrupt-reply-checksum=64", Step::kConnect,     TextId::kStatusIdle,        kNone, TextId::kStatusFailed},
  {"DroppedReplies",      "drop-reply",                Step::kConnect,     TextId::kStatusOpenFailed0, kNone, kNone},
  {"DroppedReadStart",    "drop-reply=63",             Step::kConnect,     TextId::kStatusOpenFailed1, kNone, kNone},
  {"SlowRepliesInTime",   "slow-reply=20",             Step::kConnect,     TextId::kStatusOk,          kNone, TextId::kStatusConnected},
  {"SlowRepliesTooLate",  "slow-reply=1500",           Step::kConnect,     TextId::kStatusOpenFailed0, kNone, kNone},
  {"LockedAbandoned",     "locked",                    Step::kUnlockClose, TextId::kStatusOpenFailed1, kNone, kNone},
  {"LockedUnlocked",      "locked",                    Step::kUnlockKey,   TextId::kStatusOk,          kNone, TextId::kStatusConnected},
  {"CutBeforeFirstReply", "unplug-after-0",            Step::kConnect,     TextId::kStatusIdle,        kNone, kNone},
  {"CutMidDownload",      "unplug-after-6",            Step::kConnect,     TextId::kStatusIdle,        kNone, kNone},
  {"OversizedTotal",      "oversized-total",           Step::kConnect,     TextId::kStatusOpenFailed1, kNone, kNone},
  {"ShortTotal",          "short-total",               Step::kConnect,     TextId::kStatusOpenFailed1, kNone, kNone},
  {"EmptyTotal",          "short-total=0",             Step::kConnect,     TextId::kStatusOpenFailed1, kNone, kNone},
  {"CutMidUpload",        "unplug-after-5",            Step::kLoadFromPc,  TextId::kStatusIdle,        kNone, kNone},
  {"DroppedUploadChunk",  "drop-reply=66",             Step::kLoadFromPc,  TextId::kStatusIdle,        kNone, TextId::kStatusFailed},
  // Each upload takes 13 replies: the cut lands in the second file (slot 1).
  {"CutMidMassUpload",    "unplug-after-20",           Step::kMassUpload,  TextId::kStatusIdle,        TextId::kMsgMassUploadStopped, kNone, 1},
  {"DroppedMassFinish",   "drop-reply=67",             Step::kMassUpload,  TextId::kStatusIdle,        TextId::kMsgMassUploadStopped, TextId::kStatusFailed, 2},
};
// clang-format on

Body BodyOf(const ParamImage& image) {
  Body body{};
  BuildDownloadBody(image, body);
  return body;
}

std::string NameOf(const ParamImage& image) {
  return std::string(image.name.begin(), image.name.end());
}

class PanelFaultMatrix : public ::testing::TestWithParam<std::tuple<FaultRow, Via>> {
 protected:
  void SetUp() override {
    test::PanelSettingsDir();
    ui::MainWindow::Options options;
    options.lang = Lang::kEnglish;
    options.startTimer = false;
    options.paramDir = dir_.path().toStdString();
    if (Tcp()) {
      ASSERT_TRUE(server_.Listen(QHostAddress::LocalHost, 0, 0));
      options.host = "127.0.0.1";
      options.port = server_.Port();
    }
    window_ = std::make_unique<ui::MainWindow>(options);
    window_->show();
    window_->ChooseLink(Tcp() ? LinkChoice::kWifi : LinkChoice::kDemo);
    QObject::connect(window_.get(), &ui::MainWindow::StatusChanged,
                     [this](TextId id) { statuses_.push_back(id); });
  }

  void TearDown() override { window_.reset(); }

  const FaultRow& Row() const { return std::get<0>(GetParam()); }
  bool Tcp() const { return std::get<1>(GetParam()) == Via::kTcp; }
  ui::MainWindow& W() { return *window_; }
  Engine& E() { return window_->GetEngine(); }
  VirtualProcessor& P() { return Tcp() ? tcpProcessor_ : window_->Demo().Processor(); }

  void Arm() {
    const auto fault = ParseSimFault(Row().fault);
    ASSERT_TRUE(fault) << Row().fault;
    P().AddFault(*fault);
  }

  // Runs the event loop and one engine tick every kFastTickMs until `done`.
  bool Run(const std::function<bool()>& done, int limitMs = kStepLimitMs) {
    QElapsedTimer clock, tick;
    clock.start();
    tick.start();
    while (!done()) {
      if (clock.elapsed() > limitMs) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      if (tick.elapsed() >= kFastTickMs) {
        tick.restart();
        E().Tick();
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
    return true;
  }

  bool Idle() const { return window_->GetEngine().State() == ConnState::kIdle; }
  bool Ready() {
    return E().Connected() && E().ParamSetRead() && E().ParamSetShown() && !E().ReplyAwaited() &&
           !W().OpenWaitDialog();
  }

  bool ConnectAndRead() {
    W().Connect();
    return Run([this] { return Ready(); });
  }

  std::vector<std::string> WriteFiles(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
      ParamImage image = E().Image();
      image.name = SanitisePresetName("MATRIX " + std::to_string(i));
      WriteValue(image, RowOf(row::kEchoLevel), 10 + i);
      names.push_back("matrix-" + std::to_string(i));
      EXPECT_TRUE(SaveParamFile(dir_.path().toStdString(), names.back(), image).ok);
      fileImages_.push_back(image);
    }
    return names;
  }

  QList<QMessageBox*> Boxes() {
    return W().findChildren<QMessageBox*>("userMessage", Qt::FindDirectChildrenOnly);
  }

  QTemporaryDir dir_;
  VirtualProcessor tcpProcessor_ = VirtualProcessor::Seeded(kTcpSeed);
  SimServer server_{tcpProcessor_};
  std::unique_ptr<ui::MainWindow> window_;
  std::vector<TextId> statuses_;
  std::vector<ParamImage> fileImages_;
};

TEST_P(PanelFaultMatrix, EndsCleanlyShowsWhyKeepsTheSetAndConnectsAgain) {
  const FaultRow& row = Row();
  const bool connectStep =
      row.step == Step::kConnect || row.step == Step::kUnlockClose || row.step == Step::kUnlockKey;
  ASSERT_NE(BodyOf(P().Current()), BodyOf(E().Image()))
      << "the processor must hold a set of its own";

  // --- the fault ---------------------------------------------------------------------------
  Body before{};
  std::array<std::string, 3> slotsBefore;
  std::vector<std::string> files;
  std::size_t said = W().Messages().size();
  if (connectStep) {
    Arm();
    before = BodyOf(E().Image());
    W().Connect();
    if (row.step != Step::kConnect) {
      ASSERT_TRUE(Run([this] { return W().OpenUnlockDialog() != nullptr; }));
      EXPECT_EQ(W().OpenWaitDialog(), nullptr);
      ui::UnlockDialog* prompt = W().OpenUnlockDialog();
      if (row.step == Step::kUnlockClose) {
        prompt->CloseButton()->click();
      } else {
        prompt->PasswordEdit()->setText("1234");
        prompt->OkButton()->click();
      }
    }
  } else {
    ASSERT_TRUE(ConnectAndRead()) << W().StatusText().toStdString();
    files = WriteFiles(row.step == Step::kMassUpload ? 3 : 1);
    for (int s = 0; s < 3; ++s) slotsBefore[static_cast<std::size_t>(s)] = NameOf(P().Stored(s));
    Arm();
    statuses_.clear();
    said = W().Messages().size();
    if (row.step == Step::kLoadFromPc) {
      E().Post(msg::LoadFromPc{-1, dir_.filePath(QString::fromStdString(files[0])).toStdString()});
      // The file as the panel shows it; once its upload begins, the current slot's name in
      // the list is the file's too.
      ParamImage shown = E().Image();
      EXPECT_EQ(NameOf(shown).substr(0, 8), "MATRIX 0");
      shown.presetNames[static_cast<std::size_t>(E().CurrentPreset())] = shown.name;
      before = BodyOf(shown);
    } else {
      // The panel shows each file as its upload begins (last slot first): in the end, the
      // one whose upload was cut, whole.
      ParamImage shown = E().Image();
      for (int slot = 2; slot >= row.massInProgress; --slot) {
        ApplyLoadedFile(shown, ParamFileDataFromImage(fileImages_[static_cast<std::size_t>(slot)]));
        shown.presetNames[static_cast<std::size_t>(slot)] = shown.name;
      }
      before = BodyOf(shown);
      E().Post(msg::MassUpload{files, false});
    }
  }
  ASSERT_TRUE(Run([&] {
    return !W().OpenWaitDialog() && !W().OpenUnlockDialog() &&
           (Idle() || (row.status == TextId::kStatusOk && Ready()));
  })) << "still "
      << W().StatusText().toStdString();

  // --- what the user sees ------------------------------------------------------------------
  EXPECT_EQ(W().StatusText().toStdString(), Text(row.status, Lang::kEnglish))
      << E().FailureDetail();
  if (row.passedStatus) {
    EXPECT_NE(std::find(statuses_.begin(), statuses_.end(), *row.passedStatus), statuses_.end())
        << "never showed " << Text(*row.passedStatus, Lang::kEnglish);
  }
  EXPECT_EQ(W().WaitOpenCount(), W().WaitCloseCount());
  for (const ui::WaitDialog* wait : W().findChildren<ui::WaitDialog*>())
    EXPECT_FALSE(wait->isVisible());
  EXPECT_EQ(W().OpenUnlockDialog(), nullptr);
  const bool connected = row.status == TextId::kStatusOk;
  EXPECT_EQ(W().TopBarWidget().ConnectButton()->Lit(), connected);
  EXPECT_EQ(W().Control(ui::mainid::kDemo)->isEnabled(), !connected);
  EXPECT_EQ(W().Control(ui::mainid::kWifi)->isEnabled(), !connected);
  EXPECT_EQ(W().Control(ui::mainid::kUsb)->isEnabled(), !connected);

  const auto& messages = W().Messages();
  const std::size_t shown = messages.size() - said;
  if (row.message) {
    ASSERT_EQ(shown, 1u);
    EXPECT_EQ(messages.back().id, *row.message);
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back()->text().toStdString(), messages.back().text);
    EXPECT_TRUE(Boxes().back()->isVisible());
  } else {
    EXPECT_EQ(shown, 0u) << messages.back().text;
  }

  // --- what the panel and the processor hold -------------------------------------------------
  if (connected) {
    EXPECT_TRUE(BodyOf(E().Image()) == P().DownloadBody()) << "the set is not whole";
  } else {
    EXPECT_TRUE(BodyOf(E().Image()) == before) << "the set changed though the read failed";
  }
  if (row.step == Step::kLoadFromPc) {
    // Never confirmed: the processor's current preset is not the file's.
    EXPECT_NE(NameOf(P().Current()).substr(0, 8), "MATRIX 0");
  }
  if (row.step == Step::kMassUpload) {
    const MassUploadReport& report = E().MassUpload();
    for (int slot = 0; slot < 3; ++slot) {
      const MassSlotState state = slot > row.massInProgress    ? MassSlotState::kWritten
                                  : slot == row.massInProgress ? MassSlotState::kInProgress
                                                               : MassSlotState::kNotReached;
      EXPECT_EQ(report.entries[static_cast<std::size_t>(slot)].state, state) << "slot " << slot;
      const std::string stored = NameOf(P().Stored(slot));
      if (state == MassSlotState::kWritten) {
        EXPECT_EQ(stored.substr(0, 8), "MATRIX " + std::to_string(slot));
      } else if (state == MassSlotState::kNotReached) {
        EXPECT_EQ(stored, slotsBefore[static_cast<std::size_t>(slot)]);
      }
    }
    EXPECT_NE(messages.back().text.find(DescribeMassUpload(report, Lang::kEnglish)),
              std::string::npos)
        << messages.back().text;
  }

  // --- a new Connect works -----------------------------------------------------------------
  for (QMessageBox* box : Boxes()) box->close();
  P().ClearFaults();
  P().RestoreLink();
  P().SetLockEngaged(false);
  if (!Idle()) {
    W().Connect();  // the user disconnects first
    ASSERT_TRUE(Run([this] { return Idle(); }));
  }
  const std::size_t before2 = W().Messages().size();
  statuses_.clear();
  ASSERT_TRUE(ConnectAndRead()) << W().StatusText().toStdString();
  // "connected" once the set is read, "OK" once the first edit after it was answered.
  EXPECT_EQ(statuses_.front(), TextId::kStatusConnecting);
  EXPECT_NE(std::find(statuses_.begin(), statuses_.end(), TextId::kStatusConnected),
            statuses_.end());
  EXPECT_EQ(W().StatusText().toStdString(), Text(TextId::kStatusOk, Lang::kEnglish));
  EXPECT_TRUE(BodyOf(E().Image()) == P().DownloadBody());
  EXPECT_EQ(W().Messages().size(), before2);
  EXPECT_TRUE(W().TopBarWidget().ConnectButton()->Lit());
}

// At the real tick rate the demo reader's 3 s wait for a report ends a dropped reply first:
// the link goes down ("Idle") before the engine's 5 s reply time-out would say "Open failed0".
TEST(PanelFaultAtRealRate, UsbReaderTimeOutTakesTheLinkDownAndConnectWorksAfter) {
  test::PanelSettingsDir();
  QTemporaryDir dir;
  ui::MainWindow::Options options;
  options.lang = Lang::kEnglish;
  options.paramDir = dir.path().toStdString();  // the window's own 50 ms tick runs
  ui::MainWindow window(options);
  window.ChooseLink(LinkChoice::kDemo);
  VirtualProcessor& processor = window.Demo().Processor();
  processor.AddFault(*ParseSimFault("drop-reply"));
  Engine& engine = window.GetEngine();
  auto wait = [&](const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < kStepLimitMs)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return clock.elapsed();
  };

  window.Connect();
  const qint64 took = wait([&] { return engine.State() == ConnState::kIdle; });
  EXPECT_GE(took, 2900);
  EXPECT_LT(took, 5000);
  EXPECT_EQ(window.StatusText(), "Idle");
  EXPECT_NE(engine.FailureDetail().find("within 3 s"), std::string::npos) << engine.FailureDetail();
  EXPECT_EQ(window.OpenWaitDialog(), nullptr);
  EXPECT_TRUE(window.Control(ui::mainid::kDemo)->isEnabled());
  EXPECT_TRUE(window.Messages().empty());

  processor.ClearFaults();
  window.Connect();
  wait([&] { return engine.Connected() && engine.ParamSetRead() && !window.OpenWaitDialog(); });
  EXPECT_TRUE(engine.ParamSetRead());
  EXPECT_TRUE(BodyOf(engine.Image()) == processor.DownloadBody());
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<FaultRow, Via>>& info) {
  return std::string(std::get<0>(info.param).label) +
         (std::get<1>(info.param) == Via::kUsb ? "_Usb" : "_Tcp");
}

INSTANTIATE_TEST_SUITE_P(EveryFault, PanelFaultMatrix,
                         ::testing::Combine(::testing::ValuesIn(kRows),
                                            ::testing::Values(Via::kUsb, Via::kTcp)),
                         CaseName);

}  // namespace
}  // namespace tavelo
