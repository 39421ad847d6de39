// Runs the built q5480ctl as a script would and checks what it prints and
// its exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>

#include "config/dates.h"
#include "config/module_image.h"
#include "config/text.h"
#include "ctl_process.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

using test_support::ReadBytes;
using test_support::ScratchDirectory;
using test_support::WriteBytes;

const std::string kExamples = std::string(Q5480_SOURCE_DIR) + "/examples/";

// A file of the program as the tool prints it: UTF-8 and "\n".
std::string AsPrinted(const std::string& fileBytes) {
  std::string text = Cp1250ToUtf8(fileBytes);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

bool HasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST(ParShow, PrintsTheExamplesAsTheProgramWritesThem) {
  for (const char* name :
       {"thermocouple_k_0_1000.par", "pt100_3wire_m50_150.par", "current_4_20ma_to_percent.par"}) {
    const std::string file = kExamples + name;
    Outcome r = RunCtl({"par", "show", file});
    EXPECT_EQ(r.status, 0) << name;
    EXPECT_EQ(r.err, "") << name;
    EXPECT_EQ(r.out, AsPrinted(ReadBytes(file))) << name;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 44) << name;
    EXPECT_EQ(HasLine(r.out, "ogolne1=górna"), name[0] == 't') << r.out;
  }
}

TEST(ParShow, NormalisesAHandWrittenFile) {
  ScratchDirectory dir;
  // Any order, any letter case, a comma, and values the consistency rules replace.
  WriteBytes(dir / "hand.par",
             "kod=TT-1\nDEVICE=Q5497\nserial=7\ndata=never\nogolne=x\nogolne1=y\ntyp=1\n"
             "tryb=3\nlin=2\nMinInput=-50,5\nMaxInput=2000\nRoomT=99\nZeroReg=0\nGainReg=0\n"
             "FiltrZakres=1\nFiltrCzas=12,6\nBurnout=1\nSiec=55\nJednostki=8\n");
  Outcome r = RunCtl({"par", "show", (dir / "hand.par").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* line :
       {"Device=Q5497", "Typ=1", "MinInput=-50.5", "MaxInput=850", "RoomT=25", "FiltrCzas=13",
        "FiltrLimit=0", "Siec=50", "ogolne=xy", "ogolne1=", "Kropka=0"}) {
    EXPECT_TRUE(HasLine(r.out, line)) << line << "\n" << r.out;
  }

  Outcome comma = RunCtl({"par", "show", "--decimal-comma", (dir / "hand.par").string()});
  ASSERT_EQ(comma.status, 0);
  EXPECT_TRUE(HasLine(comma.out, "MinInput=-50,5")) << comma.out;
}

TEST(ParShow, WritesTheOutputFileAsTheProgramDoes) {
  ScratchDirectory dir;
  const std::string example = kExamples + "thermocouple_k_0_1000.par";
  Outcome r = RunCtl({"par", "show", "-o", (dir / "copy.par").string(), example});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadBytes(dir / "copy.par"), ReadBytes(example));

  Outcome comma = RunCtl({"par", "show", "--decimal-comma", "-o", (dir / "comma.par").string(),
                          kExamples + "current_4_20ma_to_percent.par"});
  ASSERT_EQ(comma.status, 0) << comma.err;
  const std::string bytes = ReadBytes(dir / "comma.par");
  EXPECT_NE(bytes.find("\r\nLinB=0,16\r\n"), std::string::npos) << bytes;

  Outcome failed = RunCtl({"par", "show", "-o", (dir / "missing" / "x.par").string(), example});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("Cannot open file"), std::string::npos) << failed.err;
}

TEST(Cli, OutputsLeaveAWriteProtectedFileAsItWas) {
  ScratchDirectory dir;
  const auto kept = dir / "kept";
  WriteBytes(kept, "kept as it was");
  ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
  const std::string example = kExamples + "pt100_3wire_m50_150.par";
  const std::vector<std::vector<std::string>> commands = {
      {"par", "show", "-o", kept.string(), example},
      {"image", "build", example, "-o", kept.string()},
  };
  for (const auto& args : commands) {
    Outcome r = RunCtl(args);
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_EQ(r.out, "") << args[0];
    EXPECT_EQ(r.err, "Cannot open file: " + kept.string() + "\n") << args[0];
    EXPECT_EQ(ReadBytes(kept), "kept as it was") << args[0];
  }
}

