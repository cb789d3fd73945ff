#pragma once
// The shape the echo and reverb pages share: the effect's graph, five band columns with
// Q spins, bypass and reset under them, and the effect's parameter rows in two columns
// beside them (slider, readout or frequency edit, and an on/off switch where the row has
// one), with the "Adj Manner:" row that hands the quick values back from the front panel.
// A page gives its table, where each row goes and which quick values its knobs report.
#include <array>
#include <span>
#include <vector>

#include "core/text/Labels.h"
#include "ui/pages/EffectPageTable.h"
#include "ui/pages/EqPage.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/PageLabels.h"

class QLabel;

namespace tavelo::ui {

// Where one parameter row of an effect page goes.
struct EffectRowPlace {
  int slider = kNoControl;
  int readout = kNoControl;
  bool frequencyEdit = false;  // the readout is an edit that takes a typed frequency
  int onSwitch = kNoControl;   // its on/off switch (bit 7 of a level byte), if any
  int column = 0;              // 0 or 1
  int row = 0;
};

struct EffectLayout {
  nav::PageKind labels = nav::PageKind::kEcho;
  Label eqCaption = Label::kEchoEq;
  Label paramCaption = Label::kEchoParameter;
  std::span<const EffectRowPlace> rows;
  std::span<const effect::QuickSlider> quick;
  std::array<int, 3> FrontPanel::*quickValues = &FrontPanel::echoQuick;
  int adjustRow = 0;  // row of column 1 that holds the "Adj Manner:" caption and button
};

class EffectPage : public EqPage {
  Q_OBJECT
 public:
  static constexpr int kGraphSlots = 18;  // 7 bands; the stamp in slot 17

  EffectPage(const PageDefinition& def, const EffectLayout& layout, ParamImage& image,
             BlockPoster post, PageHost host, QSize size, QWidget* parent);

  void Refresh() override;
  void ReloadChanged() override;
  void ApplyLanguage(Lang lang) override;

 protected:
  const PageHost& Host() const { return host_; }
  // The caption and control rectangles of a parameter row (for a page's own rows).
  static QRect CaptionRect(int column, int row);
  static QRect ControlRect(int column, int row);
  // A caption shown in the current language, kept for language changes.
  QLabel* OwnCaption(QRect rect, Label label);

 private:
  void PlaceBandColumns();
  void PlaceRows();
  void ShowAdjustRow();

  EffectLayout layout_;
  PageHost host_;
  struct Caption {
    QLabel* label;
    Label text;
  };
  std::vector<Caption> captions_;
  QLabel* adjustCaption_ = nullptr;
};

}  // namespace tavelo::ui
