// User tables: parsing with every check, look-ups, the parabola and limits;
// table files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "conversion/table_file.h"
#include "conversion/user_table.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

class UserTableTest : public ::testing::Test {
 protected:
  bool Parse(const std::vector<std::string>& lines, int tableType) {
    state.TableType = static_cast<std::uint8_t>(tableType);
    refusal = ParseTable(lines, state, limits);
    return !refusal;
  }
  UserTable& table() { return state.Table; }
  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    test_support::WriteBytes(scratch / name, bytes);
    return scratch / name;
  }

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  ConversionContext context{config, limits, state};
  std::optional<Refusal> refusal;
  test_support::ScratchDirectory scratch;
};

// A table file's refusal: always the one message, with the parser's reason.
Refusal Corrupted(const std::string& reason) {
  return {.key = "Corrupted or wrong data file", .exclamation = true, .detail = reason};
}

TEST_F(UserTableTest, ParsingRulesAndReasons) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    int tableType;
    bool ok;
    const char* reason;
    int count, failedLine;  // accepted points; header y after a failure
  };
  const Case cases[] = {
      {"two points", {"0 100", "100 138.5"}, 5, true, "", 2, -1},
      {"semicolon separator", {"1.5;2,25", "3 4"}, 16, true, "", 2, -1},
      {"blank before semicolon", {"0 1", "1.5 ;2,25"}, 16, false, "", 1, 1},
      {"leading spaces", {"   1 2", "  2\t3"}, 16, true, "", 2, -1},
      {"leading tab", {"0 1", "\t1 2"}, 16, false, "", 1, 1},
      {"comments with numbers",
       {";5 5", "*6 6", "/7 7", "\"8 8", "", "1 2", "2 3"},
       16,
       true,
       "",
       2,
       -1},
      {"short line", {"1 2", "3"}, 16, false, "", 1, 1},
      {"no second number", {"1 2", "3   "}, 16, false, "", 1, 1},
      {"not a number", {"1 2", "x 3"}, 16, false, "", 1, 1},
      {"first column neither rises nor falls",
       {"10 1", "5 2", "7 3"},
       16,
       false,
       "1st column values should rise or fall",
       2,
       2},
      {"equal first values",
       {"10 1", "10 2"},
       16,
       false,
       "1st column values should rise or fall",
       1,
       1},
      {"rising first column, falling signal", {"1 1", "2 2", "3 1"}, 16, false, "", 2, 2},
      {"falling first column, falling signal",
       {"3 1", "2 2", "1 1"},
       16,
       false,
       "Values should rise",
       2,
       2},
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
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Parse(c.lines, c.tableType), c.ok);
    EXPECT_EQ(refusal, c.ok ? std::nullopt : std::optional(Corrupted(c.reason)));
    EXPECT_EQ(table().Count(), c.count);
    if (!c.ok && c.failedLine >= 0) { EXPECT_EQ(table()[0].y, c.failedLine); }
  }
  ASSERT_TRUE(Parse({"1.5;2,25", "3;4.5e1 rest is ignored"}, 16));
  EXPECT_EQ(std::tuple(table()[1].x, table()[1].y, table()[2].y), std::tuple(1.5, 2.25, 45.0));
  std::vector<std::string> lines;  // only the first 3000 lines are read
  for (int i = 0; i < 3000; ++i)
    lines.push_back(std::to_string(i) + " " + std::to_string(i * 0.001));
  lines.push_back("garbage that would fail");
  ASSERT_TRUE(Parse(lines, 16));
  EXPECT_EQ(table().Count(), 3000);
}

TEST_F(UserTableTest, LookUpWithoutExtrapolation) {
  ASSERT_TRUE(Parse({"0 100", "100 138.5"}, 5));
  for (const auto& [x, y] : {std::pair{50.0, 119.25}, {-10.0, 100.0}, {200.0, 138.5}}) {
    EXPECT_DOUBLE_EQ(TableValue(x, table()), y) << x;
  }
  ASSERT_TRUE(Parse({"100 0", "50 5", "0 20"}, 16));  // falling
  for (const auto& [x, y] : {std::pair{75.0, 2.5}, {25.0, 12.5}, {150.0, 0.0}, {-5.0, 20.0}}) {
    EXPECT_DOUBLE_EQ(TableValue(x, table()), y) << x;
  }
}

