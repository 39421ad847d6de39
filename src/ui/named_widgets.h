// Widget making that the windows share: the object name that tests and
// automation find a control by, and the bold fixed-pitch value labels.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QString>

namespace q5480 {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// A label named `name` in the bold fixed-pitch font, at `pointSize` when
// one is given (else the system's size).
inline QLabel* FixedFontLabel(const char* name, QWidget* parent, int pointSize = 0) {
  auto* label = Named(new QLabel(parent), name);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setBold(true);
  if (pointSize > 0) font.setPointSize(pointSize);
  label->setFont(font);
  return label;
}

}  // namespace q5480
