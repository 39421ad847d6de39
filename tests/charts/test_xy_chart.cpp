#include <QCoreApplication>
#include <QtTest/QTest>
#include <cmath>
#include <string>
#include <vector>

#include "chart_fixture.h"
#include "config/text.h"

namespace q5480::test {
namespace {

// The chart colours used below, and what the control shows for them.
constexpr std::uint32_t kBlackChart = 0x00000000;
constexpr QRgb kRed = 0xFF0000;  // 0x000000FF kept as 0x00BBGGRR
constexpr std::uint32_t kRedBgr = 0x000000FF;

using ChartSetters = ChartTest;

TEST_F(ChartSetters, ClampsAndTruncation) {
  const std::pair<int, int> borders[] = {{0, 1}, {9, 4}, {3, 3}, {-2, 1}, {4, 4}};
  for (const auto& [set, kept] : borders) {
    chart_->SetBorderWidth(set);
    EXPECT_EQ(chart_->BorderWidth(), kept) << set;
  }
  const std::pair<double, double> intervals[] = {
      {-5, 0}, {5000, 3600}, {2.5, 2.5}, {3600, 3600}, {std::nan(""), 0}};
  for (const auto& [set, kept] : intervals) {
    chart_->SetInterval(set);
    EXPECT_EQ(chart_->Interval(), kept) << set;
  }
  // Characters count, not bytes.
  std::string caption;
  for (int i = 0; i < 40; ++i) caption += i % 2 == 0 ? "ą" : "x";
  chart_->SetYLabel(caption);
  EXPECT_EQ(CharCount(chart_->YLabel()), 35u);
  EXPECT_EQ(chart_->YLabel(), Utf8Left(caption, 35));
  EXPECT_EQ(chart_->accessibleName().toStdString(), chart_->YLabel());
}

// A repaint is asked for only when a shown property changes; the interval
// never asks for one.
TEST_F(ChartSetters, RepaintOnlyOnChange) {
  chart_->show();
  int paints = 0;
  struct Counter : QObject {
    int& count;
    explicit Counter(int& c) : count(c) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) ++count;
      return false;
    }
  } counter(paints);
  chart_->installEventFilter(&counter);
  auto paintsAfter = [&](const std::function<void()>& change) {
    QCoreApplication::processEvents();
    paints = 0;
    change();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    return paints;
  };
  EXPECT_EQ(paintsAfter([&] { chart_->SetGrid(GridType::gtNone); }), 0);
  EXPECT_GT(paintsAfter([&] { chart_->SetGrid(GridType::gtBoth); }), 0);
  EXPECT_EQ(paintsAfter([&] { chart_->SetChartColor(0xFFFFFF); }), 0);
  EXPECT_GT(paintsAfter([&] { chart_->SetChartColor(0x99A8AC); }), 0);
  EXPECT_EQ(paintsAfter([&] { chart_->SetChartType(ChartKind::ctScatter); }), 0);
  EXPECT_GT(paintsAfter([&] { chart_->SetChartType(ChartKind::ctBar); }), 0);
  EXPECT_EQ(paintsAfter([&] { chart_->SetBorderWidth(1); }), 0);
  EXPECT_GT(paintsAfter([&] { chart_->SetYLabel(""); }), 0);  // always
  EXPECT_EQ(paintsAfter([&] { chart_->SetInterval(7); }), 0);
  chart_->removeEventFilter(&counter);
}

using ChartSampling = ChartTest;

TEST_F(ChartSampling, IntervalZeroTakesEveryValueAndTwoSecondsEveryEighth) {
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(chart_->AddValue(i, 0));
  EXPECT_EQ(chart_->Points().Count(), 10u);

  chart_->Clear();
  EXPECT_EQ(chart_->NextTime(), now_);
  chart_->SetInterval(2);
  std::vector<int> accepted;
  for (int offer = 1; offer <= 32; ++offer) {
    Advance(250);
    if (chart_->AddValue(offer, 0)) accepted.push_back(offer);
  }
  EXPECT_EQ(accepted, (std::vector<int>{8, 16, 24, 32}));
  ASSERT_EQ(chart_->Points().Count(), 4u);
  // Each point carries the instant it was due.
  EXPECT_EQ(chart_->NextTime(), now_);
  EXPECT_EQ(chart_->Points()[1].Value, 16);
  EXPECT_EQ(chart_->Points()[1].Time, AddInterval(now_, -4));
}

