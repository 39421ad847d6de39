// Parameters files made ready to build: read, then their tables read again
// or their series sampled again.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "conversion/build_image.h"
#include "service/stored_configuration.h"
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
  struct Case { const char* file; bool tableLoaded; int points, upperTenths; };
  for (const Case& c : {Case{"user_table_flow_4_20ma.par", true, 21, 1000},
                        {"user_table_thermocouple_x.par", true, 49, 12000},
                        {"thermocouple_k_0_1000.par", false, 0, 0}}) {
    SCOPED_TRACE(c.file);
    ModuleConfig config;
    InputLimits limits;
    ConversionState state;
    const ConversionContext context{config, limits, state};
    const StoredLoadResult result = LoadStoredConfiguration(kExamples / c.file, std::nullopt, context);
    ASSERT_EQ(result.status, StoredLoad::Ok) << result.message;
    EXPECT_EQ(config.TableLoaded, c.tableLoaded);
    if (c.tableLoaded) {
      EXPECT_EQ(std::tuple(state.TableType, state.Table.Count(), limits.UpperTenths(15)),
                std::tuple(config.Typ, c.points, c.upperTenths));
    }
    ModuleImage image;
    BuildFailure failure = BuildFailure::None;
    int segments = 0;
    ASSERT_TRUE(BuildModuleImage(context, image, 46000, failure, [&] { ++segments; }));
    EXPECT_EQ(segments, 200);
  }
}

TEST_F(StoredConfigurationTest, RefusedMissingAndUnreadable) {
  // A table that does not cover the stored range is refused.
  StoredLoadResult result = LoadStoredConfiguration(kExamples / "user_table_thermocouple_x.par",
                                                    Write("narrow.dat", "0 0\n500 20.6\n"), context);
  EXPECT_EQ(result.status, StoredLoad::UserDataRefused);
  EXPECT_EQ(result.message, "Corrupted or wrong data file!");
  EXPECT_FALSE(config.TableLoaded);
  std::filesystem::copy_file(kExamples / "user_table_flow_4_20ma.par", scratch / "flow.par");
  EXPECT_EQ(LoadStoredConfiguration(scratch / "flow.par", std::nullopt, context).status, StoredLoad::TableNotFound);
  EXPECT_EQ(LoadStoredConfiguration(Write("broken.par", "Typ=banana\n"), std::nullopt, context).status,
            StoredLoad::ParametersUnreadable);
}

}  // namespace
}  // namespace q5480
