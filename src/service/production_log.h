// The production log: one line per module and command, appended to a file
// the person names, as CSV with a header or as JSON lines.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "service/module_result.h"

namespace q5480 {

enum class LogFormat { Csv, JsonLines };

// The CSV header, also the JSON keys in this order.
inline constexpr const char* kLogColumns =
    "time,command,port,model,serial,identifier,file,fingerprint,result,reason";

class ProductionLog {
 public:
  // The log opened for appending, a CSV header written first when the file
  // is new or empty; nothing, with the system's reason in `error`, when it
  // cannot be written (before anything is sent to a module).
  static std::optional<ProductionLog> Open(const std::filesystem::path& path, LogFormat format,
                                           std::string& error);

  // One whole line for `result` of `command` ("write", "verify", "batch"),
  // stamped with the local date and time; false when it could not be written.
  bool Append(std::string_view command, const ModuleResult& result);

  // The line Append writes, stamped `time` ("2026-12-08 14:03:27").
  std::string LineOf(std::string_view time, std::string_view command,
                     const ModuleResult& result) const;

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  ProductionLog(std::FILE* file, LogFormat format) : file_(file), format_(format) {}

  std::unique_ptr<std::FILE, Closer> file_;
  LogFormat format_;
};

}  // namespace q5480
