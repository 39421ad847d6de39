// The chart view's logic with a chart that accepts what a test says and a
// clock that the test steps: the point colours, the clock, the filter-limit
// lines, the filter configuration read, and the recording's lines and
// states; the record format byte for byte.
#include "service/measurement_recording.h"
#include "workflow/chart_view.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

// A chart whose sampling the test decides: it takes a value while `due`.
class ScriptedChart : public ChartControl {
 public:
  bool AddValue(double value, std::uint32_t colour) override {
    if (!due) return false;
    values.push_back(value);
    colours.push_back(colour);
    return true;
  }
  void Clear() override {
    values.clear();
    colours.clear();
    ++clears;
  }
  std::size_t PointCount() const override { return values.size(); }
  double NewestValue() const override { return values.empty() ? 0 : values.back(); }
  double Interval() const override { return interval; }
  void SetInterval(double seconds) override { interval = seconds; }
  void SetStyle(ChartStyle) override {}
  void SetAutoScaling(bool on) override { autoScaling = on; }
  void Repaint() override {}

  bool due = true;
  double interval = 0;
  bool autoScaling = true;
  int clears = 0;
  std::vector<double> values;
  std::vector<std::uint32_t> colours;
};

DeviceStatus Events(bool newAverage, bool largeError) {
  DeviceStatus status;
  status.NewAverage = newAverage;
  status.LargeError = largeError;
  return status;
}

class ChartViewLogic : public OfflineTest {
 protected:
  ChartViewLogic()
      : view_(
            context_, chart_,
            [this] { return ++reads_, context_.state.ConfigRead = readSucceeds_; },
            [this] { return now_; }) {
    now_ = {46000, 10 * 3600 * 1000};
    view_.Enter();
  }
  void Plot(double value, const DeviceStatus& status = {}) {
    view_.PlotSample(value, 4 + value / 10, status);
  }
  void Advance(std::int32_t ms) { now_.ms += ms; }

  ScriptedChart chart_;
  RecordingTime now_;
  int reads_ = 0;
  bool readSucceeds_ = true;
  ChartView view_;
};

TEST_F(ChartViewLogic, APendingPointKeepsTheFirstColourThatIsNotYellow) {
  const struct {
    DeviceStatus first, second;
    std::uint32_t colour;
  } cases[] = {
      {Events(false, true), Events(true, false), kPointRed},
      {Events(true, false), Events(false, true), kPointAqua},
      {DeviceStatus{}, Events(true, false), kPointAqua},
      {DeviceStatus{}, DeviceStatus{}, kPointYellow},
  };
  for (const auto& c : cases) {
    chart_.due = false;
    Plot(1, c.first);
    Plot(2, c.second);
    chart_.due = true;
    Plot(3);
    EXPECT_EQ(chart_.colours.back(), c.colour);
  }
  EXPECT_EQ(view_.View().NewAvLED, kLampGrey);
  Plot(4, Events(true, true));
  EXPECT_EQ(view_.View().NewAvLED, kPointAqua);
  EXPECT_EQ(view_.View().LargeErLED, kPointRed);
}

TEST_F(ChartViewLogic, TheClockRunsFromTheStartAlsoWhileStoppedAndAcrossMidnight) {
  chart_.interval = 2;
  Plot(1);
  EXPECT_EQ(chart_.interval, 2) << "interval 0 only for the first value";
  EXPECT_EQ(chart_.values.size(), 1u);
  view_.WykresStartBClick();  // stopped: nothing offered, the clock goes on
  // A half second goes to the even neighbour.
  Advance(2500);
  Plot(2);
  EXPECT_EQ(view_.View().WykresTimeT, "00:00:02");
  Advance(1000);
  Plot(2);
  EXPECT_EQ(view_.View().WykresTimeT, "00:00:04");
  Advance(3725 * 1000 + 400 - 3500);
  Plot(2);
  EXPECT_EQ(chart_.values.size(), 1u);
  EXPECT_EQ(view_.View().WykresTimeT, "01:02:05");
  now_ = {now_.day + 5, 0};
  Plot(3);
  EXPECT_EQ(view_.View().WykresTimeT, "110:00:00");  // from 10:00 five days before
  // Clear restarts the time base at the next value.
  view_.WykresStartBClick();
  view_.WykresClearBClick();
  EXPECT_EQ(view_.View().WykresTimeT, "00:00:00");
  Advance(700);
  Plot(4);
  EXPECT_EQ(view_.View().WykresTimeT, "00:00:00");
  EXPECT_EQ(chart_.values, std::vector<double>{4});
}

