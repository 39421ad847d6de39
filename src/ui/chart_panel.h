// The chart view's controls on the main window: the lamps and options above
// the strip chart, the clock, the recording indicator and the buttons below
// it. The chart view's logic decides; this paints what it says.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>
#include <functional>
#include <memory>

#include "charts/xy_chart.h"
#include "workflow/chart_view.h"

namespace q5480 {

// The window's XyChart as the chart view sees it.
class StripChartControl : public ChartControl {
 public:
  explicit StripChartControl(XyChart& chart) : chart_(chart) {}
  bool AddValue(double value, std::uint32_t colour) override {
    return chart_.AddValue(value, colour);
  }
  void Clear() override { chart_.Clear(); }
  std::size_t PointCount() const override { return chart_.Points().Count(); }
  double NewestValue() const override {
    return chart_.Points().Empty() ? 0 : chart_.Points().Last().Value;
  }
  double Interval() const override { return chart_.Interval(); }
  void SetInterval(double seconds) override { chart_.SetInterval(seconds); }
  void SetStyle(ChartStyle style) override;
  void SetAutoScaling(bool on) override;
  void Repaint() override { chart_.RepaintAll(); }

 private:
  XyChart& chart_;
};

class ChartPanel : public QWidget {
  Q_OBJECT
 public:
  explicit ChartPanel(QWidget* parent);

  // Connects the controls to the view's logic; `leave` switches the view
  // off, `changed` repaints the window after a control did something.
  void Connect(ChartView& logic, ProgramContext& context, std::function<void()> leave,
               std::function<void()> changed);
  StripChartControl& Control() { return *control_; }
  void Show(const ChartView& logic);
  // The right-click command: the chart as shown, saved as a PNG file.
  void SavePicture();

  QWidget* WykresP1;  // lamps and options
  QLabel* NewAvLED;
  QLabel* NewAvT;
  QLabel* LargeErLED;
  QLabel* LargeErT;
  QCheckBox* ShowFilterCB;
  QRadioButton* LineRB;
  QRadioButton* DotRB;
  QRadioButton* BarRB;
  QLabel* WykresIntT;
  QSpinBox* WykresIntUD;  // the interval in whole seconds
  QWidget* WykresP2;      // the chart and its buttons
  XyChart* XYChart1;
  QLabel* WykresTimeT;
  QLabel* SavingI;
  QCheckBox* StopScalingCB;
  QPushButton* WykresStartB;
  QPushButton* WykresClearB;
  QPushButton* WykresExitB;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<StripChartControl> control_;
  ChartView* logic_ = nullptr;
  ProgramContext* context_ = nullptr;
  std::function<void()> changed_;
};

}  // namespace q5480
