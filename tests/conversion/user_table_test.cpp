// User tables: parsing with every check, look-ups, the parabola and limits,
// table files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "conversion/table_file.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

class UserTableTest : public ::testing::Test {
 protected:
  bool Parse(const std::vector<std::string>& lines, int tableType) {
    state.TableType = static_cast<std::uint8_t>(tableType);
    return ParseTable(lines, state, limits, reason);
  }
  UserTable& table() { return state.Table; }

  InputLimits limits;
  ConversionState state;
  std::string reason;
};

struct ParseCase {
  const char* name;
  std::vector<std::string> lines;
  int tableType;
  bool ok;
  const char* reason;
  int count;       // accepted points
  int failedLine;  // header y after a failure
};

TEST_F(UserTableTest, ParsingRulesAndReasons) {
  const ParseCase cases[] = {
      {"two points", {"0 100", "100 138.5"}, 5, true, "", 2, -1},
      {"semicolon separator", {"1.5;2,25", "3 4"}, 16, true, "", 2, -1},
      {"blank before semicolon", {"0 1", "1.5 ;2,25"}, 16, false, "", 1, 1},
      {"leading spaces", {"   1 2", "  2\t3"}, 16, true, "", 2, -1},
      {"leading tab", {"0 1", "\t1 2"}, 16, false, "", 1, 1},
      {"comments with numbers", {";5 5", "*6 6", "/7 7", "\"8 8", "", "1 2", "2 3"}, 16, true, "", 2, -1},
      {"short line", {"1 2", "3"}, 16, false, "", 1, 1},
      {"no second number", {"1 2", "3   "}, 16, false, "", 1, 1},
      {"not a number", {"1 2", "x 3"}, 16, false, "", 1, 1},
      {"first column neither rises nor falls", {"10 1", "5 2", "7 3"}, 16, false,
       "1st column values should rise or fall", 2, 2},
      {"equal first values", {"10 1", "10 2"}, 16, false, "1st column values should rise or fall", 1, 1},
      {"rising first column, falling signal", {"1 1", "2 2", "3 1"}, 16, false, "", 2, 2},
      {"falling first column, falling signal", {"3 1", "2 2", "1 1"}, 16, false, "Values should rise", 2, 2},
      {"falling first column", {"3 1", "2 2", "1 3"}, 16, true, "", 3, -1},
      {"falling temperatures", {"100 4", "50 2"}, 15, false, "Values should rise", 1, 1},
      {"voltage above 75 mV", {"0 0", "1000 80"}, 15, false, "Value out of range", 1, 1},
      {"temperature below -273", {"-274 -5", "0 0"}, 15, false, "Value out of range", 0, 0},
      {"signal outside the input type", {"0 0", "10 151"}, 16, false, "Value out of range", 1, 1},
      {"signal on the limit", {"0 -10", "10 150.0000005"}, 16, true, "", 2, -1},
      {"result below -1999", {"-1999.1 0", "10 1"}, 16, false, "Value out of range", 0, 0},
      {"one data line", {"; header", "1 2"}, 16, false, "Not enough points", 1, 1},
      {"single line", {"1 2"}, 16, false, "", 0, -1},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Parse(c.lines, c.tableType), c.ok);
    EXPECT_EQ(reason, c.ok ? "Not enough points" : c.reason);
    EXPECT_EQ(table().Count(), c.count);
    if (!c.ok && c.failedLine >= 0) {
      EXPECT_EQ(table()[0].y, c.failedLine);
    }
  }
}

TEST_F(UserTableTest, SemicolonSeparatedPointIsRead) {
  ASSERT_TRUE(Parse({"1.5;2,25", "3;4.5e1 rest is ignored"}, 16));
  EXPECT_EQ(table()[1].x, 1.5);
  EXPECT_EQ(table()[1].y, 2.25);
  EXPECT_EQ(table()[2].y, 45);
}

TEST_F(UserTableTest, OnlyTheFirst3000LinesAreRead) {
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) lines.push_back(std::to_string(i) + " " + std::to_string(i * 0.001));
  lines.push_back("garbage that would fail");
  ASSERT_TRUE(Parse(lines, 16));
  EXPECT_EQ(table().Count(), 3000);
}

TEST_F(UserTableTest, LookUpRisingAndFallingWithoutExtrapolation) {
  ASSERT_TRUE(Parse({"0 100", "100 138.5"}, 5));
  EXPECT_DOUBLE_EQ(TableValue(50, table()), 119.25);
  EXPECT_EQ(TableValue(-10, table()), 100);
  EXPECT_EQ(TableValue(200, table()), 138.5);

  ASSERT_TRUE(Parse({"100 0", "50 5", "0 20"}, 16));
  EXPECT_DOUBLE_EQ(TableValue(75, table()), 2.5);
  EXPECT_DOUBLE_EQ(TableValue(25, table()), 12.5);
  EXPECT_EQ(TableValue(150, table()), 0);
  EXPECT_EQ(TableValue(-5, table()), 20);
}