TEST_F(UserTableTest, ParabolaFromElevenPointsWhereSlopesAreAlike) {
  std::vector<std::string> lines;
  for (int x = 10; x <= 20; ++x)
    lines.push_back(std::to_string(x) + " " + std::to_string(x * x * 0.1));
  ASSERT_TRUE(Parse(lines, 16));
  EXPECT_NEAR(TableValue(12.5, table()), 15.625, 1e-9);  // exact on a parabola
  EXPECT_NEAR(TableValue(19.5, table()), 38.025, 1e-9);  // last segment too
  lines.pop_back();                                      // ten points: linear
  ASSERT_TRUE(Parse(lines, 16));
  EXPECT_NEAR(TableValue(12.5, table()), (14.4 + 16.9) / 2, 1e-9);
  // A kink (slopes differing by more than 3, either way) keeps the line.
  ASSERT_TRUE(Parse({"0 0", "10 0.1", "20 0.2", "30 0.3", "40 0.4", "50 0.5", "60 5.5", "70 10.5",
                     "80 15.5", "90 15.6", "100 15.7"},
                    16));
  EXPECT_NEAR(TableValue(45, table()), 0.45, 1e-9);
  EXPECT_NEAR(TableValue(75, table()), 13, 1e-9);

  const auto f = [](double x) { return 2 * x * x - 3 * x + 1; };
  EXPECT_NEAR(ParabolaThrough(4, 2, 1, f(4), f(2), f(1), 1.5), f(1.5), 1e-12);
  EXPECT_EQ(ParabolaThrough(1, 2, 4, f(1), f(2), f(4), 4.1), 0);  // outside
  EXPECT_NEAR(ParabolaThrough(1, 2, 4, f(1), f(2), f(4), 4.000001), f(4.000001),
              1e-9);  // within the margin
}

TEST_F(UserTableTest, UserLimitsFromTheFirstColumn) {
  ASSERT_TRUE(Parse({"-10.04 0", "59.96 3"}, 15));
  SetUserRange(table(), limits);
  EXPECT_EQ(std::pair(limits.LowerTenths(15), limits.UpperTenths(15)), std::pair(-100, 600));
  ASSERT_TRUE(Parse({"500 0", "-20.05 3"}, 16));  // falling: lower is still the smaller
  SetUserRange(table(), limits);
  EXPECT_EQ(std::pair(limits.LowerTenths(15), limits.UpperTenths(15)), std::pair(-201, 5000));
}

TEST_F(UserTableTest, DialogHelpersAndFileNames) {
  EXPECT_EQ(TableExampleLines(5, "Example")[2], ";  t[\u00B0C]   R[Ohm]");
  EXPECT_EQ(TableExampleLines(19, "Example")[2], ";  t[\u00B0C]   I[mA]");
  EXPECT_EQ(TableExampleLines(16, "Example")[2], ";  t[\u00B0C]   V[mV]");
  EXPECT_EQ(TableExampleLines(15, "Beispiel")[0], "; Beispiel:");
  ASSERT_TRUE(Parse({"0 0", "100 4"}, 16));
  EXPECT_TRUE(TableSpanSufficient(table(), 16));  // 4 mV: just enough
  EXPECT_FALSE(TableSpanSufficient(table(), 5));  // resistance needs 12 ohms
  for (const char* name :
       {"C:\\Tables\\pt100.dat", "D:pt100.dat", "/home/q/tables/pt100.dat", "pt100.dat"}) {
    EXPECT_EQ(TableFileBaseName(name), "pt100.dat") << name;
  }
}

TEST_F(UserTableTest, TableFilesReadWindowsTextAndPointAtTheFailingLine) {
  state.TableType = 16;
  const auto windows = Write("good.dat", "; Tabela \xB9\xEA\r\n0 0\r\n50 5,5\r\n100 10\r\n");
  ASSERT_EQ(LoadTableFile(windows, state, limits), std::nullopt);
  EXPECT_EQ(std::pair(state.Table.Count(), state.Table[2].y), std::pair(3, 5.5));
  EXPECT_EQ(LoadTableFile(Write("bad.dat", "0 0\n\n; comment\n10 5\n5 6\n"), state, limits),
            Corrupted("Values should rise"));
  EXPECT_EQ(FailingTableLine(state.Table, 5), 4);
  // No line to point at: the first line failed, or the file has a single
  // line (which fails before any is read, whatever the header held before).
  EXPECT_EQ(LoadTableFile(Write("first.dat", "x 0\n1 1\n"), state, limits), Corrupted(""));
  EXPECT_EQ(FailingTableLine(state.Table, 2), std::nullopt);
  state.Table[0].y = 1;
  EXPECT_EQ(LoadTableFile(Write("single.dat", "0 0"), state, limits), Corrupted(""));
  EXPECT_EQ(FailingTableLine(state.Table, 1), std::nullopt);
  EXPECT_EQ(LoadTableFile(scratch / "no_such.dat", state, limits),
            Refusal{.key = "Cannot open file"});
}

}  // namespace
}  // namespace q5480
