#pragma once
// The output page shared by the main, surround, centre and subwoofer outputs: the graph,
// the band columns (Q spins kept hidden), and the "Output", "Mixer", "Comp" and "Xover"
// groups, all framed from one frame picture. The page's table says which values it edits;
// the rules are the page model's. The page adds only what follows the output display
// selector: the delay range and the "Delay" / "Distance" captions.
#include <QLabel>
#include <unordered_map>
#include <vector>

#include "ui/pages/EqPage.h"
#include "ui/pages/OutputPageTable.h"
#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

class OutputPage : public EqPage {
  Q_OBJECT
 public:
  static constexpr int kGraphSlots = 18;  // up to 9 bands; the stamp in the last slot

  OutputPage(const output::OutputPageSpec& table, ParamImage& image, BlockPoster post, QSize size,
             QWidget* parent);

  const output::OutputPageSpec& Table() const { return table_; }
  // The page rectangle of a group frame (by its frame id), empty if the page has none.
  QRect FrameRect(int frameId) const;
  // A caption static by its own id (group captions, column labels, slider captions).
  QLabel* Static(int id) const;

  void Refresh() override;
  void ReloadChanged() override;
  void AppModeChanged() override;
  void ApplyLanguage(Lang lang) override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildEq(QRect frame);
  int BuildOutput(int x, int y);
  int BuildMixer(int x, int y);
  int BuildComp(int x, int y);
  int BuildXover(int x, int y);
  void Group(const output::Group& group, QRect rect);
  void SliderRow(int x, int y, int caption, int slider, int readout, int toggle);
  QLabel* AddStatic(int id, QRect rect);
  // Delay range and captions follow the output display selector.
  void ShowDelays();

  const output::OutputPageSpec& table_;
  ParamImage& image_;
  Lang lang_ = Lang::kEnglish;
  SkinImage frame_;
  std::vector<std::pair<int, QRect>> frames_;
  std::unordered_map<int, QLabel*> statics_;
};

// The four pages by the names their windows are known by.
class MainOutputPage : public OutputPage {
  Q_OBJECT
 public:
  MainOutputPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent);
};
class SurroundPage : public OutputPage {
  Q_OBJECT
 public:
  SurroundPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent);
};
class CentrePage : public OutputPage {
  Q_OBJECT
 public:
  CentrePage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent);
};
class SubwooferPage : public OutputPage {
  Q_OBJECT
 public:
  SubwooferPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent);
};

}  // namespace tavelo::ui
