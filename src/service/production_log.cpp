#include "service/production_log.h"

#include <cerrno>
#include <cstring>

#include "config/c_file.h"
#include "config/dates.h"
#include "config/path_text.h"
#include "service/machine_text.h"

namespace q5480 {

std::optional<ProductionLog> ProductionLog::Open(const std::filesystem::path& path,
                                                 LogFormat format, std::string& error) {
  std::FILE* file = OpenCFile(path, "ab");
  if (file == nullptr) {
    error = Utf8FromPath(path) + ": " + std::strerror(errno);
    return std::nullopt;
  }
  ProductionLog log(file, format);
  // Windows' C library puts an appending stream at the end only at its first
  // write: the header is due when the end is the start.
  std::fseek(file, 0, SEEK_END);
  if (format == LogFormat::Csv && std::ftell(file) == 0) {
    const std::string header = std::string(kLogColumns) + "\n";
    if (std::fputs(header.c_str(), file) == EOF || std::fflush(file) != 0) {
      error = Utf8FromPath(path) + ": " + std::strerror(errno);
      return std::nullopt;
    }
  }
  return log;
}

std::string ProductionLog::LineOf(std::string_view time, std::string_view command,
                                  const ModuleResult& r) const {
  if (format_ == LogFormat::Csv) {
    return CsvLine({std::string(time), std::string(command), std::to_string(r.port), r.model,
                    r.serial, r.identifier, r.file, r.fingerprint, r.result, r.reason});
  }
  return JsonObject({{"time", JsonString(time)},
                     {"command", JsonString(command)},
                     {"port", std::to_string(r.port)},
                     {"model", JsonString(r.model)},
                     {"serial", JsonString(r.serial)},
                     {"identifier", JsonString(r.identifier)},
                     {"file", JsonString(r.file)},
                     {"fingerprint", JsonString(r.fingerprint)},
                     {"result", JsonString(r.result)},
                     {"reason", JsonString(r.reason)}});
}

bool ProductionLog::Append(std::string_view command, const ModuleResult& result) {
  // One buffered line flushed at once: the file's append mode puts it whole
  // at the end, also beside another program appending to the same log.
  const std::string line = LineOf(LocalDateTimeNow(), command, result) + "\n";
  return std::fwrite(line.data(), 1, line.size(), file_.get()) == line.size() &&
         std::fflush(file_.get()) == 0;
}

}  // namespace q5480
