#include "config/parameters_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "config/line_buffer.h"
#include "config/path_text.h"
#include "config/text.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

using test_support::ReadBytes;
using test_support::ScratchDirectory;
using test_support::WriteBytes;

const RegionalSettings kComma{',', "hh:mm:ss"};

// A current input with a linear conversion. TableLoaded, but neither Typ 15
// nor Lin 2: no File line.
ModuleConfig LinearConfig() {
  ModuleConfig c;
  std::tie(c.Device, c.serial, c.data, c.kod, c.File) =
      std::tuple("Q5491", "42", "never", "FT-101", "C:\\Tabele\\ignored.dat");
  c.ogolne = "Przepływ wody chłodzącej - linia 3 - pompa P-17";  // 47 characters
  std::tie(c.Typ, c.Lin, c.FiltrCzas, c.FiltrLimit, c.Burnout, c.Jednostki, c.Kropka) =
      std::tuple(19, 4, 375, 5, 1, 9, 1);
  std::tie(c.MaxInput, c.ZeroReg, c.GainReg) = std::tuple(100, 0.000001, -1.25);
  c.Coefficients = {4, 0.16, 1.5e-7, -2.5e20, 0.123456789012345, 0, 0, 0, 0, 0, 100};
  c.TableLoaded = true;
  return c;
}

// Its file as the program writes it on a computer set up for Polish.
std::vector<std::string> LinearLines() {
  return {"Parametry miernika serii Q5480",
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
          "FiltrLimit=5",
          "Burnout=1",
          "Siec=50",
          "Jednostki=9",
          "",
          "Informacje:",
          "Factory:",
          "serial=42",
          "data=never",
          "User:",
          "kod=FT-101",
          "ogolne=Przepływ wody chłodzącej - lin",
          "ogolne1=ia 3 - pompa P-17",
          "",
          "LinA=4",
          "LinB=0,16",
          "LinC=1,5E-7",
          "LinD=-2,5E20",
          "LinE=0,123456789012345",
          "LinF=0",
          "LinG=0",
          "LinH=0",
          "LinI=0",
          "LinJ=0",
          "LinK=100",
          "Kropka=1"};
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToCp1250(text);
}

// Replaces the line of `key` (matched as the reader matches), adds or removes it.
std::vector<std::string> With(std::vector<std::string> lines, const std::string& key,
                              std::optional<std::string> value) {
  auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return FindKeyValue({line}, key).has_value();
  });
  if (it == lines.end()) it = lines.insert(it, "");
  if (value)
    *it = key + "=" + *value;
  else
    lines.erase(it);
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

TEST(ParametersFile, WritesExactly44CrLfLinesOrNothingAndReadsThemBack) {
  ScratchDirectory dir;
  std::string dataDir;
  ASSERT_TRUE(WriteParametersFile(dir / "lin.par", LinearConfig(), kComma, dataDir));
  EXPECT_EQ(ReadBytes(dir / "lin.par"), Join(LinearLines()));
  EXPECT_EQ(dataDir, dir.Path().string());

  // A failure changes neither the file nor the data directory.
  const auto file = dir / "keep.par";
  WriteBytes(file, "old");
  dataDir = "unchanged";
  ModuleConfig broken = LinearConfig();
  broken.Coefficients[2] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(WriteParametersFile(file, broken, {}, dataDir));
  broken = LinearConfig();
  broken.MaxInput = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(WriteParametersFile(file, broken, {}, dataDir));
  EXPECT_FALSE(WriteParametersFile(dir / "missing" / "x.par", LinearConfig(), {}, dataDir));
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(dataDir, "unchanged");
  EXPECT_EQ(dir.EntryCount(), 2u);

  // Every field read comes back in its place when written again, whatever the
  // order, headings, extra lines, letter case of the keys and decimal point.
  std::vector<std::string> shuffled = {"Another heading", "Comment=added by hand"};
  for (std::string line : LinearLines()) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::replace(line.begin(), line.end(), ',', '.');
    line = Utf8ToLower(line.substr(0, equals)) + line.substr(equals);
    shuffled.insert(shuffled.begin() + 1, line);
  }
  for (const auto& lines : {LinearLines(), shuffled}) {
    ReadResult r = ReadLines(lines);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(ComposeParametersFile(r.config, kComma).Lines(), LinearLines());
    EXPECT_EQ(r.config.Coefficients, LinearConfig().Coefficients);
  }
}

