// The window manager driving real runtime windows: the Init/Ask/Kill protocol and its results,
// responses of registered controls and of the close box, cancel refusal, components and their
// event results, the accept-all pass of the OK control, resets, and the toolbar forwarding its
// buttons' requests.
#include "framework/window_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "framework/toolbar_class.h"
#include "runtime/event.h"
#include "runtime/frontend.h"
#include "runtime/program.h"
#include "runtime/window.h"

namespace {

using namespace std::chrono_literals;

// A front end that shows nothing: the tests send raw input through rt::input and read the model.
class SilentFrontEnd : public rt::FrontEnd {
 public:
  void windowOpened(rt::WindowId) override {}
  void windowChanged(rt::WindowId) override {}
  void windowClosed(rt::WindowId) override {}
  void messageBoxOpened(const rt::MessageBoxView& box) override { rt::input::answerMessage(box.id, rt::BUTTON_OK); }
  void standardAction(rt::WindowId, rt::StdAction, int) override {}
  void programEnded(int) override {}
};

// What the procedures under test did, in order; shared between the test and the program thread.
struct Log {
  std::mutex mu;
  std::vector<std::string> lines;
  void add(std::string s) {
    std::lock_guard<std::mutex> lk(mu);
    lines.push_back(std::move(s));
  }
  std::vector<std::string> get() {
    std::lock_guard<std::mutex> lk(mu);
    return lines;
  }
  void clear() {
    std::lock_guard<std::mutex> lk(mu);
    lines.clear();
  }
  bool has(const std::string& s) {
    std::lock_guard<std::mutex> lk(mu);
    for (const auto& l : lines)
      if (l == s) return true;
    return false;
  }
};
Log g_log;

constexpr int kEntry1 = 1, kEntry2 = 2, kRequired = 3, kOk = 4, kCancel = 5, kClose = 6, kSheet = 7,
              kTab1 = 8, kTab2 = 9, kNext = 10, kPrev = 11, kList = 12, kAmount = 13;

rt::WindowDecl testDecl() {
  rt::WindowDecl decl("Managed");
  decl.size(200, 120)
      .control(rt::ControlDecl::entry(kEntry1, "@s10").at(4, 4, 60, 10))
      .control(rt::ControlDecl::entry(kEntry2, "@s10").at(4, 18, 60, 10))
      .control(rt::ControlDecl::entry(kRequired, "@s10").at(4, 32, 60, 10).required())
      .control(rt::ControlDecl::button(kOk, "&OK").at(4, 50, 40, 14))
      .control(rt::ControlDecl::button(kCancel, "&Cancel").at(50, 50, 40, 14))
      .control(rt::ControlDecl::button(kClose, "C&lose").at(96, 50, 40, 14))
      .control(rt::ControlDecl::sheet(kSheet).at(140, 4, 50, 40))
      .control(rt::ControlDecl::tab(kTab1, kSheet, "One"))
      .control(rt::ControlDecl::tab(kTab2, kSheet, "Two"))
      .control(rt::ControlDecl::button(kNext, "&Next").at(4, 70, 40, 14))
      .control(rt::ControlDecl::button(kPrev, "&Prev").at(50, 70, 40, 14))
      .control(rt::ControlDecl::list(kList, "40L|~A~@s10@").at(4, 88, 100, 20))
      .control(rt::ControlDecl::entry(kAmount, "@n-10.2").at(110, 88, 60, 10).required());
  return decl;
}

// A component that logs what the window manager asks of it and answers events as configured.
class Probe : public fw::WindowComponent {
 public:
  explicit Probe(std::string name) : name_(std::move(name)) {}
  int answer_accepted_of = 0;  // control whose EVENT_Accepted this probe answers
  int answer = 0;              // with this result
  void Attached(fw::WindowManager&) override { g_log.add(name_ + " attached"); }
  int TakeEvent() override {
    if (rt::event() == rt::EVENT_Accepted && rt::field() == answer_accepted_of && answer_accepted_of != 0) {
      g_log.add(name_ + " answers " + std::to_string(answer));
      return answer;
    }
    return 0;
  }
  void Reset(bool force) override { g_log.add(name_ + " reset " + (force ? "forced" : "plain")); }
  void Update() override { g_log.add(name_ + " update"); }
  void SetAlerts() override { g_log.add(name_ + " alerts"); }
  void Kill() override { g_log.add(name_ + " kill"); }

