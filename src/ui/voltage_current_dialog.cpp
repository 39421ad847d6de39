#include "ui/voltage_current_dialog.h"

namespace q5480 {

using namespace selection_ui;

VoltageCurrentDialog::VoltageCurrentDialog(ProgramContext& context, DialogHost& host,
                                           QWidget* parent)
    : TwoPageInputDialog("TWyborIV", logic_, parent), logic_(context, host) {
  FrameInputPages(logic_.Texts(), {"Voltage", "Current"}, ClosingsOf(logic_));
}

void VoltageCurrentDialog::AddChoices(const Texts& texts, int page, const std::string& prefix,
                                      QWidget* pageWidget, QHBoxLayout* choices) {
  if (page == VoltageCurrentWindowLogic::kCurrentPage) {
    choices->addWidget(
        InputGroup(texts, SingleR, DoubleR, pageWidget,
                   ThenShow([this](bool doubleInput) { logic_.InputClick(doubleInput); })));
  }
  choices->addWidget(ConversionGroup(
      texts, prefix, ConversionR[static_cast<std::size_t>(page)], pageWidget,
      ThenShow([this, page](Conversion kind) { logic_.ConversionClick(page, kind); })));
}

void VoltageCurrentDialog::ShowState() {
  Show(SingleR, !logic_.DoubleInput());
  Show(DoubleR, logic_.DoubleInput());
  ShowPages([this](std::size_t index, const InputPage& state) {
    ShowConversion(ConversionR[index], state.conversion);
  });
}

}  // namespace q5480
