// What the chart tests share: the offscreen application, a clock stepped by
// hand, and a chart sized to a given plot width.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "charts/xy_chart.h"

namespace q5480::test {

// The one application object of the test program, offscreen unless the
// caller chose a platform.
QApplication& Application();

// A chart on a clock that only moves when the test says so.
class ChartTest : public ::testing::Test {
 protected:
  ChartTest();

  void Advance(int milliseconds) { now_ = AddInterval(now_, milliseconds / 1000.0); }
  // Widens the control until the plot is `width` pixels wide (right minus left).
  void FitPlotWidth(int width, int height = 120);
  // Paints the whole control, as a first showing would.
  QImage Paint() { return chart_->Picture(); }
  // The pixel of the overlay's column x and row y on the control.
  QRgb OverlayPixel(const QImage& picture, int x, int y) const;

  ChartTimeStamp now_{36'000'000, 45'000};
  std::unique_ptr<XyChart> chart_;
};

}  // namespace q5480::test
