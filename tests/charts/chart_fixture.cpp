#include "chart_fixture.h"

#include <cstdlib>

// Qt's own libraries keep allocations to the end of the process.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace q5480::test {

QApplication& Application() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "test_charts";
  static char* argv[] = {name, nullptr};
  // Lives to the end of the process: Qt's own globals go before static
  // objects would, and a QApplication destroyed after them crashes.
  return *new QApplication(argc, argv);
}

ChartTest::ChartTest() {
  Application();
  chart_ = std::make_unique<XyChart>();
  chart_->SetClock([this] { return now_; });
}

void ChartTest::FitPlotWidth(int width, int height) {
  for (int controlWidth = width; controlWidth < 2 * width + 200; ++controlWidth) {
    chart_->resize(controlWidth, height);
    const PixelRect plot = chart_->GetPlotRect();
    if (plot.Right - plot.Left == width) return;
  }
  FAIL() << "no control width gives a plot " << width << " pixels wide";
}

QRgb ChartTest::OverlayPixel(const QImage& picture, int x, int y) const {
  const PixelRect plot = chart_->GetPlotRect();
  return picture.pixel(plot.Left - 1 + x, plot.Top - 1 + y) & 0xFFFFFF;
}

}  // namespace q5480::test
