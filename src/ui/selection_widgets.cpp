#include "ui/selection_widgets.h"

#include <QDialog>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace q5480 {

namespace selection_ui {

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

void AddWireButtons(const Texts& texts, WireButtons& buttons, QWidget* parent, QBoxLayout* layout,
                    std::function<void(int)> chosen) {
  for (int tryb = kTrybTwoWire; tryb <= kTrybFourWire; ++tryb) {
    buttons[tryb] = Radio(texts, "Wire" + std::to_string(tryb) + "R", parent);
    layout->addWidget(buttons[tryb]);
    OnChosen(buttons[tryb], parent, [chosen, tryb] { chosen(tryb); });
  }
}

QGroupBox* InputGroup(const Texts& texts, QRadioButton*& single, QRadioButton*& doubleInput,
                      QWidget* parent, std::function<void(bool)> chosen) {
  auto* group = new QGroupBox(Q(texts.at("InputG")), parent);
  auto* layout = new QVBoxLayout(group);
  single = Radio(texts, "SingleR", group);
  doubleInput = Radio(texts, "DoubleR", group);
  layout->addWidget(single);
  layout->addWidget(doubleInput);
  layout->addStretch();
  OnChosen(single, parent, [chosen] { chosen(false); });
  OnChosen(doubleInput, parent, [chosen] { chosen(true); });
  return group;
}

QGroupBox* ConversionGroup(const Texts& texts, const std::string& prefix,
                           ConversionButtons& buttons, QWidget* parent,
                           std::function<void(Conversion)> chosen) {
  static constexpr std::array<const char*, kConversionCount> kNames{"NoneR", "SeriesR", "LinearR",
                                                                    "TableR"};
  auto* group = new QGroupBox(Q(texts.at("ConversionG")), parent);
  auto* layout = new QVBoxLayout(group);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i] = new QRadioButton(Q(texts.at(kNames[i])), group);
    buttons[i]->setObjectName(Q(prefix + kNames[i]));
    layout->addWidget(buttons[i]);
    OnChosen(buttons[i], parent, [chosen, i] { chosen(static_cast<Conversion>(i)); });
  }
  return group;
}

void ShowConversion(const ConversionButtons& buttons, Conversion conversion) {
  for (std::size_t kind = 0; kind < buttons.size(); ++kind) {
    Show(buttons[kind], static_cast<Conversion>(kind) == conversion);
  }
}

RangeLabelWidgets AddRangeLabels(const std::string& prefix, QWidget* parent, QBoxLayout* layout) {
  const auto label = [&](const char* name) {
    auto* widget = new QLabel(parent);
    widget->setObjectName(Q(prefix + name));
    layout->addWidget(widget);
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
    case SelectionOutcome::Ok: return QDialog::Accepted;
    case SelectionOutcome::More: return kMoreResult;
    case SelectionOutcome::Cancel: break;
  }
  return QDialog::Rejected;
}

}  // namespace selection_ui

}  // namespace q5480
