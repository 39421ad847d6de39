// The sensor and input selection windows: codes, preselection, the rules
// between choices, the conversion windows they open and what OK leaves.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "config/dates.h"
#include "conversion/linear_conversion.h"
#include "conversion/range_rules.h"
#include "conversion/user_table.h"
#include "support/recording_ui.h"
#include "support/scripted_dialog_host.h"
#include "workflow/loop_current_window.h"
#include "workflow/resistance_voltage_window.h"
#include "workflow/sensor_window.h"
#include "workflow/voltage_current_window.h"

namespace q5480 {
namespace {

class Selection : public ::testing::Test {
 protected:
  Selection() : context_(ui_) {
    context_.config.Device = "Q5495";
    Edited();
  }

  // A range, corrections, filter values and a unit that OK may reset.
  void Edited() {
    ModuleConfig& c = context_.config;
    c.MinInput = 0;
    c.MaxInput = 100;
    c.ZeroReg = 0.5;
    c.GainReg = -0.25;
    c.FiltrZakres = 12;
    c.FiltrCzas = 32;
    c.FiltrLimit = 7;
    c.Jednostki = 9;
    c.data = "01.01.2020";
  }

  void Set(std::uint8_t typ, std::uint8_t tryb, std::uint8_t lin) {
    context_.config.Typ = typ;
    context_.config.Tryb = tryb;
    context_.config.Lin = lin;
  }

  // TableDialog's OK after loading a user thermocouple table at these
  // temperatures (40 µV per degree).
  std::function<bool()> LoadsTable(std::vector<double> temperatures) {
    return [this, temperatures] {
      UserTable& table = context_.conversion.Table;
      table[0].x = static_cast<double>(temperatures.size());
      for (std::size_t i = 0; i < temperatures.size(); ++i) {
        table[static_cast<int>(i) + 1] = {temperatures[i], 0.04 * temperatures[i]};
      }
      SetUserRange(table, context_.limits);
      context_.config.Jednostki = 8;
      context_.config.TableLoaded = true;
      context_.conversion.ConversionConfirmed = 1;
      return true;
    };
  }

  void ExpectRange(double low, double high) const {
    EXPECT_NEAR(context_.config.MinInput, low, 1e-9);
    EXPECT_NEAR(context_.config.MaxInput, high, 1e-9);
  }
  // Corrections and filter values were put back to 0.
  bool Reset() const {
    const ModuleConfig& c = context_.config;
    return c.ZeroReg == 0 && c.GainReg == 0 && c.FiltrZakres == 0 && c.FiltrCzas == 0 &&
           c.FiltrLimit == 0;
  }

