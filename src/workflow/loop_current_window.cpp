#include "workflow/loop_current_window.h"

namespace q5480 {
namespace {

constexpr int kDotPositionCount = 5;

}  // namespace

LoopCurrentWindowLogic::LoopCurrentWindowLogic(ProgramContext& context, DialogHost& host)
    : InputWindowLogic(context, host), page_(OpeningPage(context, kTypLoopCurrent)) {
  const ModuleConfig& c = context_.config;
  // A record made for a double input keeps it; nothing offers it anew.
  double_ = {c.Typ == kTypLoopCurrent && c.Tryb == kTrybSum, false};
  single_ = {!double_.checked, true};
  // Kropka 0 lets the module place the point by the range; 1 to 3 give
  // three to one decimals, 4 none.
  dotPositions_ = {context_.TextOf("automatic"), "8.888", "88.88", "888.8", context_.Tr("none")};
  dotPosition_ = c.Kropka >= 0 && c.Kropka < kDotPositionCount ? c.Kropka : 0;
}

std::map<std::string, std::string> LoopCurrentWindowLogic::Texts() const {
  std::map<std::string, std::string> texts = InputWindowTexts();
  texts["KropkaT"] = context_.Tr("Digital dot position");
  AddInputGroupTexts(context_, texts);
  AddConversionTexts(context_, texts);
  return texts;
}

void LoopCurrentWindowLogic::InputClick(bool doubleInput) {
  const ChoiceState& chosen = doubleInput ? double_ : single_;
  if (!chosen.enabled) return;
  double_.checked = doubleInput;
  single_.checked = !doubleInput;
}

void LoopCurrentWindowLogic::ConversionClick(Conversion conversion) {
  ChooseConversion(context_, host_, page_, conversion);
}

void LoopCurrentWindowLogic::DotPositionChange(int index) {
  if (index >= 0 && index < kDotPositionCount) dotPosition_ = index;
}

SelectionOutcome LoopCurrentWindowLogic::Ok() {
  const std::uint8_t tryb = double_.checked ? kTrybSum : kTrybDifferential;
  context_.config.Kropka = dotPosition_;
  return OkWith(kTypLoopCurrent, tryb, page_.conversion);
}

}  // namespace q5480
