// Configurations made ready to build: their tables read again or their
// series sampled again, from parameters files and as such.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "conversion/build_image.h"
#include "service/stored_configuration.h"
#include "service/user_data.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

const std::filesystem::path kExamples = std::filesystem::path(Q5480_SOURCE_DIR) / "examples";

class StoredConfigurationTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    test_support::WriteBytes(scratch / name, bytes);
    return scratch / name;
  }

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  ConversionContext context{config, limits, state};
  test_support::ScratchDirectory scratch;
};

TEST(StoredExamples, LoadWithTheirUserDataAndBuild) {
  struct Case {
    const char* file;
    bool tableLoaded;
    int points, upperTenths;
  };
  for (const Case& c : {Case{"user_table_flow_4_20ma.par", true, 21, 1000},
                        {"user_table_thermocouple_x.par", true, 49, 12000},
                        {"thermocouple_k_0_1000.par", false, 0, 0}}) {
    SCOPED_TRACE(c.file);
    ModuleConfig config;
    InputLimits limits;
    ConversionState state;
    const ConversionContext context{config, limits, state};
    const std::optional<Refusal> refused =
        LoadStoredConfiguration(kExamples / c.file, std::nullopt, {}, context);
    ASSERT_FALSE(refused) << RefusalMessage(*refused);
    EXPECT_EQ(config.TableLoaded, c.tableLoaded);
    if (c.tableLoaded) {
      EXPECT_EQ(std::tuple(state.TableType, state.Table.Count(), limits.UpperTenths(15)),
                std::tuple(config.Typ, c.points, c.upperTenths));
    }
    ModuleImage image;
    int segments = 0;
    ASSERT_EQ(BuildModuleImage(context, image, 46000, [&] { ++segments; }), std::nullopt);
    EXPECT_EQ(segments, 200);
  }
}

TEST_F(StoredConfigurationTest, RefusedMissingAndUnreadable) {
  // A table that does not cover the stored range is refused.
  const Refusal corrupted{.key = "Corrupted or wrong data file", .exclamation = true};
  EXPECT_EQ(
      LoadStoredConfiguration(kExamples / "user_table_thermocouple_x.par",
                              Write("narrow.dat", "0 0\n500 20.6\n"), scratch.Path(), context),
      corrupted);
  EXPECT_FALSE(config.TableLoaded);
  std::filesystem::copy_file(kExamples / "user_table_flow_4_20ma.par", scratch / "flow.par");
  EXPECT_EQ(LoadStoredConfiguration(scratch / "flow.par", std::nullopt, scratch.Path(), context),
            Refusal{.key = "Cannot open file"});
  EXPECT_EQ(LoadStoredConfiguration(Write("broken.par", "Typ=banana\n"), std::nullopt,
                                    scratch.Path(), context),
            corrupted);
}

TEST_F(StoredConfigurationTest, ATableReadAgainMustCoverTheStoredRange) {
  config.Typ = 16;
  config.Lin = kLinTable;
  config.File = "C:\\tables\\volts.dat";
  config.MinInput = 0;
  config.MaxInput = 100;
  struct Case {
    const char* bytes;
    UserDataStatus status;
    const char* reason;
  };
  for (const Case& c :
       {Case{"0 0\n100 3\n", UserDataStatus::RangeTooSmall, ""},
        {"0 0\n90 50\n", UserDataStatus::RangeOutsideTable, ""},
        {"0 0\n100 50\n90 60\n", UserDataStatus::TableRefused, "Values should rise"},
        {"0 0\n100.0000004 50\n", UserDataStatus::Ready, ""}}) {
    SCOPED_TRACE(c.bytes);
    limits.SetUserTenths(-7, 7);
    const UserDataResult result = RestoreUserData(context, {{}, Write("table.dat", c.bytes)});
    EXPECT_EQ(std::pair(result.status, result.refusal.detail),
              std::pair(c.status, std::string(c.reason)));
    EXPECT_EQ(config.TableLoaded, c.status == UserDataStatus::Ready);
    // A refused table leaves the limits it found.
    const int upper = c.status == UserDataStatus::Ready ? 1000 : 7;
    EXPECT_EQ(limits.UpperTenths(15), upper);
  }
  EXPECT_EQ(config.File, "volts.dat")
      << "the stored name without its folder, as the image keeps it";

  // By the stored name, from the first folder that has it, when agreed.
  Write("volts.dat", "0 0\n100 50\n");
  const std::vector<std::filesystem::path> folders{scratch / "elsewhere", scratch.Path()};
  std::filesystem::path asked;
  const auto agree = [&](const std::filesystem::path& file) { return !(asked = file).empty(); };
  EXPECT_EQ(RestoreUserData(context, {folders, std::nullopt}, agree).status, UserDataStatus::Ready);
  EXPECT_EQ(asked, scratch / "volts.dat");
  EXPECT_EQ(
      RestoreUserData(context, {folders, std::nullopt}, [](const auto&) { return false; }).status,
      UserDataStatus::Declined);
  EXPECT_FALSE(config.TableLoaded);
  EXPECT_EQ(RestoreUserData(context, {{scratch / "elsewhere"}, std::nullopt}).status,
            UserDataStatus::TableNotFound);
}

TEST_F(StoredConfigurationTest, AStoredSeriesIsSampledAgain) {
  config.Typ = 19;
  config.Lin = kLinSeries;
  config.Coefficients = {-25, 6.25, 0.01, 0, 0, 0, 0, 0, 0, 4, 20};
  config.MinInput = 0;
  config.MaxInput = 100;
  EXPECT_EQ(RestoreUserData(context, {}).status, UserDataStatus::Ready);
  EXPECT_TRUE(config.TableLoaded);
  ASSERT_EQ(state.Table.Count(), 801);  // (P(x), x) at 801 signals from 4 to 20 mA
  for (int k : {1, 400, 801}) {
    const double x = 4 + (k - 1) * 0.02;
    EXPECT_NEAR(state.Table[k].y, x, 1e-12);
    EXPECT_NEAR(state.Table[k].x, -25 + 6.25 * x + 0.01 * x * x, 1e-12);
  }
  config.Coefficients[1] = -0.2;  // falls, then rises: refused with its reason, nothing stored
  const UserDataResult refused = RestoreUserData(context, {});
  EXPECT_EQ(
      std::pair(refused.status, refused.refusal.key),
      std::pair(UserDataStatus::SeriesRefused, std::string("Transfer function is not monotonic")));
  EXPECT_FALSE(config.TableLoaded);
  EXPECT_EQ(state.Table.Count(), 801);
  EXPECT_NEAR(state.Table[400].y, 4 + 399 * 0.02, 1e-12);
}

}  // namespace
}  // namespace q5480