TEST_F(UserTableTest, ParabolaFromElevenPointsWhereSlopesAreAlike) {
  std::vector<std::string> lines;
  for (int x = 10; x <= 20; ++x) lines.push_back(std::to_string(x) + " " + std::to_string(x * x * 0.1));
  ASSERT_TRUE(Parse(lines, 16));
  EXPECT_NEAR(TableValue(12.5, table()), 15.625, 1e-9);  // exact on a parabola
  EXPECT_NEAR(TableValue(19.5, table()), 38.025, 1e-9);  // last segment too

  lines.pop_back();  // ten points: linear
  ASSERT_TRUE(Parse(lines, 16));
  EXPECT_NEAR(TableValue(12.5, table()), (14.4 + 16.9) / 2, 1e-9);

  // A kink (slopes differing by more than 3) keeps the line.
  ASSERT_TRUE(Parse({"0 0", "1 0.1", "2 0.2", "3 0.3", "4 0.4", "5 0.5", "6 5.5", "7 10.5", "8 15.5",
                     "9 20.5", "10 25.5"},
                    16));
  EXPECT_NEAR(TableValue(5.5, table()), 3.0, 1e-9);
}

TEST(ParabolaThroughTest, ExactOnAParabolaAndZeroOutside) {
  const auto f = [](double x) { return 2 * x * x - 3 * x + 1; };
  EXPECT_NEAR(ParabolaThrough(1, 2, 4, f(1), f(2), f(4), 3), f(3), 1e-12);
  EXPECT_NEAR(ParabolaThrough(4, 2, 1, f(4), f(2), f(1), 1.5), f(1.5), 1e-12);
  EXPECT_EQ(ParabolaThrough(1, 2, 4, f(1), f(2), f(4), 4.1), 0);
  EXPECT_NEAR(ParabolaThrough(1, 2, 4, f(1), f(2), f(4), 4.000001), f(4.000001), 1e-9);  // within the margin
}

TEST_F(UserTableTest, UserLimitsFromTheFirstColumn) {
  ASSERT_TRUE(Parse({"-10.04 0", "59.96 3"}, 15));
  SetUserRange(table(), limits);
  EXPECT_EQ(limits.LowerTenths(15), -100);
  EXPECT_EQ(limits.UpperTenths(15), 600);

  ASSERT_TRUE(Parse({"500 0", "-20.05 3"}, 16));  // falling: lower is still the smaller
  SetUserRange(table(), limits);
  EXPECT_EQ(limits.LowerTenths(15), -201);
  EXPECT_EQ(limits.UpperTenths(15), 5000);
}

class TableFileTest : public UserTableTest {
 protected:
  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("q5480_table_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + name);
    std::ofstream(path, std::ios::binary) << bytes;
    written.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const auto& path : written) std::filesystem::remove(path);
  }
  std::vector<std::filesystem::path> written;
};

TEST_F(TableFileTest, ReadsWindowsFilesAndPointsAtTheFailingLine) {
  state.TableType = 16;
  TableLoadResult result;
  const auto good = Write("good.dat", "; Tabela \xB9\xEA\r\n0 0\r\n50 5,5\r\n100 10\r\n");
  ASSERT_TRUE(LoadTableFile(good, state, limits, result));
  EXPECT_EQ(state.Table.Count(), 3);
  EXPECT_EQ(state.Table[2].y, 5.5);

  const auto bad = Write("bad.dat", "0 0\n\n; comment\n10 5\n5 6\n");
  EXPECT_FALSE(LoadTableFile(bad, state, limits, result));
  EXPECT_TRUE(result.opened);
  EXPECT_EQ(result.failedLine, 4);
  EXPECT_EQ(result.reason, "Values should rise");

  EXPECT_FALSE(LoadTableFile(std::filesystem::temp_directory_path() / "q5480_no_such.dat", state, limits, result));
  EXPECT_FALSE(result.opened);
}

TEST(TableFileBaseNameTest, CutsDirectoriesOfAnySystem) {
  EXPECT_EQ(TableFileBaseName("C:\\Tables\\pt100.dat"), "pt100.dat");
  EXPECT_EQ(TableFileBaseName("D:pt100.dat"), "pt100.dat");
  EXPECT_EQ(TableFileBaseName("/home/q/tables/pt100.dat"), "pt100.dat");
  EXPECT_EQ(TableFileBaseName("pt100.dat"), "pt100.dat");
}

TEST_F(TableFileTest, ReloadedTableMustCoverTheStoredRange) {
  ModuleConfig config;
  config.Typ = 16;
  config.Lin = kLinTable;
  config.MinInput = 0;
  config.MaxInput = 100;
  const ConversionContext context{config, limits, state};

  const auto narrow = Write("narrow.dat", "0 0\n100 3\n");
  EXPECT_EQ(ReloadUserData(context, narrow), std::optional<std::string>("Input range too small!"));
  EXPECT_FALSE(config.TableLoaded);

  const auto short_ = Write("short.dat", "0 0\n90 50\n");
  EXPECT_EQ(ReloadUserData(context, short_), std::optional<std::string>("Corrupted or wrong data file!"));
  EXPECT_FALSE(config.TableLoaded);

  const auto bad = Write("bad.dat", "0 0\n100 50\n90 60\n");
  EXPECT_EQ(ReloadUserData(context, bad),
            std::optional<std::string>("Corrupted or wrong data file!\n(Values should rise.)"));

  const auto good = Write("good.dat", "0 0\n100.0000004 50\n");
  EXPECT_EQ(ReloadUserData(context, good), std::nullopt);
  EXPECT_TRUE(config.TableLoaded);
  EXPECT_EQ(limits.UpperTenths(15), 1000);
}

}  // namespace
}  // namespace q5480
