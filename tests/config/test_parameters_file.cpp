#include "config/parameters_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "config/line_buffer.h"
#include "config/text.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

using test_support::ReadBytes;
using test_support::ScratchDirectory;
using test_support::WriteBytes;

// A type K thermocouple file as the program writes it on a computer set up
// for Polish (comma as the decimal separator).
std::vector<std::string> ReferenceLines() {
  return {"Parametry miernika serii Q5480",
          "",
          "Device=Q5495",
          "",
          "Czujnik:",
          "Typ=10",
          "Tryb=7",
          "Lin=2",
          "",
          "",
          "Parametry:",
          "MinInput=-50,5",
          "MaxInput=1000",
          "RoomT=22,5",
          "ZeroReg=0,0125",
          "GainReg=-0,5",
          "FiltrZakres=10",
          "FiltrCzas=20",
          "FiltrLimit=5",
          "Burnout=1",
          "Siec=60",
          "Jednostki=8",
          "",
          "Informacje:",
          "Factory:",
          "serial=1234567",
          "data=06.12.2026",
          "User:",
          "kod=PIEC-2",
          "ogolne=Strefa górna",
          "ogolne1=",
          "",
          "",
          "",
          "",
          "",
          "",
          "",
          "",
          "",
          "",
          "",
          "",
          "Kropka=1"};
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToCp1250(text);
}

// Replaces the line of `key` (matched as the reader matches) or removes it.
std::vector<std::string> With(std::vector<std::string> lines, const std::string& key,
                              std::optional<std::string> value) {
  for (auto it = lines.begin(); it != lines.end(); ++it) {
    if (FindKeyValue({*it}, key)) {
      if (value)
        *it = key + "=" + *value;
      else
        lines.erase(it);
      return lines;
    }
  }
  if (value) lines.push_back(key + "=" + *value);
  return lines;
}

struct ReadResult {
  bool ok = false;
  ModuleConfig config;
  InputLimits limits;
  std::string dataDir;
};

ReadResult ReadLines(const std::vector<std::string>& lines) {
  ScratchDirectory dir;
  WriteBytes(dir / "file.par", Join(lines));
  ReadResult result;
  result.ok = ReadParametersFile(dir / "file.par", result.config, result.limits, result.dataDir);
  return result;
}

TEST(ReadParametersFile, ReadsEveryField) {
  ReadResult r = ReadLines(ReferenceLines());
  ASSERT_TRUE(r.ok);
  const ModuleConfig& c = r.config;
  EXPECT_EQ(c.Device, "Q5495");
  EXPECT_EQ(c.Typ, 10);
  EXPECT_EQ(c.Tryb, 7);
  EXPECT_EQ(c.Lin, 2);
  EXPECT_EQ(c.File, "");
  EXPECT_DOUBLE_EQ(c.MinInput, -50.5);
  EXPECT_DOUBLE_EQ(c.MaxInput, 1000);
  EXPECT_DOUBLE_EQ(c.RoomT, 22.5);
  EXPECT_DOUBLE_EQ(c.ZeroReg, 0.0125);
  EXPECT_DOUBLE_EQ(c.GainReg, -0.5);
  EXPECT_EQ(c.FiltrZakres, 10);
  EXPECT_EQ(c.FiltrCzas, 20);
  EXPECT_EQ(c.FiltrLimit, 5);
  EXPECT_EQ(c.Burnout, 1);
  EXPECT_EQ(c.Siec, 60);
  EXPECT_EQ(c.Jednostki, 8);
  EXPECT_EQ(c.serial, "1234567");
  EXPECT_EQ(c.data, "06.12.2026");
  EXPECT_EQ(c.kod, "PIEC-2");
  EXPECT_EQ(c.ogolne, "Strefa górna");
  EXPECT_EQ(c.Kropka, 1);
}

