// The data file of a recording: the header that starts it and one record a
// plotted sample, written by the chart view and by `q5480ctl record` alike.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "config/numbers.h"

namespace q5480 {

// An instant as the chart keeps it: day number and milliseconds of the day.
struct RecordingTime {
  std::int32_t day = 0;
  std::int32_t ms = 0;
};

// The local time now.
RecordingTime RecordingNow();

// Milliseconds from `start` to `now`, across midnights.
std::int64_t ElapsedMs(const RecordingTime& start, const RecordingTime& now);

// The translated words of the header.
struct RecordingHeads {
  std::string time = "Time";
  std::string result = "Result";
  std::string output = "Output";
};

// The four header lines: title, date and time of `start`, an empty line and
// the column heads with the unit of the result (a unit code of the module).
std::vector<std::string> RecordingHeaderLines(const RecordingTime& start, int unitCode,
                                              const RecordingHeads& heads,
                                              const RegionalSettings& regional);

// Replaces `path` with the header; false when it could not be written.
bool WriteRecordingHeader(const std::filesystem::path& path, const std::vector<std::string>& lines);

// One record: "+" and the seconds with 2 decimals (regional separator), the
// result with 4 significant digits (regional separator) and the output
// current with 2 decimals and a point, both signed "+" when not negative,
// separated by tabs.
std::string FormatRecord(std::int64_t elapsedMs, double result, double output,
                         const RegionalSettings& regional);

// Appends `record` as one line. Never creates the file: false when it no
// longer exists or cannot be written.
bool AppendRecord(const std::filesystem::path& path, const std::string& record);

}  // namespace q5480