  test_support::RecordingUi ui_;
  ProgramContext context_;
  test_support::ScriptedDialogHost host_;
};

TEST_F(Selection, ThermocoupleKWithTemperatureDifferenceResetsOnlyWhenTheTypeChanged) {
  struct Case {
    std::uint8_t typBefore;
    double low, high;
    bool reset;
  };
  for (const Case& k : {Case{1, -150, 1370, true}, Case{10, 0, 100, false}}) {
    SCOPED_TRACE(int(k.typBefore));
    Edited();
    Set(k.typBefore, 3, kLinTable);
    context_.config.TableLoaded = true;
    context_.conversion.TableType = 15;
    context_.conversion.ConversionConfirmed = 1;
    SensorWindowLogic window(context_, host_);
    EXPECT_EQ(context_.conversion.ConversionConfirmed, 0);
    window.PageChange(SensorWindowLogic::kThermocouplePage);
    window.TypClick(10);
    window.TempDiffClick(true);
    ASSERT_EQ(window.Ok(), SelectionOutcome::Ok);
    const ModuleConfig& c = context_.config;
    EXPECT_EQ(std::vector<int>({c.Typ, c.Tryb, c.Lin}), std::vector<int>({10, 5, kLinTable}));
    ExpectRange(k.low, k.high);
    EXPECT_EQ(Reset(), k.reset);
    EXPECT_EQ(c.Jednostki, 8);
    EXPECT_FALSE(c.TableLoaded);
    EXPECT_EQ(context_.conversion.TableType, 0);
    EXPECT_EQ(c.data, FormatDate(Today()));
    EXPECT_TRUE(host_.opened.empty());
  }
}

TEST_F(Selection, TheCompensationOptionsExcludeEachOtherAndNeitherAsksForTheJunctionTemperature) {
  struct Case {
    int preselectedTryb;
    std::vector<std::pair<bool, bool>> clicks;  // (temperature difference?, checked)
    int tryb;
    bool roomWindow;
  };
  const Case cases[] = {
      {7, {{true, true}}, 5, false},
      {5, {{false, true}}, 7, false},
      {5, {{false, true}, {true, true}}, 5, false},
      {7, {{false, false}}, 6, true},
      {6, {}, 6, true},
      {3, {}, 7, false},  // another sensor's mode: compensation
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.preselectedTryb);
    Set(9, static_cast<std::uint8_t>(k.preselectedTryb), kLinNone);
    host_ = {};
    host_.roomTemperature = [] { return true; };
    SensorWindowLogic window(context_, host_);
    for (auto [difference, checked] : k.clicks) {
      difference ? window.TempDiffClick(checked) : window.CompensationClick(checked);
    }
    EXPECT_FALSE(window.TempDiff().checked && window.Compensation().checked);
    ASSERT_EQ(window.Ok(), SelectionOutcome::Ok);
    EXPECT_EQ(context_.config.Tryb, k.tryb);
    EXPECT_EQ(host_.opened.count("TRoomF"), k.roomWindow ? 1u : 0u);
    EXPECT_EQ(context_.config.Lin, kLinNone);
  }
}

TEST_F(Selection, CancelInTheJunctionTemperatureWindowKeepsTheSelectionWindowOpen) {
  Set(9, 6, kLinTable);
  SensorWindowLogic window(context_, host_);
  window.TypClick(13);
  EXPECT_EQ(window.Ok(), std::nullopt);
  EXPECT_EQ(context_.config.Typ, 9) << "nothing set while the window stays";
  host_.roomTemperature = [] { return true; };
  EXPECT_EQ(window.Ok(), SelectionOutcome::Ok);
  EXPECT_EQ(context_.config.Typ, 13);
  EXPECT_EQ(host_.opened["TRoomF"], 2);
}

TEST_F(Selection, FourWiresOnlyForTheQ5496AndQ5497) {
  struct Case {
    const char* device;
    int tryb;
    bool fourWire;
    int preselected;
  };
  const Case cases[] = {{"Q5495", 4, false, 3}, {"Q5495", 7, false, 3}, {"Q5495", 2, false, 2},
                        {"Q5496", 7, true, 4},  {"Q5497", 4, true, 4},  {"Q5497", 3, true, 3}};
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.device) + " Tryb " + std::to_string(k.tryb));
    context_.config.Device = k.device;
    Set(1, static_cast<std::uint8_t>(k.tryb), kLinTable);
    SensorWindowLogic sensors(context_, host_);
    EXPECT_EQ(sensors.WireEnabled(4), k.fourWire);
    EXPECT_EQ(sensors.Wires(), k.preselected);
    sensors.WireClick(4);
    ASSERT_EQ(sensors.Ok(), SelectionOutcome::Ok);
    EXPECT_EQ(context_.config.Tryb, k.fourWire ? 4 : k.preselected);

    Set(5, static_cast<std::uint8_t>(k.tryb), kLinNone);
    ResistanceVoltageWindowLogic inputs(context_, host_);
    EXPECT_EQ(inputs.WireEnabled(4), k.fourWire);
    EXPECT_EQ(inputs.Wires(), k.preselected);
  }
}

