#include "workflow/voltage_current_window.h"

namespace q5480 {

VoltageCurrentWindowLogic::VoltageCurrentWindowLogic(ProgramContext& context, DialogHost& host)
    : TwoPageInputLogic(context, host, kTypVoltage, kTypCurrent),
      doubleInput_(context.config.Typ == kTypCurrent && context.config.Tryb == kTrybSum) {}

std::map<std::string, std::string> VoltageCurrentWindowLogic::Texts() const {
  std::map<std::string, std::string> texts = InputWindowTexts();
  // The pages are named by the input types' own short names.
  texts["VoltagePage"] = InputType(kTypVoltage).name;
  texts["CurrentPage"] = InputType(kTypCurrent).name;
  AddInputGroupTexts(context_, texts);
  AddConversionTexts(context_, texts);
  return texts;
}

void VoltageCurrentWindowLogic::ConversionClick(int page, Conversion conversion) {
  if (IsPage(page)) ChooseConversion(context_, host_, PageAt(page), conversion);
}

SelectionOutcome VoltageCurrentWindowLogic::Ok() {
  return OkOnPage(page_ == kCurrentPage && doubleInput_ ? kTrybSum : kTrybDifferential);
}

}  // namespace q5480
