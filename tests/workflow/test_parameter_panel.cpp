// The parameter panel: what a shown configuration looks like, New, the
// user-data rule and the user-data prompt.
#include "workflow_fixture.h"

namespace q5480 {
namespace {

// The panel's texts in the order of the window, joined by "|".
std::string TextsOf(const PanelView& v) {
  std::string joined = v.SenTypeG;
  for (const std::string* text :
       {&v.SenTypeText, &v.Reakcja, &v.JednostkiE, &v.JednostkiE1, &v.MinInputE, &v.MaxInputE,
        &v.FiltrZakresE, &v.FiltrCzasE, &v.FiltrLimitE, &v.RegulZV, &v.RegulGV, &v.AbsMinE,
        &v.AbsMaxE, &v.SerialE, &v.DataE, &v.KodE, &v.OgolneE}) {
    joined += "|" + *text;
  }
  return joined;
}

class PanelTest : public OfflineTest {
 protected:
  PanelTest() { context_.fileName = "/data/k.par"; }

  ModuleConfig& Config() { return context_.config; }

  void Thermocouple() {
    ModuleConfig& c = Config();
    SetThermocoupleK(c);
    c.FiltrZakres = 125;
    c.FiltrCzas = 50;
    c.FiltrLimit = 30;
    c.Burnout = 1;
    c.Siec = 60;
    c.ZeroReg = 0.5;
    c.GainReg = -1.25;
    c.serial = "1234567";
    c.data = "01.02.2024";
    c.ogolne = "boiler";
  }

  // A voltage input converted by a table or a power series that is not in
  // memory.
  void ConvertedInput(int lin, const std::string& file = {}) {
    ModuleConfig& c = Config();
    c.Device = "Q5497";
    c.Typ = 16;
    c.Tryb = 1;
    c.Lin = static_cast<std::uint8_t>(lin);
    c.File = file;
    c.TableLoaded = false;
    c.MinInput = 0;
    c.MaxInput = 100;
  }
};

TEST_F(PanelTest, ThermocoupleIsShownFieldByField) {
  Thermocouple();
  panel_.ShowConfiguration(kColourWhite);
  const PanelView& v = panel_.View();
  EXPECT_EQ(context_.caption, "Q5495 - /data/k.par");
  // The unit of the result stays blank until a measurement reports one.
  EXPECT_EQ(TextsOf(v),
            " Sensor type |Thermocouple K, CJC, linearization|Output reaction to sensor burnout:|"
            " |°C|    0.0| 1000.0|12.5|5.0|30| 0.50%|-1.25%|-150 ..|.. 1370|1234567|01.02.2024|"
            "TI-101|boiler");
  EXPECT_EQ(std::tuple(v.FiltrLimitUpDown, v.BurnoutE, v.SiecE), std::tuple(30, 1, 1));
  EXPECT_TRUE(v.InfoCaptionsVisible);
  EXPECT_TRUE(v.RangeFieldsEnabled);
  EXPECT_TRUE(v.OtherFieldsEnabled);
  EXPECT_TRUE(panel_.ConfigurationShown());
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
      {1, 3, 1, 0, " Sensor type ", "Pt100 (0.00385), 3-wire",
       "Output reaction to sensor burnout:"},
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
    panel_.ShowConfiguration(kColourKeep);
    EXPECT_EQ(panel_.View().SenTypeG, c.group);
    EXPECT_EQ(panel_.View().SenTypeText, c.text);
    EXPECT_EQ(panel_.View().Reakcja, c.reakcja);
  }
}

TEST_F(PanelTest, ColourModesAndChangeMarks) {
  Thermocouple();
  const auto expect = [&](FieldColour first, FieldColour second, const std::string& when) {
    for (std::size_t i = 0; i < kPanelFieldCount; ++i) {
      EXPECT_EQ(panel_.View().Colours[i], i < kFirstGroupCount ? first : second)
          << when << " " << i;
    }
  };
  using enum FieldColour;
  const std::tuple<int, FieldColour, FieldColour> modes[] = {
      {kColourGrey, ButtonFace, ButtonFace}, {kColourChangedRange, Aqua, ButtonFace},
      {kColourChangedAll, Aqua, Aqua},       {kColourKeep, Aqua, Aqua},
      {kColourWhite, Window, Window},
  };
  for (const auto& [mode, first, second] : modes) {
    panel_.ShowConfiguration(mode);
    expect(first, second, "mode " + std::to_string(mode));
  }
  // Only the texts changed: an information write.
  EXPECT_FALSE(panel_.OnlyInformationChanged());
  panel_.MarkChanged(PanelField::KodE);
  EXPECT_TRUE(panel_.OnlyInformationChanged());
  panel_.ClearChangedMarks();
  panel_.MarkChanged(PanelField::OgolneE);
  EXPECT_TRUE(panel_.OnlyInformationChanged());
  panel_.MarkChanged(PanelField::SiecE);
  EXPECT_FALSE(panel_.OnlyInformationChanged());
  panel_.ClearChangedMarks();
  expect(Window, Window, "cleared");
}

TEST_F(PanelTest, NewGivesItsOwnDefaultsAndAnEmptyPanel) {
  Thermocouple();
  context_.state.Programmed = true;
  panel_.ShowConfiguration(kColourWhite);
  panel_.NewConfiguration();
  const ModuleConfig& c = Config();
  EXPECT_EQ(std::tuple(c.Device, c.Typ, c.Siec, c.MaxInput, c.kod, c.TableLoaded),
            std::tuple("", kTypNone, 50, 0.0, "", false));
  EXPECT_FALSE(context_.state.Programmed);
  EXPECT_FALSE(panel_.ConfigurationShown());
  EXPECT_EQ(context_.fileName, "No_name");
  EXPECT_EQ(context_.caption, "Unspecified type");
  EXPECT_EQ(context_.statusText, "No parameters");
  const PanelView& v = panel_.View();
  EXPECT_EQ(TextsOf(v), " Sensor type |???|Internal failure sygnalization:" + std::string(15, '|'));
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
      {15, 2, false, false, true},  {15, 2, true, false, false},  {5, 2, false, false, true},
      {16, 8, false, false, true},  {20, 2, false, false, true},  {16, 4, false, false, false},
      {16, 1, false, false, false}, {10, 2, false, false, false}, {10, 2, true, true, true},
  };
  for (const Case& c : cases) {
    Config().Typ = static_cast<std::uint8_t>(c.typ);
    Config().Lin = static_cast<std::uint8_t>(c.lin);
    Config().TableLoaded = c.tableLoaded;
    context_.state.ZeroCoefficients = c.zeroCoefficients;
    EXPECT_EQ(NeedsUserData(context_), c.expected) << c.typ << " " << c.lin;
  }
}

