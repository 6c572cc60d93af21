#pragma once
// What the browse tests share to run a small program without a visible front end: a front end
// that shows nothing and answers every message box with OK (and pop-up menus with a chosen
// entry), filling the test table from the test's own thread, and reading the running program's
// model. Header-only; used by framework tests only.

#include <gtest/gtest.h>

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/browse_test_tables.h"
#include "runtime/frontend.h"
#include "runtime/vocabulary.h"
#include "store/file.h"

namespace browse_test {

// Shows nothing; answers message boxes with OK and pop-up menus with `popup_choice`, recording
// the entries offered.
class SilentFrontEnd : public rt::FrontEnd {
 public:
  std::mutex mu;
  int popup_choice = 0;
  std::vector<std::string> offered;
  bool supportsPopups() const override { return true; }
  void popupOpened(const rt::PopupView& p) override {
    int choice;
    {
      std::lock_guard<std::mutex> lk(mu);
      offered.clear();
      for (const auto& e : p.entries) offered.push_back(e.text);
      choice = popup_choice;
    }
    rt::input::answerPopup(p.id, choice);
  }
  void windowOpened(rt::WindowId) override {}
  void windowChanged(rt::WindowId) override {}
  void windowClosed(rt::WindowId) override {}
  void messageBoxOpened(const rt::MessageBoxView& box) override { rt::input::answerMessage(box.id, rt::BUTTON_OK); }
  void standardAction(rt::WindowId, rt::StdAction, int) override {}
  void programEnded(int) override {}
};

// Adds records to the lines table from the test's thread (its own File, closed again).
inline void seedLines(const std::vector<Line>& recs) {
  Line l{};
  store::File f(linesDef(), &l);
  ASSERT_TRUE(f.open().ok());
  for (const Line& r : recs) {
    l = r;
    ASSERT_TRUE(f.add().ok());
  }
  f.close();
}

// The open window with this title, 0 when there is none.
inline rt::WindowId windowTitled(const std::string& title) {
  for (rt::WindowId id : rt::openWindows()) {
    auto v = rt::viewOf(id);
    if (v && v->title == title) return id;
  }
  return 0;
}

// A control of an open window, as the model shows it now.
inline std::optional<rt::ControlView> controlOf(rt::WindowId win, int feq) {
  auto v = rt::viewOf(win);
  if (!v) return std::nullopt;
  for (const auto& c : v->controls)
    if (c.feq == feq) return c;
  return std::nullopt;
}

}  // namespace browse_test
