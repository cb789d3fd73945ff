#pragma once
// Shows a graph frame (alpha ignored) at its logical size, in as many pixels as it was drawn
// with, and hands its mouse events (logical positions) to a handler. It holds
// no graph logic: the page's handler asks GraphMouse what to do.
#include <QImage>
#include <QWidget>

namespace tavelo::ui {

class GraphMouseHandler {
 public:
  virtual ~GraphMouseHandler() = default;
  virtual void GraphPress(Qt::MouseButton button, QPoint p) = 0;
  virtual void GraphRelease(Qt::MouseButton button, QPoint p) = 0;
  virtual void GraphMove(QPoint p) = 0;
};

class GraphWidget : public QWidget {
  Q_OBJECT
 public:
  explicit GraphWidget(QWidget* parent = nullptr);
  // The frame to show (not owned; typically EqGraph::Frame()). Call Refresh() after a
  // render to copy it to the screen.
  void SetFrame(const QImage* frame);
  void SetHandler(GraphMouseHandler* handler) { handler_ = handler; }
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  const QImage* frame_ = nullptr;
  QImage screen_;
  GraphMouseHandler* handler_ = nullptr;
};

}  // namespace tavelo::ui
