#include "workflow/resistance_voltage_window.h"

namespace q5480 {

ResistanceVoltageWindowLogic::ResistanceVoltageWindowLogic(ProgramContext& context,
                                                           DialogHost& host)
    : TwoPageInputLogic(context, host, kTypMillivolts, kTypResistance),
      fourWire_(FourWireModel(context.config)),
      wires_(OpeningWires(context.config)) {}

std::map<std::string, std::string> ResistanceVoltageWindowLogic::Texts() const {
  const ProgramContext& x = context_;
  std::map<std::string, std::string> texts{
      {"Caption", x.Tr("Input signal")},
      {"VoltagePage", x.Tr("Voltage")},
      {"ResistancePage", x.Tr("Resistance")},
      {"ConnectionG", x.Tr("Connection")},
      {"DifferentialL", x.Tr("differential")},
      {"ConversionG", x.Tr("result conversion")},
      {"TableC", x.Tr("table defined")},
      {"LinearC", x.Tr("linear")},
      {"MoreB", x.Tr("More")},
      {"CancelB", x.Tr("Cancel")},
  };
  AddWireTexts(x, texts);
  return texts;
}

void ResistanceVoltageWindowLogic::WireClick(int tryb) {
  if (IsWireConnection(tryb) && WireEnabled(tryb)) wires_ = static_cast<std::uint8_t>(tryb);
}

void ResistanceVoltageWindowLogic::ConversionClick(int page, Conversion box, bool checked) {
  if (!IsPage(page)) return;
  if (box != Conversion::Table && box != Conversion::Linear) return;
  CheckConversion(context_, host_, PageAt(page), box, checked);
}

SelectionOutcome ResistanceVoltageWindowLogic::Ok() {
  const InputPage& page = PageState(page_);
  const std::uint8_t tryb = page_ == kResistancePage ? wires_ : kTrybDifferential;
  return OkWith(page.typ, tryb, page.conversion);
}

}  // namespace q5480