// A number that does not convert or does not fit its field counts as missing;
// integers round halves to even first.
TEST(ReadParametersFile, RequiredKeysAndWhatAFailureLeaves) {
  for (const char* key : {"Device", "serial", "data", "kod", "ogolne", "ogolne1", "Typ", "Tryb",
                          "Lin", "MinInput", "MaxInput", "RoomT", "ZeroReg", "GainReg",
                          "FiltrZakres", "FiltrCzas", "Burnout", "Siec", "Jednostki"}) {
    EXPECT_FALSE(ReadLines(With(LinearLines(), key, std::nullopt)).ok) << "without " << key;
  }
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"MinInput", "1,2,3x", false},
      {"Siec", "", false},
      {"Typ", "255", true},
      {"Typ", "256", false},
      {"Typ", "-1", false},
      {"Tryb", "255,5", false},  // rounds to 256
      {"Lin", "-0,5", true},
      {"Jednostki", "1e300", false},
      {"FiltrZakres", "2147483647", true},
      {"FiltrZakres", "2147483648", false},
      {"Siec", "-2147483648", true},
      {"Siec", "-2147483649", false},
  };
  for (const auto& [key, value, ok] : cases) {
    EXPECT_EQ(ReadLines(With(LinearLines(), key, value)).ok, ok) << key << "=" << value;
  }
  const std::pair<const char*, int> rounded[] = {{"12,6", 13}, {"12.5", 12}, {"13.5", 14}};
  for (const auto& [value, expected] : rounded) {
    EXPECT_EQ(ReadLines(With(LinearLines(), "FiltrCzas", value)).config.FiltrCzas, expected);
  }
  // A failure keeps what was read before it, and the consistency rules run.
  ReadResult r = ReadLines(With(With(LinearLines(), "RoomT", "99"), "Siec", std::nullopt));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.config.Device, "Q5491");  // read before the missing key
  EXPECT_EQ(r.config.FiltrCzas, 375);
  EXPECT_DOUBLE_EQ(r.config.RoomT, 25.0);  // out of range: replaced
  EXPECT_EQ(r.config.Jednostki, 0);        // after the missing key: untouched
  // The data directory is set from the path before reading, whatever the
  // outcome, and dropped when longer than 60 characters.
  const std::string sixty = "/" + std::string(54, 'd') + "/żółw";  // 63 bytes
  ASSERT_EQ(CharCount(sixty), 60u);
  EXPECT_EQ(DataDirOf(PathFromUtf8(sixty + "x/a.par")), "");
  r.config.Typ = 0;
  EXPECT_FALSE(
      ReadParametersFile(PathFromUtf8(sixty + "/missing.par"), r.config, r.limits, r.dataDir));
  EXPECT_EQ(r.dataDir, sixty);
  EXPECT_EQ(r.config.Typ, kTypNone);  // the consistency rules run in every case
}

TEST(ReadParametersFile, ConversionCoefficientsAreRequiredAboveLin2) {
  for (char key = 'A'; key <= 'K'; ++key) {
    EXPECT_FALSE(ReadLines(With(LinearLines(), std::string("Lin") + key, std::nullopt)).ok) << key;
  }
  // The limits of the user characteristic, in tenths, rounded halves to even,
  // the lower the smaller.
  ReadResult r = ReadLines(With(LinearLines(), "LinK", "-20,25"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.limits.LowerTenths(15), -202);
  EXPECT_EQ(r.limits.UpperTenths(15), 0);

  // Up to Lin 2 the coefficients are not needed and not read.
  std::vector<std::string> lines = With(LinearLines(), "Lin", "2");
  lines.erase(lines.begin() + 32, lines.begin() + 43);  // LinA to LinK
  ReadResult table = ReadLines(lines);
  ASSERT_TRUE(table.ok);
  EXPECT_EQ(table.config.Coefficients, ModuleConfig{}.Coefficients);
}

TEST(ReadParametersFile, TextsAreCutAndOptionalKeysMayBeMissing) {
  auto lines = With(With(LinearLines(), "FiltrLimit", std::nullopt), "Kropka", std::nullopt);
  const std::pair<std::string, std::string> texts[] = {
      {"Device", "Q5495-XL"},           {"serial", "123456789012"},
      {"data", "06.12.2026 12:00"},     {"kod", "Łódź-Bałuty-Piec-Nr-2"},
      {"ogolne", std::string(40, 'a')}, {"ogolne1", "żółw" + std::string(40, 'b')}};
  for (const auto& [key, value] : texts) lines = With(lines, key, value);
  const std::pair<std::optional<std::string>, std::string> files[] = {
      {std::nullopt, ""},
      {"C:\\Tabele\\old.dat", "C:\\Tabele\\old.dat"},
      {std::string(61, 'f'), std::string(61, 'f')},
      {std::string(62, 'f'), ""},  // longer than the record holds: no name
  };
  for (const auto& [file, expected] : files) {
    ReadResult r = ReadLines(With(lines, "File", file));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(std::tie(r.config.FiltrLimit, r.config.Kropka, r.config.File),
              std::tuple(0, 0, expected));
    EXPECT_EQ(std::tie(r.config.Device, r.config.serial, r.config.data, r.config.kod),
              std::tuple("Q5495", "1234567890", "06.12.2026", "Łódź-Bałuty-Pie"));
    EXPECT_EQ(r.config.ogolne, std::string(40, 'a') + "żółw" + std::string(17, 'b'));  // 61
  }
}

TEST(ComposeParametersFile, FileLineOnlyForALoadedTableAndSixtyCharactersOfText) {
  const std::tuple<int, int, bool, const char*, const char*> cases[] = {
      {15, 1, true, "C:\\Tabele\\termo.dat", "File=termo.dat"},
      {19, 2, true, "D:tabela.dat", "File=tabela.dat"},
      {19, 2, true, "/home/jan/t.dat", "File=t.dat"},
      {19, 2, false, "plain.dat", ""},
      {15, 1, false, "plain.dat", ""},
  };
  ModuleConfig config;
  for (const auto& [typ, lin, loaded, file, line8] : cases) {
    config.Typ = static_cast<std::uint8_t>(typ);
    config.Lin = static_cast<std::uint8_t>(lin);
    config.TableLoaded = loaded;
    config.File = file;
    EXPECT_EQ(ComposeParametersFile(config, {}).Lines()[8], line8) << file;
  }
  config.Lin = 2;
  config.ogolne = std::string(30, 'a') + std::string(30, 'b') + "c";
  const auto lines = ComposeParametersFile(config, {}).Lines();
  EXPECT_EQ(lines[29], "ogolne=" + std::string(30, 'a'));
  EXPECT_EQ(lines[30], "ogolne1=" + std::string(30, 'b'));
  for (std::size_t i = 32; i <= 42; ++i) EXPECT_EQ(lines[i], "") << "no coefficients, line " << i;
}

}  // namespace
}  // namespace q5480
