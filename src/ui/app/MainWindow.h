#pragma once
// The main window: the top bar, the navigation row, the pages and the status line. It
// owns the engine and draws it: the 50 ms tick is a timer of this window, the transports
// wake it, and every engine notice arrives through the observer interface below. It keeps
// a list of pages and treats them all alike (PageFactory makes them).
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/engine/Engine.h"
#include "core/text/Lang.h"
#include "platform/RoomSession.h"
#include "ui/app/DemoLink.h"
#include "ui/app/Navigation.h"
#include "ui/app/TopBar.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/SystemPage.h"

class QLabel;
class QTimer;

namespace tavelo::ui {

class MusicPage;
class UnlockDialog;
class WaitDialog;
class SkinButton;
class Page;
class EditTools;

inline constexpr int kClientWidth = 1170;
inline constexpr int kClientHeight = 690;
inline constexpr const char* kVersionText = "V0.04";

class MainWindow : public QWidget, public EngineObserver {
  Q_OBJECT
 public:
  struct Options {
    Lang lang = Lang::kChinese;
    std::string host;  // Wi-Fi endpoint override
    int port = 0;
    std::string paramDir;
    bool startTimer = true;  // tests drive Tick() themselves
  };

  explicit MainWindow(const Options& options, QWidget* parent = nullptr);
  ~MainWindow() override;

  Engine& GetEngine() { return engine_; }
  DemoLink& Demo() { return demo_; }
  TopBar& TopBarWidget() { return *topBar_; }
  EditTools& Edits() { return *edits_; }

  // Link choice and the Connect button.
  void ChooseLink(LinkChoice choice);
  LinkChoice Link() const { return link_; }
  void Connect();

  // The AUTO / Sing / Dance buttons: stores and sends a changed mode, then applies it.
  void ChooseAppMode(int mode);

  // Navigation (a navigation button's click).
  void Navigate(int index);
  int CurrentPage() const { return currentPage_; }
  int SelectedPage() const { return selectedPage_; }
  // The page of a navigation entry; null for "Calibrate" and "Surround Right".
  Page* PageWidget(int navIndex) const;
  MusicPage* FindMusicPage() const;
  SystemPage* FindSystemPage() const;
  // The boost page and its navigation button: made available and selected, or hidden and
  // no longer reachable (the system page's service code and "Delete PC").
  void SetBoostAvailable(bool available);
  bool BoostAvailable() const { return boostAvailable_; }
  SkinButton* NavButton(int index) const { return nav_[static_cast<std::size_t>(index)]; }

  // Language: applied to every label; stored with the user's settings when `store`.
  void SetLanguage(Lang lang, bool store);
  Lang Language() const { return lang_; }

  // The hot-key message: which 1 music, 2 mic, 3 effect, 4 mute; up for F2/F4/F6.
  void Hotkey(int which, bool up);
  void ToggleMute() { topBar_->ToggleMute(); }
  bool Muted() const { return topBar_->Muted(); }

  QWidget* Control(int id) const;
  QString StatusText() const;
  WaitDialog* OpenWaitDialog() const { return wait_; }
  UnlockDialog* OpenUnlockDialog() const { return unlock_; }
  int WaitOpenCount() const { return waitOpens_; }
  int WaitCloseCount() const { return waitCloses_; }
  const std::vector<UserMessage>& Messages() const { return messages_; }
  bool Distributed() const { return distributions_ > 0; }

  // --- EngineObserver ---------------------------------------------------------------
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
  void OnMassUploadProgress(const MassUploadReport& report) override;
  void OnPresetNames() override;
  void OnPcFiles() override;
  void OnLockAdmin(bool locked, int adminMode) override;

 signals:
  void ParameterSetShown();           // a distribution filled the pages
  void StatusChanged(TextId status);  // the status line changed
  void FirstPaint();
  void PageChosen(int navIndex);  // Navigate was asked for a page

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct PageEntry {
    int navIndex;
    Page* page;
  };

  void BuildNavigation();
  void BuildPages();
  PageHost PageHostOf();
  void LayoutNavigation();
  void ApplyLabels();
  // A page posted a block request: the engine sends it, and everyone else who shows a
  // value of the image looks again.
  void PagePosted(const Page* from, const BlockRequest& request);
  void OthersReload(const Page* from);
  std::unique_ptr<Transport> MakeTransport();

  Options options_;
  Lang lang_;
  DemoLink demo_;  // outlives the engine, whose transport may still point into it
  // The engine with the transport of the chosen link; replies announced on a reader thread
  // are handled on this window's.
  RoomSession room_;
  Engine& engine_ = room_.engine();
  LinkChoice link_ = LinkChoice::kUsb;
  QTimer* tick_;

  TopBar* topBar_ = nullptr;
  EditTools* edits_ = nullptr;                  // undo and redo of the pages' edits
  std::unordered_map<int, QWidget*> controls_;  // the window's own: navigation, status
  QLabel* status_ = nullptr;
  std::array<SkinButton*, nav::kNavCount> nav_{};
  std::vector<PageEntry> pages_;
  SysHooks sysHooks_;

  int currentPage_ = 0;
  int selectedPage_ = 0;
  bool boostAvailable_ = false;
  std::optional<int> appMode_;

  WaitDialog* wait_ = nullptr;
  UnlockDialog* unlock_ = nullptr;
  int waitOpens_ = 0;
  int waitCloses_ = 0;
  int distributions_ = 0;
  bool painted_ = false;
  std::vector<UserMessage> messages_;
};

}  // namespace tavelo::ui
