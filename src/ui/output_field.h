// The output field and its button, which both service windows hand to
// their logic in the same way.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace q5480 {

// The button or Enter in the field hands the typed text to `logic`; the
// field then shows what the logic made of it and `paint` redraws the
// window. After Enter the focus stays on a refused entry, else it moves
// to the button.
template <typename Logic>
void ConnectOutputField(QWidget* window, Logic& logic, QLineEdit* field, QPushButton* button,
                        std::function<void()> paint) {
  const auto take = [&logic, field, button, paint](bool enter) {
    logic.SetOutbuttClick(field->text().toStdString());
    field->setText(QString::fromStdString(logic.View().SetOut));
    paint();
    if (!enter) return;
    if (logic.OutputEntryWrong()) {
      field->setFocus();
    } else {
      button->setFocus();
    }
  };
  QObject::connect(button, &QPushButton::clicked, window, [take] { take(false); });
  QObject::connect(field, &QLineEdit::returnPressed, window, [take] { take(true); });
}

}  // namespace q5480
