// The meter type window (MeterTypeDialog): the offered models by display name and
// the check of the chosen one (TypSelect).
#pragma once

#include <string>
#include <vector>

#include "workflow/program_context.h"

namespace q5480 {

class MeterTypeWindowLogic {
 public:
  explicit MeterTypeWindowLogic(ProgramContext& context);

  std::string Caption() const;  // "Q5480 Panel Meters"
  std::string Label() const;    // "Select type of meter:"
  // Display names of the model list, sorted, without the models not offered.
  const std::vector<std::string>& Items() const { return items_; }
  int Selected() const { return selected_; }
  void Select(int index) { selected_ = index; }

  // OK or a double click: `Device` becomes the chosen model, which must be
  // one the program can configure. False, with `Device` as before, otherwise.
  bool Ok();
  // Cancel: nothing chosen.
  bool Cancel();

 private:
  ProgramContext& context_;
  std::string previous_;
  std::vector<std::string> items_;
  int selected_ = -1;
};

// The models whose sensor selection the program offers.
bool SensorSelectionExists(std::string_view device);

}  // namespace q5480
