#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "charts/chart_geometry.h"

namespace q5480 {
namespace {

// Six pixels a character, so that widths follow the texts' lengths.
int SixPerCharacter(const std::string& text) { return 6 * static_cast<int>(text.size()); }

TEST(ChartGeometry, ScaleTextsRoundHalvesToEvenAtTheirMagnitudesDecimals) {
  const std::tuple<double, char, const char*> cases[] = {
      {3.14159, '.', "3.142"},
      {45.678, '.', "45.68"},
      {999.96, '.', "1000"},
      {1234.5, '.', "1234"},
      {1235.5, '.', "1236"},
      {-3.14159, '.', "-3.142"},
      {3.14159, ',', "3,142"},
      {45.678, ',', "45,68"},
      {-150.25, ',', "-150,2"},
      // Exact binary halves: 62.5, 1212.5 and 1002.5 go to the even neighbour.
      {0.0625, '.', "0.062"},
      {12.125, '.', "12.12"},
      {100.25, '.', "100.2"},
      {9.9996, '.', "10"},
      {-0.0004, '.', "0"},
      {5.1, '.', "5.1"},
      {0, '.', "0"},
      {12345678, '.', "12345678"},
  };
  for (const auto& [value, separator, expected] : cases) {
    EXPECT_EQ(FormatScaleValue(value, separator), expected) << value;
  }
}

TEST(ChartGeometry, AutoScaleRefinesNarrowRangesAboutTheirMidpoint) {
  const std::tuple<double, double, double, double> cases[] = {
      {5, 5, 4.9, 5.1},
      {0.25, 0.25, 0.1, 0.3},  // midpoint round(2.5) / 10 = 0.2
      {0.25, 0.5, 0.1, 0.7},
      {150.25, 150.75, 149.5, 151.5},      // D = 1 once MaxY reaches 100
      {1500.25, 1500.75, 1490.5, 1510.5},  // D = 10 from 1000 on
      {99.5, 99.9, 98.7, 100.7},
      {3, 17, 3, 17},
      {1, 4, 1, 4},
      {1, 3, 0, 4},  // a span of exactly 2 is still refined
      {-0.3, -0.1, -0.4, 0},
  };
  for (const auto& [lo, hi, minY, maxY] : cases) {
    const ValueRange range = AutoScaleRange(lo, hi);
    EXPECT_NEAR(range.MinY, minY, 1e-9) << lo << ".." << hi;
    EXPECT_NEAR(range.MaxY, maxY, 1e-9) << lo << ".." << hi;
  }
}

TEST(ChartGeometry, ChartAndPlotRectangles) {
  // round(13 × 1.1) + 4 = 18 for the caption; "-0.000" is the narrowest
  // label margin, "-123456" is wider.
  EXPECT_EQ(BaseChartRect(147, 105, 13), (PixelRect{18, 4, 143, 101}));
  EXPECT_EQ(ChartRect(147, 105, 13, {0, 100}, '.', SixPerCharacter), (PixelRect{54, 4, 143, 101}));
  EXPECT_EQ(ChartRect(147, 105, 20, {0, 123456}, '.', SixPerCharacter).Left, 26 + 42);
  // Every label is measured as negative.
  EXPECT_EQ(ScaleLabelsWidth({1000000, 1000001}, '.', SixPerCharacter), 6 * 8);
  // The inset is 3 % of the control's width on every side.
  EXPECT_EQ(PlotRect({54, 4, 143, 101}, 147), (PixelRect{58, 8, 139, 97}));
  EXPECT_EQ(PlotRect({54, 4, 1127, 246}, 1131), (PixelRect{87, 37, 1094, 213}));
}

TEST(ChartGeometry, ValuesToHeightsAndRows) {
  const PixelRect plot{0, 10, 99, 109};  // 100 rows
  const ValueRange range{0, 100};
  EXPECT_DOUBLE_EQ(ValueToHeight(50, range, plot), 50);
  EXPECT_DOUBLE_EQ(ValueToHeight(-10, range, plot), -10);
  // An empty range gives the plot's bottom coordinate, not a division by 0.
  EXPECT_DOUBLE_EQ(ValueToHeight(5, {5, 5}, plot), 109);
  const std::pair<double, int> rows[] = {{0, 100},  {100, 0},  {50, 50}, {0.5, 100},
                                         {1.5, 98}, {-1, 101}, {101, -1}};
  for (const auto& [value, row] : rows) EXPECT_EQ(ValueToRow(value, range, plot), row) << value;
  // Values no strip can show still give rows far outside it.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  EXPECT_LT(ValueToRow(1e300, range, plot), -100000);
  EXPECT_LT(ValueToRow(kInf, range, plot), -100000);
  EXPECT_GT(ValueToRow(-kInf, range, plot), 100000);
  EXPECT_GT(ValueToRow(std::nan(""), range, plot), 100000);
}

TEST(ChartGeometry, GridAndTickOffsetsByRoom) {
  const std::tuple<int, int, std::vector<int>> grid[] = {
      {25, 2, {25, 12, 0}},
      {5, 0, {5, 2, 0}},
      {35, 3, {0, 8, 17, 24, 35}},
      {45, 4, {0, 9, 18, 27, 36, 45}},
      {45, 5, {0, 4, 9, 14, 18, 22, 27, 32, 36, 40, 45}},  // 4.5 -> 4, 13.5 -> 14
      {100, 10, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
  };
  for (const auto& [extent, count, offsets] : grid) {
    EXPECT_EQ(GridOffsets(extent, count), offsets) << extent << " " << count;
  }
  const std::pair<int, std::vector<int>> ticks[] = {
      {7, {4}},  // P.Left + 7 div 2 = P.Right - 4
      {8, {4}},
      {15, {7}},
      {25, {25, 12, 0}},
      {35, {0, 8, 17, 24, 35}},
      {45, {0, 9, 18, 27, 36, 45}},
      {50, {0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50}},
  };
  for (const auto& [width, offsets] : ticks) EXPECT_EQ(TimeTickOffsets(width), offsets) << width;
  EXPECT_EQ(ScaleCount(100, 10), 5);
  EXPECT_EQ(ScaleCount(19, 10), 0);
  EXPECT_EQ(ScaleCount(19, 0), 19);  // no division by zero
}

TEST(ChartGeometry, ValueAxisLabelsByRoom) {
  const ValueRange range{10, 30};
  using L = ScaleLabel;
  EXPECT_EQ(ScaleLabels(101, 0, range), (std::vector<L>{{50, 20, false}}));
  EXPECT_EQ(ScaleLabels(101, 1, range), (std::vector<L>{{50, 20, true}}));
  EXPECT_EQ(ScaleLabels(101, 2, range),
            (std::vector<L>{{101, 10, true}, {50, 20, true}, {0, 30, true}}));
  EXPECT_EQ(ScaleLabels(101, 3, range),
            (std::vector<L>{
                {101, 10, true}, {25, 25, true}, {50, 20, true}, {75, 15, true}, {0, 30, true}}));
  const std::vector<L> even = ScaleLabels(100, 4, range);
  ASSERT_EQ(even.size(), 6u);
  EXPECT_EQ(even[1], (L{20, 26, true}));
  EXPECT_EQ(even[5], (L{100, 10, true}));
  const std::vector<L> all = ScaleLabels(45, 7, range);
  ASSERT_EQ(all.size(), 11u);
  EXPECT_EQ(all[0], (L{0, 30, true}));
  EXPECT_EQ(all[1].Offset, 4);  // round(4.5), halves to even
  EXPECT_EQ(all[3].Offset, 14);
  EXPECT_DOUBLE_EQ(all[3].Value, 24);
}

}  // namespace
}  // namespace q5480
