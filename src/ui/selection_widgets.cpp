#include "ui/selection_widgets.h"

#include <QDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace q5480 {

namespace selection_ui {

QString Q(const std::string& text) { return QString::fromStdString(text); }

namespace {

template <typename Button>
Button* Make(const Texts& texts, const std::string& name, QWidget* parent) {
  auto* button = new Button(Q(texts.at(name)), parent);
  button->setObjectName(Q(name));
  return button;
}

}  // namespace

QRadioButton* Radio(const Texts& texts, const std::string& name, QWidget* parent) {
  return Make<QRadioButton>(texts, name, parent);
}

QCheckBox* Check(const Texts& texts, const std::string& name, QWidget* parent) {
  return Make<QCheckBox>(texts, name, parent);
}

void OnChosen(QRadioButton* button, QObject* receiver, std::function<void()> chosen) {
  // Checking one button of a group unchecks the other, which says nothing.
  QObject::connect(button, &QAbstractButton::toggled, receiver,
                   [chosen = std::move(chosen)](bool checked) {
                     if (checked) chosen();
                   });
}

void OnToggled(QCheckBox* box, QObject* receiver, std::function<void(bool)> toggled) {
  QObject::connect(box, &QAbstractButton::toggled, receiver, std::move(toggled));
}

void Show(QAbstractButton* button, bool checked, bool enabled) {
  const QSignalBlocker blocker(button);
  // An exclusive radio button is unchecked by checking another one.
  if (checked || button->autoExclusive() == false) button->setChecked(checked);
  button->setEnabled(enabled);
}

void Show(QAbstractButton* button, const ChoiceState& state) {
  Show(button, state.checked, state.enabled);
}

QDialogButtonBox* Buttons(const Texts& texts, bool withMore, QWidget* parent) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, parent);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKB"));
  QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("CancelB"));
  cancel->setText(Q(texts.at("CancelB")));
  if (withMore) {
    QPushButton* more = buttons->addButton(Q(texts.at("MoreB")), QDialogButtonBox::ActionRole);
    more->setObjectName(QStringLiteral("MoreB"));
  }
  return buttons;
}

QGroupBox* ConversionGroup(const Texts& texts, const std::string& prefix,
                           std::array<QRadioButton*, kConversionCount>& buttons, QWidget* parent) {
  static constexpr std::array<const char*, kConversionCount> kNames{"NoneR", "SeriesR", "LinearR",
                                                                    "TableR"};
  auto* group = new QGroupBox(Q(texts.at("ConversionG")), parent);
  auto* layout = new QVBoxLayout(group);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i] = new QRadioButton(Q(texts.at(kNames[i])), group);
    buttons[i]->setObjectName(Q(prefix + kNames[i]));
    layout->addWidget(buttons[i]);
  }
  return group;
}

RangeLabelWidgets MakeRangeLabels(const std::string& prefix, QWidget* parent) {
  const auto label = [&](const char* name) {
    auto* widget = new QLabel(parent);
    widget->setObjectName(Q(prefix + name));
    return widget;
  };
  return {label("MaxRangeL"), label("InputRangeL"), label("ResultRangeL")};
}

void ShowRangeLabels(const RangeLabelWidgets& widgets, const RangeLabels& labels) {
  widgets.maximum->setText(Q(labels.maximum));
  widgets.input->setText(Q(labels.input));
  widgets.result->setText(Q(labels.result));
}

int ResultOf(SelectionOutcome outcome) {
  switch (outcome) {
    case SelectionOutcome::Ok:
      return QDialog::Accepted;
    case SelectionOutcome::More:
      return kMoreResult;
    case SelectionOutcome::Cancel:
      break;
  }
  return QDialog::Rejected;
}

}  // namespace selection_ui

}  // namespace q5480
