// Keyboard navigation in a small form driven through the scripted front end: Enter, Down and Right
// move forward, Up and Left back, by control type; Enter in an entry moves on without pressing the
// default button; Shift+Tab goes through the platform layer as real keyboard input.
#include "quillet/app/keynav.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "framework/request_codes.h"
#include "framework/toolbar_class.h"
#include "framework/window_manager.h"
#include "quillet/app/platform.h"
#include "runtime/event.h"
#include "runtime/window.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;

constexpr int kName = 1, kAmount = 2, kNotes = 3, kCheck = 4, kList = 5, kOk = 6, kCancel = 7,
              kReadOnly = 8, kLast = 9;
constexpr const char* kTitle = "Ficha de prueba";

std::mutex g_mu;
std::vector<int> g_accepted;
int g_flag = 0;

std::vector<int> accepted() {
  std::lock_guard<std::mutex> lk(g_mu);
  return g_accepted;
}

class FormWindow : public fw::WindowManager {
 public:
  FormWindow(rt::Window& w, quillet::KeyNavClass& keynav, fw::ToolbarClass& toolbar)
      : fw::WindowManager(w), keynav_(keynav), toolbar_(toolbar) {}

  int Init() override {
    if (int r = fw::WindowManager::Init(); r != 0) return r;
    FirstField = kName;
    AddItem(toolbar_);
    AddItem(kCancel, fw::RequestCancelled);
    rt::WindowDecl decl(kTitle);
    decl.size(220, 160)
        .control(rt::ControlDecl::entry(kName, "@s20").at(4, 4, 80, 10).use(rt::Binding::text(name_)))
        .control(rt::ControlDecl::entry(kAmount, "@n-10.2").at(4, 18, 60, 10))
        .control(rt::ControlDecl::text(kNotes).at(4, 32, 100, 30))
        .control(rt::ControlDecl::check(kCheck, "&Marca").at(4, 66, 60, 10))
        .control(rt::ControlDecl::list(kList, "40L|~A~@s10@").at(4, 80, 100, 40))
        .control(rt::ControlDecl::button(kOk, "&Aceptar").at(4, 124, 40, 14).defaultButton())
        .control(rt::ControlDecl::button(kCancel, "&Cancelar").at(50, 124, 40, 14))
        .control(rt::ControlDecl::entry(kReadOnly, "@s10").at(100, 124, 40, 10).readOnly())
        .control(rt::ControlDecl::entry(kLast, "@s10").at(150, 124, 40, 10));
    if (Open(decl) != rt::OpenResult::Ok) return fw::Level_Fatal;
    Window().setListRows(kList, {{"uno"}, {"dos"}, {"tres"}});
    SetAlerts();
    keynav_.Init(static_cast<std::uint8_t>(g_flag));
    return fw::Level_Benign;
  }

  int TakeEvent() override {
    if (keynav_.TakeEvent() == 1) return fw::Level_Handled;
    return fw::WindowManager::TakeEvent();
  }

  int TakeAccepted() override {
    {
      std::lock_guard<std::mutex> lk(g_mu);
      g_accepted.push_back(rt::field());
    }
    return fw::WindowManager::TakeAccepted();
  }

 private:
  quillet::KeyNavClass& keynav_;
  fw::ToolbarClass& toolbar_;
  std::string name_;
};

void formProcedure() {
  rt::Window window;
  quillet::KeyNavClass KeyNav(window);
  fw::ToolbarClass Toolbar;
  {
    FormWindow ThisWindow(window, KeyNav, Toolbar);
    ThisWindow.Run();
  }
  window.close();
}

class KeyNavTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::lock_guard<std::mutex> lk(g_mu);
    g_accepted.clear();
    g_flag = 0;
    quillet::standInPlatform().clearCalls();
  }
};

