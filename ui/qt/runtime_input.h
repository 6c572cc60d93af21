#pragma once
// The input sink of a running program: forwards every report to rt::input, which queues it to
// the thread that owns the window. Any thread may call it; no call blocks.

#include "ui/qt/input_sink.h"

namespace uiqt {

class RuntimeInput final : public InputSink {
 public:
  void key(rt::WindowId, int feq, int keycode) override;
  void character(rt::WindowId, int feq, const std::string& ch) override;
  void editText(rt::WindowId, int feq, const std::string& text) override;
  void focus(rt::WindowId, int feq) override;
  void click(rt::WindowId, int feq, int mouse_code, int row, int col) override;
  void menu(rt::WindowId, int feq) override;
  void menuHighlight(rt::WindowId, int feq) override;
  void scroll(rt::WindowId, int feq, rt::ScrollAction, double fraction) override;
  void selectTab(rt::WindowId, int sheet_feq, int tab_feq) override;
  void close(rt::WindowId) override;
  void moved(rt::WindowId, const rt::Rect&) override;
  void maximize(rt::WindowId) override;
  void iconize(rt::WindowId) override;
  void answerMessage(std::uint64_t box_id, int button) override;
  void dropDown(rt::WindowId, int feq) override;
  void answerPopup(std::uint64_t popup_id, int choice) override;
};

}  // namespace uiqt
