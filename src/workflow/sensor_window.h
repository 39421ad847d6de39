// The sensor selection window (SensorDialog): resistance thermometers and
// thermocouples of the Q5495 to Q5497, with their connection or
// compensation and linearisation.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "workflow/selection_common.h"

namespace q5480 {

class SensorWindowLogic {
 public:
  enum Page { kRtdPage = 0, kThermocouplePage = 1 };

  // Clears ConversionConfirmed, remembers `Typ` and shows the page and the
  // choices of the record.
  SensorWindowLogic(ProgramContext& context, DialogHost& host);

  // Captions by control name: "Caption" for the window, the pages
  // ("RtdPage", "TermoPage"), the groups, "Typ1R" to "Typ4R" and "Typ6R" to
  // "Typ15R", "Wire2R" to "Wire4R", "RtdLinC", "TermoLinC", "TempDiffC",
  // "CompensationC", "MoreB", "CancelB".
  std::map<std::string, std::string> Texts() const;

  int CurrentPage() const { return page_; }
  std::uint8_t RtdTyp() const { return rtdTyp_; }      // 1 to 4
  std::uint8_t TermoTyp() const { return termoTyp_; }  // 6 to 15
  std::uint8_t Wires() const { return wires_; }        // `Tryb` 2 to 4
  bool WireEnabled(int tryb) const { return tryb != kTrybFourWire || fourWire_; }
  const ChoiceState& RtdLin() const { return rtdLin_; }
  const ChoiceState& TermoLin() const { return termoLin_; }
  const ChoiceState& TempDiff() const { return tempDiff_; }
  const ChoiceState& Compensation() const { return compensation_; }

  // The person's choices. A choice that is disabled is ignored.
  void PageChange(int page);
  // A sensor type of either page (`Typ` 1 to 4, 6 to 15): every type makes
  // the thermocouple options available again; "Other" (15) opens TableDialog.
  void TypClick(int typ);
  void WireClick(int tryb);
  void RtdLinClick(bool checked);
  void TermoLinClick(bool checked);
  // The two compensation options exclude each other.
  void TempDiffClick(bool checked);
  void CompensationClick(bool checked);

  // OK: the codes of the shown page and the common processing. Without
  // either compensation option RoomTemperatureDialog asks for the cold junction's
  // temperature first; nothing (the window stays open) when it is cancelled.
  std::optional<SelectionOutcome> Ok();
  SelectionOutcome Cancel() { return SelectionOutcome::Cancel; }
  SelectionOutcome More() { return HandOver(context_); }

 private:
  void ShowThermocouplePage();
  void EnableThermocoupleOptions();
  void ForceTemperatureDifference();
  void ChooseUserThermocouple();

  ProgramContext& context_;
  DialogHost& host_;
  const std::uint8_t typAtOpening_;
  const bool fourWire_;
  int page_ = kRtdPage;
  std::uint8_t rtdTyp_ = kTypPt385;
  std::uint8_t wires_ = kTrybThreeWire;
  ChoiceState rtdLin_;
  std::uint8_t termoTyp_ = kTypThermocoupleK;
  ChoiceState termoLin_;
  ChoiceState tempDiff_;
  ChoiceState compensation_;
};

// True when a user thermocouple table covers the cold junction's range well
// enough for compensation: the user limits start at or below 0 °C, and more
// than ten points lie between the first at 0 °C or above and the first at
// 60 °C or above.
bool UserTableCoversColdJunction(const InputLimits& limits, const UserTable& table);

}  // namespace q5480
