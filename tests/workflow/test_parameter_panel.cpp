// The parameter panel: what a shown configuration looks like, New, the
// user-data rule and the user-data prompt.
#include "workflow_fixture.h"

namespace q5480 {
namespace {

using test_support::ScratchDirectory;
using test_support::WriteBytes;

class PanelTest : public ::testing::Test {
 protected:
  PanelTest() : context_(ui_), panel_(context_) {
    context_.programDirectory = scratch_.Path();
    context_.fileName = "/data/k.par";
  }

  ModuleConfig& Config() { return context_.config; }

  void Thermocouple() {
    ModuleConfig& c = Config();
    SetThermocoupleK(c);
    c.FiltrZakres = 125;
    c.FiltrCzas = 50;
    c.FiltrLimit = 30;
    c.Burnout = 1;
    c.Siec = 60;
    c.Jednostki = 8;
    c.ZeroReg = 0.5;
    c.GainReg = -1.25;
    c.serial = "1234567";
    c.data = "01.02.2024";
    c.ogolne = "boiler";
  }

  // A voltage input converted by a user table that must be read from a file.
  void TableInput(const std::string& file) {
    ModuleConfig& c = Config();
    c.Device = "Q5497";
    c.Typ = 16;
    c.Tryb = 1;
    c.Lin = kLinTable;
    c.File = file;
    c.TableLoaded = false;
    c.MinInput = 0;
    c.MaxInput = 100;
  }

