// Scenarios across procedures and threads: nested windows on one thread, windows on several
// threads, message boxes, posting, closing down at the program's end, halting, thread hooks.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <chrono>
#include <thread>

#include "runtime/message_box.h"
#include "runtime/post.h"
#include "runtime/threads.h"
#include "runtime/window.h"
#include "ui/scripted/event_log.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;
using namespace std::chrono_literals;

scripted::EventLog g_log;
std::atomic<int> g_hook_starts{0}, g_hook_ends{0};
std::atomic<int> g_worker_thread{0};
rt::OpenResult g_mdi_on_frame_thread = rt::OpenResult::Ok;

constexpr int kStartWorker = -2, kCallDialog = -3, kPostToWorker = -4, kCloseWorker = -5, kOpenMdiHere = -6,
              kExit = -7;
constexpr int kWorkerAsk = 1, kWorkerHalt = 2, kWorkerEntry = 3;
constexpr int kEventPing = rt::EVENT_User + 1;

void hookStart() { ++g_hook_starts; }
void hookEnd() { ++g_hook_ends; }

void dialogProc() {
  rt::WindowDecl decl("Dialog");
  decl.size(100, 50).control(rt::ControlDecl::button(1, "&Close").at(10, 10, 40, 14));
  rt::Window win;
  if (win.open(decl) != rt::OpenResult::Ok) return;
  while (win.accept()) {
    g_log.record("dialog");
    if ((rt::event() == rt::EVENT_Accepted && rt::field() == 1) || rt::event() == rt::EVENT_CloseWindow) win.close();
  }
}

void workerProc() {
  g_worker_thread = rt::threadNumber();
  rt::WindowDecl decl("Worker");
  decl.size(120, 60).mdiChild()
      .control(rt::ControlDecl::button(kWorkerAsk, "&Ask").at(4, 4, 40, 14))
      .control(rt::ControlDecl::button(kWorkerHalt, "&Halt").at(50, 4, 40, 14))
      .control(rt::ControlDecl::entry(kWorkerEntry, "@s20").at(4, 24, 80, 10));
  rt::Window win;
  rt::OpenResult r = win.open(decl);
  if (r != rt::OpenResult::Ok) {
    g_log.add("worker open failed " + std::string(rt::toString(r)));
    return;
  }
  const std::string me = "worker" + std::to_string(rt::threadNumber());
  g_log.add(me + " mdi " + std::to_string(rt::viewOf(win.id())->mdi_child));
  while (win.accept()) {
    g_log.record(me);
    switch (rt::event()) {
      case rt::EVENT_Accepted:
        if (rt::field() == kWorkerAsk) {
          int a = rt::message("Delete it?|Really?", "Confirm", rt::ICON_Question, rt::BUTTON_YES + rt::BUTTON_NO,
                              rt::BUTTON_NO);
          g_log.add(me + " answer " + std::to_string(a));
        } else if (rt::field() == kWorkerHalt) {
          rt::halt(3);
        }
        break;
      case rt::EVENT_CloseWindow:
      case rt::EVENT_CloseDown:
        win.close();
        break;
    }
  }
}

void frameProc() {
  rt::WindowDecl decl("Frame");
  decl.appFrame().size(300, 200).statusBar({-1})
      .menu(rt::MenuDecl::menu(-1, "&Tablas",
                               {rt::MenuDecl::item(kStartWorker, "Worker").status("Start a worker"),
                                rt::MenuDecl::item(kCallDialog, "Dialog"),
                                rt::MenuDecl::item(kPostToWorker, "Ping"),
                                rt::MenuDecl::item(kCloseWorker, "Close worker"),
                                rt::MenuDecl::item(kOpenMdiHere, "MDI here"),
                                rt::MenuDecl::separator(),
                                rt::MenuDecl::item(kExit, "E&xit").action(rt::StdAction::Close)}));
  rt::Window win;
  if (win.open(decl) != rt::OpenResult::Ok) return;
  while (win.accept()) {
    g_log.record("frame");
    if (rt::event() == rt::EVENT_CloseWindow) {
      win.close();
      continue;
    }
    if (rt::event() != rt::EVENT_Accepted) continue;
    switch (rt::field()) {
      case kStartWorker: g_log.add("started " + std::to_string(rt::start(workerProc, 50000))); break;
      case kCallDialog:
        dialogProc();
        g_log.add("frame back in " + scripted::eventName(rt::event()) + " " + std::to_string(rt::field()));
        break;
      case kPostToWorker: rt::post(kEventPing, 0, g_worker_thread); break;
      case kCloseWorker: rt::post(rt::EVENT_CloseWindow, 0, g_worker_thread); break;
      case kOpenMdiHere: {
        rt::Window child;
        g_mdi_on_frame_thread = child.open(rt::WindowDecl("Child").mdiChild());
        break;
      }
    }
  }
}

