// The conversion windows and the external cold junction's window: checks
// with their order, messages and focus, what OK stores, the table window's
// OK and data directory, the series window's states.
#include <gtest/gtest.h>

#include "conversion/power_series.h"
#include "conversion/user_table.h"
#include "support/recording_ui.h"
#include "support/scratch_directory.h"
#include "workflow/linear_window.h"
#include "workflow/power_series_window.h"
#include "workflow/room_temperature_window.h"
#include "workflow/table_window.h"

namespace q5480 {
namespace {

using namespace test_support;

class ConversionWindows : public ::testing::Test {
 protected:
  ConversionWindows() : context_(ui_) {}

  void SetTableType(std::uint8_t type, const char* device = "Q5495") {
    context_.config.Device = device;
    context_.config.Typ = type;
    context_.conversion.TableType = type;
  }
  // The last message, or "" when there was none.
  std::string LastMessage() const {
    const auto texts = ui_.MessageTexts();
    return texts.empty() ? "" : texts.back();
  }
  std::string WriteTable(const std::string& name, const std::string& text) {
    WriteBytes(scratch_ / name, text);
    return (scratch_ / name).string();
  }

  ScratchDirectory scratch_;
  RecordingUi ui_;
  ProgramContext context_;
};

// ---- LinearDialog -----------------------------------------------------------------

struct FieldCase {
  DialogField field;
  const char* typed;
  const char* message;  // nullptr: accepted
  const char* shown;    // the field afterwards
};

TEST_F(ConversionWindows, LinearFieldsRefuseWithTheirMessagesAndKeepThePreviousValue) {
  const std::vector<FieldCase> cases{
      // The rules themselves are the conversion's; here what the window
      // makes of an acceptance, a refusal with and without "!", bad text.
      {DialogField::InMin, "12,5", nullptr, "12.500"},
      {DialogField::InMin, "-10.1", "Minimum out of range!", "-10.000"},
      {DialogField::InMin, "twelve", "Wrong format!", "-10.000"},
      {DialogField::ResMax, "0.05", "Range too small!", "9999"},  // ResMin 0
  };
  SetTableType(16);
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.typed);
    LinearWindowLogic window(context_);
    if (c.field == DialogField::ResMax) { ASSERT_TRUE(window.FieldExit(DialogField::ResMin, "0")); }
    ui_.Forget();
    EXPECT_EQ(window.FieldExit(c.field, c.typed), c.message == nullptr);
    EXPECT_EQ(window.FieldText(c.field), c.shown);
    EXPECT_EQ(LastMessage(), c.message ? c.message : "");
    EXPECT_EQ(ui_.Beeps().size(), c.message ? 1u : 0u);
    EXPECT_EQ(window.Focus(), c.message ? FieldControl(c.field) : "");
    if (c.message) {
      const MessageIcon icon =
          std::string(c.message) == "Wrong format!" ? MessageIcon::Error : MessageIcon::Warning;
      EXPECT_EQ(ui_.Messages().back().icon, icon);
    }
  }
}

TEST_F(ConversionWindows, LinearOkStoresTheDefinitionOnlyWhenAllChecksPass) {
  SetTableType(16);
  context_.config.Jednostki = 3;
  const auto before = context_.config.Coefficients;
  {
    LinearWindowLogic window(context_);
    ASSERT_TRUE(window.FieldExit(DialogField::ResMax, "5"));
    ASSERT_TRUE(window.FieldExit(DialogField::ResMin, "5"));  // checked against the span only at OK
    EXPECT_FALSE(window.OkClick());
    EXPECT_EQ(LastMessage(), "Range too small!");
    EXPECT_EQ(window.Focus(), "ResMinE");
    EXPECT_EQ(context_.config.Coefficients, before);
    EXPECT_EQ(context_.conversion.ConversionConfirmed, 0);
  }
  LinearWindowLogic window(context_);
  for (const auto& [field, text] : std::vector<std::pair<DialogField, const char*>>{
           {DialogField::ResMin, "0"}, {DialogField::ResMax, "1600"}}) {
    ASSERT_TRUE(window.FieldExit(field, text));
  }
  window.SelectUnit(10);  // "kg" is not offered: the next read would make it " "
  EXPECT_EQ(window.Unit(), 2);
  window.SelectUnit(8);
  ASSERT_TRUE(window.OkClick());
  // The coefficients and limits are the conversion's; that they were stored.
  EXPECT_EQ(context_.config.Coefficients[10], 1600);
  EXPECT_EQ(context_.limits.UpperTenths(kTypUserThermocouple), 16000);
  EXPECT_EQ(context_.config.Jednostki, 8);
  EXPECT_EQ(context_.conversion.ConversionConfirmed, 1);
}

