// What one command did with the module on one port, for the summary of a
// run over many ports, the production log and the result of a batch.
#pragma once

#include <string>

namespace q5480 {

struct ModuleResult {
  int port = 0;
  std::string model;       // "Q5495"; empty when the module did not answer
  std::string serial;      // the module's serial number
  std::string identifier;  // the module's four identifier characters
  std::string file;        // the parameters file the command used, if any
  std::string fingerprint;
  // "ok"; "failed" (the port, the module or a transfer failed, or a file was
  // refused); "differs" (a verify or comparison found differences).
  std::string result = "failed";
  std::string reason;  // why not "ok", in the program's words
  double seconds = 0;

  bool Succeeded() const { return result == "ok"; }
};

inline constexpr const char* kResultOk = "ok";
inline constexpr const char* kResultFailed = "failed";
inline constexpr const char* kResultDiffers = "differs";

}  // namespace q5480
