// The linear conversion window (LinearDialog): the signal range and the result
// range of signal = a0 + a1 * result. Also the pieces that every conversion
// window shares: the unit list, reading a typed number and the refusals.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "conversion/linear_conversion.h"
#include "conversion/range_rules.h"
#include "workflow/program_context.h"

namespace q5480 {

// ---- Shared by the conversion windows ---------------------------------------

// The result units offered: the names of the unit table that a configuration
// keeps (0 to 9; the consistency rules turn any later unit into 0), so that
// the list's index is `Jednostki`.
const std::vector<std::string>& ResultUnitChoices();
// `jednostki` when the list offers it, else `fallback`.
int OfferedUnit(int jednostki, int fallback);

// The control that a refusal puts the focus on ("InMinE", ..., "AE").
const char* FieldControl(DialogField field);

// A number typed into a field, or nothing after a beep and "Wrong format!".
std::optional<double> ReadFieldNumber(ProgramContext& context, const std::string& text);

// The message of a refusal in the current language; the not-monotonic reason
// is composed of its two texts.
std::string RefusalText(const ProgramContext& context, const Refusal& refusal);
// Beeps and shows the refusal with the warning icon.
void ShowRefusal(ProgramContext& context, const Refusal& refusal);

// The texts of the input and result range groups that the table,
// power-series and linear windows share.
std::map<std::string, std::string> RangeGroupTexts(const ProgramContext& context);
// The texts of the power-series and linear windows: the range groups, the
// caption "Conversion: " and the kind, and "CancelB".
std::map<std::string, std::string> ConversionWindowTexts(const ProgramContext& context,
                                                         const char* kindKey);

// ---- LinearDialog -------------------------------------------------------------------

class LinearWindowLogic {
 public:
  // Starts from the stored definition while it still fits `TableType`, else
  // from the limits of `TableType` and the widest result range.
  explicit LinearWindowLogic(ProgramContext& context);

  // Captions by control name ("Caption" for the window) and field hints.
  std::map<std::string, std::string> Texts() const;
  std::map<std::string, std::string> Hints() const;

  const std::string& FieldText(DialogField field) const;
  int Unit() const { return unit_; }
  void SelectUnit(int index) { unit_ = OfferedUnit(index, unit_); }
  const LinearDefinition& Definition() const { return definition_; }
  // The control to focus after the last event; empty for none.
  const std::string& Focus() const { return focus_; }

  // Leaving a field with its text: false when refused, after the message; the
  // field then shows its previous value and gets the focus back.
  bool FieldExit(DialogField field, const std::string& text);
  // OK: the six checks in order; when they pass the definition is stored
  // and the window closes (true).
  bool OkClick();

 private:
  void ShowFields();
  void Refuse(const Refusal& refusal);

  ProgramContext& context_;
  LinearDefinition definition_;
  int unit_ = 0;
  std::map<DialogField, std::string> texts_;
  std::string focus_;
};

}  // namespace q5480
