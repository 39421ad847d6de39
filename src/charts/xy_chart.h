// The strip chart: values against time, one pixel column per accepted value,
// the newest at the right once the strip is full, with an automatically
// scaled value axis, an optional grid, time ticks, a rotated axis caption and
// reference lines that the owner supplies on demand.
//
// Painting goes through three images: the chart bitmap (background, frame,
// grid, scales), the strip bitmap (the points on black) and the overlay, in
// which the plot area is composed as the chart bitmap OR the strip. An
// accepted value that leaves the range alone redraws one column and the
// overlay only.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "charts/chart_data.h"
#include "charts/chart_geometry.h"
#include "charts/chart_sampling.h"
#include "charts/chart_strip.h"

class QPainter;

namespace q5480 {

// What all charts share: the frame, the caption, the range and the painting
// order; the drawing steps belong to the concrete chart.
class CustomChart : public QWidget {
  Q_OBJECT
 public:
  explicit CustomChart(QWidget* parent = nullptr);

  const std::string& YLabel() const { return yLabel_; }
  // Keeps the first 35 characters; always repaints. A caption also becomes
  // the control's accessible name ("Chart" until there is one).
  void SetYLabel(const std::string& text);
  // Sizes the caption's margin; the caption itself is drawn in font().
  const QFont& YLabelFont() const { return yLabelFont_; }
  void SetYLabelFont(const QFont& font);
  GridType Grid() const { return grid_; }
  void SetGrid(GridType grid);
  std::uint32_t BackGround() const { return backGround_; }  // the whole control area
  void SetBackGround(std::uint32_t colour);
  std::uint32_t ChartColor() const { return chartColor_; }  // inside the frame
  void SetChartColor(std::uint32_t colour);
  int BorderWidth() const { return borderWidth_; }
  // A changed width is clamped to 1..4.
  void SetBorderWidth(int width);
  double MinY() const { return minY_; }
  double MaxY() const { return maxY_; }
  char DecimalSeparator() const { return decimalSeparator_; }
  // The owner passes its regional settings' separator for the axis texts.
  void SetDecimalSeparator(char separator);

  // The owner repaints (update()) after turning this on.
  bool AutoScaling = true;
  // Free for the owner; the reference-line protocol numbers its requests here.
  int Tag = 0;

  std::function<void(CustomChart& sender)> OnClick;
  std::function<void(CustomChart& sender)> OnDblClick;

  // The framed chart area, in pixels of the control.
  virtual PixelRect GetChartRect() const;
  // The area in which points are drawn.
  virtual PixelRect GetPlotRect() const = 0;

  // The off-screen image of the whole control as last painted.
  const QImage& ChartBitmap() const { return chartBitmap_; }
  // The control as it is shown now, for saving as a picture.
  QImage Picture() const;

  QSize sizeHint() const override { return {147, 105}; }

  // Redraws everything at the next paint (after a change that the chart
  // cannot see, such as the owner's reference lines).
  void RepaintAll();

 protected:
  // Text height of the caption in YLabelFont.
  int YLabelHeight() const;

  // Builds the chart bitmap and copies it onto the control.
  virtual void Paint(QPainter& control);
  virtual void DrawGrid(QPainter& canvas) = 0;
  virtual void DrawTimeTicks(QPainter& canvas) = 0;
  virtual void DrawYScale(QPainter& canvas) = 0;
  // Draws the points into bitmaps of the concrete chart; runs once the chart
  // bitmap is complete.
  virtual void DrawData() = 0;
  virtual void AutoScale() = 0;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

  double minY_ = 0;
  double maxY_ = 100;
  QImage chartBitmap_;
  // Set when something shown in the chart bitmap has changed since it was
  // last painted, so that it cannot serve a partial repaint.
  bool chartStale_ = true;

 private:
  void DrawYLabel(QPainter& canvas) const;

  std::string yLabel_;
  QFont yLabelFont_;
  GridType grid_ = GridType::gtNone;
  std::uint32_t backGround_ = kChartSilver;
  std::uint32_t chartColor_ = kChartWhite;
  int borderWidth_ = 1;
  char decimalSeparator_ = '.';
};

class XyChart : public CustomChart {
  Q_OBJECT
 public:
  using Clock = std::function<ChartTimeStamp()>;

