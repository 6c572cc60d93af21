#pragma once
// Quillet's start-up procedure and the program as the runtime runs it.
//
// Startup, run once on the program's first thread:
//   1. GlobalErrors initialises with the thread's GlobalErrorStatus and takes the Spanish messages;
//   2. FuzzyMatcher initialises, ignoring case, not limited to whole words;
//   3. INIMgr binds to "Quillet.INI" (INI file storage);
//   4. DctInit builds the first thread's table managers (no table file is touched);
//   5. the system's drag-full-windows setting is read, and switched off (written to the user's
//      profile and broadcast) when it was on;
//   6. Main runs the frame until it closes.
// Then the shut-down sequence: INIMgr.Update(); drag-full-windows back on when it was on at start
// (a setting that was off is left untouched); INIMgr.Kill() (writes its section list back);
// FuzzyMatcher.Kill(). The first thread's end hook then removes its table managers.
//
// If the program halts instead (after a fatal message), the drag-full-windows setting is still put
// back as it was, so a failure never leaves the user's desktop changed.
//
// StartupWith runs the same sequences around another frame procedure (tests use a frame of their
// own). QuilletProgram is the program for rt::runProgram / the front ends: Startup with the
// thread hooks. Threads: Startup and StartupWith run on the first program thread only.

#include "runtime/program.h"

namespace quillet {

void Startup();
void StartupWith(rt::Procedure frame_procedure);
rt::ProgramDecl QuilletProgram();

}  // namespace quillet