TEST_F(ChartViewLogic, LeavingAndEnteringKeepsThePointsAndTheClock) {
  Plot(1);
  Advance(61 * 1000);
  Plot(2);
  view_.Leave();
  view_.Enter();
  Advance(1000);
  Plot(3);
  EXPECT_EQ(chart_.values.size(), 3u);
  EXPECT_EQ(view_.View().WykresTimeT, "00:01:02");
}

TEST(FilterLimitLines, FollowTheFiltrationRangeAndTheThreshold) {
  ModuleConfig config;
  config.MinInput = 0;
  config.MaxInput = 200;
  const struct {
    std::int32_t zakres, limit;  // tenths of a percent, whole percent
    std::vector<std::pair<double, std::uint32_t>> lines;
  } cases[] = {
      {10, 5, {{52, kPointAqua}, {48, kPointAqua}, {60, kPointRed}, {40, kPointRed}}},
      {10, 0, {{52, kPointAqua}, {48, kPointAqua}}},
      {0, 5, {{60, kPointRed}, {40, kPointRed}}},
      {0, 0, {}},
  };
  constexpr double kUntouched = -1e9;
  for (const auto& c : cases) {
    config.FiltrZakres = c.zakres;
    config.FiltrLimit = c.limit;
    std::vector<std::pair<double, std::uint32_t>> drawn;
    bool finished = false;
    // The chart's protocol: asked with tag 0, 1, ... while not finished.
    for (int tag = 0; !finished && tag < 10; ++tag) {
      double value = kUntouched;
      std::uint32_t colour = 0;
      FilterLimitLine(config, true, 2, 50, tag, value, colour, finished);
      if (value != kUntouched) drawn.emplace_back(value, colour);
    }
    EXPECT_EQ(drawn, c.lines) << c.zakres << " " << c.limit;
  }
  // Hidden, or too few points: asked once, nothing drawn.
  for (const auto& [shown, points] :
       {std::pair{false, std::size_t{5}}, std::pair{true, std::size_t{1}}}) {
    double value = kUntouched;
    std::uint32_t colour = 0;
    bool finished = false;
    FilterLimitLine(config, shown, points, 50, 0, value, colour, finished);
    EXPECT_TRUE(finished);
    EXPECT_EQ(value, kUntouched);
  }
}

TEST_F(ChartViewLogic, TheFilterLimitsReadTheConfigurationOnceAndAFailedReadUnchecksThem) {
  readSucceeds_ = false;
  view_.ShowFilterCBClick(true);
  EXPECT_FALSE(view_.View().ShowFilter);
  EXPECT_EQ(reads_, 1);
  for (int tick = 0; tick < 5; ++tick) Plot(tick);
  EXPECT_EQ(reads_, 1) << "no read at every tick";
  readSucceeds_ = true;
  view_.ShowFilterCBClick(true);
  EXPECT_TRUE(view_.View().ShowFilter);
  Plot(1);
  EXPECT_EQ(reads_, 2);
}

