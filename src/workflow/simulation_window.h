// The simulation window (SimulationDialog) without its widgets: the input in percent
// of the signal range or the output current is set by the person, and the
// window shows the signal, the result and the output, with the operating
// point on the plotted characteristic. Nothing is sent to a module.
//
// The window forwards its events here and paints View() and Plot(). It
// paints them from `Repaint`, which the logic calls at the end of every
// display step while `Updating` still holds, so that the change events that
// painting causes come back here and are ignored.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "service/transfer_simulation.h"
#include "workflow/parameter_panel.h"
#include "workflow/program_context.h"

namespace q5480 {

using SimulationClock = std::chrono::steady_clock;

inline constexpr int kInputScrollMax = 200;   // InputS; its top is 100 %
inline constexpr int kOutputScrollMax = 160;  // OutputS; its top is 20 mA
inline constexpr int kScrollLargeStep = 10;
inline constexpr int kEditMaxLength = 5;
// Timer1 and Timer2: an edit is taken this long after its last keystroke.
inline constexpr std::chrono::milliseconds kEntryDelay{3000};
// The plot's looks: its background shade (0 to 100), the trace in yellow,
// the cross-hairs in teal (colours 0x00BBGGRR), small dots at first.
inline constexpr int kPlotBackground = 20;
inline constexpr std::uint32_t kPlotPenColour = 0x0000FFFF;
inline constexpr std::uint32_t kPlotHairsColour = 0x00808000;

struct PlotPoint {
  double x = 0;
  double y = 0;
};

// What the XY plot (WykresXY1) shows.
struct SimulationPlot {
  std::vector<PlotPoint>
      points;             // the characteristic: X percent of the input, Y percent of the range
  bool bipolar = false;   // X from -100 to 100, else from 0 to 100
  bool bigDots = false;   // BigDot
  bool hairsOn = false;   // the cross-hairs
  PlotPoint hairs;        // where they cross
  int traceRevision = 0;  // rises whenever the trace is to be plotted again
};

// What the controls show.
struct SimulationView {
  std::string caption;  // "Simulation"
  std::string InputGB;
  std::string ResultGB;
  std::string OutputGB;
  std::string InputE;    // percent, two decimals
  std::string Input1T;   // the signal in its unit, in parentheses
  std::string ResultP;   // as the main window's result display
  std::string ResultJT;  // the result unit
  std::string OutputE;   // mA, two decimals
  int InputS = kInputScrollMax;
  int OutputS = kOutputScrollMax;
  std::string inputHint;   // InputE and InputS
  std::string outputHint;  // OutputE and OutputS
  std::string plotHint;    // WykresXY1
  std::string accuracy;    // the table's accuracy, under the plot
};

class SimulationWindowLogic {
 public:
  // Opening from the main window: the parameter check ("Information
  // incomplete!" when it fails), then the image built; a characteristic
  // that cannot be inverted is reported and the window opens all the same.
  // Nothing when the window does not open; its message was shown.
  static std::unique_ptr<SimulationWindowLogic> Open(ProgramContext& context,
                                                     ParameterPanel& panel);

  SimulationWindowLogic(ProgramContext& context, TransferSimulation simulation,
                        std::string accuracy);

  const SimulationView& View() const { return view_; }
  const SimulationPlot& Plot() const { return plot_; }
  bool Updating() const { return updating_; }

  // Paints View() and Plot() into the window's controls.
  std::function<void()> Repaint;

  // The window is shown: the start state, the operating point at 0 %.
  void FormShow();

  // The person typed into an edit: it is taken `kEntryDelay` later.
  void InputEChange(const std::string& text, SimulationClock::time_point now);
  void OutputEChange(const std::string& text, SimulationClock::time_point now);
  // Enter in an edit takes it at once.
  void InputEEnter();
  void OutputEEnter();
  // The timers: an edit whose delay has passed is taken.
  void Tick(SimulationClock::time_point now);
  // When Tick has something to do next; nothing while no edit waits.
  std::optional<SimulationClock::time_point> NextDeadline() const;

  // The scroll bars moved to `position` (0 at the top).
  void InputSChange(int position);
  void OutputSChange(int position);

  // A click on the plot switches between small and large dots.
  void WykresXY1Click();

  // Display steps: the operating point for an input in percent, or for an
  // output fraction.
  void ShowInputPoint(double percent);
  void ShowOutputPoint(double fraction);

 private:
  void ShowPoint(const SimulationPoint& point);
  void MoveScrollBar(int& position, int max, double target);
  void Publish();
  void TakeInput();
  void TakeOutput();

  ProgramContext& context_;
  TransferSimulation simulation_;
  SimulationView view_;
  SimulationPlot plot_;
  std::string inputUnit_;
  double inputPercent_ = 0;
  double outputMa_ = 4;
  bool updating_ = false;
  std::optional<SimulationClock::time_point> inputDeadline_;   // Timer1
  std::optional<SimulationClock::time_point> outputDeadline_;  // Timer2
};

}  // namespace q5480
