#include "workflow/voltage_current_window.h"

namespace q5480 {

VoltageCurrentWindowLogic::VoltageCurrentWindowLogic(ProgramContext& context, DialogHost& host)
    : context_(context),
      host_(host),
      typAtOpening_(context.config.Typ),
      linAtOpening_(context.config.Lin) {
  context_.conversion.ConversionConfirmed = 0;
  const ModuleConfig& c = context_.config;
  page_ = c.Typ == kTypCurrent ? kCurrentPage : kVoltagePage;
  doubleInput_ = c.Typ == kTypCurrent && c.Tryb == kTrybSum;
  pages_[kVoltagePage] = OpeningPage(context_, kTypVoltage);
  pages_[kCurrentPage] = OpeningPage(context_, kTypCurrent);
}

std::map<std::string, std::string> VoltageCurrentWindowLogic::Texts() const {
  const ProgramContext& x = context_;
  std::map<std::string, std::string> texts{
      {"Caption", x.Tr("Input signal")},
      // The pages are named by the input types' own short names.
      {"VoltagePage", InputType(kTypVoltage).name},
      {"CurrentPage", InputType(kTypCurrent).name},
      {"InputG", x.Tr("Input")},
      {"SingleR", x.Tr("single")},
      {"DoubleR", x.Tr("double")},
      {"ConversionG", x.Tr("result conversion")},
      {"CancelB", x.Tr("Cancel")},
  };
  texts["NoneR"] = x.Tr(ConversionKey(Conversion::None));
  texts["SeriesR"] = x.Tr(ConversionKey(Conversion::PowerSeries));
  texts["LinearR"] = x.Tr(ConversionKey(Conversion::Linear));
  texts["TableR"] = x.Tr(ConversionKey(Conversion::Table));
  return texts;
}

const InputPage& VoltageCurrentWindowLogic::PageState(int page) const {
  return pages_[page == kCurrentPage ? kCurrentPage : kVoltagePage];
}

void VoltageCurrentWindowLogic::PageChange(int page) {
  if (page == kVoltagePage || page == kCurrentPage) page_ = page;
}

void VoltageCurrentWindowLogic::ConversionClick(int page, Conversion conversion) {
  if (page != kVoltagePage && page != kCurrentPage) return;
  ChooseConversion(context_, host_, pages_[static_cast<std::size_t>(page)], conversion);
}

SelectionOutcome VoltageCurrentWindowLogic::Ok() {
  const InputPage& page = pages_[static_cast<std::size_t>(page_)];
  const std::uint8_t tryb = page_ == kCurrentPage && doubleInput_ ? kTrybSum : kTrybDifferential;
  InputSelectionOk(context_, {page.typ, tryb, LinOf(page.conversion)}, typAtOpening_,
                   linAtOpening_);
  return SelectionOutcome::Ok;
}

}  // namespace q5480
