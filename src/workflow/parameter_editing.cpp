// Editing on the parameter panel: the checks of the five numeric fields,
// the threshold's arrows, the optimal filter and the change handlers that
// mark what differs from the module.
#include <algorithm>
#include <cmath>
#include <limits>

#include "config/conversion_error.h"
#include "config/numbers.h"
#include "config/text.h"
#include "conversion/conversion_messages.h"
#include "conversion/range_rules.h"
#include "service/display_format.h"
#include "workflow/parameter_panel.h"

namespace q5480 {
namespace {

constexpr double kLimitSlack = 0.000001;
constexpr std::int32_t kFiltrZakresMax = 250;
constexpr std::int32_t kFiltrCzasMax = 400;
constexpr std::int32_t kFiltrLimitMax = 100;
// The module's time grid: steps of 0.16 s, held in tenths of a second.
constexpr double kTimeStepTenths = 1.6;
constexpr std::size_t kKodKept = 15;
constexpr std::size_t kOgolneKept = 60;

// A typed value far past every limit stays past it: the conversion to an
// integer saturates rather than leaving the integers' range.
std::int32_t RoundToInt(double value) {
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(RoundHalfEven(value), kLowest, kHighest));
}

// The threshold's lower bound: twice the filtration range, in percent. A
// threshold is compared with it as it stands and raised to it rounded.
double ThresholdFloor(std::int32_t filtrZakres) { return 0.2 * filtrZakres; }

}  // namespace

void ParameterPanel::Refuse(const std::string& key) {
  context_.ui.Beep(BeepKind::Exclamation);
  context_.ShowMessage(context_.TextOf(key), MessageIcon::Warning);
  context_.state.InvalidEntry = true;
}

void ParameterPanel::Edited(PanelField field) {
  MarkChanged(field);
  context_.state.Programmed = false;
}

bool ParameterPanel::MinInputEExit(const std::string& text) { return RangeFieldExit(text, true); }

bool ParameterPanel::MaxInputEExit(const std::string& text) { return RangeFieldExit(text, false); }

bool ParameterPanel::RangeFieldExit(const std::string& text, bool minimum) {
  if (!view_.RangeFieldsEnabled) return true;
  if (RunCommand([&] { return CheckRangeField(text, minimum); })) return true;
  context_.state.InvalidEntry = true;
  return false;
}

bool ParameterPanel::CheckRangeField(const std::string& text, bool minimum) {
  context_.state.InvalidEntry = false;
  ModuleConfig& c = context_.config;
  double& field = minimum ? c.MinInput : c.MaxInput;
  const double old = field;
  const std::optional<double> value = context_.ReadTypedNumber(text, MessageIcon::Error);
  if (!value) {
    context_.state.InvalidEntry = true;
    ShowRange();
    return false;
  }
  field = *value;
  const int type = RangeLimitType(c);
  const bool inLimits = minimum ? field >= context_.limits.Lower(type) - kLimitSlack
                                : field <= context_.limits.Upper(type) + kLimitSlack;
  const auto spanSufficient = [&] {
    try {
      return CheckSignalSpan(c, context_.conversion);
    } catch (const ConversionError&) {
      return false;  // a range the characteristic cannot reach
    }
  };
  // The minimum checks its limit first, the maximum its span first.
  std::optional<std::string> refusal;
  if (minimum) {
    if (!inLimits) {
      refusal = kMinimumOutOfRange;
    } else if (!spanSufficient()) {
      refusal = kInputRangeTooSmall;
    }
  } else if (!spanSufficient()) {
    refusal = kInputRangeTooSmall;
  } else if (!inLimits) {
    refusal = kMaximumOutOfRange;
  }
  if (refusal) {
    field = old;
    Refuse(*refusal);
  }
  ShowRange();
  return !refusal;
}

bool ParameterPanel::CheckFields() {
  // A marker left by an earlier refusal is stale: that field has shown the
  // record's value again since.
  context_.state.InvalidEntry = false;
  if (CommitTyping) CommitTyping();
  // A value refused now has said why and taken the focus.
  return !context_.state.InvalidEntry;
}

void ParameterPanel::ShowRange() {
  const ModuleConfig& c = context_.config;
  view_.MinInputE = FormatRangeB(c.MinInput, c, context_.limits);
  view_.MaxInputE = FormatRangeB(c.MaxInput, c, context_.limits);
}

void ParameterPanel::ShowFilter() {
  const ModuleConfig& c = context_.config;
  view_.FiltrZakresE = FormatFixed(c.FiltrZakres / 10.0, 3, 1);
  view_.FiltrCzasE = FormatFixed(c.FiltrCzas / 10.0, 3, 1);
  view_.FiltrLimitE = FormatInt(c.FiltrLimit);
  view_.FiltrLimitUpDown = c.FiltrLimit;
}