 private:
  std::string name_;
};

class Target : public fw::ToolbarTarget {
 public:
  explicit Target(std::string name) : name_(std::move(name)) {}
  int TakeToolbar(int request) override {
    g_log.add(name_ + " toolbar " + std::to_string(request));
    return fw::Level_Handled;
  }

 private:
  std::string name_;
};

// How the test window manager behaves; set before the program starts.
struct Config {
  int init_result = 0;         // what Init returns (after the framework's Init)
  bool open_window = true;
  int refuse_cancels = 0;      // how many cancels ConfirmCancel refuses
  int probe_answer_feq = 0;
  int probe_answer = 0;
  bool with_toolbar = false;
  bool toolbar_targets = true;
};
Config g_config;
int g_run_result = -1;
std::int32_t g_vcr = 0;

class TestWindow : public fw::WindowManager {
 public:
  TestWindow(rt::Window& w, Probe& a, Probe& b, fw::ToolbarClass& tb)
      : fw::WindowManager(w), a_(a), b_(b), tb_(tb) {}

  int Init() override {
    g_log.add("init");
    if (int r = fw::WindowManager::Init(); r != 0) return r;
    FirstField = kEntry2;
    VCRRequest = &g_vcr;
    OKControl = kOk;
    AddItem(a_);
    AddItem(b_);
    AddItem(a_);  // a second registration changes nothing
    if (g_config.with_toolbar) AddItem(tb_);
    AddItem(kCancel, fw::RequestCancelled);
    AddItem(kClose, fw::RequestCompleted);
    if (g_config.open_window && Open(testDecl()) != rt::OpenResult::Ok) return fw::Level_Fatal;
    SetAlerts();
    return g_config.init_result;
  }
  void Ask() override {
    g_log.add("ask");
    fw::WindowManager::Ask();
  }
  int Kill() override {
    int r = fw::WindowManager::Kill();
    g_log.add("kill " + std::to_string(r));
    return r;
  }
  int TakeAccepted() override {
    g_log.add("accepted " + std::to_string(rt::field()));
    return fw::WindowManager::TakeAccepted();
  }
  int TakeCompleted() override {
    g_log.add("completed");
    return fw::WindowManager::TakeCompleted();
  }
  int ConfirmCancel() override {
    if (refusals_ < g_config.refuse_cancels) {
      ++refusals_;
      g_log.add("cancel refused");
      return fw::Level_Notify;
    }
    return fw::Level_Benign;
  }

 private:
  Probe& a_;
  Probe& b_;
  fw::ToolbarClass& tb_;
  int refusals_ = 0;
};

void testProcedure() {
  rt::Window window;
  Probe a("a"), b("b");
  a.answer_accepted_of = g_config.probe_answer_feq;
  a.answer = g_config.probe_answer;
  fw::ToolbarClass toolbar;
  Target list_target("list"), form_target("form");
  if (g_config.with_toolbar) {
    EXPECT_TRUE(toolbar.AddButton(kNext, fw::VCRForward));
    EXPECT_TRUE(toolbar.AddButton(kPrev, fw::InsertRecord));
    EXPECT_FALSE(toolbar.AddButton(kPrev, 12345));
    if (g_config.toolbar_targets) {
      toolbar.AddTarget(list_target, kList);
      toolbar.AddTarget(form_target, kEntry1);
    }
  }
  TestWindow w(window, a, b, toolbar);
  g_run_result = w.Run();
  g_log.add("second kill " + std::to_string(w.Kill()));
}

class WindowManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TearDown();
    g_log.clear();
    g_config = Config{};
    g_run_result = -1;
    g_vcr = 0;
  }
  void TearDown() override {
    if (rt::programRunning()) {
      rt::stopProgram(0);
      rt::waitProgram();
    }
  }
  void start() {
    ASSERT_EQ(rt::startProgram(rt::ProgramDecl{testProcedure, nullptr, nullptr, 0}, fe_), rt::StartResult::Ok);
    ASSERT_TRUE(rt::waitProgramIdle(20s));
  }
  rt::WindowId window() {
    for (rt::WindowId id : rt::openWindows()) {
      auto v = rt::viewOf(id);
      if (v && v->title == "Managed") return id;
    }
    return 0;
  }
  void idle() { ASSERT_TRUE(rt::waitProgramIdle(20s)) << rt::dumpModel(); }
  int endProgram() {
    int code = -1;
    EXPECT_TRUE(rt::waitProgramFor(20s, &code)) << rt::dumpModel();
    return code;
  }
  int focus() {
    auto v = rt::viewOf(window());
    return v ? v->focus : -1;
  }

  SilentFrontEnd fe_;
};

