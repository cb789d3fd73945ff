#pragma once
// The system page: the processor's user modes, the PC presets, the volume limits and
// start-up volumes, the record-mixer output levels, the lock key and admin mode, the
// language, the Bluetooth name, the startup logo, the power mode, "volmode" and the
// Wi-Fi settings. A page without a graph: its sliders and level switches are rows of the
// page framework (SysPageTable); everything else is SysPageLogic, which this class only
// draws and feeds. The preset tools (A/B, compare, report, mass upload) are SystemTools,
// which the page places below its volumes.
#include <QStringList>
#include <vector>

#include "platform/WifiEndpoint.h"
#include "ui/pages/Page.h"
#include "ui/system/SysPageLogic.h"
#include "ui/tools/SystemTools.h"

class QTreeWidget;

namespace tavelo::ui {

class SkinButton;
class SkinComboBox;
class SkinEdit;

// What only the main window can do for the system page.
struct SysHooks {
  Engine* engine = nullptr;                      // the page works on the engine itself
  std::function<void(Lang lang)> setLanguage;    // every window, stored for next time
  std::function<void(bool available)> setBoost;  // the boost page and its button
  NetEndpoint moduleEndpoint;                    // where the Wi-Fi dialog starts
  std::function<void()> imageSwitched;           // A/B replaced the image: all look again
  std::function<void()> edited;  // the page wrote a value into the image outside its table
};

class SystemPage : public Page {
  Q_OBJECT
 public:
  SystemPage(Engine& engine, BlockPoster post, SysHooks hooks, QSize size, QWidget* parent);

  SysPageLogic& Logic() { return logic_; }
  // A/B, the comparison, the report and the mass upload, placed on this page.
  SystemTools& Tools() { return tools_; }
  // The engine's state changed (lock, admin, preset names, PC files, language): redraw.
  void ShowEngineState();
  void Refresh() override;
  // Also the power mode, which an undo may have put back.
  void ReloadChanged() override;
  void ApplyLanguage(Lang lang) override;

  QWidget* Control(int id) const;
  QTreeWidget* PcList() const { return pcList_; }
  // Texts of the message boxes and questions the page has shown, in order.
  const QStringList& Shown() const { return shown_; }

 private:
  void Build();
  void BuildModes();
  void BuildPcPresets();
  void BuildVolumes();
  void BuildLockAndAdmin();
  void BuildLanguageAndNames();
  void Title(int x, int y, Label label);
  SkinEdit* Field(int id, QRect rect);
  void Connect(int id, void (SysPageLogic::*action)());
  void EditChanged(int id, const QString& text);
  void ShowModes();
  void ShowPcFiles();
  void PcListMenu(const QPoint& at);
  void OpenWifi();
  void Say(const std::string& caption, const std::string& text);
  void Ask(const std::string& caption, const std::string& text, bool okCancel,
           std::function<void()> onYes);

  Engine& engine_;
  SysHooks hooks_;
  SysPageLogic logic_;
  SystemTools tools_;
  Lang lang_ = Lang::kEnglish;
  QTreeWidget* pcList_ = nullptr;
  QStringList shown_;
  struct Caption {
    QLabel* label;
    Label text;
  };
  std::vector<Caption> titles_;
};

}  // namespace tavelo::ui