using ChartStrip = ChartTest;

// A plot 100 pixels wide holds 101 points; the 102nd scrolls: the oldest is
// dropped and its object carries the new value.
TEST_F(ChartStrip, FullStripScrollsReusingTheOldestPoint) {
  chart_->SetChartType(ChartKind::ctBar);
  chart_->SetChartColor(kBlackChart);
  ASSERT_NO_FATAL_FAILURE(FitPlotWidth(100));
  for (std::uint32_t i = 0; i < 101; ++i) chart_->AddValue(5, 0x010000 * (i + 1));
  ASSERT_EQ(chart_->Points().Count(), 101u);
  Paint();
  const ChartPoint* oldest = &chart_->Points()[0];

  EXPECT_TRUE(chart_->AddValue(5, 0x010000 * 102));
  ASSERT_EQ(chart_->Points().Count(), 101u);
  EXPECT_EQ(&chart_->Points()[100], oldest);
  EXPECT_EQ(chart_->Points()[0].Color, 0x010000u * 2);
  EXPECT_EQ(chart_->Points()[100].Color, 0x010000u * 102);
  const PixelRect plot = chart_->GetPlotRect();
  ASSERT_EQ(plot.Right - plot.Left, 100);
  // The bars moved one column left: column 1 shows the second value's.
  const QImage& overlay = chart_->OverlayBitmap();
  const int bottom = plot.Bottom - plot.Top + 1;
  EXPECT_EQ(overlay.pixel(1, bottom) & 0xFFFFFF, 0x000002u);  // blue 2 as 0xRRGGBB
  EXPECT_EQ(overlay.pixel(101, bottom) & 0xFFFFFF, 0x000066u);
  EXPECT_EQ(overlay.pixel(0, bottom) & 0xFFFFFF, 0u);
  EXPECT_EQ(overlay.pixel(102, bottom) & 0xFFFFFF, 0u);

  // A strip grown narrower keeps the newest points, the newest at its right.
  ASSERT_NO_FATAL_FAILURE(FitPlotWidth(80));
  EXPECT_TRUE(chart_->AddValue(5, 0x010000 * 103));
  ASSERT_EQ(chart_->Points().Count(), 81u);
  EXPECT_EQ(chart_->Points()[0].Color, 0x010000u * 23);
  Paint();
  EXPECT_EQ(chart_->OverlayBitmap().pixel(81, bottom) & 0xFFFFFF, 0x000067u);
}

// What an accepted point redraws by itself, the strip recomposing only what
// it changed and the reference lines moving with it, is what a full repaint
// shows.
TEST_F(ChartStrip, PointByPointEqualsAFullRepaint) {
  for (ChartKind type : {ChartKind::ctLine, ChartKind::ctBar, ChartKind::ctScatter}) {
    chart_->Clear();
    chart_->SetChartType(type);
    chart_->SetGrid(GridType::gtBoth);
    chart_->OnNeedLinesY = [](XyChart& sender, double& value, std::uint32_t& colour,
                              bool& finished) {
      value = sender.Points().Last().Value + (sender.Tag == 0 ? 1 : -1);
      colour = kRedBgr;
      finished = sender.Tag == 1;
    };
    ASSERT_NO_FATAL_FAILURE(FitPlotWidth(60, 140));
    chart_->AddValue(10, 0x00FFFF);
    chart_->AddValue(30, 0x00FFFF);
    Paint();
    // Every stretch of the strip holds values below 11 and above 29, so the
    // range stays 10..30 and each point is drawn by itself.
    for (int i = 0; i < 150; ++i) {
      chart_->AddValue(20 + 9.9 * std::sin(i / 5.0), i % 7 == 0 ? 0xFFFF00 : 0x00FFFF);
    }
    const QImage pointByPoint = chart_->OverlayBitmap().copy();
    Paint();
    // The scroll clears only the outer columns, so the edge of the dropped
    // point's shape stays in column 1 until the next full repaint.
    const QRect kept(2, 0, pointByPoint.width() - 2, pointByPoint.height());
    EXPECT_EQ(chart_->OverlayBitmap().copy(kept), pointByPoint.copy(kept))
        << static_cast<int>(type);
  }
}