TEST_F(ChartViewLogic, RecordsAcceptedValuesUntilStoppedClearedOrTheFileIsGone) {
  const auto data = scratch_.Path() / "run.txt";
  Plot(1);
  ui_.ChooseFile(data.string());
  view_.KeepResultsClick();
  ASSERT_TRUE(view_.Recording());
  EXPECT_EQ(view_.KeepResultsCaption(), "&Stop saving");
  EXPECT_EQ(ui_.Dialogs().back().filter, "Data files (*.txt)|*.txt|All files|*.*");
  EXPECT_EQ(context_.settings.DataDir, scratch_.Path().string());
  Advance(1250);
  Plot(-1.5);
  chart_.due = false;  // not accepted: not recorded
  Advance(250);
  Plot(7);
  chart_.due = true;
  view_.WykresClearBClick();  // ends the recording; the file keeps its lines
  EXPECT_FALSE(view_.Recording());
  Plot(2);
  const std::string bytes = ReadBytes(data);
  EXPECT_EQ(bytes.substr(bytes.find("Time [s]")),
            "Time [s]\tResult [ ]\tOutput [mA]\r\n+1.25\t-1.5\t+3.85\r\n");

  // A deleted file stops the recording with one warning and is not made again.
  ui_.ChooseFile(data.string());
  view_.KeepResultsClick();
  std::filesystem::remove(data);
  Plot(3);
  Plot(4);
  EXPECT_FALSE(view_.Recording());
  EXPECT_FALSE(view_.View().SavingShown);
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Cannot open file:\n" + data.string()});
  EXPECT_FALSE(std::filesystem::exists(data));
}

TEST_F(ChartViewLogic, ARecordingStartedBeforeItsFirstValueIsDatedWhenItStarts) {
  const auto data = scratch_.Path() / "early.txt";
  const auto headerDate = [&] {
    ui_.ChooseFile(data.string());
    view_.KeepResultsClick();
    EXPECT_TRUE(view_.Recording());
    view_.StopRecording();
    const std::string bytes = ReadBytes(data);
    const std::size_t from = bytes.find("Date: ");
    return from == std::string::npos ? bytes : bytes.substr(from, bytes.find("\r\n", from) - from);
  };
  Advance(61 * 1000 + 500);  // nothing plotted yet
  EXPECT_EQ(headerDate(), "Date: 09.12.2025   Time: 10:01:01");
  Plot(1);
  Advance(5000);
  EXPECT_EQ(headerDate(), "Date: 09.12.2025   Time: 10:01:01") << "the start of the chart";
  view_.WykresClearBClick();  // a new time base from the next value on
  now_ = {now_.day + 1, 7 * 3600 * 1000};
  EXPECT_EQ(headerDate(), "Date: 10.12.2025   Time: 07:00:00");
}

TEST(RecordFormat, SignsSeparatorsAndTheHeaderAsTheDataFileHoldsThem) {
  const struct {
    std::int64_t ms;
    double result, output;
    char separator;
    const char* line;
  } cases[] = {
      {1250, -1.5, 4, '.', "+1.25\t-1.5\t+4.00"},
      {1250, 2, 20, ',', "+1,25\t+2\t+20.00"},
      {0, 0.000001234, 12.344, ',', "+0,00\t+1,234E-6\t+12.34"},
      {3600000, 123456, 0.5, '.', "+3600.00\t+1.235E5\t+0.50"},
      {10, -0.0, -0.001, '.', "+0.01\t+0\t+0.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatRecord(c.ms, c.result, c.output, {c.separator, "hh:mm:ss"}), c.line);
  }
  const std::vector<std::string> header =
      RecordingHeaderLines({DayNumber({2026, 12, 7}), (13 * 3600 + 5 * 60 + 9) * 1000}, 8,
                           {"Czas", "Wynik", "Wyjście"}, {',', "h:mm:ss AP"});
  EXPECT_EQ(header, (std::vector<std::string>{"Q5480 series module measurements",
                                              "Date: 07.12.2026   Time: 1:05:09 PM", "",
                                              "Czas [s]\tWynik [\u00B0C]\tWyjście [mA]"}));
}

TEST(RecordFile, TheHeaderIsWindows1250WithCrLfAndAnAppendNeverCreatesTheFile) {
  const ScratchDirectory scratch;
  const auto path = scratch.Path() / "data.txt";
  EXPECT_FALSE(AppendRecord(path, "+0.00\t+1\t+4.00"));
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_TRUE(WriteRecordingHeader(path, {"Q", "", "Wyjście [\u00B0C]"}));
  ASSERT_TRUE(AppendRecord(path, "+0.00\t+1\t+4.00"));
  EXPECT_EQ(ReadBytes(path),
            "Q\r\n\r\nWyj\x9C"
            "cie [\xB0"
            "C]\r\n+0.00\t+1\t+4.00\r\n");
}

}  // namespace
}  // namespace q5480
