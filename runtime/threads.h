#pragma once
// Program threads: starting procedures on new OS threads, the thread hooks, and halting.
//
// Every program thread has a number (the first thread, which runs the start-up procedure, is 1).
// A new thread runs the program's thread-start hook, then the procedure, then the thread-end hook.
// Per-thread program state is thread_local.
//
// Thread rule: start/threadNumber/setThreadHooks may be called on any program thread; halt only
// on a program thread.

#include <cstddef>

namespace rt {

using Procedure = void (*)();

// Stack sizes below this floor are raised to it: C++ code and the libraries beneath need more
// than the small stacks that window procedures traditionally ask for.
inline constexpr std::size_t kMinThreadStack = 4u << 20;

// Runs `procedure` on a new OS thread with (at least) the given stack size. Returns the new
// thread's number, or 0 when no thread could be made (no program running, the program is
// ending, or the system refused).
int start(Procedure procedure, std::size_t stack_size = 0);

// Number of the calling program thread; 0 on a thread the runtime did not start.
int threadNumber();

// Hooks run on every program thread, the first included, around its procedure. Set them before
// the program starts (ProgramDecl) or from the start-up procedure for threads started later.
void setThreadHooks(Procedure thread_start, Procedure thread_end);

// Ends the program with `exit_code` (used after a fatal message). Every program thread unwinds
// to its start: the calling thread at once, the others at their next runtime wait (accept, a
// message box) or at once if they wait there now. Thread-end hooks still run, windows are closed,
// and runProgram returns `exit_code`. The unwinding is a C++ exception private to the runtime:
// program code must not swallow it (a catch (...) must rethrow).
[[noreturn]] void halt(int exit_code = 0);

}  // namespace rt
