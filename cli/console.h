// What q5480ctl needs of the console and the process, by system
// (console_posix.cpp, console_win32.cpp).
#pragma once

#include <string>
#include <vector>

namespace q5480::cli {

// The program's arguments after its name, as UTF-8 (Windows hands them over
// in UTF-16), with the console set to show UTF-8 text.
std::vector<std::string> PrepareConsole(int argc, char** argv);

// Whether standard error is a terminal, where a progress line may be redrawn.
bool StandardErrorIsTerminal();

// From now on an interrupt (Ctrl+C, SIGINT, SIGTERM) sets a flag instead of
// ending the program, so that a command that runs until interrupted can close
// its link first.
void CatchInterrupts();
// Whether an interrupt came since CatchInterrupts.
bool Interrupted();

}  // namespace q5480::cli