TEST_F(ConversionWindows, LinearStartsFromTheStoredDefinitionOnlyWhileItFits) {
  // The start values are the conversion's; the window decides whether the
  // stored definition, with its unit, is the one shown.
  struct Case {
    const char* name;
    std::uint8_t lin;
    std::uint8_t confirmed;
    const char* resMin;
    int unit;
  };
  for (const Case& c : {Case{"stored", kLinLinear, 0, "100", 9},
                        Case{"confirmed since the selection opened", kLinLinear, 1, "-1999", 2},
                        Case{"another conversion", kLinSeries, 0, "-1999", 2}}) {
    SCOPED_TRACE(c.name);
    SetTableType(16);
    ModuleConfig& config = context_.config;
    config.Lin = c.lin;
    config.Jednostki = 9;
    // A falling result: 100 at 0 mV, 0 at 100 mV.
    config.Coefficients = {100, -1, 0, 0, 0, 0, 0, 0, 0, 100, 0};
    SetUserLimitsFromResults(100, 0, context_.limits);
    context_.conversion.ConversionConfirmed = c.confirmed;
    LinearWindowLogic window(context_);
    EXPECT_EQ(window.FieldText(DialogField::ResMin), c.resMin);
    EXPECT_EQ(window.Unit(), c.unit);
  }
}

// ---- PowerSeriesDialog ----------------------------------------------------------------

TEST_F(ConversionWindows, SeriesStartsUncheckedChecksThenConfirmsAndCancelPutsItBack) {
  SetTableType(19);
  context_.config.Coefficients = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const auto before = context_.config.Coefficients;
  PowerSeriesWindowLogic cancelled(context_);
  EXPECT_EQ(context_.config.Coefficients[10], 20) << "the identity over the limits of the type";
  cancelled.CancelClick();
  EXPECT_EQ(context_.config.Coefficients, before);

  PowerSeriesWindowLogic window(context_);
  EXPECT_EQ(window.ButtonText(), "Check");
  EXPECT_EQ(window.CoefficientText(1), "1");
  EXPECT_EQ(window.FieldText(DialogField::InMin), "4.000");
  EXPECT_EQ(window.FieldText(DialogField::ResMax), "9999");
  EXPECT_FALSE(window.ButtonClick()) << "the first press checks";
  EXPECT_EQ(window.ButtonText(), "OK");
  EXPECT_EQ(window.FieldText(DialogField::ResMax), "20");
  window.FieldChanged();  // typing asks for another check
  EXPECT_FALSE(window.ButtonClick());
  window.SelectUnit(9);
  ASSERT_TRUE(window.ButtonClick());
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_EQ(context_.limits.LowerTenths(kTypUserThermocouple), 40);
  EXPECT_EQ(context_.limits.UpperTenths(kTypUserThermocouple), 200);
  EXPECT_EQ(context_.config.Jednostki, 9);
  EXPECT_EQ(context_.conversion.ConversionConfirmed, 1);
}

TEST_F(ConversionWindows, SeriesCheckFailuresNameTheirReasonAndFocus) {
  // The checks are the conversion's: one that passes, one that is refused.
  SetTableType(19);
  for (const auto& [coefficient, typed, message] :
       {std::tuple{1, "0", "Transfer function is not monotonic"}, std::tuple{0, "9979", ""}}) {
    SCOPED_TRACE(typed);
    PowerSeriesWindowLogic window(context_);
    ASSERT_TRUE(window.CoefficientExit(coefficient, typed));
    ui_.Forget();
    EXPECT_FALSE(window.ButtonClick());
    EXPECT_EQ(window.SeriesChecked(), *message == '\0');
    EXPECT_EQ(LastMessage(), message);
    EXPECT_EQ(ui_.Beeps().size(), *message ? 1u : 0u);
    EXPECT_EQ(window.Focus(), *message ? "AE" : "");
    EXPECT_EQ(window.FieldText(DialogField::ResMax), "9999");
  }
}

