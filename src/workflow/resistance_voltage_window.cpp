#include "workflow/resistance_voltage_window.h"

namespace q5480 {

ResistanceVoltageWindowLogic::ResistanceVoltageWindowLogic(ProgramContext& context,
                                                           DialogHost& host)
    : context_(context),
      host_(host),
      typAtOpening_(context.config.Typ),
      linAtOpening_(context.config.Lin),
      fourWire_(FourWireModel(context.config)) {
  context_.conversion.ConversionConfirmed = 0;
  const ModuleConfig& c = context_.config;
  page_ = c.Typ == kTypResistance ? kResistancePage : kVoltagePage;
  wires_ = OpeningWires(c);
  pages_[kVoltagePage] = OpeningPage(context_, kTypMillivolts);
  pages_[kResistancePage] = OpeningPage(context_, kTypResistance);
}

std::map<std::string, std::string> ResistanceVoltageWindowLogic::Texts() const {
  const ProgramContext& x = context_;
  return {
      {"Caption", x.Tr("Input signal")},
      {"VoltagePage", x.Tr("Voltage")},
      {"ResistancePage", x.Tr("Resistance")},
      {"ConnectionG", x.Tr("Connection")},
      {"DifferentialL", x.Tr("differential")},
      {"Wire2R", x.Tr("2-wire")},
      {"Wire3R", x.Tr("3-wire")},
      {"Wire4R", x.Tr("4-wire")},
      {"ConversionG", x.Tr("result conversion")},
      {"TableC", x.Tr("table defined")},
      {"LinearC", x.Tr("linear")},
      {"MoreB", x.Tr("More")},
      {"CancelB", x.Tr("Cancel")},
  };
}

const InputPage& ResistanceVoltageWindowLogic::PageState(int page) const {
  return pages_[page == kResistancePage ? kResistancePage : kVoltagePage];
}

void ResistanceVoltageWindowLogic::PageChange(int page) {
  if (page == kVoltagePage || page == kResistancePage) page_ = page;
}

void ResistanceVoltageWindowLogic::WireClick(int tryb) {
  if (IsWireConnection(tryb) && WireEnabled(tryb))
    wires_ = static_cast<std::uint8_t>(tryb);
}

void ResistanceVoltageWindowLogic::ConversionClick(int page, Conversion box, bool checked) {
  if (page != kVoltagePage && page != kResistancePage) return;
  if (box != Conversion::Table && box != Conversion::Linear) return;
  CheckConversion(context_, host_, pages_[static_cast<std::size_t>(page)], box, checked);
}

SelectionOutcome ResistanceVoltageWindowLogic::Ok() {
  const InputPage& page = pages_[static_cast<std::size_t>(page_)];
  const std::uint8_t tryb = page_ == kResistancePage ? wires_ : kTrybDifferential;
  InputSelectionOk(context_, {page.typ, tryb, LinOf(page.conversion)}, typAtOpening_,
                   linAtOpening_);
  return SelectionOutcome::Ok;
}

}  // namespace q5480
