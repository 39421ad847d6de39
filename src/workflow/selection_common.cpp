#include "workflow/selection_common.h"

#include <algorithm>
#include <utility>

#include "config/dates.h"
#include "config/numbers.h"
#include "config/text.h"
#include "conversion/range_rules.h"

namespace q5480 {
namespace {

// Opens the window of a conversion for the page's input type; true on OK.
// A table window cancelled leaves no table of the record in memory.
bool OpenConversionWindow(ProgramContext& context, DialogHost& host, const InputPage& page,
                          Conversion conversion) {
  if (conversion == Conversion::None) return true;
  context.conversion.TableType = page.typ;
  switch (conversion) {
    case Conversion::PowerSeries: return host.PowerSeries();
    case Conversion::Linear: return host.Linear();
    case Conversion::Table:
      if (host.Table()) return true;
      context.config.TableLoaded = false;
      return false;
    case Conversion::None: break;
  }
  return true;
}

// The signal range that a conversion uses: the ends of the linear
// characteristic at the result range, the series' own range, or the table's
// first and last signal.
std::pair<double, double> ConvertedSignalRange(const ProgramContext& context,
                                               Conversion conversion) {
  const auto& k = context.config.Coefficients;
  double low = 0;
  double high = 0;
  switch (conversion) {
    case Conversion::Linear:
      low = k[0] + k[1] * k[9];
      high = k[0] + k[1] * k[10];
      break;
    case Conversion::PowerSeries:
      low = k[9];
      high = k[10];
      break;
    case Conversion::Table: {
      const UserTable& table = context.conversion.Table;
      const int n = std::min(table.Count(), kMaxTablePoints);
      if (n >= 1) {
        low = table[1].y;
        high = table[n].y;
      }
      break;
    }
    case Conversion::None: break;
  }
  return {std::min(low, high), std::max(low, high)};
}

std::string SignalRangeText(double low, double high, int unit) {
  return FormatFixed(low, 0, 1) + "..." + FormatFixed(high, 0, 1) + " " +
         std::string(UnitName(unit));
}

// A user limit in tenths: whole when it is, else with one decimal.
std::string LimitText(std::int32_t tenths) {
  return tenths % 10 == 0 ? FormatInt(tenths / 10) : FormatFixed(tenths * 0.1, 0, 1);
}

// Steps 1 to 4 of every window's OK, with the range taken from the limits
// of `rangeType` when the selection changed.
void FinishSelection(ProgramContext& context, bool changed, int rangeType, bool usesUserTable,
                     bool converted) {
  ModuleConfig& c = context.config;
  if (changed) {
    c.MinInput = context.limits.Lower(rangeType);
    c.MaxInput = context.limits.Upper(rangeType);
    c.ZeroReg = 0;
    c.GainReg = 0;
    c.FiltrLimit = 0;
    c.FiltrZakres = 0;
    c.FiltrCzas = 0;
  }
  if (!usesUserTable) c.TableLoaded = false;
  if (!converted) context.conversion.TableType = 0;
  c.data = Utf8Left(FormatDate(Today()), kShortTextLength);
}

void SetCodes(ModuleConfig& c, const SelectionCodes& codes) {
  c.Typ = codes.Typ;
  c.Tryb = codes.Tryb;
  c.Lin = codes.Lin;
}

}  // namespace

bool FourWireModel(const ModuleConfig& config) {
  return config.Device == "Q5496" || config.Device == "Q5497";
}

std::uint8_t OpeningWires(const ModuleConfig& config) {
  const bool fourWire = FourWireModel(config);
  if (IsWireConnection(config.Tryb) && (config.Tryb != kTrybFourWire || fourWire))
    return config.Tryb;
  return fourWire ? kTrybFourWire : kTrybThreeWire;
}

std::uint8_t LinOf(Conversion conversion) {
  switch (conversion) {
    case Conversion::PowerSeries: return kLinSeries;
    case Conversion::Linear: return kLinLinear;
    case Conversion::Table: return kLinTable;
    case Conversion::None: break;
  }
  return kLinNone;
}

const char* ConversionKey(Conversion conversion) {
  switch (conversion) {
    case Conversion::PowerSeries: return "power series";
    case Conversion::Linear: return "linear";
    case Conversion::Table: return "table defined";
    case Conversion::None: break;
  }
  return "none";
}

InputPage OpeningPage(const ProgramContext& context, std::uint8_t typ) {
  const ModuleConfig& c = context.config;
  InputPage page;
  page.typ = typ;
  if (c.Typ == typ) {
    switch (c.Lin) {
      case kLinLinear: page.conversion = Conversion::Linear; break;
      case kLinSeries: page.conversion = Conversion::PowerSeries; break;
      case kLinTable: page.conversion = c.TableLoaded ? Conversion::Table : Conversion::None; break;
      default: break;
    }
  }
  page.labels = InputRangeLabels(context, typ, page.conversion);
  return page;
}

RangeLabels InputRangeLabels(const ProgramContext& context, int typ, Conversion conversion) {
  RangeLabels labels;
  const int unit = DefaultResultUnit(typ);
  labels.maximum = context.Tr("Maximum range", ": ") +
                   SignalRangeText(context.limits.Lower(typ), context.limits.Upper(typ), unit);
  if (conversion == Conversion::None) return labels;
  const auto [low, high] = ConvertedSignalRange(context, conversion);
  labels.input = context.Tr("Input range", ": ") + SignalRangeText(low, high, unit);
  labels.result = DropLastCharacter(context.Tr("Result1")) + ": " +
                  LimitText(context.limits.LowerTenths(kTypUserThermocouple)) + "..." +
                  LimitText(context.limits.UpperTenths(kTypUserThermocouple)) + " " +
                  std::string(UnitName(context.config.Jednostki));
  return labels;
}

void ChooseConversion(ProgramContext& context, DialogHost& host, InputPage& page,
                      Conversion chosen) {
  page.conversion = OpenConversionWindow(context, host, page, chosen) ? chosen : Conversion::None;
  page.labels = InputRangeLabels(context, page.typ, page.conversion);
}

void CheckConversion(ProgramContext& context, DialogHost& host, InputPage& page, Conversion box,
                     bool checked) {
  if (!checked) {
    if (page.conversion == box) page.conversion = Conversion::None;
  } else if (OpenConversionWindow(context, host, page, box)) {
    page.conversion = box;
  }
  page.labels = InputRangeLabels(context, page.typ, page.conversion);
}

void SensorSelectionOk(ProgramContext& context, const SelectionCodes& codes,
                       std::uint8_t typAtOpening) {
  ModuleConfig& c = context.config;
  SetCodes(c, codes);
  c.Jednostki = kUnitCelsius;
  const bool user = c.Typ == kTypUserThermocouple;
  FinishSelection(context, user || c.Typ != typAtOpening, c.Typ, user, user);
}

void InputSelectionOk(ProgramContext& context, const SelectionCodes& codes,
                      std::uint8_t typAtOpening, std::uint8_t linAtOpening) {
  ModuleConfig& c = context.config;
  SetCodes(c, codes);
  const bool converted = c.Lin > kLinNone;
  const bool changed = converted || c.Typ != typAtOpening || c.Lin != linAtOpening;
  if (changed && !converted) c.Jednostki = DefaultResultUnit(c.Typ);
  FinishSelection(context, changed, converted ? kTypUserThermocouple : c.Typ, c.Lin == kLinTable,
                  converted);
}

SelectionOutcome HandOver(ProgramContext& context) {
  if (context.conversion.ConversionConfirmed != 0) context.config.TableLoaded = false;
  return SelectionOutcome::More;
}

void AddWireTexts(const ProgramContext& context, std::map<std::string, std::string>& texts) {
  texts["ConnectionG"] = context.Tr("Connection");
  texts["Wire2R"] = context.Tr("2-wire");
  texts["Wire3R"] = context.Tr("3-wire");
  texts["Wire4R"] = context.Tr("4-wire");
}

void AddInputGroupTexts(const ProgramContext& context, std::map<std::string, std::string>& texts) {
  texts["InputG"] = context.Tr("Input");
  texts["SingleR"] = context.Tr("single");
  texts["DoubleR"] = context.Tr("double");
}

void AddConversionTexts(const ProgramContext& context, std::map<std::string, std::string>& texts) {
  texts["NoneR"] = context.Tr(ConversionKey(Conversion::None));
  texts["SeriesR"] = context.Tr(ConversionKey(Conversion::PowerSeries));
  texts["LinearR"] = context.Tr(ConversionKey(Conversion::Linear));
  texts["TableR"] = context.Tr(ConversionKey(Conversion::Table));
}

InputWindowLogic::InputWindowLogic(ProgramContext& context, DialogHost& host)
    : context_(context),
      host_(host),
      typAtOpening_(context.config.Typ),
      linAtOpening_(context.config.Lin) {
  context_.conversion.ConversionConfirmed = 0;
}

SelectionOutcome InputWindowLogic::OkWith(std::uint8_t typ, std::uint8_t tryb,
                                          Conversion conversion) {
  InputSelectionOk(context_, {typ, tryb, LinOf(conversion)}, typAtOpening_, linAtOpening_);
  return SelectionOutcome::Ok;
}

std::map<std::string, std::string> InputWindowLogic::InputWindowTexts() const {
  return {
      {"Caption", context_.Tr("Input signal")},
      {"ConversionG", context_.Tr("result conversion")},
      {"CancelB", context_.Tr("Cancel")},
  };
}

TwoPageInputLogic::TwoPageInputLogic(ProgramContext& context, DialogHost& host,
                                     std::uint8_t firstTyp, std::uint8_t secondTyp)
    : InputWindowLogic(context, host),
      page_(context.config.Typ == secondTyp ? 1 : 0),
      pages_{OpeningPage(context, firstTyp), OpeningPage(context, secondTyp)} {}

const InputPage& TwoPageInputLogic::PageState(int page) const { return pages_[page == 1 ? 1 : 0]; }

void TwoPageInputLogic::PageChange(int page) {
  if (IsPage(page)) page_ = page;
}

SelectionOutcome TwoPageInputLogic::OkOnPage(std::uint8_t tryb) {
  const InputPage& page = PageState(page_);
  return OkWith(page.typ, tryb, page.conversion);
}

}  // namespace q5480
