#include "ui/graph/EqGraph.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/graph/GraphBackground.h"
#include "ui/graph/GraphLayout.h"
#include "ui/skin/Blend.h"
#include "ui/skin/SkinArt.h"

namespace tavelo::ui {
namespace {

// Row of a curve value in pixels; wild values (a band the processor sent with 0 Hz or
// Q 0) land far off the plot instead of overflowing the conversion.
int CurveRow(int zeroRow, float value) {
  float row = static_cast<float>(zeroRow) - value;
  if (!(row > -10000.0f)) row = -10000.0f;  // also catches NaN
  if (row > 10000.0f) row = 10000.0f;
  return static_cast<int>(row);
}

}  // namespace

EqGraph::EqGraph() : curveColour_(kDefaultCurveColour), bandColour_(kDefaultBandColour) {}
EqGraph::~EqGraph() = default;

void EqGraph::Init(const tavelo::GraphGeometry& geometry, std::vector<SkinImage> normal,
                   std::vector<SkinImage> selected, int imageCount, qreal ratio) {
  ratio_ = ratio > 0 ? ratio : 1.0;
  resp_.SetGeometry(geometry);
  DrawGraphBackground(frame_, geometry, ratio_);
  background_ = frame_.copy();
  // Pictures drawn for another ratio are resampled once here, not at every render.
  for (auto* art : {&normal, &selected})
    for (SkinImage& image : *art)
      if (!image.IsNull()) image = SkinImage(image.At(ratio_));
  normal_ = std::move(normal);
  selectedArt_ = std::move(selected);
  imageCount_ = std::max(imageCount, 0);
  readoutFont_ = std::make_unique<MonoText>(Px(kReadoutFontPixels));
}

void EqGraph::InitWithDefaultArt(const tavelo::GraphGeometry& geometry, int imageCount,
                                 qreal ratio) {
  const int markers = std::max(imageCount - 1, 0);
  std::vector<SkinImage> normal = MarkerSet(markers, false, ratio);
  normal.push_back(tavelo::ui::BypassStamp(ratio));
  Init(geometry, std::move(normal), MarkerSet(markers, true, ratio), imageCount, ratio);
}

int EqGraph::Px(double logical) const {
  return Pixels(logical, ratio_);
}

QPoint EqGraph::BandPoint(const tavelo::EqBand* bands, int index) const {
  if (index < 0 || bands == nullptr) return {0, 0};
  return BandPointOf(resp_.Geometry(), bands[index]);
}

const QImage* EqGraph::SlotImage(int slot, bool selected) const {
  // The last slot in use is the stamp, never a marker.
  if (slot < 0 || slot >= imageCount_ - 1) return nullptr;
  if (selected && slot < static_cast<int>(selectedArt_.size()) && !selectedArt_[slot].IsNull()) {
    return &selectedArt_[slot].Image();
  }
  if (slot < static_cast<int>(normal_.size()) && !normal_[slot].IsNull()) {
    return &normal_[slot].Image();
  }
  return nullptr;
}

void EqGraph::BlendMarker(const QImage& image, QPoint at) {
  BlendImage(frame_, image, Px(at.x()) - image.width() / 2, Px(at.y()) - image.height() / 2);
}

void EqGraph::Render(const tavelo::EqBand* bands, int count) {
  resp_.SumBandCurves(bands, count);
  Draw(bands, count, nullptr, -1);
}

void EqGraph::RenderWithTones(const tavelo::EqBand* bands, int count, const tavelo::EqBand* tones,
                              int firstToneSlot) {
  resp_.SumBandCurves(bands, count);
  if (tones != nullptr) resp_.AddBandCurves(tones);
  Draw(bands, count, tones, firstToneSlot);
}

void EqGraph::DrawCurveColumns(const tavelo::EqResponse::Curve& curve, QRgb colour, bool area) {
  const tavelo::GraphGeometry& g = resp_.Geometry();
  const int zero = Px(g.ZeroRow());
  const int line = LineWidth(ratio_);
  const int lo = Px(g.top - 1), hi = Px(g.bottom + 1) + line - 1;  // rows 29..251 only
  const int width = std::min(Px(g.width), frame_.width());
  // The curve is known per logical column; a hi-dpi frame takes the values between them
  // on the straight line joining them (at ratio 1 every column is a known one).
  const int lastColumn = std::min(g.width, tavelo::EqResponse::kMaxColumns) - 1;
  const auto rowAt = [&](int x) {
    const double u = std::clamp(x / ratio_, static_cast<double>(g.xStart),
                                static_cast<double>(std::max(lastColumn, g.xStart)));
    const int i = static_cast<int>(u);
    const double f = u - i;
    float value = curve[static_cast<std::size_t>(i)];
    if (f > 0 && i + 1 <= lastColumn)
      value = static_cast<float>(value * (1 - f) + curve[static_cast<std::size_t>(i + 1)] * f);
    return CurveRow(zero, value * static_cast<float>(ratio_));
  };
  int prev = rowAt(Px(g.xStart));
  for (int x = Px(g.xStart) + 1; x < width; ++x) {
    const int y = rowAt(x);
    if (area) {
      BlendColumn(frame_, x - 1, std::max(std::min(zero, y), lo),
                  std::min(std::max(zero, y), hi + 1), colour, kBandAreaAlpha);
    }
    PaintColumn(frame_, x - 1, std::max(std::min(prev, y), lo),
                std::min(std::max(prev, y) + line - 1, hi), colour);
    prev = y;
  }
}

void EqGraph::DrawOverlay(const Overlay& overlay) {
  const tavelo::GraphGeometry& g = resp_.Geometry();
  const int zero = Px(g.ZeroRow());
  const int line = LineWidth(ratio_);
  const int lo = Px(g.top - 1), hi = Px(g.bottom + 1) + line - 1;
  const int width = std::min(Px(g.width), frame_.width());
  const int lastColumn = std::min<int>(g.width, static_cast<int>(overlay.columns.size())) - 1;
  if (lastColumn < g.xStart) return;
  // As DrawCurveColumns, but a column without a value breaks the line.
  const auto valueAt = [&](int x) {
    const double u = x / ratio_;
    if (u < g.xStart || u > lastColumn) return std::numeric_limits<float>::quiet_NaN();
    const int i = static_cast<int>(u);
    const double f = u - i;
    float value = overlay.columns[static_cast<std::size_t>(i)];
    if (f > 0 && i + 1 <= lastColumn) {
      value = static_cast<float>(value * (1 - f) +
                                 overlay.columns[static_cast<std::size_t>(i + 1)] * f);
    }
    return value;
  };
  bool drawing = false;
  int prev = 0;
  for (int x = Px(g.xStart); x < width; ++x) {
    const float value = valueAt(x);
    if (std::isnan(value)) {
      drawing = false;
      continue;
    }
    const int y = CurveRow(zero, value * static_cast<float>(ratio_));
    if (!drawing) prev = y;
    drawing = true;
    const int top = std::max(std::min(prev, y), lo);
    const int bottom = std::min(std::max(prev, y) + line - 1, hi);
    if (top <= bottom) PaintColumn(frame_, x, top, bottom, overlay.colour);
    prev = y;
  }
}

void EqGraph::Draw(const tavelo::EqBand* bands, int count, const tavelo::EqBand* tones,
                   int firstToneSlot) {
  if (frame_.isNull()) return;
  CopyWhole(frame_, background_);

  const QImage* stamp = imageCount_ > 0 && imageCount_ - 1 < static_cast<int>(normal_.size()) &&
                                !normal_[imageCount_ - 1].IsNull()
                            ? &normal_[imageCount_ - 1].Image()
                            : nullptr;
  if (bypassStamp_ && stamp != nullptr) {
    BlendImage(frame_, *stamp, (frame_.width() - stamp->width()) / 2,
               (frame_.height() - stamp->height()) / 2);
  }

  // The selected band may be one of the array or, from firstToneSlot on, a tone band.
  const tavelo::EqBand* selected = nullptr;
  if (selected_ >= 0 && selected_ < count && bands != nullptr) {
    selected = &bands[selected_];
  } else if (tones != nullptr && selected_ >= firstToneSlot && selected_ < firstToneSlot + 3) {
    selected = &tones[selected_ - firstToneSlot];
  }

  const tavelo::GraphGeometry& g = resp_.Geometry();
  if (tones != nullptr) {
    for (int i = 0; i < 3; ++i) {
      const int slot = firstToneSlot + i;
      const QImage* image = SlotImage(slot, false);
      if (slot != selected_ && image != nullptr) BlendMarker(*image, BandPointOf(g, tones[i]));
    }
  }

  for (const Overlay& overlay : overlays_) DrawOverlay(overlay);

  if (selected != nullptr && resp_.ComputeBandCurve(*selected, resp_.ScratchCurve())) {
    DrawCurveColumns(resp_.ScratchCurve(), bandColour_, true);
  }
  DrawCurveColumns(resp_.SumCurve(), curveColour_, false);

  for (int k = 0; k < count && bands != nullptr; ++k) {
    const QImage* image = SlotImage(k, false);
    if (k != selected_ && image != nullptr) BlendMarker(*image, BandPointOf(g, bands[k]));
  }
  if (selected != nullptr) {
    const QImage* image = SlotImage(selected_, true);
    if (image != nullptr) BlendMarker(*image, BandPointOf(g, *selected));
    if (readout_ && readoutFont_) {
      const Readout r = ReadoutOf(g, *selected);
      for (int i = 0; i < r.count; ++i) {
        readoutFont_->Draw(frame_, Px(r.lines[i].at.x()), Px(r.lines[i].at.y()), r.lines[i].text,
                           kReadoutColour);
      }
    }
  }
}

}  // namespace tavelo::ui
