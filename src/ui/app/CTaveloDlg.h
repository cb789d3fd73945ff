#pragma once
// The main window: top bar (link, mute, key buttons, level sliders, adjust manner, mode
// buttons, input source), the navigation row, ten page slots and the status line. It owns
// the engine and draws it: the 50 ms tick is a timer of this window, the transports wake
// it, and every engine notice arrives through the observer interface below.
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/engine/Engine.h"
#include "core/text/Lang.h"
#include "ui/app/DemoLink.h"
#include "ui/app/Navigation.h"

class QLabel;
class QTimer;

namespace tavelo::ui {

class CDlgMusic;
class CDlgUnlock;
class CDlgWait;
class CMyBtn;
class CMySlider;
class CSkinComboBox;

enum class LinkChoice { kUsb, kWifi, kDemo };

// Main-window control ids.
namespace mainid {
inline constexpr int kConnect = 1001, kStatus = 1002, kVersion = 1005;
inline constexpr int kUsb = 1817, kWifi = 1818, kDemo = 1829;
inline constexpr int kMute = 1826;
// Media keys, left to right: previous (code 6 with 0), play / pause (2, latching, lit by
// the status indicator), next (1).
inline constexpr int kKeyPrevious = 1950, kKeyPlay = 1951, kKeyNext = 1952;
inline constexpr int kVr = 1827, kParam = 1828, kAdjManner = 1376;
inline constexpr int kAuto = 1822, kSing = 1823, kDance = 1824;
inline constexpr int kAppModeButtons[3] = {1820, 1821, 1825};
inline constexpr int kInputSource = 1859;
inline constexpr int kMusicCaption = 1372, kMicCaption = 1373, kEffectCaption = 1374,
                     kMainCaption = 1375;
}  // namespace mainid

inline constexpr int kClientWidth = 1170;
inline constexpr int kClientHeight = 690;
inline constexpr const char* kVersionText = "V0.04";

class CTaveloDlg : public QWidget, public EngineObserver {
  Q_OBJECT
 public:
  struct Options {
    Lang lang = Lang::kChinese;
    std::string host;  // Wi-Fi endpoint override
    int port = 0;
    std::string paramDir;
    bool startTimer = true;  // tests drive Tick() themselves
  };

  explicit CTaveloDlg(const Options& options, QWidget* parent = nullptr);
  ~CTaveloDlg() override;

  Engine& GetEngine() { return engine_; }
  DemoLink& Demo() { return demo_; }

  // Link choice and the Connect button.
  void ChooseLink(LinkChoice choice);
  LinkChoice Link() const { return link_; }
  void Connect();

  // Navigation (a navigation button's click).
  void Navigate(int index);
  int CurrentPage() const { return currentPage_; }
  int SelectedPage() const { return selectedPage_; }
  QWidget* PageWidget(int navIndex) const;
  CDlgMusic* MusicPage() const { return music_; }
  CMyBtn* NavButton(int index) const { return nav_[static_cast<std::size_t>(index)]; }

  // Language: applied to every label; stored with the user's settings when `store`.
  void SetLanguage(Lang lang, bool store);
  Lang Language() const { return lang_; }

  // The hot-key message: which 1 music, 2 mic, 3 effect, 4 mute; up for F2/F4/F6.
  void Hotkey(int which, bool up);
  void ToggleMute();
  bool Muted() const { return muted_; }

  QWidget* Control(int id) const;
  QString StatusText() const;
  CDlgWait* WaitDialog() const { return wait_; }
  CDlgUnlock* UnlockDialog() const { return unlock_; }
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
  void OnMassUploadProgress(int file, int count) override;

 signals:
  void ParameterSetShown();           // a distribution filled the pages
  void StatusChanged(TextId status);  // the status line changed
  void FirstPaint();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildTopBar();
  void BuildNavigation();
  void BuildPages();
  void LayoutNavigation();
  void ApplyLabels();
  void PostBlock(int code, const BlockArg& arg);
  void LevelSliderMoved(int id, int position);
  void ShowTopBar(const TopBarValues& values);
  void ShowInputSource();
  void ShowKeyButtons();
  void ShowAdjustManner();
  void ChooseAppMode(int mode);
  std::unique_ptr<Transport> MakeTransport();
  CMyBtn* AddButton(int id, QRect rect, const QString& text);

  Options options_;
  Lang lang_;
  DemoLink demo_;  // outlives the engine, whose transport may still point into it
  Engine engine_;
  LinkChoice link_ = LinkChoice::kUsb;
  QTimer* tick_;

  std::unordered_map<int, QWidget*> controls_;
  CMyBtn* connect_ = nullptr;
  QLabel* status_ = nullptr;
  std::array<CMyBtn*, nav::kNavCount> nav_{};
  std::array<QWidget*, nav::kNavCount> pages_{};  // null for Calibrate and Surround Right
  CDlgMusic* music_ = nullptr;
  CSkinComboBox* input_ = nullptr;

  int currentPage_ = 0;
  int selectedPage_ = 0;
  bool boostAvailable_ = false;
  std::optional<int> appMode_;
  bool muted_ = false;
  std::uint8_t indicator_ = 0;

  CDlgWait* wait_ = nullptr;
  CDlgUnlock* unlock_ = nullptr;
  int waitOpens_ = 0;
  int waitCloses_ = 0;
  int distributions_ = 0;
  bool painted_ = false;
  std::vector<UserMessage> messages_;
};

}  // namespace tavelo::ui
