#include "ui/linear_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace q5480 {
namespace {

constexpr int kFieldWidth = 90;

}  // namespace

FieldExits::~FieldExits() {
  for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
}

void FieldExits::Watch(QLineEdit* edit, Check check) {
  fields_.emplace_back(edit, check);
  connections_.push_back(
      QObject::connect(edit, &QLineEdit::editingFinished, edit, [this, edit, check] {
        if (edit->isModified() && !stopped_) Run(edit, check);
      }));
}

bool FieldExits::Run(QLineEdit* edit, const Check& check) {
  // The message box takes the focus: that must not check the field again.
  edit->setModified(false);
  const bool accepted = check(edit->text().toStdString());
  after_();
  if (!accepted) {
    justRefused_ = true;
    QTimer::singleShot(0, edit, [this] { justRefused_ = false; });
  }
  return accepted;
}

bool FieldExits::Commit() {
  if (justRefused_) return false;
  for (const auto& [edit, check] : fields_) {
    if (edit->isModified() && !Run(edit, check)) return false;
  }
  return true;
}

void NameButtons(QDialogButtonBox* buttons, QPushButton*& ok, QPushButton*& cancel) {
  ok = buttons->button(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("OKB"));
  ok->setDefault(true);
  cancel = buttons->button(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("CancelB"));
  cancel->setFocusPolicy(Qt::TabFocus);
}

void FillUnits(QComboBox* list, int unit) {
  for (const std::string& name : ResultUnitChoices()) list->addItem(Q(name));
  list->setCurrentIndex(unit);
}

void FocusNamed(QWidget* window, const std::string& control) {
  if (control.empty()) return;
  if (auto* widget = window->findChild<QWidget*>(Q(control))) widget->setFocus();
}

void ShowOnly(QLineEdit* field) {
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  field->setPalette(palette);
}

void PackLeft(QGridLayout* grid) { grid->setColumnStretch(grid->columnCount(), 1); }

void RangeGroups::BuildRangeGroups(const std::map<std::string, std::string>& texts, int unit,
                                   const MakeField& field, QWidget* parent) {
  const auto label = [&](const char* name, QWidget* group) {
    return NamedControl<QLabel>(name, QString::fromStdString(texts.at(name)), group);
  };
  InputG = NamedControl<QGroupBox>("InputG", QString::fromStdString(texts.at("InputG")), parent);
  ResultG = NamedControl<QGroupBox>("ResultG", QString::fromStdString(texts.at("ResultG")), parent);
  InMinT = label("InMinT", InputG);
  InMinE = field("InMinE", InputG);
  InMinUnitT = label("InMinUnitT", InputG);
  InMaxT = label("InMaxT", InputG);
  InMaxE = field("InMaxE", InputG);
  InMaxUnitT = label("InMaxUnitT", InputG);
  ResMinT = label("ResMinT", ResultG);
  ResMinE = field("ResMinE", ResultG);
  ResMaxT = label("ResMaxT", ResultG);
  ResMaxE = field("ResMaxE", ResultG);
  JednostkiT = label("JednostkiT", ResultG);
  JednostkiE = NamedControl<QComboBox>("JednostkiE", ResultG);
  FillUnits(JednostkiE, unit);
  const std::pair<QLabel*, QWidget*> buddies[] = {{InMinT, InMinE},
                                                  {InMaxT, InMaxE},
                                                  {ResMinT, ResMinE},
                                                  {ResMaxT, ResMaxE},
                                                  {JednostkiT, JednostkiE}};
  for (const auto& [caption, control] : buddies) caption->setBuddy(control);

  auto* input = new QGridLayout(InputG);
  input->addWidget(InMinT, 0, 0);
  input->addWidget(InMinE, 0, 1);
  input->addWidget(InMinUnitT, 0, 2);
  input->addWidget(InMaxT, 1, 0);
  input->addWidget(InMaxE, 1, 1);
  input->addWidget(InMaxUnitT, 1, 2);
  input->setRowStretch(2, 1);
  auto* result = new QGridLayout(ResultG);
  result->addWidget(ResMinT, 0, 0);
  result->addWidget(ResMinE, 0, 1);
  result->addWidget(ResMaxT, 1, 0);
  result->addWidget(ResMaxE, 1, 1);
  result->addWidget(JednostkiT, 2, 0);
  result->addWidget(JednostkiE, 2, 1, 1, 2);
  PackLeft(input);
  PackLeft(result);
}

LinearDialog::LinearDialog(ProgramContext& context, QWidget* parent)
    : LogicDialog(context, "TLinaF", parent), exits_([this] { ShowLogic(); }) {
  const auto texts = logic_.Texts();
  const auto hints = logic_.Hints();
  setWindowTitle(Q(texts.at("Caption")));

  BuildRangeGroups(
      texts, logic_.Unit(),
      [&](const char* name, QWidget* parent) {
        auto* field = NamedControl<QLineEdit>(name, parent);
        field->setFixedWidth(kFieldWidth);
        field->setAlignment(Qt::AlignRight);
        field->setToolTip(Q(hints.at(name)));
        return field;
      },
      this);

  QDialogButtonBox* buttons = OkCancelButtons(texts.at("CancelB"), this, &LinearDialog::OKBClick);
  NameButtons(buttons, OKB, CancelB);
  connect(JednostkiE, &QComboBox::activated, this, [this](int index) { logic_.SelectUnit(index); });

  const std::pair<QLineEdit*, DialogField> fields[] = {{InMinE, DialogField::InMin},
                                                       {InMaxE, DialogField::InMax},
                                                       {ResMinE, DialogField::ResMin},
                                                       {ResMaxE, DialogField::ResMax}};
  for (const auto& [field, which] : fields) {
    exits_.Watch(field, [this, which = which](const std::string& text) {
      return logic_.FieldExit(which, text);
    });
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(Row({InputG, ResultG}));
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ShowLogic();
}

void LinearDialog::ShowLogic() {
  ShowRangeFields(logic_);
  FocusNamed(this, logic_.Focus());
}

void LinearDialog::OKBClick() {
  if (!exits_.Commit()) return;
  if (logic_.OkClick()) {
    accept();
  } else {
    FocusNamed(this, logic_.Focus());
  }
}

void LinearDialog::done(int result) {
  exits_.Stop();
  QDialog::done(result);
}

}  // namespace q5480
