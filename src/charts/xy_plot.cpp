#include "charts/xy_plot.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "charts/chart_clicks.h"
#include "charts/chart_colour.h"

namespace q5480 {
namespace {

constexpr QRgb kEmpty = 0xFFFFFFFF;  // white: no point in the trace

// What the control shows for a trace pixel over a frame pixel.
QRgb Shown(QRgb frame, QRgb trace) { return trace == kEmpty ? frame : frame | trace; }

}  // namespace

XyPlot::XyPlot(QWidget* parent) : QWidget(parent) {
  SetUpChartControl(*this, QStringLiteral("In / Out"));
  resize(sizeHint());
}

void XyPlot::PlotPoint(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) return;
  FitImages();
  if (trace_.isNull()) return;
  const PixelPoint at = PlotPixel(x, y, ControlSize(), bipolar_);
  // A big dot is the 2 by 2 square up and left of the point's pixel.
  const QRect dot = BigDot ? QRect(at.X - 1, at.Y - 1, 2, 2) : QRect(at.X, at.Y, 1, 1);
  const QRect onTrace = dot.translated(-1, -1) & trace_.rect();
  const QRgb pen = RgbFromBgr(PenColor);
  for (int ty = onTrace.top(); ty <= onTrace.bottom(); ++ty) {
    for (int tx = onTrace.left(); tx <= onTrace.right(); ++tx) {
      trace_.setPixel(tx, ty, pen);
      picture_.setPixel(tx + 1, ty + 1, Shown(frame_.pixel(tx + 1, ty + 1), pen));
    }
  }
  update(onTrace.translated(1, 1));
}

void XyPlot::SetCrossHairs(double x, double y) {
  if (!crossHairs_ || std::isnan(x) || std::isnan(y)) return;
  const PixelPoint hair = PlotPixel(x, y, ControlSize(), bipolar_);
  if (hair == hair_) return;
  // The lines are never part of the picture: moving them repaints the
  // strips they leave and the strips they cover.
  QRegion changed = HairsRegion(hair);
  if (hair_.X + hair_.Y > 0) changed += HairsRegion(hair_);
  hair_ = hair;
  update(changed);
}

void XyPlot::ClearTrace() {
  FitImages();
  if (!trace_.isNull()) {
    trace_.fill(kEmpty);
    Compose();
  }
  update();
}

void XyPlot::SetBipolar(bool bipolar) {
  if (bipolar == bipolar_) return;
  bipolar_ = bipolar;
  frameStale_ = true;
  update();
}

void XyPlot::SetBgndColor(int shift) {
  bgndColor_ = std::clamp(shift, 0, 100);
  frameStale_ = true;
  update();
}

void XyPlot::SetCrossHairsOn(bool on) {
  crossHairs_ = on;
  if (on) return;
  hair_ = {};
  update();
}

QRegion XyPlot::HairsRegion(PixelPoint hair) const {
  // Rows 3 .. height − 3 of the vertical line, columns 2 .. width − 3 of the
  // horizontal one.
  return QRegion(hair.X, 3, 1, height() - 5) + QRegion(2, hair.Y, width() - 4, 1);
}

void XyPlot::FitImages() {
  const PixelSize traceSize = TraceSize(ControlSize(), bipolar_);
  if (traceSize.Width <= 0 || traceSize.Height <= 0) {
    trace_ = frame_ = picture_ = QImage();
    frameStale_ = true;
    return;
  }
  // A new size empties the trace.
  if (trace_.size() != QSize(traceSize.Width, traceSize.Height)) {
    trace_ = QImage(traceSize.Width, traceSize.Height, QImage::Format_RGB32);
    trace_.fill(kEmpty);
    frameStale_ = true;
  }
  if (!frameStale_ && frame_.size() == size()) return;
  DrawFrame();
  Compose();
  frameStale_ = false;
}

void XyPlot::Compose() {
  picture_ = frame_.copy();
  for (int y = 0; y < trace_.height(); ++y) {
    const auto* trace = reinterpret_cast<const QRgb*>(trace_.constScanLine(y));
    auto* shown = reinterpret_cast<QRgb*>(picture_.scanLine(y + 1)) + 1;
    for (int x = 0; x < trace_.width(); ++x) shown[x] = Shown(shown[x], trace[x]);
  }
}

void XyPlot::paintEvent(QPaintEvent* event) {
  FitImages();
  QPainter control(this);
  const QRect area = event->rect();
  control.drawImage(area.topLeft(), picture_, area);
  if (!crossHairs_ || hair_.X + hair_.Y <= 0) return;
  control.setPen(ColourFromBgr(HairsColor));
  control.drawLine(hair_.X, height() - 3, hair_.X, 3);
  control.drawLine(2, hair_.Y, width() - 3, hair_.Y);
}

}  // namespace q5480
