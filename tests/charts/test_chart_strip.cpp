#include <gtest/gtest.h>

#include <QImage>
#include <random>

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

// Recomposing only what a point changed must give what a plain copy of the
// chart OR the whole strip gives, with the reference lines on top, whatever
// is drawn and however far the strip has scrolled.
TEST(StripBitmaps, PartialCompositionEqualsTheWholeOne) {
  std::mt19937 random(5480);
  QImage chart(40, 206, QImage::Format_RGB32);
  for (int y = 0; y < chart.height(); ++y) {
    for (int x = 0; x < chart.width(); ++x)
      chart.setPixel(x, y, 0xFF000000 | (random() & 0x7F7F7F));
  }
  const QPoint origin(3, 2);
  const QSize size(33, 200);
  ChartStrip strip;
  ASSERT_TRUE(strip.Resize(size));
  strip.Compose(chart, origin, true);
  // Mostly a band about the middle, as a scaled signal draws; now and then
  // a far end, a point at the edges or a long bar, which make the
  // composition redo the whole overlay.
  auto row = [&](int spread) {
    return 100 - spread / 2 + static_cast<int>(random() % static_cast<unsigned>(spread));
  };
  QPoint pen(size.width() - 3, 100);
  for (int step = 0; step < 400; ++step) {
    strip.Scroll();
    const QRgb colour = 0xFF000000 | (random() & 0xFFFFFF);
    const int x = size.width() - 2;
    switch (random() % 12) {
      case 0: strip.Line(pen, {x, row(6000)}, colour); break;
      case 1: strip.VerticalLine(x, size.height() - 2, row(220), colour); break;
      case 2: strip.Ring(x, row(204), colour); break;
      case 3:
      case 4: strip.VerticalLine(x, row(30), row(30), colour); break;
      case 5:
      case 6: strip.Ring(x, row(30), colour); break;
      case 7: strip.Pixel(x, row(40), colour); break;
      default: strip.Line(pen, {x, row(40)}, colour); break;
    }
    pen = {x - 1, row(40)};
    strip.Compose(chart, origin, false);
    const int lineRow = step % 3 == 0 ? -1 : row(202);
    strip.OverlayLine(lineRow, 1, size.width() - 2, 0xFFFF0000);

    const QImage expectedStrip = strip.StripImage();
    const QImage& overlay = strip.Overlay();
    for (int y = 0; y < size.height(); ++y) {
      for (int column = 0; column < size.width(); ++column) {
        QRgb expected =
            chart.pixel(origin.x() + column, origin.y() + y) | expectedStrip.pixel(column, y);
        if (y == lineRow && column >= 1 && column <= size.width() - 2) expected = 0xFFFF0000;
        ASSERT_EQ(overlay.pixel(column, y), expected)
            << "step " << step << " at " << column << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace q5480
