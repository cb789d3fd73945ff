#pragma once
// The top bar of the main window: Connect and the link choice, Mute, the three media key
// buttons, the level sliders with their values, the adjust-manner controls, the mode
// buttons, the input source with its status indicator. It edits the engine's image
// through its own rules (TopBarRules, the catalogue) and tells the window what the window
// must pass on (Connect, a link choice, a mode, a changed shared value).
#include <QWidget>
#include <unordered_map>

#include "core/engine/Engine.h"
#include "core/text/Lang.h"

class QLabel;

namespace tavelo::ui {

class SkinButton;
class SkinComboBox;

// Top-bar control ids.
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

inline constexpr int kTopBarHeight = 56;

class TopBar : public QWidget {
  Q_OBJECT
 public:
  TopBar(Engine& engine, int width, QWidget* parent);

  QWidget* Control(int id) const;
  SkinButton* ConnectButton() const { return connect_; }

  void ShowLink(LinkChoice choice);
  void SetLinkEnabled(bool enabled);
  void ShowLevels(const TopBarValues& values);
  void ShowLevelsOfImage();
  void ShowInputSource();
  // Status-poll indicator byte: the play key's lit state.
  void ShowIndicator(std::uint8_t indicator);
  void ShowAdjustManner();
  void ShowAppMode(int mode);
  void HideAppModeButtons();
  void ApplyLanguage(Lang lang);

  // The volume hot keys: which 1 music, 2 mic, 3 effect; up for F2, F4, F6.
  void Hotkey(int which, bool up);
  void ToggleMute();
  bool Muted() const { return muted_; }

 signals:
  void ConnectClicked();
  void LinkChosen(LinkChoice choice);
  void AppModeChosen(int mode);
  // The top bar changed a value that pages show too (the input source).
  void ValuesChanged();
  // The user changed a value of the image here (a level, the input source); emitted after
  // the image is written and before its block is posted, so undo can take it back.
  void Edited();

 private:
  // The constructor's rows, left to right.
  void BuildLinkAndKeyButtons();
  void BuildLevels();
  void BuildAdjustAndModes();
  void BuildInputSource();
  SkinButton* AddButton(int id, QRect rect, const QString& text);
  void LevelSliderMoved(int id, int position);
  void ShowLevel(int slider, int value);
  void ShowKeyButtons();

  Engine& engine_;
  std::unordered_map<int, QWidget*> controls_;
  SkinButton* connect_ = nullptr;
  SkinComboBox* input_ = nullptr;
  QLabel* inputStatus_ = nullptr;
  bool muted_ = false;
  std::uint8_t indicator_ = 0;
};

}  // namespace tavelo::ui
