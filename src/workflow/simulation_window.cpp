#include "workflow/simulation_window.h"

#include <cmath>

#include "config/numbers.h"
#include "config/scoped_flag.h"
#include "conversion/conversion_messages.h"
#include "service/display_format.h"
#include "service/printed_report.h"

namespace q5480 {
namespace {

constexpr int kLastGridPoint = kTransferGridPoints - 1;

std::string TwoDecimals(double value) { return FormatFixed(value, 0, 2); }

}  // namespace

std::unique_ptr<SimulationWindowLogic> SimulationWindowLogic::Open(ProgramContext& context,
                                                                   ParameterPanel& panel) {
  if (context.state.InTransfer) return nullptr;
  std::unique_ptr<SimulationWindowLogic> window;
  panel.RunCommand([&] {
    if (!panel.CheckParam(true, true)) {
      context.ShowMessage(context.Tr("Information incomplete", "!"), MessageIcon::Warning);
      return false;
    }
    const SimulationSetup setup =
        PrepareSimulation({context.config, context.limits, context.conversion}, context.image);
    if (setup.refusal && setup.refusal->key == kReasonNotMonotonic) {
      context.ShowMessage(context.Tr(kTransferFunction) + " " + context.Tr(kIsNotMonotonic, "!"),
                          MessageIcon::Error);
    } else if (setup.refusal) {
      context.ShowMessage(context.TextOf(RefusalMessage(*setup.refusal)), MessageIcon::Error);
    }
    if (!setup.simulation) return false;
    const std::string accuracy = AccuracyLine({setup.refusal, setup.accuracyError, setup.accuracy},
                                              context.config, context.language);
    window = std::make_unique<SimulationWindowLogic>(context, *setup.simulation, accuracy);
    return true;
  });
  return window;
}

SimulationWindowLogic::SimulationWindowLogic(ProgramContext& context, TransferSimulation simulation,
                                             std::string accuracy)
    : context_(context), simulation_(std::move(simulation)) {
  view_.accuracy = std::move(accuracy);
  plot_.bipolar = simulation_.Bipolar();
  for (int k = 0; k <= kLastGridPoint; ++k) {
    const double x = plot_.bipolar ? 200.0 * k / kLastGridPoint - 100 : 100.0 * k / kLastGridPoint;
    plot_.points.push_back({x, 100 * simulation_.Fractions()[static_cast<std::size_t>(k)]});
  }
}

void SimulationWindowLogic::FormShow() {
  updating_ = false;
  // Only a deactivation while the window is up may hold back a scroll bar.
  context_.state.AppDeactivated = false;
  inputUnit_ = SimulatedSignalUnit(context_.config.Typ);
  view_.caption = context_.Tr("Simulation");
  view_.InputGB = " " + context_.Tr("Input") + " ";
  view_.ResultGB = " " + DropLastCharacter(context_.Tr("Result1")) + " ";
  view_.OutputGB = " " + context_.Tr("Output") + " ";
  view_.ResultJT = std::string(UnitName(context_.config.Jednostki));
  view_.inputHint = context_.Tr("Input signal");
  view_.outputHint = context_.Tr("Set the output current");
  view_.plotHint = context_.Tr("Click to switch between small and large dots");
  ++plot_.traceRevision;
  // The cross-hairs come on at the first operating point.
  plot_.hairsOn = true;
  ShowInputPoint(0);
}

void SimulationWindowLogic::ShowInputPoint(double percent) {
  ShowPoint(simulation_.AtInput(percent));
}

void SimulationWindowLogic::ShowOutputPoint(double fraction) {
  ShowPoint(simulation_.AtOutput(fraction));
}

void SimulationWindowLogic::ShowPoint(const SimulationPoint& point) {
  ScopedFlag updating(updating_);
  inputPercent_ = point.percent;
  outputMa_ = point.outputMa;
  view_.InputE = TwoDecimals(point.percent);
  view_.Input1T = "(" + FormatSimulatedSignal(point.signal) + " " + inputUnit_ + ")";
  view_.ResultP =
      FormatResultNumber(point.result, context_.state.ConfigRead, context_.config, context_.limits);
  view_.OutputE = TwoDecimals(point.outputMa);
  MoveScrollBar(view_.InputS, kInputScrollMax, kInputScrollMax * (1 - point.percent / 100));
  MoveScrollBar(view_.OutputS, kOutputScrollMax, kOutputScrollMax * (1 - point.fraction));
  if (plot_.hairsOn) {
    plot_.hairs = {plot_.bipolar ? 2 * point.percent - 100 : point.percent, 100 * point.fraction};
  }
  if (Repaint) Repaint();
}

void SimulationWindowLogic::MoveScrollBar(int& position, int max, double target) {
  // Only a real change moves the bar, so that dragging it never makes it
  // jump back by a rounding.
  if (!(std::fabs(target - position) > 0.5)) return;
  const double rounded = RoundHalfEven(target);
  position = static_cast<int>(std::fmin(std::fmax(rounded, 0.0), static_cast<double>(max)));
}

void SimulationWindowLogic::Publish() {
  ScopedFlag updating(updating_);
  if (Repaint) Repaint();
}

void SimulationWindowLogic::InputEChange(const std::string& text, SimulationClock::time_point now) {
  if (updating_) return;
  view_.InputE = text;
  inputDeadline_ = now + kEntryDelay;
}

void SimulationWindowLogic::OutputEChange(const std::string& text,
                                          SimulationClock::time_point now) {
  if (updating_) return;
  view_.OutputE = text;
  outputDeadline_ = now + kEntryDelay;
}

void SimulationWindowLogic::InputEEnter() {
  inputDeadline_.reset();
  TakeInput();
}

void SimulationWindowLogic::OutputEEnter() {
  outputDeadline_.reset();
  TakeOutput();
}

void SimulationWindowLogic::Tick(SimulationClock::time_point now) {
  if (inputDeadline_ && now >= *inputDeadline_) {
    inputDeadline_.reset();
    TakeInput();
  }
  if (outputDeadline_ && now >= *outputDeadline_) {
    outputDeadline_.reset();
    TakeOutput();
  }
}

std::optional<SimulationClock::time_point> SimulationWindowLogic::NextDeadline() const {
  if (inputDeadline_ && outputDeadline_) return std::min(*inputDeadline_, *outputDeadline_);
  return inputDeadline_ ? inputDeadline_ : outputDeadline_;
}

void SimulationWindowLogic::TakeInput() {
  const std::optional<double> value = context_.ReadTypedNumber(view_.InputE, MessageIcon::Warning);
  const bool valid = value && *value >= 0 && *value <= 100;
  if (value && !valid) context_.ShowMessage(context_.Tr(kOutOfRange), MessageIcon::Error);
  view_.InputE = TwoDecimals(inputPercent_);
  if (valid) {
    ShowInputPoint(*value);
  } else {
    Publish();
  }
}

void SimulationWindowLogic::TakeOutput() {
  const std::optional<double> value = context_.ReadTypedNumber(view_.OutputE, MessageIcon::Warning);
  if (value) {
    if (*value >= 4 && *value <= 20) {
      outputMa_ = *value;
    } else {
      context_.ShowMessage(context_.Tr(kOutOfRange), MessageIcon::Error);
    }
  }
  view_.OutputE = TwoDecimals(outputMa_);
  ShowOutputPoint((outputMa_ - 4) / 16);
}

void SimulationWindowLogic::InputSChange(int position) {
  if (updating_) return;
  ConnectionState& state = context_.state;
  if (state.AppDeactivated) {
    // The first change after another application was active is the bar
    // catching up with the mouse: it goes back to the current value.
    state.AppDeactivated = false;
    view_.InputS = static_cast<int>(RoundHalfEven(kInputScrollMax * (1 - inputPercent_ / 100)));
    Publish();
    return;
  }
  view_.InputS = position;
  ShowInputPoint(100 - 100.0 * position / kInputScrollMax);
}

void SimulationWindowLogic::OutputSChange(int position) {
  if (updating_) return;
  ConnectionState& state = context_.state;
  if (state.AppDeactivated) {
    state.AppDeactivated = false;
    view_.OutputS = static_cast<int>(RoundHalfEven(kOutputScrollMax * (1 - (outputMa_ - 4) / 16)));
    Publish();
    return;
  }
  view_.OutputS = position;
  ShowOutputPoint(1 - static_cast<double>(position) / kOutputScrollMax);
}

void SimulationWindowLogic::WykresXY1Click() {
  plot_.bigDots = !plot_.bigDots;
  ++plot_.traceRevision;
  Publish();
}

}  // namespace q5480
