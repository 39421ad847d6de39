// The OK and Cancel row of the program's small windows.
#pragma once

#include <QDialogButtonBox>
#include <QPushButton>
#include <string>

namespace q5480 {

// OK keeps its own text; Cancel shows the translation of "Cancel".
inline QDialogButtonBox* OkCancelButtons(const std::string& cancelText, QWidget* parent) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, parent);
  buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromStdString(cancelText));
  return buttons;
}

}  // namespace q5480
