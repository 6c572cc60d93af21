#pragma once
// Running a program with the Qt front end.
//
// `runProgram` creates the QApplication on the calling thread (the process's main thread), starts
// the program's start-up procedure on a program thread through the runtime, and runs the Qt event
// loop until the program has ended. It returns the program's exit code; 1 when the program could
// not start; 2, after telling the user to use a virtual display, when there is no display to show
// windows on. Call it once per process, from main().

#include "runtime/program.h"

namespace uiqt {

// True when Qt can show windows here: a display server (DISPLAY, WAYLAND_DISPLAY) or a platform
// chosen explicitly (QT_QPA_PLATFORM).
bool displayAvailable();

int runProgram(int argc, char** argv, const rt::ProgramDecl& decl);
int runProgram(int argc, char** argv, rt::Procedure startup);

}  // namespace uiqt
