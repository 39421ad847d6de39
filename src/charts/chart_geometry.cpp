#include "charts/chart_geometry.h"

#include <algorithm>
#include <cmath>

#include "config/numbers.h"

namespace q5480 {
namespace {

// Far enough outside any strip to be clipped, small enough for an int and
// for the painter's arithmetic.
constexpr int kRowLimit = 1 << 20;

int RoundToInt(double value) { return static_cast<int>(RoundHalfEven(value)); }

// round(extent × i / 10) for i = first, first + step, ..., 10.
std::vector<int> Tenths(int extent, int step) {
  std::vector<int> offsets;
  for (int i = 0; i <= 10; i += step) offsets.push_back(RoundToInt(extent * i / 10.0));
  return offsets;
}

std::vector<int> Quarters(int extent) {
  return {0, extent / 4, extent / 2, 3 * (extent / 4), extent};
}

}  // namespace

std::string FormatScaleValue(double value, char decimalSeparator) {
  const double a = std::fabs(value);
  double rounded;
  if (a < 10) {
    rounded = RoundHalfEven(value * 1000) / 1000;
  } else if (a < 100) {
    rounded = RoundHalfEven(value * 100) / 100;
  } else if (a < 1000) {
    rounded = RoundHalfEven(value * 10) / 10;
  } else {
    rounded = RoundHalfEven(value);
  }
  return FormatGeneral(rounded, 15, decimalSeparator);
}

PixelRect BaseChartRect(int controlWidth, int controlHeight, int yLabelHeight) {
  return {RoundToInt(yLabelHeight * 1.1) + 4, 4, controlWidth - 4, controlHeight - 4};
}

int ScaleLabelsWidth(ValueRange range, char decimalSeparator, const TextWidthFunction& textWidth) {
  int widest = textWidth("-0.000");
  for (int i = 0; i <= 10; ++i) {
    // Negated so that the width of a minus sign is always counted.
    const double value = -std::fabs(range.MinY + (range.MaxY - range.MinY) * (10 - i) / 10);
    widest = std::max(widest, textWidth(FormatScaleValue(value, decimalSeparator)));
  }
  return widest;
}

PixelRect ChartRect(int controlWidth, int controlHeight, int yLabelHeight, ValueRange range,
                    char decimalSeparator, const TextWidthFunction& textWidth) {
  PixelRect chart = BaseChartRect(controlWidth, controlHeight, yLabelHeight);
  chart.Left += ScaleLabelsWidth(range, decimalSeparator, textWidth);
  return chart;
}

PixelRect PlotRect(const PixelRect& chart, int controlWidth) {
  const int inset = controlWidth * 3 / 100;
  return {chart.Left + inset, chart.Top + inset, chart.Right - inset, chart.Bottom - inset};
}

double ValueToHeight(double value, ValueRange range, const PixelRect& plot) {
  const double span = range.MaxY - range.MinY;
  if (span == 0) return plot.Bottom;
  return (value - range.MinY) * (plot.Bottom - plot.Top + 1) / span;
}

int ValueToRow(double value, ValueRange range, const PixelRect& plot) {
  const int h = plot.Bottom - plot.Top + 1;
  const double height = ValueToHeight(value, range, plot);
  // NaN lands below the strip, where nothing is drawn.
  if (std::isnan(height)) return kRowLimit;
  const double rounded = RoundHalfEven(std::clamp(height, -double{kRowLimit}, double{kRowLimit}));
  return std::clamp(h - static_cast<int>(rounded), -kRowLimit, kRowLimit);
}

ValueRange AutoScaleRange(double lo, double hi) {
  ValueRange range{std::floor(lo), std::ceil(hi)};
  if (range.MaxY - range.MinY <= 2) {
    double d = std::ceil((hi - lo) * 10) / 10;
    const double c = RoundHalfEven((hi + lo) * 10 / 2) / 10;
    if (d < 0.1) d = 0.1;
    // The coarser steps follow the ceiling, not the refined range.
    if (range.MaxY >= 100) d = 1;
    if (range.MaxY >= 1000) d = 10;
    range = {c - d, c + d};
  }
  return range;
}

std::vector<int> GridOffsets(int extent, int count) {
  if (count < 3) return {extent, extent / 2, 0};
  if (count == 3) return Quarters(extent);
  if (count == 4) return Tenths(extent, 2);
  return Tenths(extent, 1);
}

std::vector<int> TimeTickOffsets(int width) {
  const int n = width / 10;
  // One tick in the middle, measured from the left: for an odd width it sits
  // one pixel further left than a tick measured from the right would.
  if (n <= 0) return {width - width / 2};
  if (n == 1) return {width / 2};
  return GridOffsets(width, n);
}

int ScaleCount(int height, int textHeight) { return height / std::max(1, 2 * textHeight); }

std::vector<ScaleLabel> ScaleLabels(int height, int count, ValueRange range) {
  const double minY = range.MinY;
  const double s = range.MaxY - range.MinY;
  if (count <= 0) return {{height / 2, minY + s / 2, false}};
  if (count == 1) return {{height / 2, minY + s / 2, true}};
  if (count == 2) {
    return {{height, minY, true}, {height / 2, minY + s / 2, true}, {0, range.MaxY, true}};
  }
  if (count == 3) {
    return {{height, minY, true},
            {height / 4, minY + 3 * s / 4, true},
            {height / 2, minY + s / 2, true},
            {3 * (height / 4), minY + s / 4, true},
            {0, range.MaxY, true}};
  }
  std::vector<ScaleLabel> labels;
  const int step = count == 4 ? 2 : 1;
  for (int i = 0; i <= 10; i += step) {
    labels.push_back({RoundToInt(height * i / 10.0), minY + (10 - i) * s / 10, true});
  }
  return labels;
}

}  // namespace q5480
