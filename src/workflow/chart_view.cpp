#include "workflow/chart_view.h"

#include "config/numbers.h"
#include "config/parameters_file.h"
#include "config/path_text.h"

namespace q5480 {
namespace {

std::string TwoDigits(std::int64_t value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

}  // namespace

void FilterLimitLine(const ModuleConfig& config, bool shown, std::size_t pointCount, double newest,
                     int tag, double& value, std::uint32_t& colour, bool& finished) {
  finished = true;
  if (pointCount < 2 || !shown) return;
  const double range = config.MaxInput - config.MinInput;
  const double filtration = range * config.FiltrZakres / 1000;  // tenths of a percent
  const double threshold = range * config.FiltrLimit / 100;     // whole percent
  if (filtration + threshold == 0) return;
  // The chart asks again only while `finished` is false: each request says
  // whether another line follows.
  switch (tag) {
    case 0:
      if (filtration > 0) value = newest + filtration, colour = kPointAqua;
      finished = false;
      break;
    case 1:
      if (filtration > 0) value = newest - filtration, colour = kPointAqua;
      finished = threshold == 0;
      break;
    case 2:
      value = newest + threshold, colour = kPointRed;
      finished = false;
      break;
    case 3: value = newest - threshold, colour = kPointRed; break;
    default: break;
  }
}

std::string ElapsedClockText(std::int64_t seconds) {
  return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds % 3600 / 60) + ":" +
         TwoDigits(seconds % 60);
}

ChartView::ChartView(ProgramContext& context, ChartControl& chart, ReadConfiguration read,
                     Clock clock)
    : context_(context), chart_(chart), read_(std::move(read)), clock_(std::move(clock)) {
  chart_.SetInterval(view_.Interval);
}

std::string ChartView::KeepResultsCaption() const {
  return recording_ ? context_.Tr("&Stop saving") : context_.Tr("&Keep results", "...");
}

void ChartView::Enter() {
  StopRecording();
  if (chart_.PointCount() == 0) {
    startPending_ = true;
    chart_.Clear();
    view_.WykresTimeT = ElapsedClockText(0);
    view_.Running = true;
    view_.StopScaling = false;
    chart_.SetAutoScaling(true);
  }
  pointWaiting_ = false;
  pendingColor_ = kPointYellow;
}

void ChartView::Leave() { StopRecording(); }

void ChartView::PlotSample(double result, double output, const DeviceStatus& status) {
  view_.NewAvLED = status.NewAverage ? kPointAqua : kLampGrey;
  view_.LargeErLED = status.LargeError ? kPointRed : kLampGrey;
  if (view_.ShowFilter && !context_.state.ConfigRead) EnsureFilterConfiguration();
  const std::uint32_t colour = status.LargeError   ? kPointRed
                               : status.NewAverage ? kPointAqua
                                                   : kPointYellow;

  const RecordingTime now = clock_();
  const double interval = chart_.Interval();
  if (startPending_) {
    if (view_.Running) chart_.Clear();
    startTime_ = now;
    chart_.SetInterval(0);  // the first value is taken at once
  }
  const std::int64_t elapsed = ElapsedMs(startTime_, now);
  if (view_.Running) {
    startPending_ = false;
    // While a point waits, the first colour that is not yellow stays.
    if (!pointWaiting_ || pendingColor_ == kPointYellow) pendingColor_ = colour;
    pointWaiting_ = !chart_.AddValue(result, pendingColor_);
    if (recording_ && !pointWaiting_ &&
        !AppendRecord(PathFromUtf8(dataFileName_),
                      FormatRecord(elapsed, result, output, context_.regional))) {
      StopRecording();
      context_.ShowMessage(context_.Tr("Cannot open file", ":") + "\n" + dataFileName_,
                           MessageIcon::Warning);
    }
  }
  chart_.SetInterval(interval);
  const double seconds = RoundHalfEven(static_cast<double>(elapsed) * 0.001);
  view_.WykresTimeT = ElapsedClockText(static_cast<std::int64_t>(seconds));
}

void ChartView::WykresStartBClick() { view_.Running = !view_.Running; }

void ChartView::WykresClearBClick() {
  startPending_ = true;
  chart_.Clear();
  view_.WykresTimeT = ElapsedClockText(0);
  StopRecording();
}

void ChartView::StyleClick(ChartStyle style) {
  view_.Style = style;
  chart_.SetStyle(style);
}

void ChartView::StopScalingCBClick(bool checked) {
  view_.StopScaling = checked;
  chart_.SetAutoScaling(!checked);
}

void ChartView::ShowFilterCBClick(bool checked) {
  view_.ShowFilter = checked;
  if (checked && !context_.state.ConfigRead) EnsureFilterConfiguration();
  chart_.Repaint();
}

void ChartView::EnsureFilterConfiguration() {
  if (!read_ || !read_() || !context_.state.ConfigRead) view_.ShowFilter = false;
}

void ChartView::WykresIntChange(const std::string& text) {
  const std::optional<double> seconds = ParseNumber(text);
  if (seconds && *seconds >= 0) chart_.SetInterval(RoundHalfEven(*seconds));
  view_.Interval = static_cast<int>(RoundHalfEven(chart_.Interval()));
}

void ChartView::NeedLinesY(int tag, double& value, std::uint32_t& colour, bool& finished) const {
  FilterLimitLine(context_.config, view_.ShowFilter, chart_.PointCount(), chart_.NewestValue(), tag,
                  value, colour, finished);
}

void ChartView::KeepResultsClick() {
  if (recording_) {
    StopRecording();
    return;
  }
  TimerPause pause(context_.state);
  FileDialogRequest request;
  request.save = true;
  request.filter =
      context_.Tr("Data files") + " (*.txt)|*.txt|" + context_.Tr("All files") + "|*.*";
  request.defaultExtension = "txt";
  request.directory = context_.settings.DataDir;
  request.fileName = dataFileName_;
  request.protectedFileText = context_.Tr("Cannot open file", ":");
  const std::optional<std::string> path = context_.ui.AskFileName(request);
  if (!path) return;
  dataFileName_ = *path;
  RecordingHeads heads{context_.Tr("Time"), context_.Tr("Result"), context_.Tr("Output")};
  const int unit = context_.state.ReportedUnit < 0 ? kUnitCount : context_.state.ReportedUnit;
  // Until the next value starts the time base, the recording starts now.
  const RecordingTime start = startPending_ ? clock_() : startTime_;
  if (!WriteRecordingHeader(PathFromUtf8(dataFileName_),
                            RecordingHeaderLines(start, unit, heads, context_.regional))) {
    context_.ShowMessage(context_.Tr("Cannot open file", ":") + "\n" + dataFileName_,
                         MessageIcon::Warning);
    return;
  }
  context_.settings.DataDir = DataDirOf(PathFromUtf8(dataFileName_));
  recording_ = true;
  view_.SavingShown = true;
}

void ChartView::StopRecording() {
  recording_ = false;
  view_.SavingShown = false;
}

}  // namespace q5480
