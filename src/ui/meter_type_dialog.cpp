#include "ui/meter_type_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"

namespace q5480 {

MeterTypeDialog::MeterTypeDialog(ProgramContext& context, QWidget* parent)
    : QDialog(parent), logic_(context) {
  setObjectName(QStringLiteral("TTransdF"));
  setWindowTitle(QString::fromStdString(logic_.Caption()));
  auto* label = new QLabel(QString::fromStdString(logic_.Label()), this);
  TypeList = new QListWidget(this);
  TypeList->setObjectName(QStringLiteral("TypeList"));
  for (const std::string& item : logic_.Items()) TypeList->addItem(QString::fromStdString(item));
  TypeList->setCurrentRow(logic_.Selected());
  label->setBuddy(TypeList);

  QDialogButtonBox* buttons =
      OkCancelButtons(context.Tr("Cancel"), this, &MeterTypeDialog::OKClick);
  connect(TypeList, &QListWidget::itemDoubleClicked, this, &MeterTypeDialog::OKClick);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(TypeList);
  layout->addWidget(buttons);
}

void MeterTypeDialog::OKClick() {
  logic_.Select(TypeList->currentRow());
  done(logic_.Ok() ? Accepted : Rejected);
}

void MeterTypeDialog::reject() {
  logic_.Cancel();
  QDialog::reject();
}

bool TypSelect(ProgramContext& context, QWidget* parent) {
  MeterTypeDialog window(context, parent);
  return window.exec() == QDialog::Accepted;
}

}  // namespace q5480
