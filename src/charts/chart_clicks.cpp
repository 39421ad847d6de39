#include "charts/chart_clicks.h"

#include <QMouseEvent>
#include <QWidget>
#include <utility>

namespace q5480 {

ClickReporter::ClickReporter(QWidget& control, std::function<void()> onClick,
                             std::function<void()> onDoubleClick)
    : QObject(&control),
      control_(control),
      onClick_(std::move(onClick)),
      onDoubleClick_(std::move(onDoubleClick)) {
  control.installEventFilter(this);
}

bool ClickReporter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched != &control_ ||
      (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
       type != QEvent::MouseButtonDblClick)) {
    return false;
  }
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return false;
  // Accepted, so that the release comes back to the control.
  mouse->accept();
  if (type == QEvent::MouseButtonPress) {
    pressed_ = true;
  } else if (type == QEvent::MouseButtonRelease) {
    const bool click = pressed_ && control_.rect().contains(mouse->position().toPoint());
    pressed_ = false;
    if (click && onClick_) onClick_();
  } else if (onDoubleClick_) {
    onDoubleClick_();
  }
  return true;
}

}  // namespace q5480
