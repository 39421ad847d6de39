#include "ui/table_dialog.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTextBlock>
#include <QVBoxLayout>

#include "ui/linear_dialog.h"
#include "ui/qt_text.h"

namespace q5480 {
namespace {

constexpr int kValueWidth = 90;

}  // namespace

TableDialog::TableDialog(ProgramContext& context, QWidget* parent)
    : LogicDialog(context, "TTablF", parent) {
  const auto texts = logic_.Texts();

  TableM = NamedControl<QPlainTextEdit>("TableM", this);
  TableM->setReadOnly(true);
  TableM->setLineWrapMode(QPlainTextEdit::NoWrap);
  TableM->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  TableM->setMinimumSize(320, 300);
  TableM->setAccessibleName(Q(context.Tr("Table")));
  FileT = NamedControl<QLabel>("FileT", this);

  BuildRangeGroups(
      texts, logic_.Unit(),
      [](const char* name, QWidget* parent) {
        auto* field = NamedControl<QLineEdit>(name, parent);
        ShowOnly(field);
        field->setFixedWidth(kValueWidth);
        field->setAlignment(Qt::AlignRight);
        return field;
      },
      this);

  LoadB = NamedControl<QPushButton>("LoadB", Q(texts.at("LoadB")), this);
  OKB = NamedControl<QPushButton>("OKB", QStringLiteral("OK"), this);
  OKB->setDefault(true);
  ExitB = NamedControl<QPushButton>("ExitB", Q(texts.at("ExitB")), this);
  connect(LoadB, &QPushButton::clicked, this, &TableDialog::LoadBClick);
  connect(OKB, &QPushButton::clicked, this, &TableDialog::OKBClick);
  connect(ExitB, &QPushButton::clicked, this, &TableDialog::reject);
  connect(JednostkiE, &QComboBox::activated, this, [this](int index) { logic_.SelectUnit(index); });

  auto* side = new QVBoxLayout;
  side->addWidget(FileT);
  side->addWidget(InputG);
  side->addWidget(ResultG);
  side->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(LoadB);
  buttons->addWidget(OKB);
  buttons->addWidget(ExitB);
  side->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(TableM, 1);
  layout->addLayout(side);
  ShowLogic();
}

void TableDialog::ShowLogic() {
  setWindowTitle(Q(logic_.Caption()));
  QStringList lines;
  for (const std::string& line : logic_.Lines()) lines << Q(line);
  TableM->setPlainText(lines.join(QLatin1Char('\n')));
  if (logic_.SelectedLine() >= 0) {
    QTextCursor cursor(TableM->document()->findBlockByNumber(logic_.SelectedLine()));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    TableM->setTextCursor(cursor);
    TableM->ensureCursorVisible();
  }
  FileT->setText(Q(logic_.FileName()));
  InMinE->setText(Q(logic_.FieldText(DialogField::InMin)));
  InMaxE->setText(Q(logic_.FieldText(DialogField::InMax)));
  ResMinE->setText(Q(logic_.FieldText(DialogField::ResMin)));
  ResMaxE->setText(Q(logic_.FieldText(DialogField::ResMax)));
  JednostkiE->setCurrentIndex(logic_.Unit());
  JednostkiE->setEnabled(logic_.UnitsEnabled());
  OKB->setEnabled(logic_.OkEnabled());
  FocusNamed(this, logic_.Focus());
}

void TableDialog::LoadBClick() {
  logic_.LoadClick();
  ShowLogic();
}

void TableDialog::OKBClick() {
  if (logic_.OkClick()) accept();
}

void TableDialog::reject() {
  logic_.ExitClick();
  QDialog::reject();
}

}  // namespace q5480