// Order, headings, extra lines, letter case and decimal point do not matter.
TEST(ReadParametersFile, LayoutOfTheFileDoesNotMatter) {
  std::vector<std::string> shuffled;
  for (const std::string& line : ReferenceLines()) {
    if (line.find('=') == std::string::npos) continue;
    std::string key = line.substr(0, line.find('='));
    std::string value = line.substr(line.find('=') + 1);
    for (char& ch : value) {
      if (ch == ',') ch = '.';
    }
    shuffled.insert(shuffled.begin(),
                    Utf8ToLower(key) == "typ" ? "TYP=" + value : key + "=" + value);
  }
  shuffled.insert(shuffled.begin() + 3, "Comment=added by hand");
  shuffled.insert(shuffled.begin(), "Another heading");
  ReadResult reference = ReadLines(ReferenceLines());
  ReadResult other = ReadLines(shuffled);
  ASSERT_TRUE(other.ok);
  RegionalSettings regional;
  EXPECT_EQ(ComposeParametersFile(other.config, regional).Lines(),
            ComposeParametersFile(reference.config, regional).Lines());
}

TEST(ReadParametersFile, OptionalKeysDefaultToZeroAndEmpty) {
  auto lines =
      With(With(With(ReferenceLines(), "FiltrLimit", std::nullopt), "Kropka", std::nullopt), "File",
           "C:\\Tabele\\old.dat");
  ReadResult withFile = ReadLines(lines);
  ASSERT_TRUE(withFile.ok);
  EXPECT_EQ(withFile.config.FiltrLimit, 0);
  EXPECT_EQ(withFile.config.Kropka, 0);
  EXPECT_EQ(withFile.config.File, "C:\\Tabele\\old.dat");

  ReadResult withoutFile = ReadLines(With(lines, "File", std::nullopt));
  ASSERT_TRUE(withoutFile.ok);
  EXPECT_EQ(withoutFile.config.File, "");
  // A name longer than the record holds is stored as no name.
  EXPECT_EQ(ReadLines(With(lines, "File", std::string(62, 'f'))).config.File, "");
  EXPECT_EQ(ReadLines(With(lines, "File", std::string(61, 'f'))).config.File, std::string(61, 'f'));
}

TEST(ReadParametersFile, EveryRequiredKeyIsNeeded) {
  for (const char* key : {"Device", "serial", "data", "kod", "ogolne", "ogolne1", "Typ", "Tryb",
                          "Lin", "MinInput", "MaxInput", "RoomT", "ZeroReg", "GainReg",
                          "FiltrZakres", "FiltrCzas", "Burnout", "Siec", "Jednostki"}) {
    EXPECT_FALSE(ReadLines(With(ReferenceLines(), key, std::nullopt)).ok) << "without " << key;
  }
  // A number that does not convert counts as missing.
  for (const char* key : {"Typ", "MinInput", "RoomT", "Siec"}) {
    EXPECT_FALSE(ReadLines(With(ReferenceLines(), key, "1,2,3x")).ok) << key;
    EXPECT_FALSE(ReadLines(With(ReferenceLines(), key, "")).ok) << key;
  }
}

TEST(ReadParametersFile, ConversionCoefficientsAreRequiredAboveLin2) {
  auto lines = With(With(ReferenceLines(), "Typ", "19"), "Lin", "4");
  const char* coefficientKeys[] = {"LinA", "LinB", "LinC", "LinD", "LinE", "LinF",
                                   "LinG", "LinH", "LinI", "LinJ", "LinK"};
  EXPECT_FALSE(ReadLines(lines).ok);
  for (int i = 0; i < 11; ++i) lines = With(lines, coefficientKeys[i], std::to_string(i) + ",5");
  lines = With(With(lines, "LinJ", "100"), "LinK", "-20,25");
  ReadResult r = ReadLines(lines);
  ASSERT_TRUE(r.ok);
  EXPECT_DOUBLE_EQ(r.config.Coefficients[0], 0.5);
  EXPECT_DOUBLE_EQ(r.config.Coefficients[8], 8.5);
  // The limits of the user characteristic, in tenths, rounded halves to even.
  EXPECT_EQ(r.limits.LowerTenths(15), -202);
  EXPECT_EQ(r.limits.UpperTenths(15), 1000);

  for (const char* key : coefficientKeys) {
    EXPECT_FALSE(ReadLines(With(lines, key, std::nullopt)).ok) << "without " << key;
  }
  // Up to Lin 2 the coefficients are not needed and not read.
  ReadResult table = ReadLines(With(lines, "Lin", "2"));
  ASSERT_TRUE(table.ok);
  EXPECT_EQ(table.config.Coefficients, ModuleConfig{}.Coefficients);
}

