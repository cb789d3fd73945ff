#pragma once
// Creates a page's skinned widgets by control id and keeps them in step with the page
// model: user input goes to the model by id, and whatever the model writes into its
// control store (text, position, range, lit, shown, enabled) is shown by the widget of
// that id. Pages only place widgets; ranges and values come from their tables.
#include <QObject>
#include <QRect>
#include <QStringList>
#include <unordered_map>
#include <vector>

#include "ui/controls/ButtonModel.h"
#include "ui/pages/PageLabels.h"
#include "ui/pages/PageModel.h"
#include "ui/skin/SkinArt.h"

class QLabel;
class QWidget;

namespace tavelo::ui {

class SkinButton;
class SkinSlider;
class QStepArrows;
class SkinComboBox;
class SkinEdit;

// The caption alignment of a button look: type buttons right, bypass and mute buttons
// left, every other button centred.
int ButtonStyleOf(ButtonLook look);

class PageBinder : public QObject {
  Q_OBJECT
 public:
  PageBinder(PageModel& model, QWidget* page);

  // A slider whose range, position and highlight are the model's.
  SkinSlider* Slider(int id, QRect rect, bool vertical);
  SkinEdit* Edit(int id, QRect rect, bool readOnly = false);
  QLabel* Readout(int id, QRect rect);
  SkinButton* Button(int id, QRect rect, const QString& text, ButtonLook look = ButtonLook::kGrey);
  SkinComboBox* List(int id, QRect rect, const QStringList& items);
  // A pass-filter slope list: "bypass" and the seven slope names, index = slope code.
  SkinComboBox* SlopeList(int id, QRect rect);
  QStepArrows* Spin(int id, QRect rect);
  // A static caption; with captionOf set it is the caption the label tables bind to
  // that control, and it is shown and hidden with it.
  QLabel* Caption(QRect rect, const QString& text, int captionOf = kNoControl);

  QWidget* Widget(int id) const;
  int IdOf(const QObject* widget) const;
  QLabel* CaptionOf(int id) const;

  // Shows the model's values on every widget.
  void SyncAll();
  // Every caption of `page` in `lang`: its rows' labels and its own bindings.
  void ApplyLabels(nav::PageKind page, Lang lang);
  // The slope lists' entries in `lang`, each keeping its choice and posting nothing.
  void ApplySlopeLanguage(Lang lang);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Add(int id, QWidget* widget);
  std::vector<int> slopeLists_;
  void Sync(int id);
  bool Wheel(QObject* watched, QEvent* event);

  PageModel& model_;
  QWidget* page_;
  std::unordered_map<int, QWidget*> widgets_;
  std::unordered_map<const QObject*, int> ids_;
  std::unordered_map<int, QLabel*> captions_;
};

}  // namespace tavelo::ui
