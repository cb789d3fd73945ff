#pragma once
// A page with an equaliser graph across its top and band columns under it (every
// processing page but the system page). The graph follows the page model; mouse edits on
// it go through the model's band rules like any other edit.
#include <QDialog>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "ui/graph/EqGraph.h"
#include "ui/graph/GraphMouse.h"
#include "ui/graph/GraphWidget.h"
#include "ui/pages/Page.h"

namespace tavelo::ui {

inline constexpr int kPageGraphHeight = 280;

class SkinButton;
class FitDialog;

class EqPage : public Page, public GraphMouseHandler {
  Q_OBJECT
 public:
  // `graphSlots`: marker image slots of the graph, the last one being the bypass stamp.
  EqPage(const PageDefinition& def, ParamImage& image, BlockPoster post, QSize size, int graphSlots,
         QWidget* parent);
  ~EqPage() override;

  GraphWidget* Graph() const { return graph_; }
  EqGraph& View() { return view_; }
  const GraphMouse& Mouse() const { return mouse_; }

  // "Import filters..." / "Export filters...": a room-measurement filter text into the band
  // array shown now, or that array into one. The message box tells the outcome; the
  // message is returned as well.
  QString ImportFilters(const QString& path);
  QString ExportFilters(const QString& path);
  SkinButton* ImportButton() const { return import_; }
  SkinButton* ExportButton() const { return export_; }
  // "Fit to measurement...": its button (null where the fit is not built in), and the
  // dialog it opens (the dialog is the page's child; null when none is open).
  SkinButton* FitButton() const { return fit_; }
  FitDialog* OpenFitDialog();
  FitDialog* OpenedFitDialog() const;

  // What a fit of the band array on show may use and set.
  int FitBandCount();
  bool CanSetBands();
  // All equaliser bands of the array on show as one edit; false while the page edits none.
  bool SetBands(const std::vector<EqBand>& bands);
  std::string ShownSetName(Lang lang);
  // A proposal on the graph, nothing stored: `bands` in place of the first bands, and
  // curves drawn with them, until ClearPreview().
  void ShowPreview(std::vector<EqGraph::Overlay> overlays, std::vector<EqBand> bands);
  void ClearPreview();
  bool Previewing() const { return !previewBands_.empty(); }

  // Pages that have captions of their own call this first.
  void ApplyLanguage(Lang lang) override;

  // Redraws the graph for a screen of `ratio` when it was drawn for another one (the window
  // moved to a screen with another scale); the graph keeps its size in points.
  void DrawGraphFor(qreal ratio);

  void GraphPress(Qt::MouseButton button, QPoint p) override;
  void GraphRelease(Qt::MouseButton button, QPoint p) override;
  void GraphMove(QPoint p) override;

 protected:
  void RenderGraph() override;
  bool event(QEvent* event) override;

 private:
  GraphBandSet BandSet();
  void Apply(const GraphEdit& edit);
  bool MouseEditing();
  void ChooseFilterFile(bool save);

  EqGraph view_;
  int graphSlots_;
  GraphMouse mouse_;
  GraphWidget* graph_;
  SkinButton* import_;
  SkinButton* export_;
  SkinButton* fit_ = nullptr;
  QPointer<QDialog> fitDialog_;
  std::vector<EqBand> previewBands_;
  Lang lang_ = Lang::kEnglish;
};

}  // namespace tavelo::ui
