// Window events: a window that closes itself on a click anywhere, on losing the focus or on its
// timer (like a splash window), and moving, resizing and maximizing by the user.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "runtime/post.h"
#include "runtime/threads.h"
#include "runtime/window.h"
#include "ui/scripted/event_log.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;
using namespace std::chrono_literals;

scripted::EventLog g_log;
int g_splash_timer = 0;  // hundredths; 0 = none

void splashProc() {
  rt::WindowDecl decl("Splash");
  decl.size(200, 100).frame(rt::FrameKind::None)
      .control(rt::ControlDecl::panel(0).at(0, 0, 200, 100))
      .control(rt::ControlDecl::string(1, "Splash text").at(10, 10, 150, 14));
  rt::Window win;
  if (win.open(decl) != rt::OpenResult::Ok) return;
  win.setTimer(g_splash_timer);
  win.setAlert(0, 255, rt::MouseLeft);
  win.setAlert(0, 254, rt::MouseLeft2);
  win.setAlert(0, 253, rt::MouseRight);
  while (win.accept()) {
    g_log.record("splash");
    const int e = rt::event();
    if ((e == rt::EVENT_AlertKey && rt::field() == 0) || e == rt::EVENT_LoseFocus || e == rt::EVENT_Timer)
      rt::post(rt::EVENT_CloseWindow);
    if (e == rt::EVENT_CloseWindow) win.close();
  }
}

void frameProc() {
  rt::WindowDecl decl("Frame");
  decl.appFrame().size(300, 200).maxBox()
      .menu(rt::MenuDecl::menu(-1, "&File", {rt::MenuDecl::item(-2, "&Nothing")}));
  rt::Window win;
  if (win.open(decl) != rt::OpenResult::Ok) return;
  while (win.accept()) {
    g_log.record("frame");
    if (rt::event() == rt::EVENT_OpenWindow) rt::start(splashProc);
    if (rt::event() == rt::EVENT_CloseWindow) win.close();
  }
}

class WindowEvents : public testing::Test {
 protected:
  void start(int timer) {
    g_log.clear();
    g_splash_timer = timer;
    p = std::make_unique<Program>(frameProc);
    ASSERT_TRUE(p->waitIdle());
    ASSERT_TRUE(p->hasWindow("Splash")) << p->dump();
  }
  std::unique_ptr<Program> p;
};

TEST_F(WindowEvents, AClickAnywhereIsAWindowAlertKey) {
  for (int mouse : {rt::MouseLeft, rt::MouseLeft2, rt::MouseRight}) {
    start(0);
    ASSERT_TRUE(p->click("Splash", 1, mouse));  // on the text, which takes no focus
    EXPECT_TRUE(g_log.contains("splash AlertKey 0 key " + std::to_string(mouse))) << g_log.joined();
    EXPECT_FALSE(p->hasWindow("Splash"));
    p.reset();
  }
}

TEST_F(WindowEvents, TurningToAnotherWindowMakesTheLeftOneLoseTheFocus) {
  start(0);
  ASSERT_TRUE(p->highlightMenu("Frame", -2));  // the user opens the frame's menu
  EXPECT_TRUE(g_log.contains("splash LoseFocus 0")) << g_log.joined();
  EXPECT_FALSE(p->hasWindow("Splash"));
  EXPECT_TRUE(g_log.contains("frame GainFocus 0")) << g_log.joined();
}

TEST_F(WindowEvents, TheTimerClosesTheWindowByItself) {
  start(2);
  for (int i = 0; i < 500 && p->hasWindow("Splash"); ++i) std::this_thread::sleep_for(10ms);
  EXPECT_FALSE(p->hasWindow("Splash"));
  EXPECT_TRUE(g_log.contains("splash Timer 0")) << g_log.joined();
}

TEST_F(WindowEvents, MovingResizingAndMaximizingAreReportedToTheWindow) {
  start(0);
  ASSERT_TRUE(p->clickWindow("Splash"));
  rt::Rect r{10, 20, 300, 200, true, true};
  ASSERT_TRUE(p->moveWindow("Frame", r));
  EXPECT_EQ(p->window("Frame")->pos.x, 10);
  r.x = 50;
  ASSERT_TRUE(p->moveWindow("Frame", r));
  r.w = 400;
  ASSERT_TRUE(p->moveWindow("Frame", r));
  ASSERT_TRUE(p->maximize("Frame"));
  EXPECT_TRUE(p->window("Frame")->maximized);
  auto frame = g_log.matching("frame ");
  std::vector<std::string> sizes;
  for (const auto& e : frame)
    if (e.find("Moved") != std::string::npos || e.find("Size") != std::string::npos ||
        e.find("Maximize") != std::string::npos)
      sizes.push_back(e);
  EXPECT_EQ(sizes, (std::vector<std::string>{"frame Moved 0", "frame Moved 0", "frame Sized 0", "frame Maximize 0",
                                             "frame Sized 0"}));
}

}  // namespace