TEST(ReadParametersFile, IntegersRoundHalvesToEvenAndMustFit) {
  struct Case {
    const char* key;
    const char* value;
    bool ok;
  };
  const Case cases[] = {
      {"FiltrCzas", "12,6", true},
      {"FiltrCzas", "12.5", true},
      {"Typ", "255", true},
      {"Typ", "256", false},
      {"Typ", "-1", false},
      {"Tryb", "255,5", false},  // rounds to 256
      {"Lin", "-0,5", true},     // rounds to 0
      {"FiltrZakres", "2147483647", true},
      {"FiltrZakres", "2147483648", false},
      {"Siec", "-2147483648", true},
      {"Siec", "-2147483649", false},
      {"Jednostki", "1e300", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadLines(With(ReferenceLines(), c.key, c.value)).ok, c.ok)
        << c.key << "=" << c.value;
  }
  EXPECT_EQ(ReadLines(With(ReferenceLines(), "FiltrCzas", "12,6")).config.FiltrCzas, 13);
  EXPECT_EQ(ReadLines(With(ReferenceLines(), "FiltrCzas", "12.5")).config.FiltrCzas, 12);
  EXPECT_EQ(ReadLines(With(ReferenceLines(), "FiltrCzas", "13.5")).config.FiltrCzas, 14);
}

TEST(ReadParametersFile, TextsAreCutToTheirFields) {
  auto lines = With(ReferenceLines(), "Device", "Q5495-XL");
  lines = With(lines, "serial", "123456789012");
  lines = With(lines, "data", "06.12.2026 12:00");
  lines = With(lines, "kod", "Łódź-Bałuty-Piec-Nr-2");
  lines = With(lines, "ogolne", std::string(40, 'a'));
  lines = With(lines, "ogolne1", "żółw" + std::string(40, 'b'));
  ReadResult r = ReadLines(lines);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.config.Device, "Q5495");
  EXPECT_EQ(r.config.serial, "1234567890");
  EXPECT_EQ(r.config.data, "06.12.2026");
  EXPECT_EQ(r.config.kod, "Łódź-Bałuty-Pie");
  EXPECT_EQ(r.config.ogolne, std::string(40, 'a') + "żółw" + std::string(17, 'b'));
  EXPECT_EQ(CharCount(r.config.ogolne), 61u);
}

TEST(ReadParametersFile, FailureKeepsWhatWasReadAndAppliesTheConsistencyRules) {
  auto lines = With(With(ReferenceLines(), "RoomT", "99"), "Siec", std::nullopt);
  ReadResult r = ReadLines(lines);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.config.Device, "Q5495");  // read before the missing key
  EXPECT_EQ(r.config.FiltrCzas, 20);
  EXPECT_DOUBLE_EQ(r.config.RoomT, 25.0);  // out of range: replaced
  EXPECT_EQ(r.config.Jednostki, 0);        // after the missing key: untouched

  ScratchDirectory dir;
  ModuleConfig config;
  config.Typ = 0;
  config.RoomT = -5;
  InputLimits limits;
  std::string dataDir = "old";
  EXPECT_FALSE(ReadParametersFile(dir / "missing.par", config, limits, dataDir));
  EXPECT_EQ(config.Typ, 20);
  EXPECT_DOUBLE_EQ(config.RoomT, 25.0);
  EXPECT_EQ(dataDir, dir.Path().string());  // set before reading, whatever the outcome
}

