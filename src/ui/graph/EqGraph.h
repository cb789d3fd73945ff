#pragma once
// The drawing side of a page's equaliser graph (the arithmetic is tavelo::EqResponse): owns the
// W x 280 frame and its grid background, the marker images and the bypass stamp, and
// redraws the frame from a band array: background copy, stamp, tone markers, selected
// band area and outline, sum curve, markers (selected on top) and the readout.
#include <QImage>
#include <QPoint>
#include <memory>
#include <vector>

#include "core/eq/EqResponse.h"
#include "core/params/EqBand.h"
#include "ui/graph/MonoText.h"
#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

class EqGraph {
 public:
  EqGraph();
  ~EqGraph();
  EqGraph(const EqGraph&) = delete;
  EqGraph& operator=(const EqGraph&) = delete;

  // Creates the frame (geometry.width x 280), draws the grid into it and keeps a copy as
  // the background. normal / selected: marker image per slot (slot k = band k; a null
  // image is skipped; selected may be empty). The LAST of imageCount slots in `normal`
  // is the bypass stamp. Geometry: tavelo::GraphGeometry::ForWidth(W).
  // `ratio`: the device pixel ratio the frame is drawn for; the frame then has ratio x the
  // pixels (carrying that ratio) while every position stays logical.
  void Init(const tavelo::GraphGeometry& geometry, std::vector<SkinImage> normal,
            std::vector<SkinImage> selected, int imageCount, qreal ratio = ArtRatio());
  // Convenience: numbered markers for slots 0..imageCount-2 and the stamp in the last.
  void InitWithDefaultArt(const tavelo::GraphGeometry& geometry, int imageCount,
                          qreal ratio = ArtRatio());

  // Sum of the bands, then the whole frame.
  void Render(const tavelo::EqBand* bands, int count);
  // Also adds three tone bands to the sum and draws their markers from slot firstToneSlot.
  // A selected index in firstToneSlot..+2 selects a tone band.
  void RenderWithTones(const tavelo::EqBand* bands, int count, const tavelo::EqBand* tones,
                       int firstToneSlot);

  // The band's point (column, row); (0, 0) for index -1.
  QPoint BandPoint(const tavelo::EqBand* bands, int index) const;

  void SetSelectedBand(int index) { selected_ = index; }
  int SelectedBand() const { return selected_; }
  void SetBypassStamp(bool on) { bypassStamp_ = on; }
  bool BypassStamp() const { return bypassStamp_; }
  void SetCurveColour(QRgb rgb) { curveColour_ = rgb & 0x00ffffff; }
  void SetBandColour(QRgb rgb) { bandColour_ = rgb & 0x00ffffff; }
  // Curves drawn over the grid before the equaliser's own (a room fit's measured, target and
  // predicted responses): pixels above the 0 dB row per logical column, NaN where a curve
  // has no value. An empty list draws none.
  struct Overlay {
    std::vector<float> columns;
    QRgb colour = 0;
  };
  void SetOverlays(std::vector<Overlay> overlays) { overlays_ = std::move(overlays); }
  bool HasOverlays() const { return !overlays_.empty(); }
  // The readout of the selected band is drawn by Render unless switched off.
  void SetReadoutEnabled(bool on) { readout_ = on; }

  const QImage& Frame() const { return frame_; }
  qreal Ratio() const { return ratio_; }
  const QImage& Background() const { return background_; }
  const tavelo::GraphGeometry& Geometry() const { return resp_.Geometry(); }
  tavelo::EqResponse& Resp() { return resp_; }
  int ImageCount() const { return imageCount_; }

 private:
  void Draw(const tavelo::EqBand* bands, int count, const tavelo::EqBand* tones, int firstToneSlot);
  void DrawCurveColumns(const tavelo::EqResponse::Curve& curve, QRgb colour, bool area);
  void DrawOverlay(const Overlay& overlay);
  void BlendMarker(const QImage& image, QPoint at);
  int Px(double logical) const;
  const QImage* SlotImage(int slot, bool selected) const;

  tavelo::EqResponse resp_;
  QImage frame_, background_;
  std::vector<SkinImage> normal_, selectedArt_;
  int imageCount_ = 0;
  qreal ratio_ = 1.0;
  int selected_ = -1;
  bool bypassStamp_ = false;
  bool readout_ = true;
  QRgb curveColour_;
  QRgb bandColour_;
  std::unique_ptr<MonoText> readoutFont_;
  std::vector<Overlay> overlays_;
};

}  // namespace tavelo::ui
