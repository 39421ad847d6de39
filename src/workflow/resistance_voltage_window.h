// The input signal window of the Q5495 to Q5497 (ResistanceVoltageDialog): the millivolt
// and the resistance input, each with a table or linear result conversion.
#pragma once

#include <map>
#include <string>

#include "workflow/selection_common.h"

namespace q5480 {

class ResistanceVoltageWindowLogic : public TwoPageInputLogic {
 public:
  enum Page { kVoltagePage = 0, kResistancePage = 1 };

  // Clears ConversionConfirmed, remembers `Typ` and `Lin`, and shows the
  // page of the record (the resistance page for `Typ` 5).
  ResistanceVoltageWindowLogic(ProgramContext& context, DialogHost& host);

  // Captions by control name: "Caption", "VoltagePage", "ResistancePage",
  // "ConnectionG", "DifferentialL", "Wire2R" to "Wire4R", "ConversionG", "TableC", "LinearC",
  // "MoreB", "CancelB".
  std::map<std::string, std::string> Texts() const;

  // PageState: `Typ` 16 for the voltage page, 5 for the resistance page.
  std::uint8_t Wires() const { return wires_; }  // `Tryb` 2 to 4
  bool WireEnabled(int tryb) const { return tryb != kTrybFourWire || fourWire_; }

  void WireClick(int tryb);
  // The "table defined" (Conversion::Table) or "linear" box of a page
  // clicked into `checked`.
  void ConversionClick(int page, Conversion box, bool checked);

  SelectionOutcome Ok();
  SelectionOutcome More() { return HandOver(context_); }

 private:
  // The resistance input shares the thermometers' terminals, so the same
  // models offer the 4-wire connection.
  const bool fourWire_;
  std::uint8_t wires_ = kTrybThreeWire;
};

}  // namespace q5480
