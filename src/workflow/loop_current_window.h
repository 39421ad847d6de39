// The input signal window of the Q5491 (LoopCurrentDialog): the 4 to 20 mA input with
// its result conversion and the display's decimal point.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "workflow/selection_common.h"

namespace q5480 {

class LoopCurrentWindowLogic : public InputWindowLogic {
 public:
  // Clears ConversionConfirmed, remembers `Typ` and `Lin`; the conversion
  // shown follows `Lin` (a table only while it is in memory), the dot
  // position list `Kropka`.
  LoopCurrentWindowLogic(ProgramContext& context, DialogHost& host);

  // Captions by control name: "Caption", "InputG", "SingleR", "DoubleR",
  // "ConversionG", "NoneR", "SeriesR", "LinearR", "TableR", "KropkaT",
  // "CancelB".
  std::map<std::string, std::string> Texts() const;

  // Single input (`Tryb` 5) or double (8); the double one is not offered.
  const ChoiceState& Single() const { return single_; }
  const ChoiceState& Double() const { return double_; }
  const InputPage& PageState() const { return page_; }
  // The entries of "Digital dot position", by `Kropka`; the fifth is "none".
  const std::vector<std::string>& DotPositions() const { return dotPositions_; }
  int DotPosition() const { return dotPosition_; }

  void InputClick(bool doubleInput);
  void ConversionClick(Conversion conversion);
  void DotPositionChange(int index);

  // OK: `Typ` 19, the input, the conversion and `Kropka`, then the common
  // processing.
  SelectionOutcome Ok();

 private:
  ChoiceState single_;
  ChoiceState double_;
  InputPage page_;
  std::vector<std::string> dotPositions_;
  int dotPosition_ = 0;
};

}  // namespace q5480