  explicit XyChart(QWidget* parent = nullptr);

  // Offers a value; true when it was due and became a new point.
  bool AddValue(double value, std::uint32_t colour);
  // Removes every point and shows the chart without data; sampling starts
  // afresh from now.
  void Clear();

  ChartKind ChartType() const { return chartType_; }
  void SetChartType(ChartKind type);
  double Interval() const { return interval_; }  // seconds between points
  // Clamped to 0..3600; takes effect at the next offered value.
  void SetInterval(double seconds);
  // True until data have been drawn, and again after Clear.
  bool NothingDrawn() const { return nothingDrawn_; }
  ChartTimeStamp NextTime() const { return nextTime_; }  // the last sampling instant
  const ChartDataList& Points() const { return points_; }
  // The points on black, as a copy.
  QImage StripBitmap() const { return strip_.StripImage(); }
  const QImage& OverlayBitmap() const { return strip_.Overlay(); }

  // Local time by default; tests step their own. Sampling restarts from the
  // new clock's now.
  void SetClock(Clock clock);

  PixelRect GetChartRect() const override;
  PixelRect GetPlotRect() const override;
  // Pixel height of `value` above the plot bottom in the current range.
  double ValueToHeight(double value) const;
  std::string FormatScaleValue(double value) const;

  // Asks for one horizontal reference line: the owner sets `value` and
  // `colour`, and sets `finished` to false to be asked again (Tag counts the
  // requests from 0). Leaving `value` alone draws nothing.
  std::function<void(XyChart& sender, double& value, std::uint32_t& colour, bool& finished)>
      OnNeedLinesY;
  // May change the range after automatic scaling; it must not make it empty.
  std::function<void(XyChart& sender, double& minY, double& maxY)> OnScaling;
  // May rewrite one value-axis text before it is drawn.
  std::function<void(XyChart& sender, std::string& text)> OnDrawScales;

 protected:
  void Paint(QPainter& control) override;
  void DrawGrid(QPainter& canvas) override;
  void DrawTimeTicks(QPainter& canvas) override;
  void DrawYScale(QPainter& canvas) override;
  void DrawData() override;
  void AutoScale() override;

  void paintEvent(QPaintEvent* event) override;

 private:
  // What the next paint event has to do beyond copying a cached image.
  enum class PendingPaint { Full, OverlayOnly, ChartOnly };

  int Row(double value, const PixelRect& plot) const;
  // Drops the oldest points that a strip `stripWidth` pixels wide can no
  // longer show; true when it dropped any.
  bool FitPointsToStrip(int stripWidth);
  // Sizes the strip and overlay to the plot; false when the plot is empty.
  bool SizeBitmaps(const PixelRect& plot);
  bool BitmapsFit(const PixelRect& plot) const;
  void ScrollStrip(const PixelRect& plot);
  // The point's shape in the strip; a line starts where the last one ended.
  void DrawPoint(std::size_t index, int row, int stripHeight);
  // Redoes the whole overlay when the chart bitmap is new, else only what
  // the last point changed.
  void ComposeOverlay(const PixelRect& plot, bool whole);
  void DrawNeedLines(const PixelRect& plot);

  bool nothingDrawn_ = true;
  double interval_ = 0;
  Clock clock_;
  ChartTimeStamp nextTime_;
  ChartKind chartType_ = ChartKind::ctScatter;
  ChartDataList points_;
  ChartStrip strip_;  // the strip and overlay bitmaps
  // Measuring eleven axis texts for every point would cost more than
  // drawing it: the chart rectangle is kept for what it depends on.
  struct ChartRectCache {
    QSize size;
    ValueRange range;
    char decimalSeparator = 0;
    QFont font;
    QFont yLabelFont;
    PixelRect rect;
  };
  mutable std::optional<ChartRectCache> chartRectCache_;
  QPoint pen_;
  QPoint overlayOrigin_;
  PendingPaint pendingPaint_ = PendingPaint::Full;
};

}  // namespace q5480
