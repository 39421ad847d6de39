// The widgets that the four selection windows share.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <array>
#include <map>
#include <string>

#include "workflow/selection_common.h"

namespace q5480 {

namespace selection_ui {

using Texts = std::map<std::string, std::string>;

QString Q(const std::string& text);

// A radio button or check box named `name`, captioned from `texts`.
QRadioButton* Radio(const Texts& texts, const std::string& name, QWidget* parent);
QCheckBox* Check(const Texts& texts, const std::string& name, QWidget* parent);

// Shows a choice as the logic holds it. The windows react to `clicked`,
// which only the person's click (or click()) emits, and block the signals
// besides, so that showing never runs a click handler.
void Show(QAbstractButton* button, const ChoiceState& state);
void Show(QAbstractButton* button, bool checked, bool enabled = true);

// OK, an optional "More" (MoreB) and Cancel (CancelB).
QDialogButtonBox* Buttons(const Texts& texts, bool withMore, QWidget* parent);

// The radio group of the result conversions, its buttons named `prefix`
// followed by "NoneR", "SeriesR", "LinearR", "TableR".
QGroupBox* ConversionGroup(const Texts& texts, const std::string& prefix,
                           std::array<QRadioButton*, kConversionCount>& buttons, QWidget* parent);

// The three range labels of an input page, named `prefix` followed by
// "MaxRangeL", "InputRangeL", "ResultRangeL".
struct RangeLabelWidgets {
  QLabel* maximum = nullptr;
  QLabel* input = nullptr;
  QLabel* result = nullptr;
};
RangeLabelWidgets MakeRangeLabels(const std::string& prefix, QWidget* parent);
void ShowRangeLabels(const RangeLabelWidgets& widgets, const RangeLabels& labels);

// How a selection window closed, as its dialog result and back.
inline constexpr int kMoreResult = 2;
int ResultOf(SelectionOutcome outcome);

}  // namespace selection_ui

}  // namespace q5480
