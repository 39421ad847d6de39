#include "ui/power_series_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace q5480 {
namespace {

constexpr int kFieldWidth = 100;

}  // namespace

PowerSeriesDialog::PowerSeriesDialog(ProgramContext& context, QWidget* parent)
    : LogicDialog(context, "TPowerF", parent), exits_([this] { ShowLogic(); }) {
  const auto texts = logic_.Texts();
  const auto hints = logic_.Hints();
  setWindowTitle(Q(texts.at("Caption")));

  FormulaT = NamedControl<QLabel>(
      "FormulaT",
      QStringLiteral(
          "y = a + bx + cx<sup>2</sup> + dx<sup>3</sup> + fx<sup>4</sup> + gx<sup>5</sup>"
          " + hx<sup>6</sup> + ix<sup>7</sup> + jx<sup>8</sup>"),
      this);
  FormulaT->setTextFormat(Qt::RichText);
  // The exponents stay readable.
  QFont formulaFont = FormulaT->font();
  formulaFont.setPointSizeF(formulaFont.pointSizeF() * 1.25);
  FormulaT->setFont(formulaFont);
  auto* coefficients = new QGridLayout;
  for (int i = 0; i < kCoefficientFields; ++i) {
    const std::string control = PowerSeriesWindowLogic::CoefficientControl(i);
    const QString letter = Q(control.substr(0, 1)).toLower();
    CoefficientT[i] =
        NamedControl<QLabel>((control.substr(0, 1) + "T").c_str(), letter + " =", this);
    CoefficientE[i] = NamedControl<QLineEdit>(control.c_str(), this);
    CoefficientE[i]->setMaxLength(static_cast<int>(kCoefficientMaxLength));
    CoefficientE[i]->setFixedWidth(kFieldWidth);
    CoefficientE[i]->setAlignment(Qt::AlignRight);
    CoefficientE[i]->setAccessibleName(letter);
    CoefficientT[i]->setBuddy(CoefficientE[i]);
    coefficients->addWidget(CoefficientT[i], i / 3, 2 * (i % 3), Qt::AlignRight);
    coefficients->addWidget(CoefficientE[i], i / 3, 2 * (i % 3) + 1);
  }

  BuildRangeGroups(
      texts, logic_.Unit(),
      [&](const char* name, QWidget* parent) {
        auto* field = NamedControl<QLineEdit>(name, parent);
        field->setMaxLength(static_cast<int>(kSeriesSignalMaxLength));
        field->setFixedWidth(kFieldWidth);
        field->setAlignment(Qt::AlignRight);
        if (hints.count(name) != 0) field->setToolTip(Q(hints.at(name)));
        return field;
      },
      this);
  ShowOnly(ResMinE);
  ShowOnly(ResMaxE);

  QDialogButtonBox* buttons =
      OkCancelButtons(texts.at("CancelB"), this, &PowerSeriesDialog::OKBClick);
  NameButtons(buttons, OKB, CancelB);
  connect(JednostkiE, &QComboBox::activated, this, [this](int index) { logic_.SelectUnit(index); });

  for (int i = 0; i < kCoefficientFields; ++i) {
    exits_.Watch(CoefficientE[i],
                 [this, i](const std::string& text) { return logic_.CoefficientExit(i, text); });
  }
  exits_.Watch(InMinE, [this](const std::string& text) {
    return logic_.FieldExit(DialogField::InMin, text);
  });
  exits_.Watch(InMaxE, [this](const std::string& text) {
    return logic_.FieldExit(DialogField::InMax, text);
  });
  for (QLineEdit* field : findChildren<QLineEdit*>()) {
    connect(field, &QLineEdit::textEdited, this, [this] {
      logic_.FieldChanged();
      OKB->setText(Q(logic_.ButtonText()));
    });
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FormulaT);
  layout->addLayout(coefficients);
  layout->addLayout(Row({InputG, ResultG}));
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ShowLogic();
}

void PowerSeriesDialog::ShowLogic() {
  for (int i = 0; i < kCoefficientFields; ++i) {
    if (!CoefficientE[i]->isModified()) CoefficientE[i]->setText(Q(logic_.CoefficientText(i)));
  }
  ShowRangeFields(logic_);
  OKB->setText(Q(logic_.ButtonText()));
  FocusNamed(this, logic_.Focus());
}

void PowerSeriesDialog::OKBClick() {
  if (!exits_.Commit()) return;
  const bool closes = logic_.ButtonClick();
  ShowLogic();
  if (closes) {
    exits_.Stop();
    accept();
  }
}

void PowerSeriesDialog::reject() {
  exits_.Stop();
  logic_.CancelClick();
  QDialog::reject();
}

}  // namespace q5480
