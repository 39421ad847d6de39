// Widget making that the windows share: the object name that tests and
// automation find a control by, the bold fixed-pitch value labels, and rows
// of widgets side by side.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QString>
#include <initializer_list>

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

// Widgets side by side, as a row of a window's layout.
inline QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
  auto* row = new QHBoxLayout;
  for (QWidget* widget : widgets) row->addWidget(widget);
  return row;
}

}  // namespace q5480