using ChartPainting = ChartTest;

TEST_F(ChartPainting, StripPixelsAreOredIntoTheChartColour) {
  chart_->SetChartType(ChartKind::ctBar);
  chart_->SetChartColor(0x00102030);
  chart_->AddValue(5, 0x00030201);
  const QImage picture = Paint();
  // Above the time ticks, which cross the bottom rows.
  const int row = chart_->GetPlotRect().Bottom - chart_->GetPlotRect().Top - 10;
  EXPECT_EQ(OverlayPixel(picture, 1, row), 0x312213u);
  EXPECT_EQ(OverlayPixel(picture, 2, row), 0x302010u);  // no point: the chart
}

TEST_F(ChartPainting, ReferenceLinesAtTheirRowsAcrossThePlot) {
  chart_->SetChartType(ChartKind::ctScatter);
  ASSERT_NO_FATAL_FAILURE(FitPlotWidth(80));
  for (int i = 0; i < 3; ++i) chart_->AddValue(5, 0x00FF00);  // range 4.9..5.1
  double asked = 5.05;
  chart_->OnNeedLinesY = [&](XyChart&, double& value, std::uint32_t& colour, bool&) {
    value = asked;
    colour = kRedBgr;
  };
  const PixelRect plot = chart_->GetPlotRect();
  const int h = plot.Bottom - plot.Top + 1;
  const int row = h - static_cast<int>(std::nearbyint(chart_->ValueToHeight(5.05)));
  QImage picture = Paint();
  for (int x : {1, 40, 81}) {
    EXPECT_EQ(OverlayPixel(picture, x, row), kRed) << x;
    EXPECT_NE(OverlayPixel(picture, x, row - 1), kRed) << x;
    EXPECT_NE(OverlayPixel(picture, x, row + 1), kRed) << x;
  }
  EXPECT_NE(OverlayPixel(picture, 0, row), kRed);
  EXPECT_NE(OverlayPixel(picture, 82, row), kRed);
  // Outside the range nothing is drawn.
  asked = 6;
  picture = Paint();
  for (int y = 0; y <= h + 1; ++y) EXPECT_NE(OverlayPixel(picture, 40, y), kRed) << y;
}

TEST_F(ChartPainting, ReferenceLinesAreAskedForUntilFinished) {
  chart_->AddValue(5, 0x00FF00);
  std::vector<int> tags;
  chart_->OnNeedLinesY = [&](XyChart& sender, double&, std::uint32_t&, bool&) {
    tags.push_back(sender.Tag);
  };
  Paint();
  EXPECT_EQ(tags, std::vector<int>{0});
  tags.clear();
  chart_->AddValue(5, 0x00FF00);  // only the new point and the overlay
  EXPECT_EQ(tags, std::vector<int>{0});

  chart_->OnNeedLinesY = [&](XyChart& sender, double&, std::uint32_t&, bool& finished) {
    tags.push_back(sender.Tag);
    finished = sender.Tag == 3;
  };
  tags.clear();
  chart_->AddValue(5, 0x00FF00);
  EXPECT_EQ(tags, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(chart_->Tag, 4);
}

TEST_F(ChartPainting, GridRulesAreSilverOrGreyOnSilver) {
  ASSERT_NO_FATAL_FAILURE(FitPlotWidth(100));
  const PixelRect plot = chart_->GetPlotRect();
  const int x = plot.Right - 50;
  const int y = plot.Top + 2;
  const std::tuple<GridType, std::uint32_t, QRgb> cases[] = {
      {GridType::gtNone, 0xFFFFFF, 0xFFFFFF}, {GridType::gtHorz, 0xFFFFFF, 0xFFFFFF},
      {GridType::gtVert, 0xFFFFFF, 0xC0C0C0}, {GridType::gtBoth, 0xFFFFFF, 0xC0C0C0},
      {GridType::gtVert, 0xC0C0C0, 0x808080},
  };
  for (const auto& [grid, chartColour, shown] : cases) {
    chart_->SetGrid(grid);
    chart_->SetChartColor(chartColour);
    EXPECT_EQ(Paint().pixel(x, y) & 0xFFFFFF, shown) << static_cast<int>(grid);
  }
}

TEST_F(ChartPainting, ScalingAndItsHandler) {
  std::vector<std::string> texts;
  chart_->OnDrawScales = [&](XyChart&, std::string& text) { texts.push_back(text); };
  chart_->SetDecimalSeparator(',');
  chart_->resize(147, 300);
  // A failed reading neither moves the range nor poisons it.
  chart_->AddValue(std::nan(""), 0);
  EXPECT_EQ(chart_->MaxY(), 100);
  chart_->AddValue(0.25, 0);
  EXPECT_NEAR(chart_->MinY(), 0.1, 1e-12);
  EXPECT_NEAR(chart_->MaxY(), 0.3, 1e-12);
  Paint();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "0,2"), texts.end());

  // The owner may widen the range; with scaling off only the owner moves it.
  chart_->OnScaling = [](XyChart&, double& minY, double& maxY) {
    minY -= 1;
    maxY += 1;
  };
  chart_->AddValue(0.25, 0);
  EXPECT_NEAR(chart_->MinY(), -0.9, 1e-12);
  chart_->AutoScaling = false;
  chart_->OnScaling = nullptr;
  chart_->AddValue(50, 0);
  EXPECT_NEAR(chart_->MinY(), -0.9, 1e-12);
  EXPECT_NEAR(chart_->MaxY(), 1.3, 1e-12);
}

