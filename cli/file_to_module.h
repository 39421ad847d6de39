// A parameters file and the module on one port: written into it ("write",
// "batch") or compared with what it holds ("verify", "diff").
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "device_session.h"
#include "port_runs.h"
#include "service/configuration_comparison.h"

namespace q5480::cli {

struct WritePlan {
  std::string parametersFile;
  std::optional<std::string> table;  // instead of the table the file names
  std::optional<std::string> tag;    // the ID tag put into this module instead of the file's
  std::optional<std::string> info;   // the user information likewise
};

// What "write", "verify" and "diff" do with "FILE.par --port PORTS [--table
// FILE.dat]": the files checked, then `onPort` on every port
// (RunOnPortArgument).
using FileJob = std::function<PortOutcome(int port, const WritePlan& plan, bool json)>;
int RunFileOnPorts(std::string_view command, const ParsedArgs& parsed, bool logged,
                   const FileJob& onPort);

// As the desktop program prepares a Write on COM `port`: the module's
// factory data read first (its serial number for the summary and the log),
// then the file loaded, checked against the module and built with today's
// date; kExitOk or the first failure's status, the module described in
// `result` as far as it answered.
int ConnectReadAndBuild(DeviceSession& session, int port, const WritePlan& plan,
                        ModuleResult& result);

// The Write: "fingerprint  X" goes to standard output (unless `json`),
// "Device programmed" to standard error.
PortOutcome WriteOnPort(std::string_view command, int port, const WritePlan& plan, bool json);

// What the module holds against the file, by Verify's whole read.
struct FileCheck {
  PortOutcome outcome;  // status kExitOk once the module was read
  VerifyOutcome verify;
  ComparedConfiguration file;
  ComparedConfiguration module;
  std::string fileFingerprint;
};
FileCheck CheckAgainstFile(std::string_view command, int port, const WritePlan& plan);

}  // namespace q5480::cli
