// Editing on the parameter panel: the checks of the numeric fields with
// their order and messages, the time grid, the threshold's rules, the
// optimal filter and the marks of what differs from the module.
#include <gtest/gtest.h>

#include "config/dates.h"
#include "config/numbers.h"
#include "support/recording_ui.h"
#include "support/sample_configurations.h"
#include "support/scratch_directory.h"
#include "support/scripted_dialog_host.h"
#include "workflow/main_window.h"
#include "workflow/parameter_panel.h"
#include "workflow/resistance_voltage_window.h"
#include "workflow/room_temperature_window.h"
#include "workflow/table_window.h"

namespace q5480 {
namespace {

using test_support::RecordingUi;

class Editing : public ::testing::Test {
 protected:
  Editing() : context_(ui_), panel_(context_) {
    test_support::SetThermocoupleK(context_.config);  // -150 to 1370 °C
    panel_.ShowConfiguration(kColourWhite);
    ui_.Forget();
  }
  std::vector<std::string> Messages() const { return ui_.MessageTexts(); }

  RecordingUi ui_;
  ProgramContext context_;
  ParameterPanel panel_;
};

struct RangeCase {
  const char* name;
  double minBefore;
  double maxBefore;
  bool minimum;  // which end is typed
  const char* typed;
  const char* message;  // nullptr: accepted
};

TEST_F(Editing, RangeEndsAreCheckedInTheirOrderAndARefusalKeepsTheRecord) {
  const RangeCase cases[] = {
      {"minimum at the limit", 0, 1000, true, "-150", nullptr},
      {"maximum at the limit", 0, 1000, false, "1370", nullptr},
      {"minimum below the limit", 0, 1000, true, "-150.1", "Minimum out of range!"},
      {"maximum above the limit", 0, 1000, false, "1370.2", "Maximum out of range!"},
      // Out of the limits and too narrow at once: the minimum names its
      // limit, the maximum its span.
      {"minimum out and narrow", 0, -140, true, "-151", "Minimum out of range!"},
      {"maximum out and narrow", 1360, 1365, false, "1400", "Input range too small!"},
      {"minimum too narrow", 0, 1000, true, "990", "Input range too small!"},
      {"not a number", 0, 1000, true, "1O0", "Wrong format!"},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    ModuleConfig& config = context_.config;
    config.MinInput = c.minBefore;
    config.MaxInput = c.maxBefore;
    ui_.Forget();
    const bool accepted = c.minimum ? panel_.MinInputEExit(c.typed) : panel_.MaxInputEExit(c.typed);
    EXPECT_EQ(accepted, c.message == nullptr);
    EXPECT_EQ(context_.state.InvalidEntry, c.message != nullptr);
    if (c.message == nullptr) {
      EXPECT_TRUE(Messages().empty());
      EXPECT_EQ(c.minimum ? config.MinInput : config.MaxInput, *ParseNumber(c.typed));
      continue;
    }
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
    EXPECT_EQ(ui_.Messages()[0].icon, std::string(c.message) == "Wrong format!"
                                          ? MessageIcon::Error
                                          : MessageIcon::Warning);
    EXPECT_EQ(config.MinInput, c.minBefore);
    EXPECT_EQ(config.MaxInput, c.maxBefore);
  }
}

TEST_F(Editing, AFieldShowsWhatTheRecordHolds) {
  ASSERT_TRUE(panel_.MinInputEExit("100.5"));
  EXPECT_EQ(panel_.View().MinInputE, "  100.5") << "not rounded away";
  ASSERT_FALSE(panel_.MaxInputEExit("2000"));
  EXPECT_EQ(panel_.View().MaxInputE, "   1000");
}

struct FilterCase {
  const char* typed;
  std::int32_t before;
  bool accepted;
  std::int32_t after;
  const char* shown;
};

TEST_F(Editing, FiltrationRangeAndTimeConstantOnTheModulesGrid) {
  const FilterCase ranges[] = {{"12,5", 0, true, 125, "12.5"},
                               {"25", 0, true, 250, "25.0"},
                               {"26", 100, false, 100, "10.0"},
                               // Far past the integers: refused as any value out of range.
                               {"1e308", 100, false, 100, "10.0"},
                               {"-3e9", 100, false, 100, "10.0"}};
  for (const FilterCase& c : ranges) {
    SCOPED_TRACE(c.typed);
    context_.config.FiltrZakres = c.before;
    EXPECT_EQ(panel_.FiltrZakresEExit(c.typed), c.accepted);
    EXPECT_EQ(context_.config.FiltrZakres, c.after);
    EXPECT_EQ(panel_.View().FiltrZakresE, c.shown);
  }
  const FilterCase times[] = {{"40", 0, true, 400, "40.0"},
                              {"0.1", 0, true, 2, "0.2"},
                              {"0", 20, true, 0, "0.0"},
                              {"1", 0, true, 10, "1.0"},
                              {"2", 0, true, 19, "1.9"},
                              // Refused: the old value stays, brought onto the grid all the same.
                              {"41", 20, false, 19, "1.9"},
                              {"1e308", 20, false, 19, "1.9"}};
  for (const FilterCase& c : times) {
    SCOPED_TRACE(c.typed);
    context_.config.FiltrCzas = c.before;
    EXPECT_EQ(panel_.FiltrCzasEExit(c.typed), c.accepted);
    EXPECT_EQ(context_.config.FiltrCzas, c.after);
    EXPECT_EQ(panel_.View().FiltrCzasE, c.shown);
  }
}

TEST_F(Editing, TheThresholdIsOffOrAtLeastTwiceTheFiltrationRange) {
  struct Case {
    std::int32_t filtrZakres;
    const char* typed;
    std::int32_t after;
  };
  for (const Case& c : {Case{250, "30", 50}, Case{250, "0", 0}, Case{250, "70", 70},
                        Case{0, "1", 1}, Case{0, "100", 100}, Case{125, "7,4", 25}}) {
    SCOPED_TRACE(c.typed);
    context_.config.FiltrZakres = c.filtrZakres;
    EXPECT_TRUE(panel_.FiltrLimitEExit(c.typed));
    EXPECT_EQ(context_.config.FiltrLimit, c.after);
    EXPECT_EQ(panel_.View().FiltrLimitUpDown, c.after);
  }
  EXPECT_FALSE(panel_.FiltrLimitEExit("101"));
  EXPECT_FALSE(panel_.FiltrLimitEExit("-1e300"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Out of range!", "Out of range!"}));

  // The arrows jump over what is not allowed.
  context_.config.FiltrZakres = 250;
  context_.config.FiltrLimit = 0;
  panel_.FiltrLimitUpDownClick(true);
  EXPECT_EQ(context_.config.FiltrLimit, 50);
  panel_.FiltrLimitUpDownClick(true);
  EXPECT_EQ(context_.config.FiltrLimit, 51);
  panel_.FiltrLimitUpDownClick(false);
  panel_.FiltrLimitUpDownClick(false);
  EXPECT_EQ(context_.config.FiltrLimit, 0);
  context_.config.FiltrLimit = 100;
  panel_.FiltrLimitUpDownClick(true);
  EXPECT_EQ(context_.config.FiltrLimit, 100);

  // The floor is compared as it stands, not rounded: with 12.1 % it is
  // 24.2, so 24 lies below it.
  context_.config.FiltrZakres = 121;
  context_.config.FiltrLimit = 25;
  panel_.FiltrLimitUpDownClick(false);
  EXPECT_EQ(context_.config.FiltrLimit, 0);
  panel_.FiltrLimitUpDownClick(true);
  EXPECT_EQ(context_.config.FiltrLimit, 24);

  // A narrower filtration range lowers the threshold's floor, a wider one
  // lifts the threshold with it, which then differs from the module.
  context_.config.FiltrLimit = 10;
  panel_.ClearChangedMarks();
  context_.state.Programmed = true;
  ASSERT_TRUE(panel_.FiltrZakresEExit("5"));
  EXPECT_EQ(context_.config.FiltrLimit, 10);
  EXPECT_EQ(panel_.View().Colour(PanelField::FiltrLimitE), FieldColour::Window);
  ASSERT_TRUE(panel_.FiltrZakresEExit("10"));
  EXPECT_EQ(context_.config.FiltrLimit, 20);
  EXPECT_EQ(panel_.View().Colour(PanelField::FiltrLimitE), FieldColour::Aqua);
  EXPECT_FALSE(context_.state.Programmed);

  // Typing takes a number over at once, held to 0 to 100.
  panel_.FiltrLimitEChange("250");
  EXPECT_EQ(context_.config.FiltrLimit, 100);
  panel_.FiltrLimitEChange("");
  EXPECT_EQ(context_.config.FiltrLimit, 100);
}

// The optimum itself is the conversion's.
TEST_F(Editing, OptimalFilterFollowsTheSignalSpanAndMarksBothFields) {
  ModuleConfig& c = context_.config;
  c.MinInput = -150;
  c.MaxInput = 1370;  // nearly the whole thermocouple group: nothing to filter
  c.FiltrLimit = 7;
  panel_.FiltrDobierzClick();
  EXPECT_EQ(c.FiltrZakres, 1);
  EXPECT_EQ(c.FiltrCzas, 20);
  EXPECT_EQ(c.FiltrLimit, 7) << "the threshold is not the optimum's";
  EXPECT_EQ(panel_.View().Colour(PanelField::FiltrZakresE), FieldColour::Aqua);
  EXPECT_EQ(panel_.View().Colour(PanelField::FiltrCzasE), FieldColour::Aqua);
}

TEST_F(Editing, ChangesMarkTheirFieldAndKeepWhatTheModuleKeeps) {
  context_.state.Programmed = true;
  panel_.BurnoutEChange(2);
  EXPECT_EQ(context_.config.Burnout, 2);
  EXPECT_EQ(panel_.View().Reakcja, "Output locked !");
  panel_.SiecEChange(1);
  EXPECT_EQ(context_.config.Siec, 60);
  panel_.KodEChange("A-TAG-OF-20-CHARS!!");
  EXPECT_EQ(context_.config.kod, "A-TAG-OF-20-CHA");
  panel_.OgolneEChange(std::string(70, 'x'));
  EXPECT_EQ(context_.config.ogolne.size(), 60u);
  EXPECT_FALSE(context_.state.Programmed) << "the module no longer holds what is shown";
  for (PanelField field :
       {PanelField::BurnoutE, PanelField::SiecE, PanelField::KodE, PanelField::OgolneE}) {
    EXPECT_EQ(panel_.View().Colour(field), FieldColour::Aqua);
  }
  EXPECT_EQ(panel_.View().Colour(PanelField::MinInputE), FieldColour::Window);
}

// The sensor button: which windows open, and what Cancel and OK leave.
class SensorButton : public Editing {
 protected:
  SensorButton() : window_(context_), panel_(window_.Panel()) {
    context_.config.ModelIndex = 2;  // a module that reported its model
    window_.Panel().ShowConfiguration(kColourWhite);
  }
  MainWindowLogic window_;
  ParameterPanel& panel_;
  test_support::ScriptedDialogHost host_;
};

TEST_F(SensorButton, TheModelChoosesTheWindowsAndMoreHandsOver) {
  struct Case {
    const char* device;
    int typ;
    std::vector<std::string> opened;  // with "More" from each but the last
  };
  const Case cases[] = {{"Q5491", 19, {"TWyborI"}},
                        {"Q5494", 17, {"TWyborIV"}},
                        {"Q5495", 10, {"TWybor", "TWyborRV", "TWybor"}},
                        {"Q5497", 16, {"TWyborRV", "TWybor", "TWyborRV"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.device);
    context_.config.Device = c.device;
    context_.config.Typ = static_cast<std::uint8_t>(c.typ);
    std::vector<std::string> opened;
    const auto more = [&](const char* name) {
      return [&opened, name, &c] {
        opened.push_back(name);
        return opened.size() < c.opened.size() ? SelectionOutcome::More : SelectionOutcome::Cancel;
      };
    };
    host_ = {};
    host_.sensor = more("TWybor");
    host_.resistanceVoltage = more("TWyborRV");
    host_.voltageCurrent = more("TWyborIV");
    host_.loopCurrent = more("TWyborI");
    EXPECT_FALSE(window_.SenSelClick(host_));
    EXPECT_EQ(opened, c.opened);
    EXPECT_EQ(host_.opened.count("TTransdF"), 0u) << "the module told its model";
  }
}

TEST_F(SensorButton, WithoutAKnownModelTheMeterTypeComesFirst) {
  context_.config.Device.clear();
  context_.config.ModelIndex = 16;
  EXPECT_FALSE(window_.SenSelClick(host_));  // the meter type cancelled
  EXPECT_EQ(host_.opened, (std::map<std::string, int>{{"TTransdF", 1}}));

  context_.config.Device = "Q5495";
  host_.meterType = [&] {
    context_.config.Device = "Q5498";  // a model without a selection window
    return true;
  };
  EXPECT_FALSE(window_.SenSelClick(host_));
  EXPECT_EQ(Messages().back(), "Device Q5498 not implemented yet");
  EXPECT_EQ(context_.config.Device, "Q5495");
}

// The windows change the record as they go; Cancel in the last puts back
// all of it, and the table in memory is then the confirmed one.
TEST_F(SensorButton, CancelPutsBackWhatTheWindowsChanged) {
  ModuleConfig& c = context_.config;
  c.Device = "Q5497";
  c.Typ = 16;
  c.Tryb = 5;
  c.Lin = kLinTable;
  c.File = "old.dat";
  c.TableLoaded = true;
  c.RoomT = 25;
  c.Coefficients = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  c.Jednostki = 8;
  context_.limits.SetUserTenths(-10, 10);
  const ModuleConfig before = c;
  test_support::ScratchDirectory folder;
  const std::string table = (folder / "new.dat").string();
  test_support::WriteBytes(table, "0 0\r\n100 10\r\n");
  host_.table = [&] {
    TableWindowLogic window(context_);
    return window.LoadFile(table) && window.OkClick();
  };
  host_.resistanceVoltage = [&] {
    ResistanceVoltageWindowLogic window(context_, host_);
    window.ConversionClick(ResistanceVoltageWindowLogic::kVoltagePage, Conversion::Table, true);
    return window.More();
  };
  // The external junction's temperature typed, then the sensor window cancelled.
  host_.sensor = [&] {
    RoomTemperatureWindowLogic(context_).RoomTEExit("30");
    c.Coefficients.fill(0);
    c.Device = "Q5495";
    return SelectionOutcome::Cancel;
  };
  EXPECT_FALSE(window_.SenSelClick(host_));
  EXPECT_EQ(host_.opened["TTablF"], 1);
  EXPECT_EQ(c.File, "old.dat") << "the table to read again is the record's own";
  EXPECT_FALSE(c.TableLoaded) << "the table in memory is the confirmed one";
  EXPECT_EQ(std::tuple(c.RoomT, c.Jednostki, c.Device), std::tuple(25.0, 8, "Q5497"));
  EXPECT_EQ(c.Coefficients, before.Coefficients);
  EXPECT_EQ(context_.limits.LowerTenths(kTypUserThermocouple), -10);
  EXPECT_EQ(context_.limits.UpperTenths(kTypUserThermocouple), 10);
}

TEST_F(SensorButton, OkBringsTheRangeIntoLineAndShowsTheConfiguration) {
  ModuleConfig& c = context_.config;
  c.data = "01.01.2020";
  context_.state.Programmed = true;
  context_.state.ZeroCoefficients = true;
  c.MinInput = 100;
  c.MaxInput = 101;  // a degree: too narrow for any thermocouple
  host_.sensor = [&] {
    c.Typ = 14;
    return SelectionOutcome::Ok;
  };
  ASSERT_TRUE(window_.SenSelClick(host_));
  EXPECT_EQ(c.MinInput, -100);
  EXPECT_EQ(c.MaxInput, 400);
  EXPECT_EQ(c.data, FormatDate(Today()));
  EXPECT_FALSE(context_.state.Programmed);
  EXPECT_FALSE(context_.state.ZeroCoefficients);
  EXPECT_EQ(panel_.View().SenTypeText, "Thermocouple T, CJC, linearization");
  // Without a module the fields show as they are; with one the range and
  // filter differ from it.
  EXPECT_EQ(panel_.View().Colour(PanelField::MinInputE), FieldColour::Window);
  context_.state.Connected = true;
  host_.sensor = [] { return SelectionOutcome::Ok; };
  ASSERT_TRUE(window_.SenSelClick(host_));
  EXPECT_EQ(panel_.View().Colour(PanelField::MinInputE), FieldColour::Aqua);
  EXPECT_EQ(panel_.View().Colour(PanelField::KodE), FieldColour::Window);
  EXPECT_EQ(c.MinInput, -100) << "a range that fits stays";
}

}  // namespace
}  // namespace q5480
