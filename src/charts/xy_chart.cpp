#include "charts/xy_chart.h"

#include <QDateTime>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "charts/chart_colour.h"

namespace q5480 {
namespace {

ChartTimeStamp LocalNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return {now.time().msecsSinceStartOfDay(), static_cast<std::int32_t>(now.date().toJulianDay())};
}

int PlotWidth(const PixelRect& plot) { return plot.Right - plot.Left; }
int PlotHeight(const PixelRect& plot) { return plot.Bottom - plot.Top; }

// Points a strip `width` pixels wide (right minus left) holds: width + 1,
// but one even when the plot is too small to show it.
std::size_t StripCapacity(int width) { return static_cast<std::size_t>(std::max(width + 1, 1)); }

}  // namespace

XyChart::XyChart(QWidget* parent) : CustomChart(parent), clock_(LocalNow), nextTime_(clock_()) {}

void XyChart::SetClock(Clock clock) {
  clock_ = std::move(clock);
  nextTime_ = clock_();
}

void XyChart::SetChartType(ChartKind type) {
  if (type == chartType_) return;
  chartType_ = type;
  RepaintAll();
}

void XyChart::SetInterval(double seconds) {
  interval_ = seconds > 0 ? std::min(seconds, 3600.0) : 0.0;  // NaN too becomes 0
}

PixelRect XyChart::GetChartRect() const {
  const ValueRange range{minY_, maxY_};
  const ChartRectCache* cache = chartRectCache_ ? &*chartRectCache_ : nullptr;
  if (cache != nullptr && cache->size == size() && cache->range == range &&
      cache->decimalSeparator == DecimalSeparator() && cache->font == font() &&
      cache->yLabelFont == YLabelFont()) {
    return cache->rect;
  }
  const QFontMetrics metrics(font());
  const PixelRect rect = ChartRect(width(), height(), YLabelHeight(), range, DecimalSeparator(),
                                   [&metrics](const std::string& text) {
                                     return metrics.horizontalAdvance(QString::fromStdString(text));
                                   });
  chartRectCache_ = ChartRectCache{size(), range, DecimalSeparator(), font(), YLabelFont(), rect};
  return rect;
}

PixelRect XyChart::GetPlotRect() const { return PlotRect(GetChartRect(), width()); }

double XyChart::ValueToHeight(double value) const {
  return q5480::ValueToHeight(value, {minY_, maxY_}, GetPlotRect());
}

std::string XyChart::FormatScaleValue(double value) const {
  return q5480::FormatScaleValue(value, DecimalSeparator());
}

int XyChart::Row(double value, const PixelRect& plot) const {
  return ValueToRow(value, {minY_, maxY_}, plot);
}

bool XyChart::AddValue(double value, std::uint32_t colour) {
  if (!IsPointDue(nextTime_, interval_, clock_())) return false;
  const PixelRect plot = GetPlotRect();
  const int w = PlotWidth(plot);
  const int h = PlotHeight(plot) + 1;
  // A strip grown narrower since it was drawn is drawn afresh.
  if (FitPointsToStrip(w)) RepaintAll();
  const std::size_t c = points_.Count();
  // The strip holds w + 1 points; even a plot too small to show any keeps one.
  if (c == 0 || static_cast<long long>(c) - 1 < w) {
    if (c == 0) points_.Reserve(StripCapacity(w));
    points_.Add({value, colour, nextTime_});
  } else {
    points_.ScrollIn() = {value, colour, nextTime_};
    ScrollStrip(plot);
  }

  const ValueRange before{minY_, maxY_};
  AutoScale();
  if (before == ValueRange{minY_, maxY_} && c > 0 && !chartStale_ && BitmapsFit(plot)) {
    const std::size_t last = points_.Count() - 1;
    if (last > 0) pen_ = {static_cast<int>(last), Row(points_[last - 1].Value, plot)};
    DrawPoint(last, Row(points_[last].Value, plot), h);
    ComposeOverlay(plot, false);
    nothingDrawn_ = false;
    pendingPaint_ = PendingPaint::OverlayOnly;
    update(QRect(overlayOrigin_, strip_.Size()));
  } else {
    RepaintAll();
  }
  return true;
}

void XyChart::Clear() {
  points_.Clear();
  nextTime_ = clock_();
  nothingDrawn_ = true;
  // The chart bitmap already holds the frame, grid and scale without data.
  pendingPaint_ = PendingPaint::ChartOnly;
  update();
}

void XyChart::AutoScale() {
  if (AutoScaling) {
    // A value no axis can show (a failed or overflowing reading) is drawn
    // outside the strip and leaves the range alone.
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (std::size_t i = 0; i < points_.Count(); ++i) {
      const double value = points_[i].Value;
      if (!std::isfinite(value)) continue;
      lo = std::min(lo, value);
      hi = std::max(hi, value);
    }
    if (lo <= hi) {
      const ValueRange range = AutoScaleRange(lo, hi);
      minY_ = range.MinY;
      maxY_ = range.MaxY;
    }
  }
  if (OnScaling) OnScaling(*this, minY_, maxY_);
}

