// The program's UTF-8 texts as Qt strings.
#pragma once

#include <QString>
#include <string>

namespace q5480 {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace q5480