class Threads : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(p.waitIdle()); }
  struct Fresh {
    Fresh() {
      g_log.clear();
      g_hook_starts = 0;
      g_hook_ends = 0;
      g_worker_thread = 0;
      g_mdi_on_frame_thread = rt::OpenResult::Ok;
    }
  } fresh_;
  Program p{rt::ProgramDecl{frameProc, hookStart, hookEnd, 0}};
};

TEST_F(Threads, ACalledProcedureRunsANestedLoopOnTheCallersThreadWhileTheCallerIsInactive) {
  ASSERT_TRUE(p.chooseMenu("Frame", kCallDialog));
  ASSERT_TRUE(p.hasWindow("Dialog"));
  EXPECT_EQ(p.window("Dialog")->thread, p.window("Frame")->thread);
  EXPECT_FALSE(p.takesInput("Frame"));
  EXPECT_TRUE(p.takesInput("Dialog"));
  EXPECT_FALSE(p.chooseMenu("Frame", kStartWorker)) << "the caller's window takes no input meanwhile";
  ASSERT_TRUE(p.click("Dialog", 1));
  EXPECT_FALSE(p.hasWindow("Dialog"));
  EXPECT_TRUE(p.takesInput("Frame"));
  EXPECT_TRUE(g_log.contains("frame back in Accepted -3")) << "the caller's event is back when the call returns\n"
                                                            << g_log.joined();
  EXPECT_TRUE(g_log.matching("started").empty()) << g_log.joined();
}

TEST_F(Threads, StartingTheSameProcedureTwiceGivesTwoUsableWindowsOnTwoThreads) {
  ASSERT_TRUE(p.chooseMenu("Frame", {"&Tablas", "Worker"}));
  ASSERT_TRUE(p.chooseMenu("Frame", {"&Tablas", "Worker"}));
  auto started = g_log.matching("started");
  ASSERT_EQ(started, (std::vector<std::string>{"started 2", "started 3"}));
  std::vector<rt::WindowView> workers;
  for (auto& v : p.windows())
    if (v.title == "Worker") workers.push_back(v);
  ASSERT_EQ(workers.size(), 2u);
  EXPECT_NE(workers[0].thread, workers[1].thread);
  for (const auto& w : workers) {
    EXPECT_TRUE(w.takes_input);
    EXPECT_TRUE(w.mdi_child);
    ASSERT_TRUE(p.click(w.id, kWorkerEntry));
    ASSERT_TRUE(p.typeText(w.id, kWorkerEntry, "hello"));
    ASSERT_TRUE(p.pressKey(w.id, rt::TabKey));
    EXPECT_TRUE(g_log.contains("worker" + std::to_string(w.thread) + " Accepted 3 key 9")) << g_log.joined();
  }
  EXPECT_EQ(g_hook_starts, 3) << "the hooks run on the first thread too";
}

TEST_F(Threads, AMessageBoxBlocksOnlyTheAskingThread) {
  ASSERT_TRUE(p.chooseMenu("Frame", kStartWorker));
  rt::WindowId worker = p.find("Worker");
  ASSERT_TRUE(p.click(worker, kWorkerAsk));
  auto box = p.pendingMessage();
  ASSERT_TRUE(box.has_value()) << p.dump();
  EXPECT_EQ(box->caption, "Confirm");
  EXPECT_EQ(box->text, "Delete it?\nReally?");
  EXPECT_EQ(box->icon, rt::ICON_Question);
  EXPECT_EQ(box->buttons, rt::BUTTON_YES + rt::BUTTON_NO);
  EXPECT_EQ(box->default_button, rt::BUTTON_NO);
  EXPECT_EQ(box->owner, worker);
  EXPECT_FALSE(p.takesInput(worker));
  EXPECT_TRUE(p.takesInput("Frame")) << "the frame's thread is not blocked";
  ASSERT_TRUE(p.chooseMenu("Frame", kCallDialog));
  ASSERT_TRUE(p.click("Dialog", 1));

  EXPECT_FALSE(p.answer(rt::BUTTON_CANCEL)) << "a button the box does not have does not answer it";
  ASSERT_TRUE(p.answer(rt::BUTTON_YES));
  EXPECT_TRUE(g_log.contains("worker2 answer 2")) << g_log.joined();
  EXPECT_TRUE(p.takesInput(worker));

  p.queueAnswer(rt::BUTTON_NO);
  ASSERT_TRUE(p.click(worker, kWorkerAsk));
  EXPECT_TRUE(g_log.contains("worker2 answer 4")) << g_log.joined();
  EXPECT_FALSE(p.pendingMessage().has_value());
}

TEST_F(Threads, PostReachesTheOtherThreadsWindowAndCanCloseIt) {
  ASSERT_TRUE(p.chooseMenu("Frame", kStartWorker));
  ASSERT_TRUE(p.chooseMenu("Frame", kPostToWorker));
  EXPECT_TRUE(g_log.contains("worker2 " + std::to_string(kEventPing) + " 0")) << g_log.joined();
  ASSERT_TRUE(p.chooseMenu("Frame", kCloseWorker));
  EXPECT_FALSE(p.hasWindow("Worker"));
  EXPECT_TRUE(g_log.contains("worker2 CloseWindow 0")) << g_log.joined();
  EXPECT_EQ(g_hook_ends, 1) << "the worker's thread ended through its end hook";
}

