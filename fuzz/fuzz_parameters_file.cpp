// Parameters files: whatever a file holds, the record keeps finite values
// within its consistency rules; a file that loads, written and read again,
// gives the record that the file's format can hold (numbers to 15 digits,
// texts in Windows-1250, 60 characters of "ogolne").
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/line_buffer.h"
#include "config/numbers.h"
#include "config/parameters_file.h"
#include "config/text.h"
#include "fuzz_support.h"

namespace q5480::fuzz {
namespace {

constexpr std::size_t kOgolneInFiles = 60;

double ThroughText(double value, const RegionalSettings& regional) {
  const std::optional<double> back = ParseNumber(FormatFloat(value, regional));
  Check(back.has_value(), "a formatted number does not read back: " + FormatFloat(value, regional));
  return *back;
}

// What a file written from `config` can give back.
ModuleConfig AsWritten(ModuleConfig config, const InputLimits& limits,
                       const RegionalSettings& regional, bool textsReadAsUtf8) {
  for (double* value :
       {&config.MinInput, &config.MaxInput, &config.RoomT, &config.ZeroReg, &config.GainReg}) {
    *value = ThroughText(*value, regional);
  }
  if (config.Lin > 2) {
    for (double& value : config.Coefficients) value = ThroughText(value, regional);
  } else {
    // Coefficients of a file whose conversion the rules refused are not written.
    config.Coefficients = ModuleConfig{}.Coefficients;
  }
  if (!textsReadAsUtf8) {
    for (std::string* text :
         {&config.Device, &config.serial, &config.data, &config.kod, &config.ogolne}) {
      *text = ThroughCp1250(*text);
    }
  }
  config.ogolne = Utf8Left(config.ogolne, kOgolneInFiles);
  // Without a loaded table the file names none.
  config.File.clear();
  ApplyConsistencyRules(config, limits);
  return config;
}

void TakeTexts(const ModuleConfig& from, ModuleConfig& to) {
  to.Device = from.Device;
  to.serial = from.serial;
  to.data = from.data;
  to.kod = from.kod;
  to.ogolne = from.ogolne;
}

}  // namespace
}  // namespace q5480::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q5480;
  using namespace q5480::fuzz;
  const auto input = WriteScratchFile("in.par", data, size);
  ModuleConfig config;
  InputLimits limits;
  std::string dataDir;
  const bool loaded = ReadParametersFile(input, config, limits, dataDir);
  Check(AllFinite(config), "a value that is not finite reached the record");
  ModuleConfig ruled = config;
  ApplyConsistencyRules(ruled, limits);
  Check(FirstDifference(config, ruled).empty(),
        "the record breaks its consistency rules: " + FirstDifference(config, ruled));
  if (!loaded) return 0;

  RegionalSettings regional;
  regional.decimalSeparator = size % 2 == 0 ? '.' : ',';
  const auto output = ScratchFolder() / "out.par";
  Check(WriteParametersFile(output, config, regional, dataDir),
        "a loaded record cannot be written");
  const std::optional<std::string> written = ReadFileBytes(output);
  Check(written.has_value(), "the written file cannot be read");
  const bool asUtf8 = ReadBackAsUtf8(*written);

  ModuleConfig back;
  InputLimits backLimits;
  Check(ReadParametersFile(output, back, backLimits, dataDir), "a written file does not load");
  ModuleConfig expected = AsWritten(config, limits, regional, asUtf8);
  if (asUtf8) TakeTexts(back, expected);
  const std::string difference = FirstDifference(expected, back);
  Check(difference.empty(), "written and read again, the record differs in " + difference);
  return 0;
}
