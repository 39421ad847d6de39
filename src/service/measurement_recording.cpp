#include "service/measurement_recording.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <system_error>

#include "config/dates.h"
#include "config/line_buffer.h"
#include "config/local_time.h"
#include "config/module_config.h"
#include "config/text.h"

namespace q5480 {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

std::string WithSeparator(std::string text, char separator) {
  for (char& c : text) {
    if (c == '.') c = separator;
  }
  return text;
}

// A value shown without a minus sign gets a plus sign.
std::string Signed(const std::string& text) { return text.front() == '-' ? text : "+" + text; }

}  // namespace

RecordingTime RecordingNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const std::tm local = LocalTimeOf(seconds);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  return {DayNumber({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}),
          static_cast<std::int32_t>(
              (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) * 1000 + ms)};
}

std::int64_t ElapsedMs(const RecordingTime& start, const RecordingTime& now) {
  return std::int64_t{now.ms} - start.ms + (std::int64_t{now.day} - start.day) * kMsPerDay;
}

std::vector<std::string> RecordingHeaderLines(const RecordingTime& start, int unitCode,
                                              const RecordingHeads& heads,
                                              const RegionalSettings& regional) {
  const std::string unit(ReadingUnitName(unitCode));
  return {"Q5480 series module measurements",
          "Date: " + FormatDate(DateFromDayNumber(start.day)) +
              "   Time: " + FormatTimeOfDay(start.ms, regional.longTimeFormat),
          "", heads.time + " [s]\t" + heads.result + " [" + unit + "]\t" + heads.output + " [mA]"};
}

bool WriteRecordingHeader(const std::filesystem::path& path,
                          const std::vector<std::string>& lines) {
  LineBuffer buffer;
  buffer.AddEmptyLines(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) buffer.SetLine(i, lines[i]);
  return buffer.Save(path);
}

std::string FormatRecord(std::int64_t elapsedMs, double result, double output,
                         const RegionalSettings& regional) {
  const char separator = regional.decimalSeparator;
  return Signed(
             WithSeparator(FormatFixed(static_cast<double>(elapsedMs) * 0.001, 0, 2), separator)) +
         "\t" + Signed(FormatGeneral(result, 4, separator)) + "\t" +
         Signed(FormatFixed(output, 4, 2));
}

bool AppendRecord(const std::filesystem::path& path, const std::string& record) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  // Opening for appending would create a file that was deleted meanwhile:
  // the check above is what keeps a recording from starting a headless one.
  std::ofstream file(path, std::ios::binary | std::ios::app);
  if (!file) return false;
  file << Utf8ToCp1250(record) << "\r\n";
  file.flush();
  return static_cast<bool>(file);
}

}  // namespace q5480