TEST_F(WindowManagerTest, InitResultDecidesWhetherTheWindowRunsAndKillAlwaysFollows) {
  struct Case {
    int init_result;
    bool open;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      // The request was carried out before the window showed (a delete): no event loop.
      {fw::Level_Handled, true, {"init", "kill 0", "kill 4", "second kill 4"}},
      // Init failed before opening anything.
      {fw::Level_Fatal, false, {"init", "kill 0", "kill 4", "second kill 4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.init_result);
    SetUp();
    g_config.init_result = c.init_result;
    g_config.open_window = c.open;
    ASSERT_EQ(rt::startProgram(rt::ProgramDecl{testProcedure, nullptr, nullptr, 0}, fe_), rt::StartResult::Ok);
    EXPECT_EQ(endProgram(), 0);
    std::vector<std::string> lines;
    for (const auto& l : g_log.get())
      if (l == "init" || l.rfind("kill", 0) == 0 || l.rfind("second", 0) == 0 || l == "ask") lines.push_back(l);
    EXPECT_EQ(lines, c.expected);
    // A response that was never set reads as cancelled.
    EXPECT_EQ(g_run_result, fw::RequestCancelled);
  }
}

TEST_F(WindowManagerTest, OpeningResetsComponentsAndFocusesTheFirstField) {
  start();
  ASSERT_NE(window(), 0u);
  EXPECT_EQ(focus(), kEntry2);
  auto lines = g_log.get();
  // Attached once each, in order; alerts set by Init; the open reset is forced.
  std::vector<std::string> expected = {"init", "a attached", "b attached", "a alerts", "b alerts", "ask",
                                       "a reset forced", "b reset forced"};
  EXPECT_EQ(lines, expected);
}

TEST_F(WindowManagerTest, RegisteredControlsAndTheCloseBoxEndWithTheirResponse) {
  struct Case {
    const char* what;
    int feq;  // 0 = the close box
    int response;
  };
  const Case cases[] = {
      {"close button registered as completed", kClose, fw::RequestCompleted},
      {"cancel button registered as cancelled", kCancel, fw::RequestCancelled},
      {"close box", 0, fw::RequestCancelled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    start();
    rt::WindowId id = window();
    ASSERT_NE(id, 0u);
    if (c.feq != 0) rt::input::click(id, c.feq, rt::MouseLeft);
    else rt::input::close(id);
    EXPECT_EQ(endProgram(), 0);
    EXPECT_EQ(g_run_result, c.response);
    // Components are killed in the reverse order of registration, once.
    auto lines = g_log.get();
    auto a = std::find(lines.begin(), lines.end(), "a kill");
    auto b = std::find(lines.begin(), lines.end(), "b kill");
    ASSERT_NE(a, lines.end());
    ASSERT_NE(b, lines.end());
    EXPECT_LT(b, a);
    EXPECT_TRUE(g_log.has("second kill 4"));
  }
}

TEST_F(WindowManagerTest, RefusedCancelKeepsTheWindowOpenWithoutAResponse) {
  g_config.refuse_cancels = 1;
  start();
  rt::WindowId id = window();
  rt::input::focus(id, kEntry1);
  idle();
  rt::input::click(id, kCancel, rt::MouseLeft);
  idle();
  EXPECT_TRUE(g_log.has("cancel refused"));
  ASSERT_NE(window(), 0u) << "the window closed although the cancel was refused";
  EXPECT_EQ(focus(), kEntry2);  // back to the first field
  // Completing afterwards is not spoiled by the refused cancel.
  rt::input::click(id, kClose, rt::MouseLeft);
  EXPECT_EQ(endProgram(), 0);
  EXPECT_EQ(g_run_result, fw::RequestCompleted);
}

TEST_F(WindowManagerTest, ComponentResultsStopOrEndTheEvent) {
  struct Case {
    const char* what;
    int answer;
    bool window_accepted;  // the window's own TakeAccepted saw the button
    bool ended;
  };
  const Case cases[] = {
      {"consumed by the component", fw::Level_Handled, false, false},
      {"the component ends the loop", fw::Level_Fatal, false, true},
      {"the component lets it through", fw::Level_Benign, true, true},  // the close button closes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    g_config.probe_answer_feq = kClose;
    g_config.probe_answer = c.answer;
    start();
    rt::input::click(window(), kClose, rt::MouseLeft);
    if (c.ended) {
      EXPECT_EQ(endProgram(), 0);
    } else {
      idle();
      EXPECT_NE(window(), 0u);
    }
    EXPECT_TRUE(g_log.has("a answers " + std::to_string(c.answer)));
    EXPECT_EQ(g_log.has("accepted " + std::to_string(kClose)), c.window_accepted);
  }
}

TEST_F(WindowManagerTest, OkAcceptsEveryEntryInOrderThenCompletes) {
  start();
  rt::WindowId id = window();
  rt::input::focus(id, kRequired);
  idle();
  rt::input::editText(id, kRequired, "x");
  idle();
  rt::input::focus(id, kAmount);
  idle();
  rt::input::editText(id, kAmount, "2.5");
  idle();
  g_log.clear();
  rt::input::click(id, kOk, rt::MouseLeft);
  EXPECT_EQ(endProgram(), 0);
  std::vector<std::string> accepted;
  for (const auto& l : g_log.get())
    if (l.rfind("accepted", 0) == 0 || l == "completed") accepted.push_back(l);
  // The changed entry is accepted as it is left by the click, then the pass accepts every entry.
  std::vector<std::string> expected = {"accepted 13", "accepted 4", "accepted 1", "accepted 2",
                                       "accepted 3",  "accepted 13", "completed"};
  EXPECT_EQ(accepted, expected);
  EXPECT_EQ(g_run_result, fw::RequestCompleted);
}

TEST_F(WindowManagerTest, OkStopsAtTheFirstRequiredEntryLeftEmpty) {
  struct Case {
    const char* what;
    const char* text;    // typed into the required text entry ("" = untouched)
    const char* amount;  // typed into the required amount ("" = untouched)
    int stops_at;
  };
  const Case cases[] = {
      {"both untouched", "", "", kRequired},
      {"blank text", "   ", "3", kRequired},
      {"amount untouched", "x", "", kAmount},
      {"amount zero", "x", "0", kAmount},
      {"amount zero with decimals", "x", "0.00", kAmount},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    start();
    rt::WindowId id = window();
    for (auto [feq, text] : {std::pair{kRequired, c.text}, std::pair{kAmount, c.amount}}) {
      if (*text == 0) continue;
      rt::input::focus(id, feq);
      idle();
      rt::input::editText(id, feq, text);
      idle();
    }
    rt::input::click(id, kOk, rt::MouseLeft);
    idle();
    EXPECT_NE(window(), 0u);
    EXPECT_EQ(focus(), c.stops_at);
    EXPECT_FALSE(g_log.has("completed"));
    EXPECT_FALSE(g_log.has("accepted 1"));
  }
}

TEST_F(WindowManagerTest, AnotherTabResetsWithoutForce) {
  start();
  g_log.clear();
  rt::input::selectTab(window(), kSheet, kTab2);
  idle();
  EXPECT_TRUE(g_log.has("a reset plain"));
  EXPECT_TRUE(g_log.has("b reset plain"));
}

TEST_F(WindowManagerTest, ToolbarForwardsButtonRequestsToTheCurrentTarget) {
  g_config.with_toolbar = true;
  start();
  rt::WindowId id = window();
  // The target added last is current.
  rt::input::click(id, kNext, rt::MouseLeft);
  idle();
  EXPECT_TRUE(g_log.has("form toolbar 3009"));
  // Focusing the list makes its target current.
  rt::input::focus(id, kList);
  idle();
  rt::input::click(id, kPrev, rt::MouseLeft);
  idle();
  EXPECT_TRUE(g_log.has("list toolbar 1"));
  EXPECT_FALSE(g_log.has("accepted " + std::to_string(kPrev)));  // consumed by the target
  EXPECT_EQ(g_vcr, 0);
}

TEST_F(WindowManagerTest, ToolbarWithoutTargetLeavesTheRowRequestForTheWindow) {
  g_config.with_toolbar = true;
  g_config.toolbar_targets = false;
  start();
  rt::input::click(window(), kNext, rt::MouseLeft);
  idle();
  EXPECT_EQ(g_vcr, fw::VCRForward);
  EXPECT_FALSE(g_log.has("accepted " + std::to_string(kNext)));
}

}  // namespace