TEST_F(ConversionWindows, SeriesFieldsShowAndRefuseAsTyped) {
  struct Case {
    int coefficient;  // -1: InMin, -2: InMax
    const char* typed;
    char separator;
    const char* message;
    const char* shown;
  };
  const std::vector<Case> cases{
      {0, "0,5", ',', nullptr, "0,5"},       {2, "1e41", '.', "Out of range!", "0"},
      {1, "abc", '.', "Wrong format!", "1"}, {-1, "3.9", '.', "Minimum out of range!", "4.000"},
      {-2, "5", '.', nullptr, "5.000"},
  };
  SetTableType(19);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    context_.regional.decimalSeparator = c.separator;
    PowerSeriesWindowLogic window(context_);
    window.ButtonClick();
    ASSERT_TRUE(window.SeriesChecked());
    ui_.Forget();
    const DialogField field = c.coefficient == -1 ? DialogField::InMin : DialogField::InMax;
    const bool accepted = c.coefficient >= 0 ? window.CoefficientExit(c.coefficient, c.typed)
                                             : window.FieldExit(field, c.typed);
    EXPECT_EQ(accepted, c.message == nullptr);
    EXPECT_FALSE(window.SeriesChecked()) << "leaving a typed field asks for a check";
    EXPECT_EQ(c.coefficient >= 0 ? window.CoefficientText(c.coefficient) : window.FieldText(field),
              c.shown);
    EXPECT_EQ(LastMessage(), c.message ? c.message : "");
    const std::string control = c.coefficient >= 0
                                    ? PowerSeriesWindowLogic::CoefficientControl(c.coefficient)
                                    : FieldControl(field);
    EXPECT_EQ(window.Focus(), c.message ? control : "");
    window.CancelClick();
  }
}

TEST_F(ConversionWindows, SeriesStartsCheckedFromAStoredSeriesThatFits) {
  SetTableType(19);
  ModuleConfig& config = context_.config;
  config.Lin = kLinSeries;
  config.Jednostki = 9;
  config.Coefficients = {0, 6.25, 0, 0, 0, 0, 0, 0, 0, 4, 20};  // 25 to 125 %
  ASSERT_EQ(SampleSeriesToTable(config, context_.conversion, context_.limits), std::nullopt);
  SetUserRange(context_.conversion.Table, context_.limits);
  PowerSeriesWindowLogic window(context_);
  EXPECT_TRUE(window.SeriesChecked());
  EXPECT_EQ(window.ButtonText(), "OK");
  EXPECT_EQ(window.CoefficientText(1), "6.25");
  EXPECT_EQ(window.FieldText(DialogField::ResMax), "125");
  EXPECT_EQ(window.Unit(), 9);
  EXPECT_TRUE(window.ButtonClick());
}

TEST_F(ConversionWindows, SeriesStartsAfreshFromAStoredSeriesThatWouldNotPassItsCheck) {
  SetTableType(19);
  ModuleConfig& config = context_.config;
  config.Lin = kLinSeries;
  // Its signal range fits the input, but its results lie far past the
  // result range; no table was sampled from it.
  config.Coefficients = {1e300, 1, 0, 0, 0, 0, 0, 0, 0, 4, 20};
  context_.limits.SetUserTenths(40, 200);
  PowerSeriesWindowLogic window(context_);
  EXPECT_FALSE(window.SeriesChecked());
  EXPECT_EQ(window.CoefficientText(0), "0");
  EXPECT_EQ(window.FieldText(DialogField::ResMax), "9999");
  EXPECT_EQ(context_.limits.UpperTenths(kTypUserThermocouple), 200);
}

