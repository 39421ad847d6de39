#include <gtest/gtest.h>

#include <QImage>

#include "charts/chart_data.h"
#include "charts/chart_strip.h"

namespace q5480 {
namespace {

constexpr QRgb kBlack = 0xFF000000;

TEST(ChartDataList, ScrollingReusesTheOldestPointAndKeepsTheOrder) {
  ChartDataList points;
  for (int i = 0; i < 4; ++i) points.Add({static_cast<double>(i), 0, {}});
  const ChartPoint* oldest = &points[0];
  ChartPoint& reused = points.ScrollIn();
  EXPECT_EQ(&reused, oldest);
  reused.Value = 4;
  points.ScrollIn().Value = 5;
  ASSERT_EQ(points.Count(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(points[i].Value, static_cast<double>(i + 2));
  EXPECT_EQ(&points.Last(), oldest + 1);
  // A wider strip takes more points after scrolling has begun.
  points.Add({6, 0, {}});
  ASSERT_EQ(points.Count(), 5u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(points[i].Value, static_cast<double>(i + 2));
  points.Clear();
  EXPECT_TRUE(points.Empty());
}

TEST(StripBitmaps, ScrollMovesColumnsLeftAndClearsBothEnds) {
  ChartStrip strip;
  ASSERT_TRUE(strip.Resize({6, 4}));
  strip.Pixel(0, 0, 0xFF0000FF);  // dropped by the first scroll
  auto colour = [](int step) { return 0xFF000000 | static_cast<QRgb>(0x10 * (step + 1)); };
  // Past the end of the wider image twice, with a pixel in the last column
  // before each scroll.
  for (int step = 0; step < 14; ++step) {
    strip.Pixel(5, step % 4, colour(step));
    strip.Scroll();
    const QImage image = strip.StripImage();
    for (int x = 0; x < 6; ++x) {
      for (int y = 0; y < 4; ++y) {
        // Drawn at step t, now at column 4 - (step - t); column 0 is cleared.
        const int t = step - 4 + x;
        const QRgb expected = x >= 1 && x <= 4 && t >= 0 && t % 4 == y ? colour(t) : kBlack;
        ASSERT_EQ(image.pixel(x, y), expected) << step << ": " << x << "," << y;
      }
    }
  }
  EXPECT_FALSE(strip.Resize({0, 4}));
  EXPECT_TRUE(strip.IsNull());
}

TEST(StripBitmaps, ShapesAreClippedAndFarEndsCostNothing) {
  ChartStrip strip;
  ASSERT_TRUE(strip.Resize({5, 8}));
  strip.Line({2, 2}, {3, 1 << 20}, 0xFFFFFFFF);  // steep, far below
  strip.VerticalLine(4, 6, -1000, 0xFF0000FF);
  strip.Ring(0, 0, 0xFF00FF00);  // partly outside
  const QImage image = strip.StripImage();
  // A million rows away, the line leaves column 2 only far below the strip.
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(image.pixel(2, y), y >= 2 ? 0xFFFFFFFF : kBlack) << y;
    EXPECT_EQ(image.pixel(3, y), kBlack) << y;
  }
  for (int y = 0; y <= 6; ++y) EXPECT_EQ(image.pixel(4, y), 0xFF0000FF) << y;
  EXPECT_EQ(image.pixel(4, 7), kBlack);
  EXPECT_EQ(image.pixel(1, 0), 0xFF00FF00);
  EXPECT_EQ(image.pixel(0, 1), 0xFF00FF00);
  EXPECT_EQ(image.pixel(0, 0), kBlack);  // the ring's inside
}

}  // namespace
}  // namespace q5480
