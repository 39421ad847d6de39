#include "ui/ttablf.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTextBlock>
#include <QVBoxLayout>

#include "ui/tlinaf.h"

namespace q5480 {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

constexpr int kValueWidth = 90;

}  // namespace

TTablF::TTablF(ProgramContext& context, QWidget* parent) : QDialog(parent), logic_(context) {
  setObjectName(QStringLiteral("TTablF"));
  const auto texts = logic_.Texts();

  TableM = NamedControl<QPlainTextEdit>("TableM", this);
  TableM->setReadOnly(true);
  TableM->setLineWrapMode(QPlainTextEdit::NoWrap);
  TableM->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  TableM->setMinimumSize(320, 300);
  TableM->setAccessibleName(Q(context.Tr("Table")));
  FileT = NamedControl<QLabel>("FileT", this);

  InputG = NamedControl<QGroupBox>("InputG", Q(texts.at("InputG")), this);
  ResultG = NamedControl<QGroupBox>("ResultG", Q(texts.at("ResultG")), this);
  const auto label = [&](const char* name, QWidget* parent) {
    return NamedControl<QLabel>(name, Q(texts.at(name)), parent);
  };
  const auto value = [&](const char* name, QWidget* parent) {
    auto* field = NamedControl<QLineEdit>(name, parent);
    ShowOnly(field);
    field->setFixedWidth(kValueWidth);
    field->setAlignment(Qt::AlignRight);
    return field;
  };
  InMinT = label("InMinT", InputG);
  InMinE = value("InMinE", InputG);
  InMinUnitT = label("InMinUnitT", InputG);
  InMaxT = label("InMaxT", InputG);
  InMaxE = value("InMaxE", InputG);
  InMaxUnitT = label("InMaxUnitT", InputG);
  ResMinT = label("ResMinT", ResultG);
  ResMinE = value("ResMinE", ResultG);
  ResMaxT = label("ResMaxT", ResultG);
  ResMaxE = value("ResMaxE", ResultG);
  JednostkiT = label("JednostkiT", ResultG);
  JednostkiE = NamedControl<QComboBox>("JednostkiE", ResultG);
  FillUnits(JednostkiE, logic_.Unit());
  const std::pair<QLabel*, QWidget*> buddies[] = {
      {InMinT, InMinE}, {InMaxT, InMaxE}, {ResMinT, ResMinE}, {ResMaxT, ResMaxE}, {JednostkiT, JednostkiE}};
  for (const auto& [caption, field] : buddies) caption->setBuddy(field);

  auto* input = new QGridLayout(InputG);
  input->addWidget(InMinT, 0, 0);
  input->addWidget(InMinE, 0, 1);
  input->addWidget(InMinUnitT, 0, 2);
  input->addWidget(InMaxT, 1, 0);
  input->addWidget(InMaxE, 1, 1);
  input->addWidget(InMaxUnitT, 1, 2);
  auto* result = new QGridLayout(ResultG);
  result->addWidget(ResMinT, 0, 0);
  result->addWidget(ResMinE, 0, 1);
  result->addWidget(ResMaxT, 1, 0);
  result->addWidget(ResMaxE, 1, 1);
  result->addWidget(JednostkiT, 2, 0);
  result->addWidget(JednostkiE, 2, 1, 1, 2);
  PackLeft(input);
  PackLeft(result);

  LoadB = NamedControl<QPushButton>("LoadB", Q(texts.at("LoadB")), this);
  OKB = NamedControl<QPushButton>("OKB", QStringLiteral("OK"), this);
  OKB->setDefault(true);
  ExitB = NamedControl<QPushButton>("ExitB", Q(texts.at("ExitB")), this);
  connect(LoadB, &QPushButton::clicked, this, &TTablF::LoadBClick);
  connect(OKB, &QPushButton::clicked, this, &TTablF::OKBClick);
  connect(ExitB, &QPushButton::clicked, this, &TTablF::reject);
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

void TTablF::ShowLogic() {
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

void TTablF::LoadBClick() {
  logic_.LoadClick();
  ShowLogic();
}

void TTablF::OKBClick() {
  if (logic_.OkClick()) accept();
}

void TTablF::reject() {
  logic_.ExitClick();
  QDialog::reject();
}

}  // namespace q5480
