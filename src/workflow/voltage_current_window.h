// The input signal window of the Q5494 (VoltageCurrentDialog): the ±11 V input and the
// ±22 mA input, single or double, each with a result conversion.
#pragma once

#include <map>
#include <string>

#include "workflow/selection_common.h"

namespace q5480 {

class VoltageCurrentWindowLogic : public TwoPageInputLogic {
 public:
  enum Page { kVoltagePage = 0, kCurrentPage = 1 };

  // Clears ConversionConfirmed, remembers `Typ` and `Lin`, and shows the
  // page of the record (the current page for `Typ` 17).
  VoltageCurrentWindowLogic(ProgramContext& context, DialogHost& host);

  // Captions by control name: "Caption", "VoltagePage", "CurrentPage",
  // "InputG", "SingleR", "DoubleR", "ConversionG", "NoneR", "SeriesR",
  // "LinearR", "TableR", "CancelB".
  std::map<std::string, std::string> Texts() const;

  // PageState: `Typ` 18 for the voltage page, 17 for the current page.
  bool DoubleInput() const { return doubleInput_; }

  // The current page's input: single (`Tryb` 5) or double (8, "sum").
  void InputClick(bool doubleInput) { doubleInput_ = doubleInput; }
  // A conversion of a page's radio group chosen.
  void ConversionClick(int page, Conversion conversion);

  SelectionOutcome Ok();

 private:
  bool doubleInput_ = false;
};

}  // namespace q5480
