// The sensor button and Configuration › Input: the meter type first when no
// model is known, then the selection windows of the model, and what follows
// their OK or Cancel.
#include "config/dates.h"
#include "conversion/range_rules.h"
#include "service/display_format.h"
#include "workflow/main_window.h"
#include "workflow/meter_type_window.h"

namespace q5480 {
namespace {

constexpr std::uint8_t kNoModelReported = 15;

// The windows of the Q5495 to Q5497 hand over to each other on "More".
SelectionOutcome RunSensorPair(DialogHost& host, bool startWithInputs) {
  bool inputs = startWithInputs;
  for (;;) {
    const SelectionOutcome outcome = inputs ? host.ResistanceVoltage() : host.Sensor();
    if (outcome != SelectionOutcome::More) return outcome;
    inputs = !inputs;
  }
}

}  // namespace

bool MainWindowLogic::SenSelClick(DialogHost& host) {
  ConnectionState& state = context_.state;
  if (state.InTransfer || state.MonitorOnly) return false;
  ModuleConfig& c = context_.config;
  const std::string previousDevice = c.Device;
  if ((c.Device.empty() || c.ModelIndex > kNoModelReported) && !host.MeterType()) return false;
  if (!SensorSelectionExists(c.Device)) {
    context_.ShowMessage(
        context_.Tr("Device") + " " + c.Device + " " + context_.Tr("not implemented yet"),
        MessageIcon::Information);
    c.Device = previousDevice;
    context_.ShowCaption();
    return false;
  }
  if (panel_.RunCommand([&] { return SelectSensor(host); })) return true;
  // Cancelled or refused: the model as it was before the meter type window.
  c.Device = previousDevice;
  context_.ShowCaption();
  return false;
}

bool MainWindowLogic::SelectSensor(DialogHost& host) {
  ModuleConfig& c = context_.config;

  // What Cancel puts back: everything the windows may have changed in the
  // record (the conversion's coefficients, unit and table file, the cold
  // junction's temperature) and the user limits.
  const ModuleConfig before = c;
  const InputLimits limitsBefore = context_.limits;

  SelectionOutcome outcome = SelectionOutcome::Cancel;
  switch (ModelCode(c)) {
    case kQ5491ModelCode: outcome = host.LoopCurrent(); break;
    case kQ5494ModelCode: outcome = host.VoltageCurrent(); break;
    default:
      outcome = RunSensorPair(host, c.Typ == kTypResistance || c.Typ == kTypMillivolts);
      break;
  }
  if (outcome != SelectionOutcome::Ok) {
    // The model the module reports meanwhile is not the windows' to put back.
    const std::uint8_t modelIndex = c.ModelIndex;
    c = before;
    c.ModelIndex = modelIndex;
    context_.limits = limitsBefore;
    // The one table in memory is now the one a conversion window confirmed.
    if (context_.conversion.ConversionConfirmed != 0) c.TableLoaded = false;
    return false;
  }

  if (!CheckSignalSpan(c, context_.conversion)) {
    const int type = RangeLimitType(c);
    c.MinInput = context_.limits.Lower(type);
    c.MaxInput = context_.limits.Upper(type);
  }
  ConnectionState& state = context_.state;
  state.ZeroCoefficients = false;
  if (!c.data.empty()) c.data = FormatDate(Today());
  panel_.ShowConfiguration(state.Connected ? kColourChangedRange : kColourWhite);
  state.Programmed = false;
  return true;
}

}  // namespace q5480