TEST(ParShow, FileThatDoesNotLoadExitsWith1) {
  ScratchDirectory dir;
  WriteBytes(dir / "bad.par", "Device=Q5491\r\nTyp=19\r\n");
  Outcome r = RunCtl({"par", "show", (dir / "bad.par").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Corrupted or wrong data file!\n");
}

TEST(Cli, BadArgumentsAndMissingFilesExitWith2) {
  ScratchDirectory dir;
  const std::string example = kExamples + "pt100_3wire_m50_150.par";
  const std::vector<std::vector<std::string>> cases = {
      {"par", "show"},
      {"par", "show", (dir / "missing.par").string()},
      {"par", "show", dir.Path().string()},
      {"par", "show", example, example},
      {"par", "show", "--bogus", example},
      {"par", "show", example, "-o"},
      {"image", "decode"},
      {"image", "decode", (dir / "missing.bin").string()},
      {"image", "decode", "-o", "x", example},
      {"no-such-command"},
  };
  for (const auto& args : cases) {
    Outcome r = RunCtl(args);
    std::string shown;
    for (const std::string& arg : args) shown += arg + " ";
    EXPECT_EQ(r.status, 2) << shown;
    EXPECT_EQ(r.out, "") << shown;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << shown << r.err;
  }
}

TEST(Cli, NegativeNumbersAreValuesNotOptions) {
  // Type K at -150 °C, from the reference tables.
  const Outcome r = RunCtl({"signal", "10", "-150"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NEAR(std::stod(r.out), -4.913, 0.001);
  EXPECT_EQ(RunCtl({"signal", "10", "-x"}).status, 2) << "still an unknown option";
}

TEST(ParShow, NamesATableFileOnlyForAConversionThatUsesOne) {
  ScratchDirectory dir;
  const std::string thermocouple = ReadBytes(kExamples + "thermocouple_k_0_1000.par");
  std::string named = thermocouple;
  named.replace(named.find("\r\n\r\n\r\nParametry:"), 2, "\r\nFile=stale.dat");
  WriteBytes(dir / "k.par", named);
  const Outcome k = RunCtl({"par", "show", (dir / "k.par").string()});
  ASSERT_EQ(k.status, 0) << k.err;
  EXPECT_EQ(k.out.find("File="), std::string::npos) << k.out;

  const Outcome table = RunCtl({"par", "show", kExamples + "user_table_flow_4_20ma.par"});
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_TRUE(HasLine(table.out, "File=flow_4_20ma.dat")) << table.out;
}

TEST(Cli, EveryCommandDescribesItself) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> mentions;
  };
  const Case cases[] = {
      {{"par", "show", "--help"},
       {"usage: q5480ctl par show", "--decimal-comma", "-o OUT.par", "exit status"}},
      {{"image", "decode", "-h"},
       {"usage: q5480ctl image decode", "--decimal-comma", "2052", "exit status"}},
      {{"--help"}, {"par show", "image decode"}},
  };
  for (const Case& c : cases) {
    Outcome r = RunCtl(c.args);
    EXPECT_EQ(r.status, 0) << c.args[0];
    for (const std::string& mention : c.mentions) {
      EXPECT_NE(r.out.find(mention), std::string::npos) << mention << "\n" << r.out;
    }
  }
}

TEST(ImageDecode, PrintsTheImageAsAParametersFile) {
  ModuleConfig config;
  config.Typ = 19;
  config.Lin = kLinLinear;
  config.MinInput = 0;
  config.MaxInput = 100;
  config.RoomT = 22.5;
  config.FiltrCzas = 16;
  config.Jednostki = 9;
  config.kod = "LT-101";
  config.ogolne = "Poziom wody, zbiornik główny";
  config.Coefficients = {4, 0.25, 0, 0, 0, 0, 0, 0, 0, 0, 100};
  ModuleImage image;
  StoreRecordInImage(config, image, 46362);
  image[16] = 5491 >> 8;  // the model number that a module reports
  image[17] = 5491 & 0xFF;

  ScratchDirectory dir;
  const auto file = dir / "image.bin";
  WriteBytes(file, std::string(image.bytes.begin(), image.bytes.end()));
  Outcome r = RunCtl({"image", "decode", "--decimal-comma", file.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 44);
  for (const char* line : {"Device=Q5491", "Typ=19", "Lin=4", "MaxInput=100", "RoomT=22,5",
                           "FiltrCzas=16", "Jednostki=9", "data=06.12.2026", "kod=LT-101",
                           "ogolne=Poziom wody, zbiornik główny", "LinB=0,25", "LinK=100"}) {
    EXPECT_TRUE(HasLine(r.out, line)) << line << "\n" << r.out;
  }

  // Texts from a module may hold any byte; the output keeps one entry per line.
  image[image_offset::kKod + 2] = '\n';
  WriteBytes(file, std::string(image.bytes.begin(), image.bytes.end()));
  Outcome withBreak = RunCtl({"image", "decode", file.string()});
  ASSERT_EQ(withBreak.status, 0) << withBreak.err;
  EXPECT_EQ(std::count(withBreak.out.begin(), withBreak.out.end(), '\n'), 44) << withBreak.out;
  EXPECT_TRUE(HasLine(withBreak.out, "kod=LT 101")) << withBreak.out;

  WriteBytes(dir / "short.bin", std::string(image.bytes.begin(), image.bytes.end() - 1));
  Outcome shortImage = RunCtl({"image", "decode", (dir / "short.bin").string()});
  EXPECT_EQ(shortImage.status, 1);
  EXPECT_EQ(shortImage.out, "");
  EXPECT_EQ(shortImage.err, "Corrupted or wrong data file!\n");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

TEST(Report, PrintsTheReportWithTheTablesAccuracyAndTheFingerprintAfterTheDate) {
  const Outcome r = RunCtl({"report", kExamples + "thermocouple_k_0_1000.par"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // The report's 28 lines are tested with the service.
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 30u) << r.out;
  EXPECT_EQ(lines[10], "Sensor:  Thermocouple type K");
  EXPECT_EQ(lines[27], "Printed: " + FormatDate(Today()));
  EXPECT_EQ(lines[28].rfind("Table accuracy: largest error ", 0), 0u) << lines[28];
  const std::string fingerprint = "Fingerprint: ";
  ASSERT_EQ(lines[29].rfind(fingerprint, 0), 0u) << lines[29];
  EXPECT_EQ(lines[29].size(), fingerprint.size() + 8);
  EXPECT_EQ(lines[29].find_first_not_of("0123456789abcdef", fingerprint.size()), std::string::npos);

  // Without its table the report still prints; the accuracy is untold and
  // the configuration, which cannot be built, has no fingerprint.
  ScratchDirectory dir;
  WriteBytes(dir / "flow.par", ReadBytes(kExamples + "user_table_flow_4_20ma.par"));
  const Outcome noTable = RunCtl({"report", (dir / "flow.par").string()});
  ASSERT_EQ(noTable.status, 0) << noTable.err;
  EXPECT_TRUE(HasLine(noTable.out, "Table accuracy: No data available")) << noTable.out;
  EXPECT_EQ(Lines(noTable.out).size(), 29u) << noTable.out;

  WriteBytes(dir / "bad.par", "Device=Q5491\r\nTyp=19\r\n");
  EXPECT_EQ(RunCtl({"report", (dir / "bad.par").string()}).status, 1);
  EXPECT_EQ(RunCtl({"report", (dir / "missing.par").string()}).status, 2);
}

TEST(Simulate, PrintsWhatTheSimulationWindowShows) {
  const std::string current = kExamples + "current_4_20ma_to_percent.par";  // 4..20 mA as 0..100 %
  const std::string heading = "input %\tsignal mA\tresult %\toutput mA";
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{"--input", "50"}, {heading, "50.00\t12.00\t50.00\t12.00"}},
      {{"--output", "20"}, {heading, "100.00\t20.00\t100.0\t20.00"}},
      {{"--sweep", "2"},
       {heading, "0.00\t4.00\t0.00\t4.00", "50.00\t12.00\t50.00\t12.00",
        "100.00\t20.00\t100.0\t20.00"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"simulate", current};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome r = RunCtl(args);
    EXPECT_EQ(r.status, 0) << c.args[0] << r.err;
    EXPECT_EQ(Lines(r.out), c.lines) << c.args[0];
  }

  const Outcome accuracy =
      RunCtl({"simulate", kExamples + "thermocouple_k_0_1000.par", "--accuracy"});
  ASSERT_EQ(accuracy.status, 0) << accuracy.err;
  const std::vector<std::string> figures = Lines(accuracy.out);
  ASSERT_EQ(figures.size(), 3u) << accuracy.out;
  EXPECT_EQ(figures[0].rfind("largest error: ", 0), 0u);
  EXPECT_LT(std::fabs(std::stod(figures[0].substr(15))), 0.01);
  EXPECT_EQ(figures[1].rfind("at: ", 0), 0u);
  EXPECT_EQ(figures[2].rfind("RMS error: ", 0), 0u);

  const Outcome outOfRange = RunCtl({"simulate", current, "--output", "21"});
  EXPECT_EQ(outOfRange.status, 1);
  EXPECT_EQ(outOfRange.out, "");
  EXPECT_EQ(outOfRange.err, "Out of range!\n");
  for (const std::vector<std::string>& usage :
       std::vector<std::vector<std::string>>{{"simulate", current},
                                             {"simulate", current, "--input", "5", "--accuracy"},
                                             {"simulate", current, "--sweep", "0"},
                                             {"simulate", current, "--input", "x"}}) {
    const Outcome r = RunCtl(usage);
    EXPECT_EQ(r.status, 2) << usage.back();
    EXPECT_EQ(r.out, "") << usage.back();
  }
}

TEST(Cli, AConversionThatOverflowsEndsEachCommandWithItsMessage) {
  // The example 4 to 20 mA input through a slope that no double carries to
  // the end of its range.
  ScratchDirectory dir;
  std::string text = ReadBytes(kExamples + "current_4_20ma_to_percent.par");
  const std::size_t slope = text.find("LinB=0.16\r\n");
  ASSERT_NE(slope, std::string::npos);
  text.replace(slope, 9, "LinB=1e308");
  const std::string file = (dir / "overflow.par").string();
  WriteBytes(file, text);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"image", "build", file},
           {"image", "build", file, "-o", (dir / "overflow.bin").string()},
           {"transfer", file},
           {"report", file},
           {"simulate", file, "--input", "50"},
           {"simulate", file, "--accuracy"}}) {
    const Outcome r = RunCtl(args);
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_EQ(r.err, "Floating point error in the conversion\n") << args[0];
    EXPECT_EQ(r.out, "") << args[0];
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "overflow.bin"));
}

}  // namespace
}  // namespace q5480
