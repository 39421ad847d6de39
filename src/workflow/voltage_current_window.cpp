#include "workflow/voltage_current_window.h"

namespace q5480 {

VoltageCurrentWindowLogic::VoltageCurrentWindowLogic(ProgramContext& context, DialogHost& host)
    : TwoPageInputLogic(context, host, kTypVoltage, kTypCurrent),
      doubleInput_(context.config.Typ == kTypCurrent && context.config.Tryb == kTrybSum) {}

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
  AddConversionTexts(x, texts);
  return texts;
}

void VoltageCurrentWindowLogic::ConversionClick(int page, Conversion conversion) {
  if (IsPage(page)) ChooseConversion(context_, host_, PageAt(page), conversion);
}

SelectionOutcome VoltageCurrentWindowLogic::Ok() {
  const InputPage& page = PageState(page_);
  const std::uint8_t tryb = page_ == kCurrentPage && doubleInput_ ? kTrybSum : kTrybDifferential;
  return OkWith(page.typ, tryb, page.conversion);
}

}  // namespace q5480