  ScratchDirectory scratch_;
  RecordingUi ui_;
  ProgramContext context_;
  ParameterPanel panel_;
};

TEST_F(PanelTest, ThermocoupleIsShownFieldByField) {
  Thermocouple();
  panel_.pokaz(kColourWhite);
  const PanelView& v = panel_.View();
  EXPECT_EQ(context_.caption, "Q5495 - /data/k.par");
  EXPECT_EQ(v.SenTypeG, " Sensor type ");
  EXPECT_EQ(v.SenTypeText, "Thermocouple K, CJC, linearization");
  EXPECT_EQ(v.Reakcja, "Output reaction to sensor burnout:");
  EXPECT_EQ(v.JednostkiE, " ") << "no measurement reported a unit yet";
  EXPECT_EQ(v.JednostkiE1, "°C");
  EXPECT_EQ(v.MinInputE, "    0.0");
  EXPECT_EQ(v.MaxInputE, " 1000.0");
  EXPECT_EQ(v.FiltrZakresE, "12.5");
  EXPECT_EQ(v.FiltrCzasE, "5.0");
  EXPECT_EQ(v.FiltrLimitE, "30");
  EXPECT_EQ(v.FiltrLimitUpDown, 30);
  EXPECT_EQ(v.BurnoutE, 1);
  EXPECT_EQ(v.SiecE, 1);
  EXPECT_EQ(v.RegulZV, " 0.50%");
  EXPECT_EQ(v.RegulGV, "-1.25%");
  EXPECT_EQ(v.AbsMinE, "-150 ..");
  EXPECT_EQ(v.AbsMaxE, ".. 1370");
  EXPECT_EQ(v.SerialE, "1234567");
  EXPECT_EQ(v.DataE, "01.02.2024");
  EXPECT_TRUE(v.InfoCaptionsVisible);
  EXPECT_EQ(v.KodE, "TI-101");
  EXPECT_EQ(v.OgolneE, "boiler");
  EXPECT_TRUE(v.RangeFieldsEnabled);
  EXPECT_TRUE(v.OtherFieldsEnabled);
  EXPECT_TRUE(panel_.ConfigurationShown());
  EXPECT_EQ(context_.statusText, "Information complete");
  EXPECT_EQ(ui_.StatusTexts().back(), " Information complete");
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(PanelTest, SensorDescriptionsAndBurnoutLabels) {
  struct Case {
    int typ, tryb, lin, burnout;
    const char* group;
    const char* text;
    const char* reakcja;
  };
  const Case cases[] = {
      {10, 6, 2, 0, " Sensor type ", "Thermocouple K, CJ temp.: 21.5°C, linearization",
       "Output reaction to sensor burnout:"},
      {1, 3, 1, 0, " Sensor type ", "Pt100 (0.00385), 3-wire", "Output reaction to sensor burnout:"},
      {17, 1, 1, 0, " Input ", "Current", "Internal failure sygnalization:"},
      {18, 1, 4, 1, " Input ", "Voltage, result converted", "Internal failure sygnalization:"},
      {5, 4, 1, 2, " Input ", "Resistance, 4-wire", "Output locked !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ModuleConfig& config = Config();
    config.Typ = static_cast<std::uint8_t>(c.typ);
    config.Tryb = static_cast<std::uint8_t>(c.tryb);
    config.Lin = static_cast<std::uint8_t>(c.lin);
    config.Burnout = c.burnout;
    config.RoomT = 21.5;
    config.TableLoaded = true;
    panel_.pokaz(kColourKeep);
    EXPECT_EQ(panel_.View().SenTypeG, c.group);
    EXPECT_EQ(panel_.View().SenTypeText, c.text);
    EXPECT_EQ(panel_.View().Reakcja, c.reakcja);
  }
}

TEST_F(PanelTest, ColourModesColourTheirGroups) {
  Thermocouple();
  panel_.pokaz(kColourChangedRange);
  for (std::size_t i = 0; i < kPanelFieldCount; ++i) {
    EXPECT_EQ(panel_.View().Colours[i],
              i < kFirstGroupCount ? FieldColour::Aqua : FieldColour::ButtonFace)
        << i;
  }
  panel_.pokaz(kColourChangedAll);
  for (FieldColour colour : panel_.View().Colours) EXPECT_EQ(colour, FieldColour::Aqua);
  panel_.pokaz(kColourKeep);
  for (FieldColour colour : panel_.View().Colours) EXPECT_EQ(colour, FieldColour::Aqua);
  panel_.pokaz(kColourGrey);
  for (FieldColour colour : panel_.View().Colours) EXPECT_EQ(colour, FieldColour::ButtonFace);
}

TEST_F(PanelTest, OnlyTheTextsChangedMeansAnInformationWrite) {
  Thermocouple();
  panel_.pokaz(kColourWhite);
  EXPECT_FALSE(panel_.OnlyInformationChanged());
  panel_.MarkChanged(PanelField::KodE);
  EXPECT_TRUE(panel_.OnlyInformationChanged());
  panel_.MarkChanged(PanelField::OgolneE);
  EXPECT_TRUE(panel_.OnlyInformationChanged());
  panel_.MarkChanged(PanelField::SiecE);
  EXPECT_FALSE(panel_.OnlyInformationChanged());
  panel_.ClearChangedMarks();
  EXPECT_FALSE(panel_.OnlyInformationChanged());
}

TEST_F(PanelTest, NewGivesItsOwnDefaultsAndAnEmptyPanel) {
  Thermocouple();
  context_.state.Programmed = true;
  panel_.pokaz(kColourWhite);
  panel_.odnowa();
  const ModuleConfig& c = Config();
  EXPECT_EQ(c.Device, "");
  EXPECT_EQ(c.Typ, 20);
  EXPECT_EQ(c.Tryb, 1);
  EXPECT_EQ(c.Lin, 2);
  EXPECT_EQ(c.Jednostki, 10);
  EXPECT_EQ(c.Burnout, 0);
  EXPECT_EQ(c.Siec, 50);
  EXPECT_EQ(c.MaxInput, 0);
  EXPECT_EQ(c.FiltrZakres, 0);
  EXPECT_EQ(c.kod, "");
  EXPECT_FALSE(c.TableLoaded);
  EXPECT_FALSE(context_.state.Programmed);
  EXPECT_FALSE(panel_.ConfigurationShown());
  EXPECT_EQ(context_.fileName, "No_name");
  EXPECT_EQ(context_.caption, "Unspecified type");
  EXPECT_EQ(context_.statusText, "No parameters");
  const PanelView& v = panel_.View();
  EXPECT_EQ(v.SenTypeG, " Sensor type ");
  EXPECT_EQ(v.SenTypeText, "???");
  EXPECT_EQ(v.MinInputE, "");
  EXPECT_EQ(v.AbsMinE, "");
  EXPECT_EQ(v.JednostkiE1, "");
  EXPECT_EQ(v.BurnoutE, 0);
  EXPECT_FALSE(v.InfoCaptionsVisible);
  EXPECT_FALSE(v.RangeFieldsEnabled);
  EXPECT_FALSE(v.OtherFieldsEnabled);
  for (FieldColour colour : v.Colours) EXPECT_EQ(colour, FieldColour::ButtonFace);
}

TEST_F(PanelTest, UserDataRule) {
  struct Case {
    int typ, lin;
    bool tableLoaded, zeroCoefficients, expected;
  };
  const Case cases[] = {
      {15, 2, false, false, true},  {15, 2, true, false, false}, {5, 2, false, false, true},
      {16, 8, false, false, true},  {20, 2, false, false, true}, {16, 4, false, false, false},
      {16, 1, false, false, false}, {10, 2, false, false, false}, {10, 2, true, true, true},
  };
  for (const Case& c : cases) {
    Config().Typ = static_cast<std::uint8_t>(c.typ);
    Config().Lin = static_cast<std::uint8_t>(c.lin);
    Config().TableLoaded = c.tableLoaded;
    context_.state.ZeroCoefficients = c.zeroCoefficients;
    EXPECT_EQ(noTab(context_), c.expected) << c.typ << " " << c.lin;
  }
}

TEST_F(PanelTest, CheckParamWithoutConfigurationComplains) {
  EXPECT_FALSE(panel_.CheckParam(true, true));
  EXPECT_TRUE(ui_.Messages().empty()) << "quiet";
  EXPECT_FALSE(panel_.CheckParam(false, false));
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"No parameters!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
  Thermocouple();
  panel_.pokaz(kColourWhite);
  EXPECT_TRUE(panel_.CheckParam(true, false));
}

TEST_F(PanelTest, PowerSeriesIsSampledAgainWithoutAsking) {
  ModuleConfig& c = Config();
  c.Device = "Q5497";
  c.Typ = 16;
  c.Lin = kLinSeries;
  c.Coefficients = {0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 10};  // 10 x over 0..10 mV
  c.MinInput = 0;
  c.MaxInput = 100;
  panel_.pokaz(kColourWhite);
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_TRUE(c.TableLoaded);
  EXPECT_TRUE(panel_.View().RangeFieldsEnabled);
  EXPECT_EQ(context_.statusText, "Information complete");
  EXPECT_EQ(context_.limits.UpperTenths(15), 1000);
}

TEST_F(PanelTest, PowerSeriesThatFailsIsReported) {
  ModuleConfig& c = Config();
  c.Typ = 16;
  c.Lin = kLinSeries;
  c.Coefficients = {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10};  // constant: not monotonic
  panel_.pokaz(kColourWhite);
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_FALSE(c.TableLoaded);
  EXPECT_FALSE(panel_.View().RangeFieldsEnabled);
  EXPECT_EQ(context_.statusText, "Information incomplete");
}

TEST_F(PanelTest, MissingTableFileIsNamedInTheMessage) {
  TableInput("C:\\tables\\volts.dat");
  panel_.pokaz(kColourWhite);
  ASSERT_EQ(ui_.MessageTexts(),
            std::vector<std::string>{"User defined sensor or conversion!\nNo data available.\n"
                                     "(source file: volts.dat)"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(Config().File, "volts.dat");
  EXPECT_FALSE(Config().TableLoaded);
  EXPECT_EQ(panel_.View().AbsMinE, "") << "no limits without the user data";
}

class TableFileTest : public PanelTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(scratch_ / "Tables");
    WriteBytes(scratch_ / "Tables" / "volts.dat", "0 0\r\n50 5\r\n100 10\r\n");
    TableInput("volts.dat");
  }
};

TEST_F(TableFileTest, YesReadsTheTableAgain) {
  ui_.Answer(MessageResult::Yes);
  context_.state.TimerEnabled = true;
  panel_.pokaz(kColourWhite);
  ASSERT_EQ(ui_.MessageTexts(),
            std::vector<std::string>{"User defined sensor or conversion!\nNo data available.\n"
                                     "Read source file volts.dat?"});
  EXPECT_EQ(ui_.Messages()[0].buttons, MessageButtons::YesNo);
  EXPECT_TRUE(Config().TableLoaded);
  EXPECT_TRUE(panel_.View().RangeFieldsEnabled);
  EXPECT_EQ(context_.statusText, "Information complete");
  EXPECT_TRUE(context_.state.TimerEnabled) << "the timer runs again";
}

TEST_F(TableFileTest, NoLeavesTheUserDataMissing) {
  ui_.Answer(MessageResult::No);
  panel_.pokaz(kColourWhite);
  EXPECT_FALSE(Config().TableLoaded);
  EXPECT_EQ(context_.statusText, "Information incomplete");
  ui_.Answer(MessageResult::No);
  EXPECT_TRUE(panel_.nietypo()) << "still missing";
  EXPECT_EQ(ui_.Messages().size(), 2u);
}

TEST_F(TableFileTest, RangeOutsideTheTableIsRefused) {
  Config().MinInput = -10;
  const InputLimits before = context_.limits;
  ui_.Answer(MessageResult::Yes);
  panel_.pokaz(kColourWhite);
  const std::vector<ShownMessage> messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "Corrupted or wrong data file!");
  EXPECT_EQ(messages[1].icon, MessageIcon::Error);
  EXPECT_FALSE(Config().TableLoaded);
  EXPECT_EQ(context_.limits.UpperTenths(15), before.UpperTenths(15)) << "limits restored";
}

TEST_F(TableFileTest, NarrowSignalSpanIsRefused) {
  WriteBytes(scratch_ / "Tables" / "volts.dat", "0 0\r\n100 2\r\n");
  ui_.Answer(MessageResult::Yes);
  panel_.pokaz(kColourWhite);
  ASSERT_EQ(ui_.Messages().size(), 2u);
  EXPECT_EQ(ui_.Messages()[1].text, "Input range too small!");
  EXPECT_EQ(ui_.Messages()[1].icon, MessageIcon::Warning);
  EXPECT_FALSE(Config().TableLoaded);
}

TEST_F(TableFileTest, UnreadableTableGivesTheReason) {
  WriteBytes(scratch_ / "Tables" / "volts.dat", "0 5\r\n50 6\r\n40 7\r\n");
  ui_.Answer(MessageResult::Yes);
  panel_.pokaz(kColourWhite);
  ASSERT_EQ(ui_.Messages().size(), 2u);
  EXPECT_EQ(ui_.Messages()[1].text.rfind("Corrupted or wrong data file!\n(", 0), 0u)
      << ui_.Messages()[1].text;
  EXPECT_FALSE(Config().TableLoaded);
}

}  // namespace
}  // namespace q5480
