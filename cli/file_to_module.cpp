#include "file_to_module.h"

#include "console_lines.h"
#include "service/configuration_fingerprint.h"
#include "service/machine_text.h"

namespace q5480::cli {

int RunFileOnPorts(std::string_view command, const ParsedArgs& parsed, bool logged,
                   const FileJob& onPort) {
  const WritePlan plan{parsed.positionals[0], parsed.Value("--table"), {}, {}};
  if (int status = CheckInputFiles(command, plan.parametersFile, plan.table); status != kExitOk) {
    return status;
  }
  return RunOnPortArgument(command, parsed, logged,
                           [&](int port, bool json) { return onPort(port, plan, json); });
}

int ConnectReadAndBuild(DeviceSession& session, int port, const WritePlan& plan,
                        ModuleResult& result) {
  result.file = plan.parametersFile;
  ModuleService& service = session.Service();
  int status = session.ConnectTo(port);
  if (status == kExitOk) {
    status = session.Transfer("", [&service](const TransferObserver& observer) {
      return service.ReadFactoryData(observer);
    });
  }
  session.DescribeModule(result);
  if (status != kExitOk) return status;
  status = session.LoadConfiguration(plan.parametersFile, plan.table);
  if (status != kExitOk) return status;
  if (plan.tag) session.config.kod = *plan.tag;
  if (plan.info) session.config.ogolne = *plan.info;
  return session.CheckModelAndBuild();
}

PortOutcome WriteOnPort(std::string_view command, int port, const WritePlan& plan, bool json) {
  PortOutcome outcome;
  DeviceSession session(command);
  ModuleService& service = session.Service();
  outcome.status = ConnectReadAndBuild(session, port, plan, outcome.result);
  if (outcome.status != kExitOk) return outcome;
  outcome.status = session.Transfer(
      "Writing data...",
      [&service](const TransferObserver& observer) { return service.Write(observer); });
  if (outcome.status != kExitOk) return outcome;
  outcome.result.fingerprint = ConfigurationFingerprint(session.image, ModelCode(session.config));
  outcome.result.result = kResultOk;
  if (!json) PrintOut("fingerprint  " + outcome.result.fingerprint);
  session.Report("Device programmed", "", kExitOk);
  return outcome;
}

FileCheck CheckAgainstFile(std::string_view command, int port, const WritePlan& plan) {
  FileCheck check;
  PortOutcome& outcome = check.outcome;
  DeviceSession session(command);
  outcome.status = ConnectReadAndBuild(session, port, plan, outcome.result);
  if (outcome.status != kExitOk) return check;
  const ModuleImage built = session.image;
  outcome.status = session.Transfer("Verifying...", [&](const TransferObserver& observer) {
    check.verify = session.Service().Verify(observer);
    return check.verify.status;
  });
  if (outcome.status != kExitOk) return check;
  CommandSet& commands = session.Service().Commands();
  check.file = ConfigurationOfFile(built, session.config);
  check.module = ConfigurationOfModule(check.verify.read, ReportedModelCode(session.Status()),
                                       commands.NewLayout(), session.config.ModuleId);
  outcome.result.fingerprint = ConfigurationFingerprint(check.verify.read, check.module.modelCode);
  check.fileFingerprint = ConfigurationFingerprint(built, check.file.modelCode);
  outcome.details = {{"fileFingerprint", JsonString(check.fileFingerprint)}};
  return check;
}

}  // namespace q5480::cli
