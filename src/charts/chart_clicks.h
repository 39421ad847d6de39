// Clicks and double-clicks of the left button on a chart, for its owner. A
// click is a press and a release of the button over the control.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

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

}  // namespace q5480