TEST_F(Selection, AUserThermocoupleTableAllowsCompensationOnlyWhenItCoversTheColdJunction) {
  std::vector<double> byFive;  // 0, 5, ..., 60: eleven points between 0 and 60
  for (double t = 0; t <= 60; t += 5) byFive.push_back(t);
  std::vector<double> tenBetween = byFive;
  tenBetween.erase(tenBetween.begin() + 1);
  struct Case {
    const char* name;
    std::vector<double> temperatures;
    bool covers;
  };
  const Case cases[] = {
      {"from 10 °C up", {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140}, false},
      {"0 to 60 by 5", byFive, true},
      {"ten points between", tenBetween, false},
      {"-10 to 100 by 5", {-10, -5, 0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 100}, true},
      {"not up to 60", {-10, 0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 59}, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Set(10, 7, kLinTable);
    host_ = {};
    host_.table = LoadsTable(k.temperatures);
    SensorWindowLogic window(context_, host_);
    window.TypClick(kTypUserThermocouple);
    EXPECT_EQ(context_.conversion.TableType, kTypUserThermocouple);
    EXPECT_TRUE(window.TempDiff().checked);
    EXPECT_FALSE(window.Compensation().checked);
    EXPECT_EQ(window.TempDiff().enabled, k.covers);
    EXPECT_EQ(window.Compensation().enabled, k.covers);
    EXPECT_TRUE(window.TermoLin().enabled);
    window.CompensationClick(true);
    ASSERT_EQ(window.Ok(), SelectionOutcome::Ok);
    const ModuleConfig& c = context_.config;
    EXPECT_EQ(c.Tryb, k.covers ? 7 : 5);
    ExpectRange(k.temperatures.front(), k.temperatures.back());
    EXPECT_TRUE(c.TableLoaded);
    EXPECT_EQ(context_.conversion.TableType, kTypUserThermocouple);
  }
}

TEST_F(Selection, OtherWithoutATableDisablesTheOptionsUntilAnotherTypeIsChosen) {
  Set(kTypUserThermocouple, 5, kLinTable);
  context_.config.TableLoaded = false;
  SensorWindowLogic window(context_, host_);
  EXPECT_TRUE(host_.opened.empty()) << "the preselection opens no table window";
  EXPECT_EQ(window.TermoTyp(), kTypUserThermocouple);
  for (const ChoiceState& s : {window.TempDiff(), window.Compensation(), window.TermoLin()}) {
    EXPECT_FALSE(s.enabled);
  }
  window.TypClick(kTypUserThermocouple);  // TableDialog cancelled: the page as it opened
  EXPECT_EQ(host_.opened["TTablF"], 1);
  EXPECT_FALSE(window.TermoLin().enabled);
  window.TypClick(12);
  for (const ChoiceState& s : {window.TempDiff(), window.Compensation(), window.TermoLin()}) {
    EXPECT_TRUE(s.enabled);
  }

  Set(11, 7, kLinTable);
  context_.config.TableLoaded = true;
  SensorWindowLogic another(context_, host_);
  another.TypClick(kTypUserThermocouple);
  EXPECT_FALSE(context_.config.TableLoaded) << "a cancelled table window leaves no table";
  EXPECT_EQ(another.TermoTyp(), 11) << "the choice returns to the record's";
  EXPECT_TRUE(another.Compensation().checked && another.Compensation().enabled);
}

TEST_F(Selection, ACancelledConversionWindowReturnsToNoConversion) {
  const std::pair<Conversion, const char*> windows[] = {{Conversion::PowerSeries, "TPowerF"},
                                                        {Conversion::Linear, "TLinaF"},
                                                        {Conversion::Table, "TTablF"}};
  for (auto [conversion, name] : windows) {
    SCOPED_TRACE(name);
    Set(17, 5, kLinSeries);
    context_.config.TableLoaded = true;
    host_ = {};
    VoltageCurrentWindowLogic window(context_, host_);
    ASSERT_EQ(window.PageState(VoltageCurrentWindowLogic::kCurrentPage).conversion,
              Conversion::PowerSeries);
    window.ConversionClick(VoltageCurrentWindowLogic::kCurrentPage, conversion);
    EXPECT_EQ(host_.opened[name], 1);
    EXPECT_EQ(context_.conversion.TableType, 17);
    EXPECT_EQ(window.PageState(VoltageCurrentWindowLogic::kCurrentPage).conversion,
              Conversion::None);
    EXPECT_EQ(context_.config.TableLoaded, conversion != Conversion::Table);
    ASSERT_EQ(window.Ok(), SelectionOutcome::Ok);
    EXPECT_EQ(context_.config.Lin, kLinNone);
    EXPECT_EQ(context_.config.Typ, 17);
  }
}

TEST_F(Selection, TheTwoConversionBoxesExcludeEachOtherOnlyThroughTheirWindowsOk) {
  Set(16, 5, kLinLinear);
  ResistanceVoltageWindowLogic window(context_, host_);
  const auto& page = window.PageState(ResistanceVoltageWindowLogic::kVoltagePage);
  ASSERT_EQ(page.conversion, Conversion::Linear);
  // The table window, without a script, is cancelled.
  window.ConversionClick(ResistanceVoltageWindowLogic::kVoltagePage, Conversion::Table, true);
  EXPECT_EQ(page.conversion, Conversion::Linear);
  host_.table = LoadsTable({0, 10, 20});
  window.ConversionClick(ResistanceVoltageWindowLogic::kVoltagePage, Conversion::Table, true);
  EXPECT_EQ(page.conversion, Conversion::Table);
  EXPECT_EQ(context_.conversion.TableType, 16);
  // Unchecking the box that is not the chosen one leaves the choice.
  window.ConversionClick(ResistanceVoltageWindowLogic::kVoltagePage, Conversion::Linear, false);
  EXPECT_EQ(page.conversion, Conversion::Table);
  window.ConversionClick(ResistanceVoltageWindowLogic::kVoltagePage, Conversion::Table, false);
  EXPECT_EQ(page.conversion, Conversion::None);
  EXPECT_EQ(window.More(), SelectionOutcome::More);
  EXPECT_FALSE(context_.config.TableLoaded) << "the table confirmed here is not the record's";
  EXPECT_EQ(context_.config.Lin, kLinLinear) << "More sets no codes";
}

TEST_F(Selection, TheInputWindowsResetTheRecordWhenTheSelectionChanged) {
  struct Case {
    const char* name;
    std::function<SelectionOutcome()> run;
    double low, high;
    int jednostki;
    bool reset;
  };
  context_.limits.SetUserTenths(-500, 2500);
  const Case cases[] = {
      {"the same input without a conversion",
       [this] {
         Set(18, 5, kLinNone);
         return VoltageCurrentWindowLogic(context_, host_).Ok();
       },
       0, 100, 9, false},
      {"another input",
       [this] {
         Set(18, 5, kLinNone);
         VoltageCurrentWindowLogic w(context_, host_);
         w.PageChange(VoltageCurrentWindowLogic::kCurrentPage);
         return w.Ok();
       },
       -22, 22, 4, true},
      {"a conversion dropped",
       [this] {
         Set(18, 5, kLinLinear);
         VoltageCurrentWindowLogic w(context_, host_);
         w.ConversionClick(VoltageCurrentWindowLogic::kVoltagePage, Conversion::None);
         return w.Ok();
       },
       -11, 11, 1, true},
      {"a conversion kept",
       [this] {
         Set(19, 5, kLinLinear);
         return LoopCurrentWindowLogic(context_, host_).Ok();
       },
       -50, 250, 9, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Edited();
    context_.conversion.TableType = 17;
    ASSERT_EQ(k.run(), SelectionOutcome::Ok);
    ExpectRange(k.low, k.high);
    EXPECT_EQ(context_.config.Jednostki, k.jednostki);
    EXPECT_EQ(Reset(), k.reset);
    // Kept only while a conversion is chosen.
    EXPECT_EQ(context_.conversion.TableType, context_.config.Lin > kLinNone ? 17 : 0);
  }
}

TEST_F(Selection, TheLoopCurrentWindowStartsWithTheRecordsConversionAndDotPosition) {
  struct Case {
    std::uint8_t lin;
    bool tableLoaded;
    Conversion shown;
  };
  const Case cases[] = {{kLinLinear, false, Conversion::Linear},
                        {kLinSeries, false, Conversion::PowerSeries},
                        {kLinTable, true, Conversion::Table},
                        {kLinTable, false, Conversion::None},
                        {kLinNone, true, Conversion::None}};
  for (const Case& k : cases) {
    SCOPED_TRACE(int(k.lin) * 10 + k.tableLoaded);
    Set(19, 5, k.lin);
    context_.config.TableLoaded = k.tableLoaded;
    context_.config.Kropka = 3;
    LoopCurrentWindowLogic window(context_, host_);
    EXPECT_TRUE(host_.opened.empty());
    EXPECT_EQ(window.PageState().conversion, k.shown);
    EXPECT_EQ(window.DotPosition(), 3);
    EXPECT_FALSE(window.Double().enabled);
  }
  LoopCurrentWindowLogic window(context_, host_);
  ASSERT_EQ(window.DotPositions().size(), 5u);
  EXPECT_EQ(window.DotPositions()[4], "none");
  window.InputClick(true);  // not offered
  window.DotPositionChange(4);
  ASSERT_EQ(window.Ok(), SelectionOutcome::Ok);
  EXPECT_EQ(context_.config.Kropka, 4);
  EXPECT_EQ(context_.config.Tryb, 5);
  EXPECT_EQ(context_.config.Lin, kLinNone);
}

TEST_F(Selection, TheRangeLabelsShowTheInputTypeAndTheConversionsRanges) {
  Set(19, 5, kLinNone);
  host_.linear = [this] {
    ApplyLinear({4, 20, -1.5, 100.5}, 9, {context_.config, context_.limits, context_.conversion});
    return true;
  };
  host_.powerSeries = [this] {
    context_.config.Coefficients[9] = 5;
    context_.config.Coefficients[10] = 15.26;
    context_.limits.SetUserTenths(0, 1000);
    context_.config.Jednostki = 2;
    return true;
  };
  LoopCurrentWindowLogic window(context_, host_);
  const RangeLabels& labels = window.PageState().labels;
  EXPECT_EQ(labels.maximum, "Maximum range: 4.0...20.0 mA");
  EXPECT_EQ(labels.input, "");
  EXPECT_EQ(labels.result, "");
  window.ConversionClick(Conversion::Linear);
  EXPECT_EQ(labels.input, "Input range: 4.0...20.0 mA");
  EXPECT_EQ(labels.result, "Result: -1.5...100.5 %");
  window.ConversionClick(Conversion::PowerSeries);
  EXPECT_EQ(labels.input, "Input range: 5.0...15.3 mA");
  EXPECT_EQ(labels.result, "Result: 0...100 mV");

  Set(5, 3, kLinNone);
  host_.table = LoadsTable({0, 50, 100});
  ResistanceVoltageWindowLogic resistance(context_, host_);
  resistance.ConversionClick(ResistanceVoltageWindowLogic::kResistancePage, Conversion::Table,
                             true);
  const RangeLabels& table =
      resistance.PageState(ResistanceVoltageWindowLogic::kResistancePage).labels;
  EXPECT_EQ(table.maximum, "Maximum range: 0.0...400.0 Ohm");
  EXPECT_EQ(table.input, "Input range: 0.0...4.0 Ohm");
  EXPECT_EQ(table.result, "Result: 0...100 \u00B0C");
}

}  // namespace
}  // namespace q5480
