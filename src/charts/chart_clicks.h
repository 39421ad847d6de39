// Clicks and double-clicks of the left button on a chart, for its owner. A
// click is a press and a release of the button over the control.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

namespace q5480 {

class ClickReporter : public QObject {
 public:
  // Watches `control`, which owns the reporter.
  ClickReporter(QWidget& control, std::function<void()> onClick,
                std::function<void()> onDoubleClick);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& control_;
  std::function<void()> onClick_;
  std::function<void()> onDoubleClick_;
  bool pressed_ = false;
};

// Sets a chart control up: drawn on its parent's surface, never a stop for
// the keyboard, named `accessibleName` for screen readers, its clicks going to
// its OnClick and OnDblClick handlers.
template <typename Chart>
void SetUpChartControl(Chart& chart, const QString& accessibleName) {
  chart.setFocusPolicy(Qt::NoFocus);
  chart.setAttribute(Qt::WA_OpaquePaintEvent);
  chart.setAccessibleName(accessibleName);
  new ClickReporter(
      chart,
      [&chart] {
        if (chart.OnClick) chart.OnClick(chart);
      },
      [&chart] {
        if (chart.OnDblClick) chart.OnDblClick(chart);
      });
}

}  // namespace q5480
