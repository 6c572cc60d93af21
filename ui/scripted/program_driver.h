#pragma once
// scripted::Program: a test's handle on one run of a program, driven as a user would drive it.
//
//   scripted::Program p(myStartup);            // starts it in a fresh temporary directory
//   ASSERT_TRUE(p.waitIdle());
//   ASSERT_TRUE(p.chooseMenu("Demo frame", {"&Tablas", "Cabecera"}));
//   ASSERT_TRUE(p.typeText("Ficha", 6, "01/03/2012"));
//   ASSERT_TRUE(p.pressKey("Ficha", rt::TabKey));
//   EXPECT_EQ(p.text("Ficha", 6), "01/03/2012");
//   p.queueAnswer(rt::BUTTON_YES);             // for the next message box
//   ASSERT_TRUE(p.closeWindow("Demo frame"));
//   EXPECT_EQ(p.end(), 0);
//
// Texts given to and read from the driver are UTF-8 (the model holds Windows-1252; the driver
// converts). Windows are named by title (the only open window with that title; the newest when
// several have it) or by id. Every input action sends the raw input a front end would send, then
// waits until the program is idle again; an action fails (with the windows' model dumped in the
// message) when its window or control is missing, the window does not take input, or the program
// does not become idle in time. Reading functions return empty values when there is nothing to
// read.
//
// The working directory is a fresh temporary directory while the Program lives; the destructor
// halts a program still running, returns to the previous directory and removes the temporary
// one. To run a program in a directory of the test's choice (files prepared beforehand, or two
// runs that share their files), pass it in Options: that directory is kept. TempDir makes one.
// One Program at a time per process. Use it from the test's thread.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/frontend.h"
#include "runtime/program.h"
#include "runtime/vocabulary.h"
#include "ui/scripted/scripted_front_end.h"

namespace scripted {

using namespace std::chrono_literals;

// A window named by its id or its title (UTF-8).
class Win {
 public:
  Win(rt::WindowId id) : id_(id) {}  // NOLINT: implicit by design
  Win(const char* title) : title_(title) {}  // NOLINT
  Win(std::string title) : title_(std::move(title)) {}  // NOLINT
  rt::WindowId id() const { return id_; }
  const std::string& title() const { return title_; }
  std::string describe() const;

 private:
  rt::WindowId id_ = 0;
  std::string title_;
};

// A temporary directory, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // empty when none could be made

 private:
  std::string path_;
};

class Program {
 public:
  static constexpr std::chrono::milliseconds kTimeout = 20s;

  struct Options {
    std::string directory;  // run here (kept afterwards); empty = a fresh temporary directory
  };

  explicit Program(rt::Procedure startup, Options options = {});
  explicit Program(const rt::ProgramDecl& decl, Options options = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  testing::AssertionResult started() const;
  const std::string& directory() const { return dir_; }
  ScriptedFrontEnd& frontEnd() { return fe_; }

  // Waits until every program thread waits for input or for a message-box answer.
  testing::AssertionResult waitIdle(std::chrono::milliseconds timeout = kTimeout);

  // Windows.
  std::vector<rt::WindowView> windows() const;
  std::optional<rt::WindowView> window(const Win& w) const;
  rt::WindowId find(const Win& w) const;  // 0 when there is none
  bool hasWindow(const Win& w) const { return find(w) != 0; }
  std::vector<std::string> titles() const;

  // Input.
  testing::AssertionResult chooseMenu(const Win& w, int feq);
  testing::AssertionResult chooseMenu(const Win& w, const std::vector<std::string>& path);
  testing::AssertionResult highlightMenu(const Win& w, int feq);  // 0 = the menu closes
  testing::AssertionResult focus(const Win& w, int feq);          // as a click into the control
  // Focuses the control, replaces its text as the user would by typing (nothing is accepted until
  // the control is left).
  testing::AssertionResult typeText(const Win& w, int feq, std::string_view utf8);
  testing::AssertionResult typeChar(const Win& w, int feq, char c);  // e.g. a locator character
  testing::AssertionResult pressKey(const Win& w, int keycode);      // into the focused control
  testing::AssertionResult pressKey(const Win& w, int feq, int keycode);
  testing::AssertionResult click(const Win& w, int feq, int mouse = rt::MouseLeft);
  testing::AssertionResult clickCell(const Win& w, int feq, int row, int col, int mouse = rt::MouseLeft);
  testing::AssertionResult doubleClickCell(const Win& w, int feq, int row, int col) {
    return clickCell(w, feq, row, col, rt::MouseLeft2);
  }
  testing::AssertionResult clickWindow(const Win& w, int mouse = rt::MouseLeft);  // no control
  testing::AssertionResult dropDown(const Win& w, int feq);
  testing::AssertionResult chooseTab(const Win& w, int sheet_feq, int tab_feq);
  testing::AssertionResult scroll(const Win& w, int feq, rt::ScrollAction a, double fraction = 0.0);
  testing::AssertionResult closeWindow(const Win& w);  // the close box
  testing::AssertionResult moveWindow(const Win& w, const rt::Rect& r);
  testing::AssertionResult maximize(const Win& w);

  // Reading (UTF-8).
  std::string title(const Win& w) const;
  std::optional<rt::ControlView> control(const Win& w, int feq) const;
  std::string text(const Win& w, int feq) const;
  bool enabled(const Win& w, int feq) const;
  bool hidden(const Win& w, int feq) const;
  bool readOnly(const Win& w, int feq) const;
  int focus(const Win& w) const;
  bool takesInput(const Win& w) const;
  std::vector<std::vector<std::string>> listRows(const Win& w, int feq) const;
  // The control made over a cell of the list (an in-list editor), 0 when there is none.
  int cellEditor(const Win& w, int list_feq) const;
  int selectedRow(const Win& w, int feq) const;
  // The status bar of the application frame (or, without one, of the only window that has a
  // status bar); section 1 is the first.
  std::string statusBar(int section = 1) const;
  std::string statusBar(const Win& w, int section) const;

  // Message boxes (texts UTF-8).
  void queueAnswer(int button) { fe_.queueAnswer(button); }
  std::optional<MessageRecord> pendingMessage() const;
  testing::AssertionResult answer(int button);  // the oldest box waiting; then waits for idle
  std::vector<MessageRecord> messages() const;
  std::vector<ActionRecord> standardActions() const { return fe_.actions(); }

  // Pop-up menus (item texts UTF-8).
  void queuePopupChoice(int choice) { fe_.queuePopupChoice(choice); }
  std::optional<PopupRecord> pendingPopup() const;
  testing::AssertionResult choosePopup(int choice);                // 1-based, 0 = dismiss
  testing::AssertionResult choosePopup(const std::string& item);   // by text ('&' ignored)

  // The end.
  testing::AssertionResult waitEnd(std::chrono::milliseconds timeout = kTimeout);
  bool ended() const;
  // Waits for the end and returns the exit code (-1 when it did not end in time: a failure).
  int end(std::chrono::milliseconds timeout = kTimeout);

  std::string dump() const;

 private:
  testing::AssertionResult fail(const std::string& what) const;
  // The window's view, or a failure saying why there is none (or why it takes no input).
  testing::AssertionResult resolve(const Win& w, rt::WindowView* out, bool for_input) const;
  testing::AssertionResult resolveControl(const Win& w, int feq, rt::WindowView* out) const;
  testing::AssertionResult settle(const std::string& what);

  ScriptedFrontEnd fe_;
  std::string dir_;
  bool own_dir_ = true;
  std::string old_dir_;
  rt::StartResult start_ = rt::StartResult::NoStartup;
};

}  // namespace scripted