// ---- TableDialog -----------------------------------------------------------------

struct LoadCase {
  const char* name;
  const char* file;
  const char* message;  // nullptr: accepted
  int selectedLine;
  std::vector<std::string> shown;  // InMin, InMax, ResMin, ResMax
};

TEST_F(ConversionWindows, TableLoadsShowTheFileAndEnableOkOnlyForAnAcceptedTable) {
  const std::vector<LoadCase> cases{
      {"good", "; flow\r\n0 4\r\n100 20\r\n", nullptr, -1, {"4.000", "20.000", "0", "100"}},
      {"rise or fall",
       "10 5\n5 6\n7 7\n",
       "Corrupted or wrong data file!\n(1st column values should rise or fall.)",
       2,
       {}},
      {"narrow", "0 4\n100 4.5\n", "Input range too small!", -1, {"4.000", "4.500", "0", "100"}},
  };
  SetTableType(19);
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = WriteTable(std::string(c.name) + ".dat", c.file);
    TableWindowLogic window(context_);
    EXPECT_FALSE(window.OkEnabled());
    EXPECT_EQ(window.Lines()[2], ";  t[\u00B0C]   I[mA]");
    ui_.Forget();
    EXPECT_EQ(window.LoadFile(path), c.message == nullptr);
    EXPECT_EQ(window.OkEnabled(), c.message == nullptr);
    EXPECT_EQ(LastMessage(), c.message ? c.message : "");
    EXPECT_EQ(window.SelectedLine(), c.selectedLine);
    EXPECT_EQ(window.Lines().at(0),
              std::string(c.file).substr(0, std::string(c.file).find_first_of("\r\n")));
    const std::vector<std::string> shown{
        window.FieldText(DialogField::InMin), window.FieldText(DialogField::InMax),
        window.FieldText(DialogField::ResMin), window.FieldText(DialogField::ResMax)};
    EXPECT_EQ(shown, c.shown.empty() ? std::vector<std::string>(4) : c.shown);
    EXPECT_EQ(window.Focus(), c.message ? "" : "OKB");
  }
}

TEST_F(ConversionWindows, TableRejectedAfterAnAcceptedOneCannotBeConfirmed) {
  SetTableType(19);
  context_.config.Jednostki = 3;
  const std::string good = WriteTable("good.dat", "-10.04 4\n59.96 20\n");
  for (const char* rejected : {"0 4\n100 20\n50 21\n", "0 4\n100 4.5\n"}) {
    SCOPED_TRACE(rejected);
    TableWindowLogic window(context_);
    ASSERT_TRUE(window.LoadFile(good));
    EXPECT_FALSE(window.LoadFile(WriteTable("bad.dat", rejected)));
    EXPECT_FALSE(window.OkEnabled());
    EXPECT_FALSE(window.OkClick());
    EXPECT_EQ(context_.conversion.ConversionConfirmed, 0);
    EXPECT_FALSE(context_.config.TableLoaded);
    EXPECT_EQ(context_.config.Jednostki, 3);
  }
  TableWindowLogic window(context_);
  ASSERT_TRUE(window.LoadFile(good));
  window.SelectUnit(9);
  ASSERT_TRUE(window.OkClick());
  EXPECT_EQ(context_.conversion.ConversionConfirmed, 1);
  EXPECT_TRUE(context_.config.TableLoaded) << "the image build needs the confirmed table";
  EXPECT_EQ(context_.config.Jednostki, 9);
  EXPECT_EQ(context_.limits.UpperTenths(kTypUserThermocouple), 600);
}

