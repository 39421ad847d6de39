// The chart view of the main window without its widgets: the live result
// plotted against time with the filter-event lamps, the filter-limit lines,
// the elapsed clock, start/stop/clear, the plotting style, the interval,
// stopped scaling, and the recording of the plotted samples to a data file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "config/module_config.h"
#include "module/measurement.h"
#include "service/measurement_recording.h"
#include "workflow/program_context.h"

namespace q5480 {

// Colours as 0x00BBGGRR.
inline constexpr std::uint32_t kPointYellow = 0x00FFFF;  // an ordinary sample
inline constexpr std::uint32_t kPointAqua = 0xFFFF00;    // with a new average
inline constexpr std::uint32_t kPointRed = 0x0000FF;     // with a spurious error
inline constexpr std::uint32_t kLampGrey = 0x808080;
inline constexpr std::uint32_t kChartFrameColour = 0x99A8AC;

enum class ChartStyle { Line, Dot, Bar };

// What the view needs of the strip chart (the window's XyChart).
class ChartControl {
 public:
  virtual ~ChartControl() = default;
  // True when the value was due and became a point.
  virtual bool AddValue(double value, std::uint32_t colour) = 0;
  virtual void Clear() = 0;
  virtual std::size_t PointCount() const = 0;
  virtual double NewestValue() const = 0;
  virtual double Interval() const = 0;
  virtual void SetInterval(double seconds) = 0;
  virtual void SetStyle(ChartStyle style) = 0;
  // Also repaints.
  virtual void SetAutoScaling(bool on) = 0;
  virtual void Repaint() = 0;
};

// One request of the chart's reference-line protocol for the filter limits
// around `newest` (`tag` counts the requests from 0): sets `value` and
// `colour` for a line, and `finished` when no further line follows.
void FilterLimitLine(const ModuleConfig& config, bool shown, std::size_t pointCount, double newest,
                     int tag, double& value, std::uint32_t& colour, bool& finished);

// "hh:mm:ss" of whole seconds; the hours may take more than two digits.
std::string ElapsedClockText(std::int64_t seconds);

// What the view's controls show.
struct ChartViewState {
  std::uint32_t NewAvLED = kLampGrey;    // "new average" lamp
  std::uint32_t LargeErLED = kLampGrey;  // "spurious error" lamp
  std::string WykresTimeT = "00:00:00";  // elapsed clock
  bool Running = true;                   // WykresStartB shows "Stop"
  bool SavingShown = false;              // SavingI: recording indicator
  bool ShowFilter = false;               // ShowFilterCB
  bool StopScaling = false;              // StopScalingCB
  ChartStyle Style = ChartStyle::Line;
  int Interval = 1;  // WykresIntE, seconds
};

class ChartView {
 public:
  using Clock = std::function<RecordingTime()>;
  // Reads the configuration from the module; true when it was read.
  using ReadConfiguration = std::function<bool()>;

  ChartView(ProgramContext& context, ChartControl& chart, ReadConfiguration read,
            Clock clock = RecordingNow);

  const ChartViewState& View() const { return view_; }
  bool Recording() const { return recording_; }
  // The caption of the save-as item while the view is shown.
  std::string KeepResultsCaption() const;

  // The view switched on (an empty chart starts afresh, one with points
  // goes on where it was) and off; recording ends on both.
  void Enter();
  void Leave();

  // One accepted measurement of the polling tick.
  void PlotSample(double result, double output, const DeviceStatus& status);

  void WykresStartBClick();
  void WykresClearBClick();
  void StyleClick(ChartStyle style);
  void StopScalingCBClick(bool checked);
  void ShowFilterCBClick(bool checked);
  // A new interval text from the up-down control.
  void WykresIntChange(const std::string& text);
  // The chart's reference-line request.
  void NeedLinesY(int tag, double& value, std::uint32_t& colour, bool& finished) const;

  // The save-as item: stops a recording, else asks for the data file and
  // writes its header.
  void KeepResultsClick();
  // A double-click on the recording indicator.
  void StopRecording();

 private:
  // The configuration read when the filter limits need it; once per
  // checking of the box, which is unchecked when the read failed.
  void EnsureFilterConfiguration();

  ProgramContext& context_;
  ChartControl& chart_;
  ReadConfiguration read_;
  Clock clock_;
  ChartViewState view_;
  bool startPending_ = true;
  RecordingTime startTime_;
  bool recording_ = false;
  std::string dataFileName_;
  std::uint32_t pendingColor_ = kPointYellow;
  bool pointWaiting_ = false;
};

}  // namespace q5480
