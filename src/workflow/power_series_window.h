// The power series window (PowerSeriesDialog): nine coefficients and the signal range,
// checked before they can be confirmed.
#pragma once

#include <array>
#include <map>
#include <string>

#include "conversion/power_series.h"
#include "workflow/program_context.h"

namespace q5480 {

// The coefficient fields, constant first: a, b, c, d, f, g, h, i, j.
inline constexpr int kCoefficientFields = kSeriesTerms;
inline constexpr std::size_t kCoefficientMaxLength = 13;
inline constexpr std::size_t kSeriesSignalMaxLength = 8;

class PowerSeriesWindowLogic {
 public:
  // Sets the coefficients aside for Cancel. Shows the stored series while it
  // still fits `TableType` (checked), else the identity over the limits of
  // `TableType`, which are written into the coefficients.
  explicit PowerSeriesWindowLogic(ProgramContext& context);

  // Captions by control name ("Caption" for the window) and field hints.
  std::map<std::string, std::string> Texts() const;
  std::map<std::string, std::string> Hints() const;
  // The control name of coefficient field `index` (0 to 8): "AE" to "JE".
  static std::string CoefficientControl(int index);

  const std::string& CoefficientText(int index) const;
  // InMin and InMax, and the result range that a check found.
  const std::string& FieldText(DialogField field) const;
  int Unit() const { return unit_; }
  void SelectUnit(int index);
  bool SeriesChecked() const { return checked_; }
  // "Check" until the series passed, then "OK".
  std::string ButtonText() const;
  // The control to focus after the last event; empty for none.
  const std::string& Focus() const { return focus_; }

  // The person changed the text of a field: the series must be checked again.
  void FieldChanged();
  // Leaving coefficient field `index` with its text. False when refused; the
  // field then shows the previous coefficient and keeps the focus.
  bool CoefficientExit(int index, const std::string& text);
  // Leaving InMin or InMax with its text; false when refused, as above.
  bool FieldExit(DialogField field, const std::string& text);
  // The button: the check while the series is unchecked, else the
  // confirmation. True when the window closes.
  bool ButtonClick();
  // Cancel: the coefficients as they were before the window.
  void CancelClick();

 private:
  void ShowCoefficient(int index);
  void ShowResultRange(const ResultRange& range);
  bool Refused(const std::string& control);

  ProgramContext& context_;
  std::array<double, 11> saved_;
  std::array<std::string, kCoefficientFields> coefficientTexts_;
  std::map<DialogField, std::string> texts_;
  ResultRange range_;
  int unit_ = 0;
  bool checked_ = false;
  std::string focus_;
};

}  // namespace q5480
