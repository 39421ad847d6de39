// Geometry of the strip chart as pure functions: rectangles, the value axis
// and its texts, automatic scaling and the offsets of rules, ticks and labels.
// No Qt here, so that every rule is tested without a screen; the widget
// measures texts and passes the sizes in.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace q5480 {

// A rectangle in pixels of the control. Of the plot rectangle, Right and
// Bottom are the last column and row in which points are drawn.
struct PixelRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct ValueRange {
  double MinY = 0;
  double MaxY = 100;

  friend bool operator==(const ValueRange&, const ValueRange&) = default;
};

// Width in pixels of a text in the font the caller has chosen.
using TextWidthFunction = std::function<int(const std::string&)>;

// Value-axis text: rounded (halves to even) to 3 decimals below 10, 2 below
// 100, 1 below 1000, else to an integer; shortest general form.
std::string FormatScaleValue(double value, char decimalSeparator);

// The framed chart area of a control without axis labels: the rotated
// caption, `yLabelHeight` pixels high, takes the left margin.
PixelRect BaseChartRect(int controlWidth, int controlHeight, int yLabelHeight);

// The widest of the eleven labels the range can show, each measured with a
// minus sign, but at least as wide as "-0.000".
int ScaleLabelsWidth(ValueRange range, char decimalSeparator, const TextWidthFunction& textWidth);

// The chart rectangle with the left margin widened for the axis labels.
PixelRect ChartRect(int controlWidth, int controlHeight, int yLabelHeight, ValueRange range,
                    char decimalSeparator, const TextWidthFunction& textWidth);

// The area in which points are drawn: the chart rectangle shrunk on every
// side by 3 % of the control width.
PixelRect PlotRect(const PixelRect& chart, int controlWidth);

// Pixel height of `value` above the plot bottom. An empty range (only an
// owner's scaling handler can make one) gives the plot's bottom coordinate
// instead of a division by zero.
double ValueToHeight(double value, ValueRange range, const PixelRect& plot);

// Strip row of `value`: 0 at the top of the strip, h = plot height + 1 at
// MinY. Rows far outside the strip are clamped so that they stay integers.
int ValueToRow(double value, ValueRange range, const PixelRect& plot);

// The range chosen for points between `lo` and `hi` (floor and ceiling,
// refined about the midpoint when that spans 2 or less).
ValueRange AutoScaleRange(double lo, double hi);

// Offsets of the grid's rules from the plot's right edge (vertical rules,
// `extent` = plot width, `count` = width div 10) or from its top
// (horizontal rules, `extent` = plot height, `count` = height div twice the
// text height).
std::vector<int> GridOffsets(int extent, int count);

// Offsets of the time ticks from the plot's right edge, for a plot `width`
// pixels wide (right minus left).
std::vector<int> TimeTickOffsets(int width);

// Number of horizontal rules or axis labels that fit a plot `height` pixels
// high with texts `textHeight` pixels high.
int ScaleCount(int height, int textHeight);

struct ScaleLabel {
  int Offset = 0;  // from the plot's top
  double Value = 0;
  bool HasText = false;  // only a tick, when there is no room for a text

  friend bool operator==(const ScaleLabel&, const ScaleLabel&) = default;
};

// The value axis's labels for a plot `height` pixels high with room for
// `count` labels (ScaleCount).
std::vector<ScaleLabel> ScaleLabels(int height, int count, ValueRange range);

}  // namespace q5480
