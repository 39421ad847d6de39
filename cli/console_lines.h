// The lines q5480ctl prints. While a thread works on one port of several,
// its lines carry "COM3: " in front and go out whole under one lock, so that
// the ports' lines never mix within a line.
#pragma once

#include <string>
#include <string_view>

namespace q5480::cli {

// A line on standard output or standard error ("\n" is added).
void PrintOut(std::string_view line);
void PrintError(std::string_view line);
// A line of progress on standard error: no reason of a failure.
void PrintProgress(std::string_view line);

// The last line this thread printed on standard error since the last call:
// the reason of a port's failure for its summary and the log.
std::string TakeLastError();

// For the calling thread's lifetime of this object: its lines are those of
// COM `port`, one of several worked on at once.
class PortLines {
 public:
  explicit PortLines(int port);
  ~PortLines();
  PortLines(const PortLines&) = delete;
  PortLines& operator=(const PortLines&) = delete;
};

// Whether the calling thread works on one port of several (its progress then
// goes line by line, never rewritten in place).
bool OnePortOfMany();

}  // namespace q5480::cli
