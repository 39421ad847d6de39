// Why a port did not open, told the same way by the desktop program and by
// q5480ctl: "COM%d initialization failed!" and, on its own line, the first
// cause the port doctor finds, in the program's language.
#pragma once

#include <string>

#include "config/language_table.h"
#include "link/port_doctor.h"

namespace q5480 {

// "Permission denied: you are not in the group dialout.": the translation
// of the finding's key, its detail and a full stop.
std::string FindingSentence(const PortFinding& finding, const LanguageTable& language);

// The message for COM `port` that did not open. Looks at the port as the
// doctor does (never opening it); without a finding, the first line alone.
std::string PortOpenFailureMessage(int port, const PortDoctorEnvironment& env,
                                   const LanguageTable& language);

}  // namespace q5480
