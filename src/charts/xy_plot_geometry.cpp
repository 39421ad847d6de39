#include "charts/xy_plot_geometry.h"

#include <algorithm>

#include "config/numbers.h"

namespace q5480 {
namespace {

int RoundToInt(double value) { return static_cast<int>(RoundHalfEven(value)); }

std::vector<double> EveryTenPercent(int from) {
  std::vector<double> percents;
  for (int p = from; p <= 100; p += 10) percents.push_back(p);
  return percents;
}

}  // namespace

double ClampPlotX(double x, bool bipolar) {
  return bipolar ? std::clamp(x, -104.0, 104.0) : std::clamp(x, -2.0, 102.0);
}

double ClampPlotY(double y) { return std::clamp(y, -2.0, 102.0); }

int BipolarTrim(int controlWidth, bool bipolar) { return bipolar && controlWidth % 2 == 0 ? 1 : 0; }

PixelSize TraceSize(PixelSize control, bool bipolar) {
  return {control.Width - 2 - BipolarTrim(control.Width, bipolar), control.Height - 2};
}

PixelPoint PlotPixel(double x, double y, PixelSize control, bool bipolar) {
  const PixelSize trace = TraceSize(control, bipolar);
  const double across = bipolar ? (ClampPlotX(x, true) + 104) * (trace.Width - 3) / 208
                                : (ClampPlotX(x, false) + 2) * (trace.Width - 3) / 104;
  const double up = (ClampPlotY(y) + 2) * (trace.Height - 3) / 104;
  return {RoundToInt(across) + 2, control.Height - 3 - RoundToInt(up)};
}

PixelRect PlotArea(PixelSize control, bool bipolar) {
  const int trim = BipolarTrim(control.Width, bipolar);
  // The 2 % margins, in pixels.
  const int mx = RoundToInt(2.0 * (control.Width - 4 - trim) / 104);
  const int my = RoundToInt(2.0 * (control.Height - 4) / 104);
  return {mx + 2, my + 2, control.Width - 1 - mx - 2 - trim, control.Height - 1 - my - 2};
}

int OutputAxisX(const PixelRect& area, bool bipolar) {
  return bipolar ? (area.Left + area.Right) / 2 : area.Left;
}

std::vector<double> InputTickPercents(bool bipolar) { return EveryTenPercent(bipolar ? -100 : 10); }

std::vector<double> OutputTickPercents(bool bipolar) { return EveryTenPercent(bipolar ? 0 : 10); }

PlotGreys FrameGreys(int backgroundShift) {
  const auto shift = static_cast<std::uint32_t>(std::clamp(backgroundShift, 0, 100));
  const std::uint32_t face = shift * 0x010101 + 0x202020;
  return {face, face + 0x202020, face + 0x101010};
}

}  // namespace q5480
