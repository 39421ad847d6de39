// The output field of the service windows: what the text typed there
// forces the output to, or what replaces a refused entry.
#pragma once

#include <cstdint>
#include <string>

#include "service/output_codes.h"
#include "service/service_session.h"
#include "workflow/program_context.h"

namespace q5480 {

enum class OutputEntryKind { Accepted, OutOfRange, WrongFormat };

struct OutputEntry {
  OutputEntryKind kind = OutputEntryKind::WrongFormat;
  std::string shown;       // what the field shows afterwards
  std::uint16_t code = 0;  // for the "o" request, when accepted
};

// The corrections window shows two decimals ("3.80", a refused entry
// "03.75"); the diagnostics window's preset three in the wide format with a
// leading zero ("02.000").
OutputEntry ReadOutputEntry(const std::string& text, bool wideFormat, OutputLimits limits);

// The output field taken as a service window takes it: a text that is no
// number is told with `wrongFormat` and sends nothing, a value out of range
// gets a question beep, an accepted one forces the output.
OutputEntry TakeOutputEntry(ProgramContext& context, ServiceSession& session,
                            const std::string& text, bool wideFormat, OutputLimits limits,
                            const std::string& wrongFormat, MessageIcon icon);

}  // namespace q5480
