// What the port list means on every system: the COM number of an entry, and
// what a port's findings hold.
#include <algorithm>
#include <cctype>

#include "link/port_doctor.h"
#include "link/port_list.h"

namespace q5480 {

std::optional<int> ParseComNumber(const std::string& text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<int> EntryPortNumber(const std::string& entry) {
  if (entry.size() < 5) return std::nullopt;
  std::string digits = entry.substr(3, 2);
  if (digits[0] == ' ') digits.erase(0, 1);
  return ParseComNumber(digits);
}

std::optional<std::size_t> FindPortEntry(const std::vector<std::string>& entries, int comPort) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (EntryPortNumber(entries[i]) == comPort) return i;
  }
  return std::nullopt;
}

bool PortDiagnosis::Has(PortProblem problem) const {
  return std::any_of(findings.begin(), findings.end(),
                     [problem](const PortFinding& finding) { return finding.problem == problem; });
}

}  // namespace q5480