bool ParameterPanel::FilterFieldExit(const std::string& text, std::int32_t& field, double scale,
                                     std::int32_t maximum, const std::function<void()>& snap) {
  context_.state.InvalidEntry = false;
  const std::optional<double> value = context_.ReadTypedNumber(text, MessageIcon::Error);
  if (!value) {
    context_.state.InvalidEntry = true;
    ShowFilter();
    return false;
  }
  const std::int32_t scaled = RoundToInt(scale * *value);
  const bool accepted = scaled >= 0 && scaled <= maximum;
  if (accepted) {
    field = scaled;
  } else {
    Refuse(kOutOfRange);
  }
  snap();
  ShowFilter();
  return accepted;
}

bool ParameterPanel::FiltrZakresEExit(const std::string& text) {
  ModuleConfig& c = context_.config;
  const bool accepted = FilterFieldExit(text, c.FiltrZakres, 10, kFiltrZakresMax, [] {});
  // The threshold's lower bound follows the range; a threshold raised by it
  // differs from the module too.
  const bool invalid = context_.state.InvalidEntry;
  const std::int32_t threshold = c.FiltrLimit;
  FiltrLimitEExit(view_.FiltrLimitE);
  if (c.FiltrLimit != threshold) Edited(PanelField::FiltrLimitE);
  context_.state.InvalidEntry = context_.state.InvalidEntry || invalid;
  return accepted;
}

bool ParameterPanel::FiltrCzasEExit(const std::string& text) {
  ModuleConfig& c = context_.config;
  return FilterFieldExit(text, c.FiltrCzas, 10, kFiltrCzasMax, [&c] {
    // Whatever was typed, the value lies on the module's grid.
    const std::int32_t steps = RoundToInt(c.FiltrCzas / kTimeStepTenths);
    c.FiltrCzas = RoundToInt(steps * kTimeStepTenths);
  });
}

bool ParameterPanel::FiltrLimitEExit(const std::string& text) {
  ModuleConfig& c = context_.config;
  return FilterFieldExit(text, c.FiltrLimit, 1, kFiltrLimitMax, [&c] {
    if (c.FiltrLimit > 0 && c.FiltrLimit < ThresholdFloor(c.FiltrZakres)) {
      c.FiltrLimit = RoundToInt(ThresholdFloor(c.FiltrZakres));
    }
  });
}

void ParameterPanel::FiltrLimitEChange(const std::string& text) {
  Edited(PanelField::FiltrLimitE);
  if (text.empty()) return;
  const std::optional<double> value = ParseNumber(text);
  if (!value) return;
  context_.config.FiltrLimit =
      RoundToInt(std::clamp(*value, 0.0, static_cast<double>(kFiltrLimitMax)));
  view_.FiltrLimitUpDown = context_.config.FiltrLimit;
}

void ParameterPanel::FiltrLimitUpDownClick(bool up) {
  ModuleConfig& c = context_.config;
  if (up && c.FiltrLimit < kFiltrLimitMax) ++c.FiltrLimit;
  if (!up && c.FiltrLimit > 0) --c.FiltrLimit;
  if (c.FiltrLimit < ThresholdFloor(c.FiltrZakres)) {
    c.FiltrLimit = up ? RoundToInt(ThresholdFloor(c.FiltrZakres)) : 0;
  }
  ShowFilter();
  Edited(PanelField::FiltrLimitE);
}

bool ParameterPanel::FiltrDobierzClick() {
  return RunCommand([&] {
    if (NeedsUserData(context_) && AskForMissingUserData()) return false;
    ModuleConfig& c = context_.config;
    const FilterSuggestion suggested = SuggestFilter(c, context_.conversion.Table);
    c.FiltrZakres = suggested.FiltrZakres;
    c.FiltrCzas = suggested.FiltrCzas;
    ShowFilter();
    Edited(PanelField::FiltrZakresE);
    Edited(PanelField::FiltrCzasE);
    return true;
  });
}

void ParameterPanel::BurnoutEChange(int index) {
  context_.config.Burnout = index >= 0 && index <= 2 ? index : 0;
  view_.BurnoutE = context_.config.Burnout;
  view_.Reakcja = BurnoutLabelText(context_);
  Edited(PanelField::BurnoutE);
}

void ParameterPanel::SiecEChange(int index) {
  context_.config.Siec = index == 1 ? 60 : 50;
  view_.SiecE = index == 1 ? 1 : 0;
  Edited(PanelField::SiecE);
}

void ParameterPanel::KodEChange(const std::string& text) {
  context_.config.kod = Utf8Left(text, kKodKept);
  view_.KodE = context_.config.kod;
  Edited(PanelField::KodE);
}

void ParameterPanel::OgolneEChange(const std::string& text) {
  context_.config.ogolne = Utf8Left(text, kOgolneKept);
  view_.OgolneE = context_.config.ogolne;
  Edited(PanelField::OgolneE);
}

}  // namespace q5480