TEST_F(KeyNavTest, NavigationKeysMoveTheFocusByControlType) {
  struct Case {
    const char* what;
    int from;
    int key;
    int to;
  };
  const Case cases[] = {
      {"Enter in an entry", kName, rt::EnterKey, kAmount},
      {"Down in an entry", kName, rt::DownKey, kAmount},
      {"Up in an entry", kAmount, rt::UpKey, kName},
      {"Up in the first entry wraps to the last field", kName, rt::UpKey, kLast},
      {"Enter in a multi-line text stays in it", kNotes, rt::EnterKey, kNotes},
      {"Enter on a check box", kCheck, rt::EnterKey, kList},
      {"Down on a check box", kCheck, rt::DownKey, kList},
      {"Right on a check box", kCheck, rt::RightKey, kList},
      {"Up on a check box", kCheck, rt::UpKey, kNotes},
      {"Left on a check box", kCheck, rt::LeftKey, kNotes},
      {"Enter on a list", kList, rt::EnterKey, kOk},
      {"Right leaves a list forward", kList, rt::RightKey, kOk},
      {"Left leaves a list backward", kList, rt::LeftKey, kCheck},
      {"Down stays within a list", kList, rt::DownKey, kList},
      {"Right on a button", kOk, rt::RightKey, kCancel},
      {"Down on a button", kOk, rt::DownKey, kCancel},
      {"Left on a button", kOk, rt::LeftKey, kList},
      {"Up on a button", kOk, rt::UpKey, kList},
      {"a read-only entry is passed over", kCancel, rt::RightKey, kLast},
      {"Down in the last entry wraps to the first", kLast, rt::DownKey, kName},
  };
  Program p(formProcedure);
  ASSERT_TRUE(p.waitIdle());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(p.focus(kTitle, c.from));
    ASSERT_EQ(p.focus(kTitle), c.from);
    ASSERT_TRUE(p.pressKey(kTitle, c.key));
    EXPECT_EQ(p.focus(kTitle), c.to);
  }
  // None of the keys pressed the default button or closed the form.
  for (int feq : accepted()) EXPECT_NE(feq, kOk);
  EXPECT_TRUE(p.hasWindow(kTitle));
  ASSERT_TRUE(p.closeWindow(kTitle));
  EXPECT_EQ(p.end(), 0);
}

TEST_F(KeyNavTest, EnterInAnEntryAcceptsItAndMovesOnWithoutPressingTheDefaultButton) {
  Program p(formProcedure);
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.typeText(kTitle, kName, "Cliente"));
  ASSERT_TRUE(p.pressKey(kTitle, rt::EnterKey));
  EXPECT_EQ(p.focus(kTitle), kAmount);
  EXPECT_EQ(accepted(), std::vector<int>{kName});
  EXPECT_EQ(p.text(kTitle, kName), "Cliente");
  // Enter again in the numeric entry: still no default button.
  ASSERT_TRUE(p.typeText(kTitle, kAmount, "12.5"));
  ASSERT_TRUE(p.pressKey(kTitle, rt::EnterKey));
  EXPECT_EQ(p.focus(kTitle), kNotes);
  EXPECT_EQ(accepted(), (std::vector<int>{kName, kAmount}));
  EXPECT_TRUE(p.hasWindow(kTitle));
  // Enter on the default button itself still presses it.
  ASSERT_TRUE(p.focus(kTitle, kOk));
  ASSERT_TRUE(p.pressKey(kTitle, rt::EnterKey));
  EXPECT_EQ(accepted().back(), kOk);
  ASSERT_TRUE(p.closeWindow(kTitle));
  EXPECT_EQ(p.end(), 0);
}

