// Program threads and the program's life: starting threads with a stack size, running the thread
// hooks, halting, and noticing when the program has ended.
#include <pthread.h>

#include <algorithm>
#include <memory>

#include "runtime/program.h"
#include "runtime/runtime_state.h"

namespace rt {

using namespace detail;

namespace {

struct ThreadStart {
  Procedure procedure;
  std::shared_ptr<ThreadRecord> record;
  Procedure hook_start;
};

// Every program thread ends here: the last one to end ends the program.
void threadEnded(ThreadRecord& t) {
  Runtime& R = runtime();
  std::unique_lock<std::mutex> lk(R.mu);
  // Windows the procedure left open (it returned without closing them).
  std::vector<WindowId> left = t.stack;
  for (WindowId id : left) {
    R.windows.erase(id);
    if (R.frame == id) R.frame = 0;
    Note n(Note::Kind::Closed);
    n.win = id;
    R.notes.push_back(std::move(n));
  }
  t.stack.clear();
  R.threads.erase(t.number);
  if (t.number == 1) closeDownOthers(1);
  R.state_cv.notify_all();
  if (!R.threads.empty()) {
    flushNotes(lk);
    return;
  }
  Note n(Note::Kind::Ended);
  n.feq = R.exit_code;
  R.notes.push_back(std::move(n));
  flushNotes(lk);
  // Only now, after the front end has heard of the end, may another program start.
  R.running = false;
  R.fe = nullptr;
  R.state_cv.notify_all();
}

void* threadMain(void* arg) {
  std::unique_ptr<ThreadStart> s(static_cast<ThreadStart*>(arg));
  tl_thread = s->record.get();
  tl_event = Event{};
  try {
    if (s->hook_start) s->hook_start();
    s->procedure();
  } catch (const HaltUnwind&) {
  }
  try {
    Procedure end = nullptr;
    {
      std::lock_guard<std::mutex> lk(runtime().mu);
      end = runtime().thread_end;
    }
    if (end) end();
  } catch (const HaltUnwind&) {
  }
  threadEnded(*s->record);
  tl_thread = nullptr;
  return nullptr;
}

// With the lock held. 0 when the thread could not be made.
int startLocked(Procedure procedure, std::size_t stack_size) {
  Runtime& R = runtime();
  if (!R.running || R.halting || !procedure) return 0;
  auto rec = std::make_shared<ThreadRecord>();
  rec->number = R.next_thread++;
  auto s = std::make_unique<ThreadStart>();
  s->procedure = procedure;
  s->record = rec;
  s->hook_start = R.thread_start;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, std::max(stack_size, kMinThreadStack));
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  R.threads[rec->number] = rec;
  pthread_t tid;
  int rc = pthread_create(&tid, &attr, threadMain, s.get());
  pthread_attr_destroy(&attr);
  if (rc != 0) {
    R.threads.erase(rec->number);
    return 0;
  }
  s.release();  // owned by the new thread now
  return rec->number;
}

}  // namespace

int start(Procedure procedure, std::size_t stack_size) {
  std::lock_guard<std::mutex> lk(runtime().mu);
  if (!tl_thread) return 0;
  return startLocked(procedure, stack_size);
}

int threadNumber() { return tl_thread ? tl_thread->number : 0; }

void setThreadHooks(Procedure thread_start, Procedure thread_end) {
  std::lock_guard<std::mutex> lk(runtime().mu);
  runtime().thread_start = thread_start;
  runtime().thread_end = thread_end;
}

void halt(int exit_code) {
  {
    std::lock_guard<std::mutex> lk(runtime().mu);
    Runtime& R = runtime();
    if (!R.halting) {
      R.halting = true;
      R.exit_code = exit_code;
    }
    wakeAll();
  }
  throw HaltUnwind{};
}

StartResult startProgram(const ProgramDecl& decl, FrontEnd& front_end) {
  Runtime& R = runtime();
  std::lock_guard<std::mutex> lk(R.mu);
  if (R.running) return StartResult::AlreadyRunning;
  if (!decl.startup) return StartResult::NoStartup;
  // A fresh program: nothing of the previous run survives.
  R.windows.clear();
  R.threads.clear();
  R.boxes.clear();
  R.popups.clear();
  R.notes.clear();
  R.halting = false;
  R.exit_code = 0;
  R.next_thread = 1;
  R.frame = 0;
  R.active = 0;
  R.thread_start = decl.thread_start;
  R.thread_end = decl.thread_end;
  R.fe = &front_end;
  R.running = true;
  ++R.run;
  if (startLocked(decl.startup, decl.stack_size) == 0) {
    R.running = false;
    R.fe = nullptr;
    return StartResult::ThreadFailed;
  }
  return StartResult::Ok;
}

int waitProgram() {
  Runtime& R = runtime();
  std::unique_lock<std::mutex> lk(R.mu);
  if (R.run == 0) return -1;
  R.state_cv.wait(lk, [&] { return !R.running; });
  return R.exit_code;
}

bool waitProgramFor(std::chrono::milliseconds timeout, int* exit_code) {
  Runtime& R = runtime();
  std::unique_lock<std::mutex> lk(R.mu);
  if (!R.state_cv.wait_for(lk, timeout, [&] { return !R.running; })) return false;
  if (exit_code) *exit_code = R.run == 0 ? -1 : R.exit_code;
  return true;
}

int runProgram(const ProgramDecl& decl, FrontEnd& front_end) {
  if (startProgram(decl, front_end) != StartResult::Ok) return -1;
  return waitProgram();
}

void stopProgram(int exit_code) {
  Runtime& R = runtime();
  std::lock_guard<std::mutex> lk(R.mu);
  if (!R.running) return;
  if (!R.halting) {
    R.halting = true;
    R.exit_code = exit_code;
  }
  wakeAll();
}

bool programRunning() {
  std::lock_guard<std::mutex> lk(runtime().mu);
  return runtime().running;
}

namespace {
bool idleLocked() {
  Runtime& R = runtime();
  if (!R.running || R.threads.empty() || !R.notes.empty()) return false;
  for (auto& [n, t] : R.threads) {
    if (t->wait == ThreadRecord::Wait::Message) continue;
    if (t->wait != ThreadRecord::Wait::Input || !t->queue.empty()) return false;
    if (t->closing_down && !t->stack.empty()) {
      WindowModel* top = findWindow(t->stack.back());
      if (top && !top->closedown_delivered) return false;
    }
    if (!t->stack.empty()) {
      WindowModel* top = findWindow(t->stack.back());
      if (top && !top->ready.empty()) return false;
    }
  }
  return true;
}
}  // namespace

bool programIdle() {
  std::lock_guard<std::mutex> lk(runtime().mu);
  return idleLocked();
}

bool waitProgramIdle(std::chrono::milliseconds timeout) {
  Runtime& R = runtime();
  std::unique_lock<std::mutex> lk(R.mu);
  return R.state_cv.wait_for(lk, timeout, [&] { return !R.running || idleLocked(); });
}

}  // namespace rt
