#include "ui/options_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"

namespace q5480 {
namespace {

QLineEdit* PasswordEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setEchoMode(QLineEdit::Password);
  edit->setMaxLength(static_cast<int>(kPasswordMaxLength));
  return edit;
}

}  // namespace

OptionsDialog::OptionsDialog(ProgramContext& context, QWidget* parent)
    : QDialog(parent), logic_(context) {
  setObjectName(QStringLiteral("TOgolneF"));
  const auto texts = logic_.Texts();
  setWindowTitle(Q(texts.at("Caption")));

  JezykG = new QGroupBox(Q(texts.at("JezykG")), this);
  Wybierz = new QLabel(Q(texts.at("Wybierz")), JezykG);
  ListaLang = new QListWidget(JezykG);
  ListaLang->setObjectName(QStringLiteral("ListaLang"));
  for (const std::string& name : logic_.ListaLang()) ListaLang->addItem(Q(name));
  ListaLang->setCurrentRow(logic_.Selected());
  ListaLang->setFixedHeight(ListaLang->sizeHintForRow(0) * 8 + 2 * ListaLang->frameWidth());
  auto* languageLayout = new QVBoxLayout(JezykG);
  languageLayout->addWidget(Wybierz);
  languageLayout->addWidget(ListaLang);

  HasloG = new QGroupBox(Q(texts.at("HasloG")), this);
  StareT = new QLabel(Q(texts.at("StareT")), HasloG);
  StareE = PasswordEdit("StareE", HasloG);
  NoweT = new QLabel(Q(texts.at("NoweT")), HasloG);
  NoweE = PasswordEdit("NoweE", HasloG);
  auto* passwordLayout = new QGridLayout(HasloG);
  passwordLayout->addWidget(StareT, 0, 0);
  passwordLayout->addWidget(StareE, 0, 1);
  passwordLayout->addWidget(NoweT, 1, 0);
  passwordLayout->addWidget(NoweE, 1, 1);
  passwordLayout->setRowStretch(2, 1);

  QDialogButtonBox* buttons =
      OkCancelButtons(texts.at("Cancelbutt"), this, &OptionsDialog::OKbuttClick);
  OKbutt = buttons->button(QDialogButtonBox::Ok);
  Cancelbutt = buttons->button(QDialogButtonBox::Cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(Row({JezykG, HasloG}));
  layout->addWidget(buttons);
}

void OptionsDialog::OKbuttClick() {
  logic_.Select(ListaLang->currentRow());
  switch (logic_.OKbuttClick(StareE->text().toStdString(), NoweE->text().toStdString())) {
    case DialogResult::Ok: accept(); break;
    case DialogResult::Cancel: reject(); break;
    case DialogResult::StayOpen:
      StareE->clear();
      StareE->setFocus();
      break;
  }
}

void OptionsDialog::reject() {
  logic_.Cancelbutt();
  QDialog::reject();
}

}  // namespace q5480