TEST_F(PanelTest, PowerSeriesIsSampledAgainWithoutAskingOrItsFailureReported) {
  ConvertedInput(kLinSeries);
  Config().Coefficients = {0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 10};  // 10 x over 0..10 mV
  panel_.ShowConfiguration(kColourWhite);
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_TRUE(Config().TableLoaded);
  EXPECT_TRUE(panel_.View().RangeFieldsEnabled);
  EXPECT_EQ(context_.statusText, "Information complete");
  EXPECT_EQ(context_.limits.UpperTenths(15), 1000);

  ConvertedInput(kLinSeries);
  Config().Coefficients = {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10};  // constant: not monotonic
  panel_.ShowConfiguration(kColourWhite);
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
  EXPECT_FALSE(Config().TableLoaded);
  EXPECT_FALSE(panel_.View().RangeFieldsEnabled);
  EXPECT_EQ(context_.statusText, "Information incomplete");
}

TEST_F(PanelTest, MissingTableFileIsNamedInTheMessage) {
  ConvertedInput(kLinTable, "C:\\tables\\volts.dat");
  panel_.ShowConfiguration(kColourWhite);
  ASSERT_EQ(ui_.MessageTexts(),
            std::vector<std::string>{"User defined sensor or conversion!\nNo data available.\n"
                                     "(source file: volts.dat)"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
  EXPECT_EQ(Config().File, "volts.dat");
  EXPECT_FALSE(Config().TableLoaded);
  EXPECT_EQ(panel_.View().AbsMinE, "") << "no limits without the user data";
}

class TableFileTest : public PanelTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(scratch_ / "Tables");
    WriteBytes(scratch_ / "Tables" / "volts.dat", "0 0\r\n50 5\r\n100 10\r\n");
    ConvertedInput(kLinTable, "volts.dat");
  }
};

TEST_F(TableFileTest, YesReadsTheTableAgainAndNoLeavesItMissing) {
  ui_.Answer(MessageResult::No);
  panel_.ShowConfiguration(kColourWhite);
  ASSERT_EQ(ui_.MessageTexts(),
            std::vector<std::string>{"User defined sensor or conversion!\nNo data available.\n"
                                     "Read source file volts.dat?"});
  EXPECT_EQ(ui_.Messages()[0].buttons, MessageButtons::YesNo);
  EXPECT_FALSE(Config().TableLoaded);
  EXPECT_EQ(context_.statusText, "Information incomplete");

  ui_.Answer(MessageResult::Yes);
  context_.state.TimerEnabled = true;
  EXPECT_FALSE(panel_.AskForMissingUserData()) << "the user data are in memory now";
  EXPECT_EQ(ui_.Messages().size(), 2u);
  EXPECT_TRUE(Config().TableLoaded);
  EXPECT_TRUE(panel_.View().RangeFieldsEnabled);
  EXPECT_EQ(context_.statusText, "Information complete");
  EXPECT_TRUE(context_.state.TimerEnabled) << "the timer runs again";
}

TEST_F(TableFileTest, ATableThatDoesNotFitIsRefusedAndLeavesTheLimitsAlone) {
  struct Case {
    const char* table;
    int minInput;
    const char* message;
    MessageIcon icon;
  };
  const Case cases[] = {
      {"0 0\r\n50 5\r\n100 10\r\n", -10, "Corrupted or wrong data file!", MessageIcon::Error},
      {"0 0\r\n100 2\r\n", 0, "Input range too small!", MessageIcon::Warning},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    WriteBytes(scratch_ / "Tables" / "volts.dat", c.table);
    ConvertedInput(kLinTable, "volts.dat");
    Config().MinInput = c.minInput;
    context_.limits.SetUserTenths(-7, 7);
    ui_.Forget();
    ui_.Answer(MessageResult::Yes);
    panel_.ShowConfiguration(kColourWhite);
    const std::vector<ShownMessage> messages = ui_.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text.rfind(c.message, 0), 0u) << messages[1].text;
    EXPECT_EQ(messages[1].icon, c.icon);
    EXPECT_FALSE(Config().TableLoaded);
    EXPECT_EQ(context_.limits.LowerTenths(15), -7);
    EXPECT_EQ(context_.limits.UpperTenths(15), 7);
  }
}

}  // namespace
}  // namespace q5480
