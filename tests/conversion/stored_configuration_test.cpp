// Parameters files made ready to build: their tables found and read again,
// their series sampled again, and the dialog helpers around them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "conversion/build_image.h"
#include "conversion/power_series.h"
#include "conversion/stored_configuration.h"
#include "conversion/table_file.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

const std::filesystem::path kExamples = std::filesystem::path(Q5480_SOURCE_DIR) / "examples";

class StoredConfigurationTest : public ::testing::Test {
 protected:
  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  ConversionContext context{config, limits, state};
};

TEST_F(StoredConfigurationTest, TableIsFoundBesideTheParametersFile) {
  const StoredLoadResult result =
      LoadStoredConfiguration(kExamples / "user_table_flow_4_20ma.par", std::nullopt, context);
  ASSERT_EQ(result.status, StoredLoad::Ok) << result.message;
  EXPECT_TRUE(config.TableLoaded);
  EXPECT_EQ(state.Table.Count(), 21);
  EXPECT_EQ(limits.UpperTenths(15), 1000);
  ModuleImage image;
  BuildFailure failure = BuildFailure::None;
  int segments = 0;
  ASSERT_TRUE(BuildModuleImage(context, image, 46000, failure, [&] { ++segments; }));
  EXPECT_EQ(segments, 200);
  EXPECT_EQ(config.SignalLow, 4);
  EXPECT_EQ(config.SignalHigh, 20);
}

TEST_F(StoredConfigurationTest, UserThermocoupleTableAndExplicitTableFile) {
  StoredLoadResult result = LoadStoredConfiguration(kExamples / "user_table_thermocouple_x.par", std::nullopt, context);
  ASSERT_EQ(result.status, StoredLoad::Ok) << result.message;
  EXPECT_EQ(state.TableType, 15);
  EXPECT_EQ(limits.UpperTenths(15), 12000);

  // A table that does not cover the stored range is refused.
  const auto narrow = std::filesystem::temp_directory_path() / "q5480_stored_narrow.dat";
  std::ofstream(narrow) << "0 0\n500 20.6\n";
  result = LoadStoredConfiguration(kExamples / "user_table_thermocouple_x.par", narrow, context);
  std::filesystem::remove(narrow);
  EXPECT_EQ(result.status, StoredLoad::UserDataRefused);
  EXPECT_EQ(result.message, "Corrupted or wrong data file!");
  EXPECT_FALSE(config.TableLoaded);
}

TEST_F(StoredConfigurationTest, MissingTableAndUnreadableFile) {
  const auto directory = std::filesystem::temp_directory_path() / "q5480_stored_missing";
  std::filesystem::create_directories(directory);
  std::filesystem::copy_file(kExamples / "user_table_flow_4_20ma.par", directory / "flow.par",
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(LoadStoredConfiguration(directory / "flow.par", std::nullopt, context).status, StoredLoad::TableNotFound);
  std::ofstream(directory / "broken.par") << "Typ=banana\n";
  EXPECT_EQ(LoadStoredConfiguration(directory / "broken.par", std::nullopt, context).status,
            StoredLoad::ParametersUnreadable);
  std::filesystem::remove_all(directory);
}

TEST_F(StoredConfigurationTest, BuiltInCharacteristicsNeedNoUserData) {
  ASSERT_EQ(LoadStoredConfiguration(kExamples / "thermocouple_k_0_1000.par", std::nullopt, context).status,
            StoredLoad::Ok);
  EXPECT_FALSE(config.TableLoaded);
  ModuleImage image;
  BuildFailure failure = BuildFailure::None;
  int segments = 0;
  EXPECT_TRUE(BuildModuleImage(context, image, 46000, failure, [&] { ++segments; }));
  EXPECT_EQ(segments, 200);
}

TEST_F(StoredConfigurationTest, SeriesIsSampledAgain) {
  config.Typ = 19;
  config.Lin = kLinSeries;
  config.Coefficients = {-25, 6.25, 0, 0, 0, 0, 0, 0, 0, 4, 20};
  config.MinInput = 0;
  config.MaxInput = 100;
  EXPECT_EQ(RestoreUserData(context, std::nullopt, kExamples), std::nullopt);
  EXPECT_TRUE(config.TableLoaded);
  EXPECT_EQ(state.Table.Count(), 801);

  config.Coefficients[1] = 0;  // flat: refused with its reason
  EXPECT_EQ(RestoreUserData(context, std::nullopt, kExamples),
            std::optional<std::string>("Transfer function is not monotonic"));
  EXPECT_FALSE(config.TableLoaded);
}

TEST(TableDialogTest, ExampleAndSpan) {
  EXPECT_EQ(TableExampleLines(5, "Example")[2], ";  t[\u00B0C]   R[Ohm]");
  EXPECT_EQ(TableExampleLines(19, "Example")[2], ";  t[\u00B0C]   I[mA]");
  EXPECT_EQ(TableExampleLines(15, "Beispiel")[0], "; Beispiel:");
  EXPECT_EQ(TableExampleLines(16, "Example")[2], ";  t[\u00B0C]   V[mV]");

  ConversionState state;
  InputLimits limits;
  std::string reason;
  state.TableType = 16;
  ASSERT_TRUE(ParseTable({"0 0", "100 4"}, state, limits, reason));
  EXPECT_TRUE(TableSpanSufficient(state.Table, 16));
  EXPECT_FALSE(TableSpanSufficient(state.Table, 5));
}

TEST(SeriesDialogTest, CoefficientDisplayAndSignalFields) {
  EXPECT_EQ(FormatCoefficient(0.0005, '.'), "5.00000E-4");
  EXPECT_EQ(FormatCoefficient(0.5, '.'), "0.5");
  EXPECT_EQ(FormatCoefficient(0, ','), "0");
  EXPECT_EQ(FormatCoefficient(-1234567, '.'), "-1.23457E6");

  ModuleConfig config;
  InputLimits limits;
  config.Coefficients[9] = 4;
  config.Coefficients[10] = 20;
  EXPECT_EQ(CheckSeriesSignalField(DialogField::InMin, 3.9, config, 19, limits)->key, "Minimum out of range!");
  EXPECT_EQ(CheckSeriesSignalField(DialogField::InMin, 19.5, config, 19, limits)->key, "Input range too small!");
  EXPECT_EQ(CheckSeriesSignalField(DialogField::InMax, 20.5, config, 19, limits)->key, "Maximum out of range!");
  EXPECT_EQ(CheckSeriesSignalField(DialogField::InMax, 4.5, config, 19, limits)->key, "Input range too small!");
  EXPECT_EQ(CheckSeriesSignalField(DialogField::InMax, 5.0, config, 19, limits), std::nullopt);
}

}  // namespace
}  // namespace q5480
