#include "workflow/parameter_panel.h"

#include "config/numbers.h"
#include "conversion/sensor_signal.h"
#include "service/display_format.h"
#include "workflow/conversion_command.h"

namespace q5480 {
namespace {

std::string UnitText(int unit) {
  return unit >= 0 && unit < kUnitCount ? std::string(UnitName(unit)) : std::string(" ");
}

std::string TenthsText(std::int32_t tenths) { return FormatFixed(tenths / 10.0, 3, 1); }

}  // namespace

bool NeedsUserData(const ProgramContext& context) {
  const ModuleConfig& c = context.config;
  if (context.state.ZeroCoefficients) return true;
  if (c.TableLoaded) return false;
  return UsesUserTable(c);
}

std::array<std::string, 3> BurnoutLabelTexts(const LanguageTable& language) {
  return {language.Tr("Output locked") + " !", language.Tr("Internal failure sygnalization") + ":",
          language.Tr("Output reaction to sensor burnout") + ":"};
}

std::string BurnoutLabelText(const ProgramContext& context) {
  const ModuleConfig& c = context.config;
  const std::array<std::string, 3> texts = BurnoutLabelTexts(context.language);
  if (c.Burnout == 2) return texts[0];
  if (IsSensorless(c.Typ)) return texts[1];
  return texts[2];
}

namespace {

// The translated connection name; a name the language table lacks is shown
// as it stands rather than as nothing.
std::string ConnectionText(const ProgramContext& context, int tryb) {
  const std::string name(ConnectionName(tryb));
  if (name.empty()) return name;
  return context.TextOf(name);
}

std::string SensorDescription(const ProgramContext& context) {
  const ModuleConfig& c = context.config;
  std::string text;
  if (IsThermocouple(c.Typ)) text = context.Tr("Thermocouple", " ");
  if (c.Typ == kTypResistance) {
    text += context.Tr("Resistance");
  } else if (IsVoltageInput(c.Typ)) {
    text += context.Tr("Voltage");
  } else if (IsCurrentInput(c.Typ)) {
    text += context.Tr("Current");
  } else {
    text += InputType(c.Typ).name;
  }
  if (c.Tryb == kTrybExternalJunction) {
    text += ", " + context.Tr("CJ temp.", ": ") + FormatFixed(c.RoomT, 3, 1) + "°C";
  } else if (!IsVoltageOrCurrent(c.Typ)) {
    const std::string connection = ConnectionText(context, c.Tryb);
    if (!connection.empty()) text += ", " + connection;
  }
  if (c.Lin >= kLinTable) {
    text += ", " + context.Tr(IsPlainInput(c.Typ) ? "result converted" : "linearization");
  }
  return text;
}

}  // namespace

void ParameterPanel::ShowAbsoluteLimits() {
  if (NeedsUserData(context_)) {
    view_.AbsMinE.clear();
    view_.AbsMaxE.clear();
    return;
  }
  const AbsoluteLimitTexts texts = FormatAbsoluteLimits(context_.config, context_.limits);
  view_.AbsMinE = texts.lower;
  view_.AbsMaxE = texts.upper;
}

void ParameterPanel::ShowConfiguration(int colourMode) {
  const ModuleConfig& c = context_.config;
  context_.ShowCaption();
  view_.Reakcja = BurnoutLabelText(context_);

  view_.SenTypeG = " " + context_.Tr(IsPlainInput(c.Typ) ? "Input" : "Sensor type") + " ";
  view_.SenTypeText = SensorDescription(context_);

  view_.JednostkiE = UnitText(context_.state.ReportedUnit);
  view_.JednostkiE1 = UnitText(c.Jednostki);
  view_.MinInputE = FormatRangeA(c.MinInput, c, context_.limits);
  view_.MaxInputE = FormatRangeA(c.MaxInput, c, context_.limits);
  view_.FiltrZakresE = TenthsText(c.FiltrZakres);
  view_.FiltrCzasE = TenthsText(c.FiltrCzas);
  view_.FiltrLimitE = FormatInt(c.FiltrLimit);
  view_.FiltrLimitUpDown = c.FiltrLimit;
  view_.BurnoutE = c.Burnout > 2 ? 0 : c.Burnout;
  view_.SiecE = c.Siec == 50 ? 0 : 1;
  ShowCorrections();

  ShowAbsoluteLimits();
  view_.SerialE = c.serial;
  view_.DataE = c.data;
  view_.InfoCaptionsVisible = true;
  view_.KodE = c.kod;
  view_.OgolneE = c.ogolne;

  const bool userDataMissing = NeedsUserData(context_);
  view_.RangeFieldsEnabled = !userDataMissing;
  view_.OtherFieldsEnabled = true;

  ApplyColourMode(colourMode);
  shown_ = true;
  context_.SetStatusText(
      context_.Tr(userDataMissing ? "Information incomplete" : "Information complete"));
  if (userDataMissing) AskForMissingUserData();
}

void ParameterPanel::NewConfiguration() {
  ModuleConfig& c = context_.config;
  context_.state.Programmed = false;
  context_.state.InvalidEntry = false;  // every field is emptied: no refusal stands
  shown_ = false;
  c.TableLoaded = false;

  context_.SetStatusText(context_.Tr("No parameters"));
  context_.fileName = context_.Tr("No_name");

  view_.SenTypeG = " " + context_.Tr("Sensor type") + " ";
  c.Device.clear();
  context_.ShowCaption();

  c.Typ = kTypNone;
  c.Tryb = kTrybNoConnection;
  c.Lin = kLinTable;
  c.Jednostki = kUnitKilogram;
  c.Burnout = 0;
  c.Siec = 50;
  c.MinInput = 0;
  c.MaxInput = 0;
  c.FiltrLimit = 0;
  c.FiltrZakres = 0;
  c.FiltrCzas = 0;
  c.serial.clear();
  c.data.clear();
  c.kod.clear();
  c.ogolne.clear();

  const std::string senTypeG = view_.SenTypeG;
  view_ = PanelView{};  // every text empty, both lists at their first item
  view_.SenTypeG = senTypeG;
  view_.SenTypeText = "???";
  view_.Reakcja = BurnoutLabelText(context_);
  view_.InfoCaptionsVisible = false;
  view_.RangeFieldsEnabled = false;
  view_.OtherFieldsEnabled = false;
  ApplyColourMode(kColourGrey);
}

bool ParameterPanel::RunCommand(const std::function<bool()>& work) {
  const PanelView view = view_;
  const bool shown = shown_;
  return RunConversionCommand(context_, work, [&] {
    view_ = view;
    shown_ = shown;
  });
}

bool ParameterPanel::CheckParam(bool checkUserData, bool quiet) {
  if (!CheckFields()) return false;
  if (shown_) return !(checkUserData && NeedsUserData(context_) && AskForMissingUserData());
  if (!quiet) {
    context_.ui.Beep(BeepKind::Exclamation);
    context_.ShowMessage(context_.Tr("No parameters", "!"), MessageIcon::Error);
  }
  return false;
}

void ParameterPanel::ApplyColourMode(int mode) {
  FieldColour colour = FieldColour::Window;
  std::size_t count = kPanelFieldCount;
  switch (mode) {
    case kColourGrey: colour = FieldColour::ButtonFace; break;
    case kColourWhite: colour = FieldColour::Window; break;
    case kColourChangedRange:
      colour = FieldColour::Aqua;
      count = kFirstGroupCount;
      break;
    case kColourChangedAll: colour = FieldColour::Aqua; break;
    default: return;
  }
  for (std::size_t i = 0; i < count; ++i) view_.Colours[i] = colour;
}

void ParameterPanel::MarkChanged(PanelField field) {
  view_.Colours[static_cast<std::size_t>(field)] = FieldColour::Aqua;
}

void ParameterPanel::ClearChangedMarks() {
  for (FieldColour& colour : view_.Colours) colour = FieldColour::Window;
}

bool ParameterPanel::OnlyInformationChanged() const {
  for (std::size_t i = 0; i < kParameterFieldCount; ++i) {
    if (view_.Colours[i] == FieldColour::Aqua) return false;
  }
  return view_.Colour(PanelField::KodE) == FieldColour::Aqua ||
         view_.Colour(PanelField::OgolneE) == FieldColour::Aqua;
}

void ParameterPanel::ShowCorrections() {
  view_.RegulZV = FormatFixed(context_.config.ZeroReg, 5, 2) + "%";
  view_.RegulGV = FormatFixed(context_.config.GainReg, 5, 2) + "%";
}

}  // namespace q5480
