// The widgets that the four selection windows share.
#pragma once

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <array>
#include <functional>
#include <map>
#include <string>

#include "ui/qt_text.h"
#include "workflow/selection_common.h"

namespace q5480 {

namespace selection_ui {

using Texts = std::map<std::string, std::string>;

// A radio button or check box named `name`, captioned from `texts`.
QRadioButton* Radio(const Texts& texts, const std::string& name, QWidget* parent);
QCheckBox* Check(const Texts& texts, const std::string& name, QWidget* parent);

// The person's choices, however they came: a click, a key, or the Toggle
// action of the accessibility interface. A radio button counts when it
// becomes checked, a check box at every change of state.
void OnChosen(QRadioButton* button, QObject* receiver, std::function<void()> chosen);
void OnToggled(QCheckBox* box, QObject* receiver, std::function<void(bool)> toggled);

// Shows a choice as the logic holds it, with the button's signals blocked,
// so that showing never runs a handler of the person's choice.
void Show(QAbstractButton* button, const ChoiceState& state);
void Show(QAbstractButton* button, bool checked, bool enabled = true);

// The radio buttons of the connections "Wire2R" to "Wire4R" by `Tryb`,
// added to `layout`.
using WireButtons = std::map<int, QRadioButton*>;
void AddWireButtons(const Texts& texts, WireButtons& buttons, QWidget* parent, QBoxLayout* layout,
                    std::function<void(int)> chosen);
template <typename Logic>
void ShowWires(const WireButtons& buttons, const Logic& logic) {
  for (auto& [tryb, button] : buttons) Show(button, tryb == logic.Wires(), logic.WireEnabled(tryb));
}

// The "Input" group of the current inputs: "SingleR" and "DoubleR";
// `chosen` hears true for the double input.
QGroupBox* InputGroup(const Texts& texts, QRadioButton*& single, QRadioButton*& doubleInput,
                      QWidget* parent, std::function<void(bool)> chosen);

// The radio group of the result conversions, its buttons named `prefix`
// followed by "NoneR", "SeriesR", "LinearR", "TableR".
using ConversionButtons = std::array<QRadioButton*, kConversionCount>;
QGroupBox* ConversionGroup(const Texts& texts, const std::string& prefix,
                           ConversionButtons& buttons, QWidget* parent,
                           std::function<void(Conversion)> chosen);
void ShowConversion(const ConversionButtons& buttons, Conversion conversion);

// The three range labels of an input page, named `prefix` followed by
// "MaxRangeL", "InputRangeL", "ResultRangeL", added to `layout`.
struct RangeLabelWidgets {
  QLabel* maximum = nullptr;
  QLabel* input = nullptr;
  QLabel* result = nullptr;
};
RangeLabelWidgets AddRangeLabels(const std::string& prefix, QWidget* parent, QBoxLayout* layout);
void ShowRangeLabels(const RangeLabelWidgets& widgets, const RangeLabels& labels);

// How a selection window closed, as its dialog result and back.
inline constexpr int kMoreResult = 2;
int ResultOf(SelectionOutcome outcome);

}  // namespace selection_ui

}  // namespace q5480
