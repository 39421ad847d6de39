#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScreen>
#include <QtTest/QTest>
#include <limits>
#include <tuple>

#include "chart_fixture.h"
#include "charts/chart_colour.h"
#include "charts/xy_plot.h"

namespace q5480::test {
namespace {

constexpr PixelSize kDefault{108, 108};

TEST(XYPlotGeometry, PointsLandOnTheirPixelsAndBeyondTheRangeOnTheMargins) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const std::tuple<double, double, PixelSize, bool, PixelPoint> cases[] = {
      // The plot area's corners: 0 % and 100 % on both axes.
      {0, 0, kDefault, false, {4, 103}},
      {100, 100, kDefault, false, {103, 4}},
      {0, 0, {200, 150}, false, {6, 144}},
      {100, 100, {200, 150}, false, {193, 5}},
      // 51.5 rounds to the even 52.
      {50, 50, kDefault, false, {54, 53}},
      // Beyond the range: on the 2 % margins.
      {150, 50, kDefault, false, {105, 53}},
      {50, -10, kDefault, false, {54, 105}},
      {-kInf, kInf, kDefault, false, {2, 2}},
      // Bipolar: −100..100 % across, the trace one pixel narrower when the
      // width is even, so that 0 % falls on the middle column.
      {-100, 0, kDefault, true, {4, 103}},
      {0, 0, kDefault, true, {53, 103}},
      {100, 100, kDefault, true, {102, 4}},
      {150, 50, kDefault, true, {104, 53}},
      {-150, 50, kDefault, true, {2, 53}},
      {0, 0, {109, 108}, true, {54, 103}},
  };
  for (const auto& [x, y, control, bipolar, pixel] : cases) {
    const PixelPoint at = PlotPixel(x, y, control, bipolar);
    EXPECT_EQ(at, pixel) << x << "," << y << " on " << control.Width << " bipolar " << bipolar
                         << ": " << at.X << "," << at.Y;
  }
}

TEST(XYPlotGeometry, FrameFollowsTheMarginsAndTheMode) {
  EXPECT_EQ(TraceSize(kDefault, false), (PixelSize{106, 106}));
  EXPECT_EQ(TraceSize(kDefault, true), (PixelSize{105, 106}));
  EXPECT_EQ(TraceSize({109, 108}, true), (PixelSize{107, 106}));
  const PixelRect unipolar = PlotArea(kDefault, false);
  const PixelRect bipolar = PlotArea(kDefault, true);
  EXPECT_EQ(unipolar, (PixelRect{4, 4, 103, 103}));
  EXPECT_EQ(bipolar, (PixelRect{4, 4, 102, 103}));
  EXPECT_EQ(PlotArea({200, 150}, false), (PixelRect{6, 5, 193, 144}));
  EXPECT_EQ(OutputAxisX(unipolar, false), 4);
  EXPECT_EQ(OutputAxisX(bipolar, true), 53);
  EXPECT_EQ(InputTickPercents(true).size(), 21u);
  EXPECT_EQ(InputTickPercents(true).front(), -100);
  EXPECT_EQ(OutputTickPercents(true).size(), 11u);
  EXPECT_EQ(InputTickPercents(false).front(), 10);
  EXPECT_EQ(OutputTickPercents(false).size(), 10u);
  const std::tuple<int, std::uint32_t, std::uint32_t, std::uint32_t> greys[] = {
      {0, 0x202020, 0x404040, 0x303030},
      {20, 0x343434, 0x545454, 0x444444},
      {150, 0x848484, 0xA4A4A4, 0x949494},  // held to 100
  };
  for (const auto& [shift, face, light, mid] : greys) {
    const PlotGreys g = FrameGreys(shift);
    EXPECT_EQ(g.Face, face) << shift;
    EXPECT_EQ(g.Light, light) << shift;
    EXPECT_EQ(g.Mid, mid) << shift;
  }
}

class XYPlot : public ::testing::Test {
 protected:
  XYPlot() {
    plot_.SetBgndColor(20);
    plot_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&plot_));
  }

  // What the screen shows once the pending paints are done.
  QImage Shown() {
    QCoreApplication::processEvents();
    return plot_.screen()
        ->grabWindow(plot_.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  QApplication& application_ = Application();  // before any widget
  XyPlot plot_;
};

TEST_F(XYPlot, PointsStayInTheTraceAndARepaintShowsThemAsDrawn) {
  EXPECT_EQ(plot_.accessibleName(), "In / Out");
  const QImage empty = Shown();
  for (int k = 0; k <= 20; ++k) plot_.PlotPoint(5 * k, 0.05 * k * 5 * k);
  plot_.BigDot = true;
  plot_.PenColor = 0x000000FF;  // red
  plot_.PlotPoint(150, -10);
  const QImage drawn = Shown();
  EXPECT_EQ(plot_.grab().toImage().convertToFormat(QImage::Format_RGB32), drawn);

  // One pixel in the trace and on the control, yellow over the frame.
  const PixelPoint small = PlotPixel(50, 25, kDefault, false);
  EXPECT_EQ(plot_.TraceBitmap().pixel(small.X - 1, small.Y - 1), 0xFFFFFF00u);
  EXPECT_EQ(drawn.pixel(small.X, small.Y), empty.pixel(small.X, small.Y) | 0xFFFFFF00u);
  // The big dot on the bottom right margin covers the 2 by 2 pixels up and
  // left of its point.
  const PixelPoint big = PlotPixel(102, -2, kDefault, false);
  const std::tuple<int, int, bool> square[] = {
      {-1, -1, true}, {0, 0, true}, {1, 0, false}, {0, 1, false}};
  for (const auto& [dx, dy, in] : square) {
    EXPECT_EQ(plot_.TraceBitmap().pixel(big.X - 1 + dx, big.Y - 1 + dy) == 0xFFFF0000u, in)
        << dx << "," << dy;
  }

  plot_.ClearTrace();
  EXPECT_EQ(Shown(), empty);
}

TEST_F(XYPlot, CrossHairsMoveWithoutLeavingATrace) {
  plot_.HairsColor = 0x00808000;  // teal
  for (int k = 0; k <= 20; ++k) plot_.PlotPoint(5 * k, 5 * k);
  const QImage withoutHairs = Shown();
  plot_.SetCrossHairs(30, 60);  // ignored while they are off
  EXPECT_EQ(plot_.HairX() + plot_.HairY(), 0);
  plot_.SetCrossHairsOn(true);
  plot_.SetCrossHairs(30, 60);
  Shown();
  plot_.SetCrossHairs(70, 20);
  const QImage moved = Shown();

  const PixelPoint hair = PlotPixel(70, 20, kDefault, false);
  EXPECT_EQ(plot_.HairX(), hair.X);
  EXPECT_EQ(plot_.HairY(), hair.Y);
  QImage expected = withoutHairs;
  for (int y = 3; y <= 108 - 3; ++y) expected.setPixel(hair.X, y, 0xFF008080);
  for (int x = 2; x <= 108 - 3; ++x) expected.setPixel(x, hair.Y, 0xFF008080);
  EXPECT_EQ(moved, expected);

  plot_.SetCrossHairsOn(false);
  EXPECT_EQ(Shown(), withoutHairs);
  EXPECT_EQ(plot_.HairX(), 0);
  EXPECT_EQ(plot_.HairY(), 0);
}

}  // namespace
}  // namespace q5480::test
