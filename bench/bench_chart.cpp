// Measures the strip chart on a full strip 1,000 pixels wide: the mean cost
// of one accepted point (goal 50 µs), of a full repaint (goal 5 ms), and
// whether memory stays flat while the strip scrolls.
//
// usage: bench_chart [HEIGHT] [POINTS]
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "charts/xy_chart.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kStripWidth = 1000;

double Microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

// A slow wave that stays inside 15..25, so that the range never changes
// once both ends have been seen.
double Wave(long i) { return 20 + 4.9 * std::sin(static_cast<double>(i) / 37.0); }

// Widens the control until the plot is exactly kStripWidth pixels wide.
bool FitStrip(q5480::XyChart& chart, int height) {
  for (int width = kStripWidth; width < 2 * kStripWidth; ++width) {
    chart.resize(width, height);
    const q5480::PixelRect plot = chart.GetPlotRect();
    if (plot.Right - plot.Left == kStripWidth) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const int height = argc > 1 ? std::atoi(argv[1]) : 250;
  const long measured = argc > 2 ? std::atol(argv[2]) : 20000;
  int qtArgc = 1;
  QApplication application(qtArgc, argv);

  q5480::XyChart chart;
  chart.SetChartType(q5480::ChartKind::ctLine);
  chart.SetGrid(q5480::GridType::gtBoth);
  chart.OnNeedLinesY = [](q5480::XyChart& sender, double& value, std::uint32_t& colour,
                          bool& finished) {
    // Two limits, as the main window draws them.
    value = sender.Tag == 0 ? 17.5 : 22.5;
    colour = 0x000000FF;
    finished = sender.Tag >= 1;
  };
  chart.show();
  QApplication::processEvents();
  // The range settles first, so that the margin, and with it the plot,
  // keeps its width.
  for (long i = 0; i < 1000; ++i) chart.AddValue(Wave(i), 0x00800000);
  if (!FitStrip(chart, height)) {
    std::fprintf(stderr, "bench_chart: no width gives a %d-pixel strip\n", kStripWidth);
    return 1;
  }
  chart.repaint();
  long next = 0;
  for (int i = 0; i <= kStripWidth + 10; ++i) chart.AddValue(Wave(next++), 0x00800000);
  QApplication::processEvents();
  const q5480::PixelRect plot = chart.GetPlotRect();
  std::printf("control %dx%d, plot %dx%d, %zu points held\n", chart.width(), chart.height(),
              plot.Right - plot.Left, plot.Bottom - plot.Top, chart.Points().Count());

  // An accepted point alone (the paint it asks for is merged and left queued),
  // then with the paint of the plot area that follows it.
  auto start = Clock::now();
  for (long i = 0; i < measured; ++i) chart.AddValue(Wave(next++), 0x00800000);
  const double addOnly = Microseconds(Clock::now() - start) / static_cast<double>(measured);
  QApplication::processEvents();
  start = Clock::now();
  for (long i = 0; i < measured; ++i) {
    chart.AddValue(Wave(next++), 0x00800000);
    QApplication::processEvents();
  }
  const double addAndPaint = Microseconds(Clock::now() - start) / static_cast<double>(measured);
  std::printf("accepted point on a full strip: %.1f us (with its paint: %.1f us; goal 50 us)\n",
              addOnly, addAndPaint);

  constexpr int kRepaints = 200;
  start = Clock::now();
  for (int i = 0; i < kRepaints; ++i) chart.repaint();
  const double repaint = Microseconds(Clock::now() - start) / kRepaints / 1000;
  std::printf("full repaint: %.2f ms (goal 5 ms)\n", repaint);

  const long residentBefore = ResidentKiB();
  const std::size_t heapBefore = HeapInUse();
  const std::size_t pointsBefore = chart.Points().Count();
  const long further = 100000;
  for (long i = 0; i < further; ++i) {
    chart.AddValue(Wave(next++), 0x00800000);
    if (i % 100 == 0) QApplication::processEvents();
  }
  QApplication::processEvents();
  std::printf(
      "after %ld further points: points %zu -> %zu, heap in use %zu -> %zu bytes, "
      "resident %ld -> %ld KiB\n",
      further, pointsBefore, chart.Points().Count(), heapBefore, HeapInUse(), residentBefore,
      ResidentKiB());
  return 0;
}
