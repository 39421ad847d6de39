#include "service/batch_plan.h"

#include <fstream>
#include <map>
#include <set>

#include "config/atomic_file.h"
#include "config/path_text.h"
#include "config/text.h"
#include "service/machine_text.h"

namespace q5480 {
namespace {

constexpr int kMaxPort = 255;
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

std::string Trimmed(std::string text) {
  const auto blank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(static_cast<unsigned char>(text.back()))) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && blank(static_cast<unsigned char>(text[start]))) ++start;
  return text.substr(start);
}

}  // namespace

std::optional<std::string> ReadBatchPlan(const std::filesystem::path& plan,
                                         std::vector<PlannedModule>& modules) {
  modules.clear();
  std::ifstream in(plan, std::ios::binary);
  if (!in) return Utf8FromPath(plan) + ": cannot be read";
  const std::filesystem::path folder = plan.parent_path();
  const auto resolve = [&](const std::string& name) {
    const std::filesystem::path path = PathFromUtf8(name);
    return path.is_absolute() || folder.empty() ? path : folder / path;
  };

  std::map<std::string, std::size_t> columns;
  std::set<int> ports;
  std::string line;
  std::vector<std::string> fields;
  for (int number = 1; std::getline(in, line); ++number) {
    if (number == 1 && line.rfind(kByteOrderMark, 0) == 0) line.erase(0, 3);
    const std::string where = "line " + std::to_string(number) + ": ";
    if (Trimmed(line).empty()) continue;
    if (!SplitCsvLine(line, fields)) return where + "a quote is not closed";
    for (std::string& field : fields) field = Trimmed(field);
    if (columns.empty()) {
      for (std::size_t i = 0; i < fields.size(); ++i) columns[Utf8ToLower(fields[i])] = i;
      for (const char* required : {"port", "file"}) {
        if (columns.count(required) == 0) {
          return where + "the header must name the columns port and file";
        }
      }
      continue;
    }
    const auto value = [&](const char* column) -> std::optional<std::string> {
      const auto it = columns.find(column);
      if (it == columns.end() || it->second >= fields.size() || fields[it->second].empty()) {
        return std::nullopt;
      }
      return fields[it->second];
    };
    PlannedModule module;
    const std::optional<std::string> port = value("port");
    try {
      std::size_t used = 0;
      module.port = port ? std::stoi(*port, &used) : 0;
      if (!port || used != port->size()) module.port = 0;
    } catch (const std::exception&) { module.port = 0; }
    if (module.port < 1 || module.port > kMaxPort) {
      return where + "bad port \"" + port.value_or("") + "\" (1 to 255)";
    }
    if (!ports.insert(module.port).second) {
      return where + "COM" + std::to_string(module.port) + " is planned twice";
    }
    const std::optional<std::string> file = value("file");
    if (!file) return where + "no parameters file";
    module.file = resolve(*file);
    if (const auto table = value("table")) module.table = resolve(*table);
    module.tag = value("tag");
    module.info = value("info");
    modules.push_back(std::move(module));
  }
  if (columns.empty() || modules.empty()) return Utf8FromPath(plan) + ": no modules are planned";
  return std::nullopt;
}

std::filesystem::path BatchResultPath(const std::filesystem::path& plan) {
  std::filesystem::path result = plan;
  result.replace_extension();
  result += ".result.csv";
  return result;
}

bool WriteBatchResult(const std::filesystem::path& path, const std::vector<ModuleResult>& results) {
  std::string text = "port,model,serial,result,reason,fingerprint,seconds\n";
  for (const ModuleResult& r : results) {
    text += CsvLine({std::to_string(r.port), r.model, r.serial, r.result, r.reason, r.fingerprint,
                     JsonNumber(r.seconds, 1)}) +
            "\n";
  }
  return ReplaceFileAtomically(path, text);
}

}  // namespace q5480
