#pragma once
// A processing page with an equaliser: the graph across its top, the model that holds the
// shared page rules, and the binder that keeps its widgets in step. Page classes derive
// from it and only place their controls and captions.
#include <QWidget>
#include <memory>

#include "core/text/Lang.h"
#include "ui/graph/CRespView.h"
#include "ui/graph/GraphMouse.h"
#include "ui/graph/GraphWidget.h"
#include "ui/pages/PageBinder.h"
#include "ui/pages/PageModel.h"

namespace tavelo::ui {

inline constexpr int kPageGraphHeight = 280;

class CEqPage : public QWidget, public GraphMouseHandler {
  Q_OBJECT
 public:
  // `graphSlots`: marker image slots of the graph, the last one being the bypass stamp.
  CEqPage(const PageDefinition& def, ParamImage& image, BlockPoster post, QSize size,
          int graphSlots, QWidget* parent);
  ~CEqPage() override;

  PageModel& Model() { return model_; }
  PageBinder& Binder() { return *binder_; }
  GraphWidget* Graph() const { return graph_; }
  CRespView& View() { return view_; }
  const GraphMouse& Mouse() const { return mouse_; }

  // Reload everything from the image (after a distribution or a status change).
  virtual void Refresh();
  virtual void ApplyLanguage(Lang lang) = 0;

  void GraphPress(Qt::MouseButton button, QPoint p) override;
  void GraphRelease(Qt::MouseButton button, QPoint p) override;
  void GraphMove(QPoint p) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void RenderGraph();

 private:
  GraphBandSet BandSet() const;
  void Apply(const GraphEdit& edit);

  PageModel model_;
  CRespView view_;
  GraphMouse mouse_;
  GraphWidget* graph_;
  PageBinder* binder_;
};

}  // namespace tavelo::ui
