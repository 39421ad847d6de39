#include "ui/room_temperature_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace q5480 {

RoomTemperatureDialog::RoomTemperatureDialog(ProgramContext& context, QWidget* parent)
    : LogicDialog(context, "TRoomF", parent), exits_([this] { ShowLogic(); }) {
  setWindowTitle(Q(logic_.Caption()));
  PromptT = NamedControl<QLabel>("PromptT", Q(logic_.Prompt()), this);
  RoomTE = NamedControl<QLineEdit>("RoomTE", this);
  RoomTE->setFixedWidth(80);
  RoomTE->setAlignment(Qt::AlignRight);
  PromptT->setBuddy(RoomTE);
  OKB = NamedControl<QPushButton>("OKB", QStringLiteral("OK"), this);
  OKB->setDefault(true);
  connect(OKB, &QPushButton::clicked, this, &RoomTemperatureDialog::OKBClick);
  exits_.Watch(RoomTE, [this](const std::string& text) { return logic_.RoomTEExit(text); });

  auto* field = new QHBoxLayout;
  field->addWidget(RoomTE);
  field->addStretch();
  field->addWidget(OKB);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PromptT);
  layout->addLayout(field);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ShowLogic();
}

void RoomTemperatureDialog::ShowLogic() {
  RoomTE->setText(Q(logic_.FieldText()));
  FocusNamed(this, logic_.Focus());
}

void RoomTemperatureDialog::OKBClick() {
  if (!exits_.Commit()) return;
  const bool closes = logic_.OkClick(RoomTE->text().toStdString());
  ShowLogic();
  if (closes) accept();
}

void RoomTemperatureDialog::done(int result) {
  exits_.Stop();
  QDialog::done(result);
}

}  // namespace q5480
