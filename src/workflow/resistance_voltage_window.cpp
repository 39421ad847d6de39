#include "workflow/resistance_voltage_window.h"

namespace q5480 {

ResistanceVoltageWindowLogic::ResistanceVoltageWindowLogic(ProgramContext& context,
                                                           DialogHost& host)
    : TwoPageInputLogic(context, host, kTypMillivolts, kTypResistance),
      fourWire_(FourWireModel(context.config)),
      wires_(OpeningWires(context.config)) {}

std::map<std::string, std::string> ResistanceVoltageWindowLogic::Texts() const {
  const ProgramContext& x = context_;
  std::map<std::string, std::string> texts = InputWindowTexts();
  texts["VoltagePage"] = x.Tr("Voltage");
  texts["ResistancePage"] = x.Tr("Resistance");
  texts["DifferentialL"] = x.Tr("differential");
  texts["TableC"] = x.Tr(ConversionKey(Conversion::Table));
  texts["LinearC"] = x.Tr(ConversionKey(Conversion::Linear));
  texts["MoreB"] = x.Tr("More");
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
  return OkOnPage(page_ == kResistancePage ? wires_ : kTrybDifferential);
}

}  // namespace q5480
