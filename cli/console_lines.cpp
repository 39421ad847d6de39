#include "console_lines.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <utility>

namespace q5480::cli {
namespace {

std::mutex gOutputMutex;
thread_local std::string tPrefix;
thread_local std::string tLastError;

// Each line of a message of several lines gets the prefix.
void PrintLine(std::FILE* stream, std::string_view line) {
  std::string text = tPrefix;
  for (const char c : line) {
    text += c;
    if (c == '\n') text += tPrefix;
  }
  text += "\n";
  const std::lock_guard lock(gOutputMutex);
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

void PrintOut(std::string_view line) { PrintLine(stdout, line); }

void PrintError(std::string_view line) {
  // A reason of several lines becomes one for the summary and the log.
  tLastError = line;
  std::replace(tLastError.begin(), tLastError.end(), '\n', ' ');
  PrintLine(stderr, line);
}

void PrintProgress(std::string_view line) { PrintLine(stderr, line); }

std::string TakeLastError() { return std::exchange(tLastError, std::string()); }

PortLines::PortLines(int port) { tPrefix = "COM" + std::to_string(port) + ": "; }

PortLines::~PortLines() { tPrefix.clear(); }

bool OnePortOfMany() { return !tPrefix.empty(); }

}  // namespace q5480::cli