TEST(ParametersFile, DataDirectoryLongerThan60CharactersIsDropped) {
  ScratchDirectory dir;
  const std::string base = dir.Path().string();
  ASSERT_LT(base.size(), 58u);
  const auto shortDir = dir.Path() / std::string(60 - base.size() - 1, 's');
  const auto longDir = dir.Path() / std::string(60 - base.size(), 'l');
  for (const auto& folder : {shortDir, longDir}) {
    std::filesystem::create_directory(folder);
    WriteBytes(folder / "a.par", Join(ReferenceLines()));
  }
  ASSERT_EQ(shortDir.string().size(), 60u);

  ModuleConfig config;
  InputLimits limits;
  std::string dataDir;
  ASSERT_TRUE(ReadParametersFile(shortDir / "a.par", config, limits, dataDir));
  EXPECT_EQ(dataDir, shortDir.string());
  ASSERT_TRUE(ReadParametersFile(longDir / "a.par", config, limits, dataDir));
  EXPECT_EQ(dataDir, "");
  dataDir = "x";
  ASSERT_TRUE(WriteParametersFile(longDir / "b.par", config, RegionalSettings{}, dataDir));
  EXPECT_EQ(dataDir, "");
  ASSERT_TRUE(WriteParametersFile(shortDir / "b.par", config, RegionalSettings{}, dataDir));
  EXPECT_EQ(dataDir, shortDir.string());
}

ModuleConfig LinearConfig() {
  ModuleConfig c;
  c.Device = "Q5491";
  c.Typ = 19;
  c.Tryb = 0;
  c.Lin = 4;
  c.MinInput = 0;
  c.MaxInput = 100;
  c.ZeroReg = 0.000001;
  c.GainReg = -1.25;
  c.FiltrCzas = 375;
  c.Jednostki = 9;
  c.serial = "42";
  c.data = "never";
  c.kod = "FT-101";
  c.ogolne = "Przepływ wody chłodzącej, linia 3, pompa P-17";  // 45 characters
  c.Coefficients = {4, 0.16, 1.5e-7, -2.5e20, 0, 0, 0, 0, 0, 0, 100};
  c.File = "C:\\Tabele\\ignored.dat";
  c.TableLoaded = true;  // but neither Typ 15 nor Lin 2: no File line
  return c;
}

TEST(WriteParametersFile, WritesExactly44CrLfLines) {
  ScratchDirectory dir;
  std::string dataDir;
  RegionalSettings comma;
  comma.decimalSeparator = ',';
  ASSERT_TRUE(WriteParametersFile(dir / "lin.par", LinearConfig(), comma, dataDir));
  const std::string bytes = ReadBytes(dir / "lin.par");
  const std::vector<std::string> expected = {"Parametry miernika serii Q5480",
                                             "",
                                             "Device=Q5491",
                                             "",
                                             "Czujnik:",
                                             "Typ=19",
                                             "Tryb=0",
                                             "Lin=4",
                                             "",
                                             "",
                                             "Parametry:",
                                             "MinInput=0",
                                             "MaxInput=100",
                                             "RoomT=25",
                                             "ZeroReg=1E-6",
                                             "GainReg=-1,25",
                                             "FiltrZakres=0",
                                             "FiltrCzas=375",
                                             "FiltrLimit=0",
                                             "Burnout=0",
                                             "Siec=50",
                                             "Jednostki=9",
                                             "",
                                             "Informacje:",
                                             "Factory:",
                                             "serial=42",
                                             "data=never",
                                             "User:",
                                             "kod=FT-101",
                                             "ogolne=Przepływ wody chłodzącej, lini",
                                             "ogolne1=a 3, pompa P-17",
                                             "",
                                             "LinA=4",
                                             "LinB=0,16",
                                             "LinC=1,5E-7",
                                             "LinD=-2,5E20",
                                             "LinE=0",
                                             "LinF=0",
                                             "LinG=0",
                                             "LinH=0",
                                             "LinI=0",
                                             "LinJ=0",
                                             "LinK=100",
                                             "Kropka=0"};
  EXPECT_EQ(bytes, Join(expected));
  EXPECT_EQ(dataDir, dir.Path().string());
}

