#pragma once
// One page of the main window: a page model over the page's table, the binder that keeps
// its widgets in step, and what the main window asks of every page alike. A page class
// derives from Page (no graph, the system page) or EqPage (graph and band columns), places
// its widgets with Binder() in its constructor, and overrides what it must:
//   - ApplyLanguage: its captions (Binder().ApplyLabels plus its own texts);
//   - Refresh / ReloadChanged / AppModeChanged: only to add what its table cannot say
//     (call the base first).
#include <QWidget>

#include "core/text/Lang.h"
#include "ui/pages/PageBinder.h"
#include "ui/pages/PageModel.h"

namespace tavelo::ui {

class Page : public QWidget {
  Q_OBJECT
 public:
  Page(const PageDefinition& def, ParamImage& image, BlockPoster post, QSize size, QWidget* parent);

  PageModel& Model() { return model_; }
  PageBinder& Binder() { return *binder_; }

  // A complete parameter set arrived: the page holds data from now on and shows it.
  void ShowParameterSet();
  // Reloads everything from the image (start-up, distribution, mode change).
  virtual void Refresh();
  // Shows only what changed in the image (front-panel knobs, another window's change),
  // leaving what the user is typing.
  virtual void ReloadChanged();
  // The application mode changed (per-set controls follow it).
  virtual void AppModeChanged();
  // The user picked the page in the navigation row (the output pages load it afresh).
  virtual void Picked() { ReloadChanged(); }
  virtual void ApplyLanguage(Lang lang);

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Called after the model changed what the graph shows (nothing on pages without one).
  virtual void RenderGraph() {}

 private:
  PageModel model_;
  PageBinder* binder_;
};

}  // namespace tavelo::ui
