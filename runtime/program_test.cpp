// Running programs without a scripted user: entry points, exit codes, stacks, thread numbers and
// what the runtime does when called from a thread it did not start.
#include "runtime/program.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <mutex>

#include "runtime/message_box.h"
#include "runtime/popup_menu.h"
#include "runtime/post.h"
#include "runtime/threads.h"
#include "runtime/window.h"

namespace {

class RecordingFrontEnd : public rt::FrontEnd {
 public:
  void windowOpened(rt::WindowId) override { ++opened; }
  void windowChanged(rt::WindowId) override {}
  void windowClosed(rt::WindowId) override { ++closed; }
  void messageBoxOpened(const rt::MessageBoxView& b) override { rt::input::answerMessage(b.id, b.default_button); }
  void standardAction(rt::WindowId, rt::StdAction, int) override {}
  void programEnded(int code) override { ended_with = code; }
  std::atomic<int> opened{0}, closed{0}, ended_with{-100};
};

std::atomic<int> g_ends{0};
std::atomic<std::size_t> g_stack{0};
std::atomic<int> g_numbers[3];

void countEnd() { ++g_ends; }

void haltingStartup() {
  rt::Window win;
  (void)win.open(rt::WindowDecl("Halting"));
  rt::halt(7);
}

std::size_t currentStackSize() {
  pthread_attr_t attr;
  std::size_t size = 0;
  if (pthread_getattr_np(pthread_self(), &attr) == 0) {
    pthread_attr_getstacksize(&attr, &size);
    pthread_attr_destroy(&attr);
  }
  return size;
}

void smallStackProc() {
  g_stack = currentStackSize();
  g_numbers[1] = rt::threadNumber();
}

void startsAThread() {
  g_numbers[0] = rt::threadNumber();
  rt::start(smallStackProc, 50000);
}

TEST(RuntimeProgram, HaltEndsTheProgramWithItsCodeAfterTheThreadEndHookAndClosesItsWindows) {
  RecordingFrontEnd fe;
  g_ends = 0;
  EXPECT_EQ(rt::runProgram(rt::ProgramDecl{haltingStartup, nullptr, countEnd, 0}, fe), 7);
  EXPECT_EQ(fe.ended_with, 7);
  EXPECT_EQ(g_ends, 1);
  EXPECT_EQ(fe.opened, 1);
  EXPECT_EQ(fe.closed, 1);
  EXPECT_TRUE(rt::openWindows().empty());
}

TEST(RuntimeProgram, AStartedThreadGetsAtLeastTheFloorStackAndThreadNumbersStartAgainEachRun) {
  for (int run = 0; run < 2; ++run) {
    RecordingFrontEnd fe;
    g_stack = 0;
    EXPECT_EQ(rt::runProgram(startsAThread, fe), 0);
    EXPECT_GE(g_stack.load(), rt::kMinThreadStack);
    EXPECT_EQ(g_numbers[0], 1);
    EXPECT_EQ(g_numbers[1], 2);
  }
}

void waitsForever() {
  rt::Window win;
  if (win.open(rt::WindowDecl("Waiting")) != rt::OpenResult::Ok) return;
  while (win.accept()) {
  }
}

TEST(RuntimeProgram, OneProgramAtATimeAndStopProgramEndsItFromOutside) {
  RecordingFrontEnd fe;
  ASSERT_EQ(rt::startProgram(rt::ProgramDecl{waitsForever, nullptr, nullptr, 0}, fe), rt::StartResult::Ok);
  EXPECT_EQ(rt::startProgram(rt::ProgramDecl{waitsForever, nullptr, nullptr, 0}, fe), rt::StartResult::AlreadyRunning);
  ASSERT_TRUE(rt::waitProgramIdle(std::chrono::seconds(20)));
  EXPECT_TRUE(rt::programIdle());
  rt::stopProgram(5);
  int code = 0;
  ASSERT_TRUE(rt::waitProgramFor(std::chrono::seconds(20), &code));
  EXPECT_EQ(code, 5);
  EXPECT_FALSE(rt::programRunning());
  EXPECT_EQ(rt::startProgram(rt::ProgramDecl{}, fe), rt::StartResult::NoStartup);
}

std::atomic<int> g_popup{-1};
std::atomic<int> g_box{-1};

void asksWithoutAPopupFrontEnd() {
  rt::Window win;
  (void)win.open(rt::WindowDecl("Asking"));
  g_popup = rt::popup({{"&One"}, {"&Two"}});
  g_box = rt::message("Sure?", "Question", rt::ICON_Question, rt::BUTTON_YES + rt::BUTTON_NO, rt::BUTTON_NO);
}

TEST(RuntimeProgram, APopupMenuIsDismissedWhenTheFrontEndShowsNoneAndBoxesGetTheFrontEndsAnswer) {
  RecordingFrontEnd fe;  // answers every box with its default button
  EXPECT_EQ(rt::runProgram(asksWithoutAPopupFrontEnd, fe), 0);
  EXPECT_EQ(g_popup, 0);
  EXPECT_EQ(g_box, rt::BUTTON_NO);
}

TEST(RuntimeProgram, CallsFromAThreadTheRuntimeDidNotStartFailSafely) {
  rt::Window win;
  EXPECT_EQ(win.open(rt::WindowDecl("Nowhere")), rt::OpenResult::NotProgramThread);
  EXPECT_FALSE(win.accept());
  EXPECT_EQ(rt::message("text", "caption", rt::ICON_Hand, rt::BUTTON_YES + rt::BUTTON_NO, rt::BUTTON_NO), rt::BUTTON_NO);
  EXPECT_EQ(rt::message("text"), rt::BUTTON_OK);
  EXPECT_EQ(rt::start(waitsForever), 0);
  EXPECT_EQ(rt::threadNumber(), 0);
  EXPECT_FALSE(rt::post(rt::EVENT_CloseWindow, 0, 1)) << "no program runs";
  EXPECT_FALSE(rt::pressKey(rt::TabKey));
  EXPECT_EQ(rt::popup({{"&One"}}), 0);
}

}  // namespace