bool XyChart::FitPointsToStrip(int stripWidth) {
  const std::size_t capacity = StripCapacity(stripWidth);
  if (points_.Count() <= capacity) return false;
  points_.DropOldest(points_.Count() - capacity);
  return true;
}

bool XyChart::SizeBitmaps(const PixelRect& plot) {
  overlayOrigin_ = {plot.Left - 1, plot.Top - 1};
  return strip_.Resize({PlotWidth(plot) + 3, PlotHeight(plot) + 3});
}

bool XyChart::BitmapsFit(const PixelRect& plot) const {
  return !strip_.IsNull() && strip_.Size() == QSize(PlotWidth(plot) + 3, PlotHeight(plot) + 3) &&
         chartBitmap_.size() == size() && overlayOrigin_ == QPoint(plot.Left - 1, plot.Top - 1);
}

void XyChart::ScrollStrip(const PixelRect& plot) {
  // Without fitting bitmaps the next full repaint draws the strip afresh.
  if (BitmapsFit(plot)) strip_.Scroll();
}

void XyChart::DrawData() {
  if (points_.Empty()) return;
  const PixelRect plot = GetPlotRect();
  if (!SizeBitmaps(plot)) return;
  // The newest points stay in view when the strip has become narrower.
  FitPointsToStrip(PlotWidth(plot));
  const int h = PlotHeight(plot) + 1;
  strip_.Clear();
  pen_ = {1, Row(points_[0].Value, plot)};
  for (std::size_t i = 0; i < points_.Count(); ++i) {
    DrawPoint(i, Row(points_[i].Value, plot), h);
  }
  ComposeOverlay(plot, true);
  nothingDrawn_ = false;
}

void XyChart::DrawPoint(std::size_t index, int row, int stripHeight) {
  const int x = static_cast<int>(index) + 1;
  const int h = stripHeight;
  const QRgb colour = RgbFromBgr(points_[index].Color);
  switch (chartType_) {
    case ChartKind::ctLine:
      strip_.Line(pen_, {x, row}, colour);
      pen_ = {x, row};
      break;
    case ChartKind::ctBar:
      // The bar covers the rows from the point's down to h; a point just
      // below the range still shows as one pixel at h.
      if (row <= h + 1) {
        strip_.VerticalLine(x, h, std::min(row, h), colour);
      } else {
        strip_.VerticalLine(x, h, row - 2, colour);
      }
      break;
    case ChartKind::ctScatter:
      // Moved down in the top row, so that the ring stays whole.
      if (row >= 0 && row <= h) strip_.Ring(x, row == 0 ? 1 : row, colour);
      break;
  }
}

void XyChart::ComposeOverlay(const PixelRect& plot, bool whole) {
  strip_.Compose(chartBitmap_, overlayOrigin_, whole);
  DrawNeedLines(plot);
}

void XyChart::DrawNeedLines(const PixelRect& plot) {
  if (!OnNeedLinesY) return;
  const int h = PlotHeight(plot) + 1;
  const int w = PlotWidth(plot) + 1;
  // Starts just below the range, so that a request left unanswered draws
  // nothing.
  double value = minY_ - (maxY_ - minY_) / 100;
  std::uint32_t colour = kChartBlack;
  bool finished = true;
  Tag = 0;
  do {
    OnNeedLinesY(*this, value, colour, finished);
    const int row = Row(value, plot);
    if (row >= 0 && row <= h) strip_.OverlayLine(row, 1, w, RgbFromBgr(colour));
    ++Tag;
  } while (!finished);
}

void XyChart::Paint(QPainter& control) {
  CustomChart::Paint(control);
  if (SizeBitmaps(GetPlotRect()) && !nothingDrawn_) {
    control.drawImage(overlayOrigin_, strip_.Overlay());
  }
}

void XyChart::paintEvent(QPaintEvent* event) {
  const PendingPaint pending = std::exchange(pendingPaint_, PendingPaint::Full);
  QPainter control(this);
  if (!chartStale_ && chartBitmap_.size() == size()) {
    const QRect overlayArea(overlayOrigin_, strip_.Size());
    if (pending == PendingPaint::OverlayOnly && overlayArea.contains(event->rect())) {
      control.drawImage(overlayOrigin_, strip_.Overlay());
      return;
    }
    if (pending == PendingPaint::ChartOnly) {
      control.drawImage(0, 0, chartBitmap_);
      return;
    }
  }
  Paint(control);
}

}  // namespace q5480
