#pragma once
// Where the widgets send the user's raw input.
//
// The methods mirror rt::input one for one. `RuntimeInput` (runtime_input.h) forwards to the
// runtime; tests record the calls instead. Called on the GUI thread; an implementation must not
// block on a program thread.

#include <cstdint>
#include <string>

#include "runtime/frontend.h"

namespace uiqt {

class InputSink {
 public:
  virtual ~InputSink() = default;
  virtual void key(rt::WindowId, int feq, int keycode) = 0;
  virtual void character(rt::WindowId, int feq, const std::string& ch) = 0;
  virtual void editText(rt::WindowId, int feq, const std::string& text) = 0;
  virtual void focus(rt::WindowId, int feq) = 0;
  virtual void click(rt::WindowId, int feq, int mouse_code, int row, int col) = 0;
  virtual void menu(rt::WindowId, int feq) = 0;
  virtual void menuHighlight(rt::WindowId, int feq) = 0;
  virtual void scroll(rt::WindowId, int feq, rt::ScrollAction, double fraction) = 0;
  virtual void selectTab(rt::WindowId, int sheet_feq, int tab_feq) = 0;
  virtual void close(rt::WindowId) = 0;
  virtual void moved(rt::WindowId, const rt::Rect&) = 0;
  virtual void maximize(rt::WindowId) = 0;
  virtual void iconize(rt::WindowId) = 0;
  virtual void answerMessage(std::uint64_t box_id, int button) = 0;
  virtual void dropDown(rt::WindowId, int feq) = 0;
  virtual void answerPopup(std::uint64_t popup_id, int choice) = 0;
};

}  // namespace uiqt
