#include "ui/qt/runtime_input.h"

namespace uiqt {

void RuntimeInput::key(rt::WindowId w, int feq, int keycode) { rt::input::key(w, feq, keycode); }
void RuntimeInput::character(rt::WindowId w, int feq, const std::string& ch) {
  rt::input::character(w, feq, ch);
}
void RuntimeInput::editText(rt::WindowId w, int feq, const std::string& text) {
  rt::input::editText(w, feq, text);
}
void RuntimeInput::focus(rt::WindowId w, int feq) { rt::input::focus(w, feq); }
void RuntimeInput::click(rt::WindowId w, int feq, int mouse_code, int row, int col) {
  rt::input::click(w, feq, mouse_code, row, col);
}
void RuntimeInput::menu(rt::WindowId w, int feq) { rt::input::menu(w, feq); }
void RuntimeInput::menuHighlight(rt::WindowId w, int feq) { rt::input::menuHighlight(w, feq); }
void RuntimeInput::scroll(rt::WindowId w, int feq, rt::ScrollAction a, double fraction) {
  rt::input::scroll(w, feq, a, fraction);
}
void RuntimeInput::selectTab(rt::WindowId w, int sheet, int tab) {
  rt::input::selectTab(w, sheet, tab);
}
void RuntimeInput::close(rt::WindowId w) { rt::input::close(w); }
void RuntimeInput::moved(rt::WindowId w, const rt::Rect& r) { rt::input::moved(w, r); }
void RuntimeInput::maximize(rt::WindowId w) { rt::input::maximize(w); }
void RuntimeInput::iconize(rt::WindowId w) { rt::input::iconize(w); }
void RuntimeInput::answerMessage(std::uint64_t box, int button) {
  rt::input::answerMessage(box, button);
}
void RuntimeInput::dropDown(rt::WindowId w, int feq) { rt::input::dropDown(w, feq); }
void RuntimeInput::answerPopup(std::uint64_t popup, int choice) {
  rt::input::answerPopup(popup, choice);
}

}  // namespace uiqt