TEST_F(ConversionWindows, TableFolderBecomesTheDataDirectoryAndExitPutsItBack) {
  SetTableType(16);
  context_.settings.DataDir = "/previous";
  context_.config.File = "old.dat";
  const std::filesystem::path longFolder = scratch_ / std::string(70, 'd');
  std::filesystem::create_directories(longFolder);
  ASSERT_LE(scratch_.Path().string().size() + 10, 60u);
  // A folder over 60 characters is no data directory, a path over 61 no `File`.
  const std::vector<std::tuple<std::filesystem::path, std::string, std::string>> cases{
      {scratch_ / "short.dat", scratch_.Path().string(), (scratch_ / "short.dat").string()},
      {longFolder / "long.dat", "", "long.dat"},
  };
  for (const auto& [file, dataDir, stored] : cases) {
    SCOPED_TRACE(file);
    WriteBytes(file, "0 0\n100 10\n");
    TableWindowLogic window(context_);
    ui_.ChooseFile(file.string());
    ASSERT_TRUE(window.LoadClick());
    EXPECT_EQ(ui_.Dialogs().back().filter, "Tables (*.dat)|*.dat|All files|*.*");
    EXPECT_EQ(ui_.Dialogs().back().directory, "/previous");
    EXPECT_EQ(context_.settings.DataDir, dataDir);
    EXPECT_EQ(window.Caption(), file.parent_path().string());
    EXPECT_EQ(window.FileName(), file.filename().string());
    EXPECT_EQ(context_.config.File, stored);
    window.ExitClick();
    EXPECT_EQ(context_.settings.DataDir, "/previous");
    EXPECT_EQ(context_.config.File, "old.dat");
  }
}

TEST_F(ConversionWindows, TableUnitListIsFixedOnlyForAUserThermocoupleOfGroupB) {
  struct Case {
    std::uint8_t type;
    const char* device;
    bool enabled;
    int unit;
  };
  const std::vector<Case> cases{{15, "Q5497", false, 8},
                                {15, "Q5498", true, 8},
                                {5, "Q5495", true, 5},
                                {18, "Q5494", true, 1}};
  const std::string file = WriteTable("tc.dat", "0 0\n100 4.1\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.device);
    SetTableType(c.type, c.device);
    TableWindowLogic window(context_);
    EXPECT_FALSE(window.UnitsEnabled());
    EXPECT_EQ(window.Unit(), c.unit);
    window.LoadFile(file);
    EXPECT_EQ(window.UnitsEnabled(), c.enabled);
  }
}

// ---- RoomTemperatureDialog -----------------------------------------------------------------

TEST_F(ConversionWindows, RoomTemperatureAcceptsOnlyWhatTheConfigurationKeeps) {
  // Typed text, the message (nullptr: accepted), `RoomT` and the field after.
  const std::vector<std::tuple<const char*, const char*, double, const char*>> cases{
      {"50", nullptr, 50, "50.00"},
      {"25,5", nullptr, 25.5, "25.50"},
      {"-0.01", "Out of range!", 23.456, "23.46"},
      {"50.01", "Out of range!", 23.456, "23.46"},
      {"x", "Wrong format!", 23.456, "23.46"},
  };
  for (const auto& [typed, message, stored, shown] : cases) {
    SCOPED_TRACE(typed);
    context_.config.RoomT = 23.456;
    ui_.Forget();
    RoomTemperatureWindowLogic window(context_);
    EXPECT_EQ(window.RoomTEExit(typed), message == nullptr);
    EXPECT_EQ(context_.config.RoomT, stored);
    EXPECT_EQ(window.FieldText(), shown);
    EXPECT_EQ(LastMessage(), message ? message : "");
    EXPECT_EQ(window.Focus(), message ? "RoomTE" : "");
    // Whatever was accepted survives the next read or file load.
    ModuleConfig reread = context_.config;
    ApplyConsistencyRules(reread, context_.limits);
    EXPECT_EQ(reread.RoomT, context_.config.RoomT);
  }
  context_.config.RoomT = 23.456;
  RoomTemperatureWindowLogic window(context_);
  EXPECT_EQ(window.Prompt(), "Set the external cold junction temperature: (0 ... 50 \u00B0C)");
  EXPECT_TRUE(window.OkClick(window.FieldText()));
  EXPECT_EQ(context_.config.RoomT, 23.456) << "OK on the shown text does not round the value";
  EXPECT_FALSE(window.OkClick("75"));
  EXPECT_TRUE(window.OkClick("30"));
  EXPECT_EQ(context_.config.RoomT, 30);
}

}  // namespace
}  // namespace q5480
