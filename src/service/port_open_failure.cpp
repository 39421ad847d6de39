#include "service/port_open_failure.h"

namespace q5480 {

std::string FindingSentence(const PortFinding& finding, const LanguageTable& language) {
  std::string sentence = TextOrKey(language, finding.reasonKey);
  if (!finding.detail.empty()) sentence += " " + finding.detail;
  return sentence + ".";
}

std::string PortOpenFailureMessage(int port, const PortDoctorEnvironment& env,
                                   const LanguageTable& language) {
  std::string message = SubstituteNumber(language.Tr("COM%d initialization failed"), port) + "!";
  const PortDiagnosis diagnosis = DiagnosePort(port, env);
  if (!diagnosis.findings.empty())
    message += "\n" + FindingSentence(diagnosis.findings.front(), language);
  return message;
}

}  // namespace q5480
