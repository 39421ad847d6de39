// Geometry of the XY plot as pure functions: the limits of its coordinates,
// where a point or the cross-hairs land, the frame's rectangle, ticks and
// colours. Coordinates are percent: the input across, the output up.
#pragma once

#include <cstdint>
#include <vector>

#include "charts/chart_geometry.h"

namespace q5480 {

struct PixelPoint {
  int X = 0;
  int Y = 0;

  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelSize {
  int Width = 0;
  int Height = 0;

  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The shown coordinates: 0..100 % with a margin of 2 % (bipolar input
// −100..100 % with a margin of 4 %). Anything beyond lands on the margin.
double ClampPlotX(double x, bool bipolar);
double ClampPlotY(double y);

// 1 when the plot is bipolar and the control's width even: the trace is one
// pixel narrower, so that the middle of the plot falls on a pixel.
int BipolarTrim(int controlWidth, bool bipolar);

// The off-screen trace, which lies on the control at (1, 1).
PixelSize TraceSize(PixelSize control, bool bipolar);

// The control pixel of the point (x, y) in percent, clamped first: where a
// point is drawn (its trace pixel is one up and one left) and where the
// cross-hairs cross. x and y must not be NaN.
PixelPoint PlotPixel(double x, double y, PixelSize control, bool bipolar);

// The plot area inside the frame's margins; its bottom edge is the input
// axis, its left edge (bipolar: its middle column) the output axis.
PixelRect PlotArea(PixelSize control, bool bipolar);
int OutputAxisX(const PixelRect& area, bool bipolar);

// The percentages that carry a tick: every 10 %, bipolar input −100..100 and
// output 0..100, else 10..100 on both axes.
std::vector<double> InputTickPercents(bool bipolar);
std::vector<double> OutputTickPercents(bool bipolar);

// The greys of the frame, as 0x00BBGGRR, for a background shift 0..100.
struct PlotGreys {
  std::uint32_t Face = 0;   // the bevel's lower and right edges
  std::uint32_t Light = 0;  // the outline, the diagonal, the plot's far edges
  std::uint32_t Mid = 0;    // the control's fill
};
PlotGreys FrameGreys(int backgroundShift);

}  // namespace q5480
