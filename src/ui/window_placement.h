// Where the service windows open: centred over the main window, a little
// below its top.
#pragma once

#include <QWidget>

namespace q5480 {

// Sizes `window` and centres it over `centreWidth` pixels of `parent` (the
// parent's width when 0), 44 pixels at 96 dpi below the parent's top.
// Without a parent the window stays where the system puts it.
inline void PlaceBelowParentTop(QWidget& window, const QWidget* parent, int centreWidth = 0) {
  constexpr int kTopOffset = 44;
  if (parent == nullptr) return;
  window.adjustSize();
  const double scale = window.logicalDpiY() / 96.0;
  const int width = centreWidth > 0 ? centreWidth : parent->width();
  window.move(parent->x() + (width - window.width()) / 2,
              parent->y() + static_cast<int>(kTopOffset * scale));
}

}  // namespace q5480