TEST(WriteParametersFile, FileLineOnlyForALoadedTable) {
  struct Case {
    std::uint8_t typ;
    std::uint8_t lin;
    bool loaded;
    const char* file;
    const char* line8;
  };
  const Case cases[] = {
      {15, 1, true, "C:\\Tabele\\termopara.dat", "File=termopara.dat"},
      {19, 2, true, "D:tabela.dat", "File=tabela.dat"},
      {19, 2, true, "/home/jan/tabele/t.dat", "File=t.dat"},
      {19, 2, true, "plain.dat", "File=plain.dat"},
      {19, 2, false, "plain.dat", ""},
      {15, 1, false, "plain.dat", ""},
      {19, 4, true, "plain.dat", ""},
  };
  for (const Case& c : cases) {
    ModuleConfig config;
    config.Typ = c.typ;
    config.Lin = c.lin;
    config.TableLoaded = c.loaded;
    config.File = c.file;
    EXPECT_EQ(ComposeParametersFile(config, RegionalSettings{}).Lines()[8], c.line8) << c.file;
  }
  ModuleConfig plain;
  plain.Lin = 2;
  const auto lines = ComposeParametersFile(plain, RegionalSettings{}).Lines();
  for (std::size_t i = 32; i <= 42; ++i) EXPECT_EQ(lines[i], "") << i;
}

TEST(ParametersFile, RoundTripsUnderEitherSeparator) {
  const ModuleConfig written = LinearConfig();
  for (char writtenWith : {',', '.'}) {
    ScratchDirectory dir;
    RegionalSettings regional;
    regional.decimalSeparator = writtenWith;
    std::string dataDir;
    ASSERT_TRUE(WriteParametersFile(dir / "x.par", written, regional, dataDir));
    ReadResult r;
    ASSERT_TRUE(ReadParametersFile(dir / "x.par", r.config, r.limits, r.dataDir));
    EXPECT_EQ(r.config.ogolne, written.ogolne);  // 45 characters, split and joined
    EXPECT_EQ(r.config.Coefficients, written.Coefficients);
    EXPECT_EQ(r.config.ZeroReg, written.ZeroReg);
    EXPECT_EQ(r.config.GainReg, written.GainReg);
    EXPECT_EQ(r.config.FiltrCzas, written.FiltrCzas);
    for (char shownWith : {',', '.'}) {
      RegionalSettings shown;
      shown.decimalSeparator = shownWith;
      EXPECT_EQ(ComposeParametersFile(r.config, shown).Lines()[36],
                ComposeParametersFile(written, shown).Lines()[36]);
    }
  }
}

TEST(WriteParametersFile, KeepsSixtyCharactersOfTheUserInformation) {
  ModuleConfig config;
  config.ogolne = std::string(30, 'a') + std::string(30, 'b') + "c";
  const auto lines = ComposeParametersFile(config, RegionalSettings{}).Lines();
  EXPECT_EQ(lines[29], "ogolne=" + std::string(30, 'a'));
  EXPECT_EQ(lines[30], "ogolne1=" + std::string(30, 'b'));
}

TEST(WriteParametersFile, FailureChangesNothing) {
  ScratchDirectory dir;
  const auto file = dir / "keep.par";
  WriteBytes(file, Join(ReferenceLines()));
  std::string dataDir = "unchanged";

  ModuleConfig broken = LinearConfig();
  broken.Coefficients[2] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(WriteParametersFile(file, broken, RegionalSettings{}, dataDir));
  broken = LinearConfig();
  broken.MaxInput = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(WriteParametersFile(file, broken, RegionalSettings{}, dataDir));
  EXPECT_FALSE(
      WriteParametersFile(dir / "missing" / "x.par", LinearConfig(), RegionalSettings{}, dataDir));

  EXPECT_EQ(ReadBytes(file), Join(ReferenceLines()));
  EXPECT_EQ(dataDir, "unchanged");
  EXPECT_EQ(dir.EntryCount(), 1u);
}

}  // namespace
}  // namespace q5480
