#pragma once
// Running a program: its start-up procedure on the first program thread, with a front end.
//
// A program is started, runs and ends; then another (or the same) may be started in the same
// process: everything the runtime holds for a program is reset between runs.
//
// The program ends when the first thread's procedure has returned and every other thread has
// ended. When the application frame closes (or the first thread's procedure returns), every other
// thread's windows receive EVENT_CloseDown (each window once) and close as their code decides.
// FrontEnd::programEnded is then called with the exit code (0, or the rt::halt code).
//
// Thread rule: startProgram/waitProgram/runProgram/stopProgram are called on a thread that is not
// a program thread (the process's main thread, a GUI thread or a test).

#include <chrono>
#include <string>

#include "runtime/frontend.h"
#include "runtime/threads.h"

namespace rt {

struct ProgramDecl {
  Procedure startup = nullptr;
  Procedure thread_start = nullptr;  // thread hooks, also run on the first thread
  Procedure thread_end = nullptr;
  std::size_t stack_size = 0;        // of the first thread (at least kMinThreadStack)
};

enum class StartResult { Ok, AlreadyRunning, NoStartup, ThreadFailed };

// Starts the program on a new thread and returns at once.
[[nodiscard]] StartResult startProgram(const ProgramDecl& decl, FrontEnd& front_end);
// Waits until the running program has ended; returns its exit code (-1 when none was started).
int waitProgram();
// Waits at most `timeout`; false when the program is still running.
bool waitProgramFor(std::chrono::milliseconds timeout, int* exit_code = nullptr);
// startProgram + waitProgram. -1 when the program could not start.
int runProgram(const ProgramDecl& decl, FrontEnd& front_end);
inline int runProgram(Procedure startup, FrontEnd& front_end) {
  return runProgram(ProgramDecl{startup, nullptr, nullptr, 0}, front_end);
}
// Halts the running program from outside (as rt::halt does from inside) and returns at once.
void stopProgram(int exit_code);
bool programRunning();

// Idle tracking, for tests: true when a program is running and every one of its threads waits
// for input with nothing queued, or for a message-box answer.
bool programIdle();
// Waits until programIdle() or the program has ended; false on timeout.
bool waitProgramIdle(std::chrono::milliseconds timeout);

// A readable dump of every window's model (titles, controls, texts, flags, list rows, focus,
// status bar, pending message boxes, thread states), for failure messages.
std::string dumpModel();

}  // namespace rt