TEST_F(KeyNavTest, BackwardMovesAreSentAsRealShiftTabKeyboardInput) {
  Program p(formProcedure);
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.focus(kTitle, kAmount));
  quillet::standInPlatform().clearCalls();
  ASSERT_TRUE(p.pressKey(kTitle, rt::UpKey));
  EXPECT_EQ(p.focus(kTitle), kName);
  using K = quillet::PlatformCall::Kind;
  const std::vector<quillet::PlatformCall> expected = {
      {K::Key, 0, quillet::VK_SHIFT, 0, false},
      {K::Key, 0, quillet::VK_TAB, 0, false},
      {K::Key, 0, quillet::VK_TAB, 0, true},
      {K::Key, 0, quillet::VK_SHIFT, 0, true},
  };
  EXPECT_EQ(quillet::standInPlatform().calls(), expected);
  // Forward moves do not need the platform.
  quillet::standInPlatform().clearCalls();
  ASSERT_TRUE(p.pressKey(kTitle, rt::DownKey));
  EXPECT_EQ(p.focus(kTitle), kAmount);
  EXPECT_TRUE(quillet::standInPlatform().calls().empty());
  ASSERT_TRUE(p.closeWindow(kTitle));
  EXPECT_EQ(p.end(), 0);
}

TEST_F(KeyNavTest, FlagDecidesWhetherLeftAndRightLeaveALists) {
  struct Case {
    int flag;
    int right_to;
    int left_to;
  };
  const Case cases[] = {{0, kOk, kCheck}, {1, kList, kList}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag);
    g_flag = c.flag;
    Program p(formProcedure);
    ASSERT_TRUE(p.waitIdle());
    ASSERT_TRUE(p.focus(kTitle, kList));
    ASSERT_TRUE(p.pressKey(kTitle, rt::RightKey));
    EXPECT_EQ(p.focus(kTitle), c.right_to);
    ASSERT_TRUE(p.focus(kTitle, kList));
    ASSERT_TRUE(p.pressKey(kTitle, rt::LeftKey));
    EXPECT_EQ(p.focus(kTitle), c.left_to);
    // Enter leaves the list forward either way.
    ASSERT_TRUE(p.focus(kTitle, kList));
    ASSERT_TRUE(p.pressKey(kTitle, rt::EnterKey));
    EXPECT_EQ(p.focus(kTitle), kOk);
    ASSERT_TRUE(p.closeWindow(kTitle));
    EXPECT_EQ(p.end(), 0);
  }
}

TEST_F(KeyNavTest, ExplicitTabOrderAndExcludedControls) {
  // Controls listed in the queues: Tab from CT goes to NEXTCT and Shift+Tab comes back; an
  // excluded control keeps the runtime's own handling of the keys.
  struct Local {
    static void procedure() {
      rt::Window window;
      quillet::KeyNavClass KeyNav(window);
      KeyNav.NextTabStopControlQ.push_back({kName, kLast});
      KeyNav.ExcludedControl.push_back({static_cast<std::uint16_t>(kAmount)});
      fw::ToolbarClass Toolbar;
      {
        FormWindow ThisWindow(window, KeyNav, Toolbar);
        ThisWindow.Run();
      }
      window.close();
    }
  };
  Program p(Local::procedure);
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.focus(kTitle, kName));
  ASSERT_TRUE(p.pressKey(kTitle, rt::TabKey));
  EXPECT_EQ(p.focus(kTitle), kLast);
  ASSERT_TRUE(p.pressKey(kTitle, rt::ShiftTab));
  EXPECT_EQ(p.focus(kTitle), kName);
  // Enter in the entry before the jump goes the explicit way too.
  ASSERT_TRUE(p.pressKey(kTitle, rt::EnterKey));
  EXPECT_EQ(p.focus(kTitle), kLast);
  // The excluded entry: Enter presses the default button as the runtime does by itself.
  ASSERT_TRUE(p.focus(kTitle, kAmount));
  ASSERT_TRUE(p.pressKey(kTitle, rt::EnterKey));
  ASSERT_FALSE(accepted().empty());
  EXPECT_EQ(accepted().back(), kOk);
  ASSERT_TRUE(p.closeWindow(kTitle));
  EXPECT_EQ(p.end(), 0);
}

}  // namespace