// A handler that empties the range must not break the painting.
TEST_F(ChartPainting, EmptyRangeFromTheHandlerPaintsWithoutNumbersGoingWrong) {
  chart_->OnScaling = [](XyChart&, double& minY, double& maxY) { maxY = minY; };
  std::vector<std::string> texts;
  chart_->OnDrawScales = [&](XyChart&, std::string& text) { texts.push_back(text); };
  chart_->OnNeedLinesY = [](XyChart&, double& value, std::uint32_t&, bool&) { value = 5; };
  for (ChartKind type : {ChartKind::ctLine, ChartKind::ctBar, ChartKind::ctScatter}) {
    chart_->SetChartType(type);
    for (int i = 0; i < 5; ++i) chart_->AddValue(5 + i, 0x00FF00);
    EXPECT_FALSE(Paint().isNull());
  }
  EXPECT_EQ(chart_->MinY(), chart_->MaxY());
  EXPECT_EQ(chart_->ValueToHeight(5), chart_->GetPlotRect().Bottom);
  ASSERT_FALSE(texts.empty());
  for (const std::string& text : texts)
    EXPECT_EQ(text.find_first_not_of("-0123456789."), std::string::npos) << text;
}

TEST_F(ChartPainting, ClearShowsTheChartWithoutDataAndRestartsSampling) {
  chart_->SetChartType(ChartKind::ctBar);
  chart_->SetChartColor(kBlackChart);
  chart_->AddValue(5, 0x00FF00);
  const int bottom = chart_->GetPlotRect().Bottom - chart_->GetPlotRect().Top + 1;
  EXPECT_EQ(OverlayPixel(Paint(), 1, bottom), 0x00FF00u);
  EXPECT_FALSE(chart_->NothingDrawn());
  Advance(1500);
  chart_->Clear();
  EXPECT_TRUE(chart_->NothingDrawn());
  EXPECT_TRUE(chart_->Points().Empty());
  EXPECT_EQ(chart_->NextTime(), now_);
  EXPECT_NEAR(chart_->MaxY(), 5.1, 1e-12);  // until the next scaling
  EXPECT_EQ(OverlayPixel(Paint(), 1, bottom), 0u);
}

TEST_F(ChartPainting, ClicksAndDoubleClicksReachTheOwner) {
  int clicks = 0;
  int doubleClicks = 0;
  chart_->OnClick = [&](CustomChart&) { ++clicks; };
  chart_->OnDblClick = [&](CustomChart&) { ++doubleClicks; };
  chart_->show();
  QTest::mouseClick(chart_.get(), Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(clicks, 1);
  QTest::mouseDClick(chart_.get(), Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(doubleClicks, 1);
  QTest::mouseClick(chart_.get(), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace q5480::test