TEST_F(Threads, ClosingTheFrameSendsCloseDownToTheOtherThreadsAndEndsTheProgram) {
  ASSERT_TRUE(p.chooseMenu("Frame", kStartWorker));
  ASSERT_TRUE(p.chooseMenu("Frame", kStartWorker));
  ASSERT_TRUE(p.chooseMenu("Frame", {"&Tablas", "Exit"}));  // the standard action: no program code
  EXPECT_EQ(p.end(), 0);
  EXPECT_TRUE(g_log.contains("worker2 CloseDown 0")) << g_log.joined();
  EXPECT_TRUE(g_log.contains("worker3 CloseDown 0")) << g_log.joined();
  EXPECT_EQ(g_hook_starts, 3);
  EXPECT_EQ(g_hook_ends, 3);
  EXPECT_TRUE(p.windows().empty());
}

TEST_F(Threads, AnMdiChildIsRefusedOnTheFramesThread) {
  ASSERT_TRUE(p.chooseMenu("Frame", kOpenMdiHere));
  EXPECT_EQ(g_mdi_on_frame_thread, rt::OpenResult::MdiChildOnFrameThread);
  EXPECT_FALSE(p.hasWindow("Child"));
  ASSERT_TRUE(p.chooseMenu("Frame", kStartWorker));
  EXPECT_TRUE(g_log.contains("worker2 mdi 1")) << "on its own thread it opens inside the frame\n" << g_log.joined();
}

TEST_F(Threads, HaltEndsEveryThreadWithTheExitCodeEvenWhileAnotherWaitsForAnAnswer) {
  ASSERT_TRUE(p.chooseMenu("Frame", kStartWorker));
  rt::WindowId first = p.find("Worker");
  ASSERT_TRUE(p.chooseMenu("Frame", kStartWorker));
  ASSERT_TRUE(p.click(first, kWorkerAsk));
  ASSERT_TRUE(p.pendingMessage().has_value());
  rt::WindowId second = p.find("Worker");
  ASSERT_NE(first, second);
  rt::input::click(second, kWorkerHalt, rt::MouseLeft);
  EXPECT_EQ(p.end(), 3);
  EXPECT_EQ(g_hook_ends, 3) << "every thread ran its end hook";
  EXPECT_TRUE(p.windows().empty());
}

// A program without a frame: the first thread's window alone; it can run again in the same
// process, with fresh thread numbers.
void lonelyProc() {
  rt::Window win;
  if (win.open(rt::WindowDecl("Lonely").timer(1)) != rt::OpenResult::Ok) return;
  int ticks = 0;
  while (win.accept()) {
    if (rt::event() == rt::EVENT_Timer && ++ticks == 3) g_log.add("three ticks on " + std::to_string(rt::threadNumber()));
    if (rt::event() == rt::EVENT_CloseWindow) win.close();
  }
}

TEST(ScriptedProgram, RunsAgainInTheSameProcessAndItsTimerTicks) {
  for (int run = 0; run < 2; ++run) {
    g_log.clear();
    Program p(lonelyProc);
    ASSERT_TRUE(p.started());
    ASSERT_TRUE(p.waitIdle());
    EXPECT_EQ(p.window("Lonely")->thread, 1);
    for (int i = 0; i < 400 && g_log.entries().empty(); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(g_log.entries(), std::vector<std::string>{"three ticks on 1"});
    ASSERT_TRUE(p.closeWindow("Lonely"));
    EXPECT_EQ(p.end(), 0);
  }
}

// Counts its runs in a file of the working directory and shows the count as its title.
void countingProc() {
  int runs = 0;
  {
    std::ifstream in("runs.txt");
    in >> runs;
  }
  ++runs;
  {
    std::ofstream out("runs.txt");
    out << runs;
  }
  rt::Window win;
  if (win.open(rt::WindowDecl("Run " + std::to_string(runs))) != rt::OpenResult::Ok) return;
  while (win.accept())
    if (rt::event() == rt::EVENT_CloseWindow) win.close();
}

TEST(ScriptedProgram, RunsInAFreshDirectoryOrInOneTheTestKeepsAcrossRuns) {
  {
    Program p(countingProc);
    ASSERT_TRUE(p.waitIdle());
    EXPECT_TRUE(p.hasWindow("Run 1"));
  }
  {
    Program p(countingProc);
    ASSERT_TRUE(p.waitIdle());
    EXPECT_TRUE(p.hasWindow("Run 1")) << "each Program starts in an empty directory";
  }
  scripted::TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  for (const char* title : {"Run 1", "Run 2"}) {
    Program p(countingProc, Program::Options{dir.path()});
    ASSERT_TRUE(p.started());
    ASSERT_TRUE(p.waitIdle());
    EXPECT_TRUE(p.hasWindow(title)) << p.dump();
    ASSERT_TRUE(p.closeWindow(title));
    EXPECT_EQ(p.end(), 0);
  }
}

}  // namespace
