// How the conversion says no: one value, whatever refuses (a dialog's
// check, a table file, a power series, the image build). A floating-point
// error is not a refusal: it throws ConversionError.
#pragma once

#include <string>

namespace q5480 {

// The field of a conversion dialog that a refusal puts the focus on.
enum class DialogField { InMin, InMax, ResMin, ResMax, FirstCoefficient };

// A refusal names its message by the language-table key: the message is that
// text, "!" after it when `exclamation` is set, and, when there is a
// `detail` (the key of a reason), that reason in brackets on a line of its
// own. The window that shows it decides the language.
struct Refusal {
  std::string key = {};
  bool exclamation = false;
  std::string detail = {};
  // For the checks of a dialog's fields: the field to return to.
  DialogField focus = DialogField::InMin;

  friend bool operator==(const Refusal&, const Refusal&) = default;
};

// The message in English, e.g. "Corrupted or wrong data file!" and
// "(Values should rise.)" on the next line.
std::string RefusalMessage(const Refusal& refusal);

}  // namespace q5480
