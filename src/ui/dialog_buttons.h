// The OK and Cancel row of the program's small windows.
#pragma once

#include <QDialog>
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

// The row of `window`: OK runs `ok`, Cancel closes the window as Esc does.
template <typename Window>
QDialogButtonBox* OkCancelButtons(const std::string& cancelText, Window* window,
                                  void (Window::*ok)()) {
  QDialogButtonBox* buttons = OkCancelButtons(cancelText, static_cast<QWidget*>(window));
  QObject::connect(buttons, &QDialogButtonBox::accepted, window, ok);
  QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::reject);
  return buttons;
}

}  // namespace q5480
