#pragma once
// Helpers of the Qt front-end tests: the offscreen QApplication, an input sink that records
// what the widgets report, event-loop waiting, and a small builder of window snapshots.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/frontend.h"
#include "runtime/vocabulary.h"
#include "ui/qt/input_sink.h"

namespace uiqt::test {

inline std::unique_ptr<QApplication>& appSlot() {
  static std::unique_ptr<QApplication> instance;
  return instance;
}

// The offscreen application, created on first use.
inline QApplication& app() {
  static int argc = 1;
  static char name[] = "qt_test";
  static char* argv[] = {name, nullptr};
  auto& slot = appSlot();
  if (!slot) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    slot = std::make_unique<QApplication>(argc, argv);
  }
  return *slot;
}

// Ends the application after the last test, before the process's static objects go (Qt's own
// clean-up must run while they still exist).
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { appSlot().reset(); }
};
inline ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);  // owned by GoogleTest

// Processes events until `done` holds; false if it never did within `limit_ms`.
inline bool waitUntil(const std::function<bool()>& done, int limit_ms = 5000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > limit_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(5);
  }
  return true;
}

// Every report as one line, e.g. "key 7 3 9" (window 7, control 3, code 9).
class RecordingInput final : public InputSink {
 public:
  std::vector<std::string> calls;

  void key(rt::WindowId w, int feq, int code) override { add("key", w, {feq, code}); }
  void character(rt::WindowId w, int feq, const std::string& ch) override {
    add("character", w, {feq}, ch);
  }
  void editText(rt::WindowId w, int feq, const std::string& text) override {
    add("edit", w, {feq}, text);
  }
  void focus(rt::WindowId w, int feq) override { add("focus", w, {feq}); }
  void click(rt::WindowId w, int feq, int code, int row, int col) override {
    add("click", w, {feq, code, row, col});
  }
  void menu(rt::WindowId w, int feq) override { add("menu", w, {feq}); }
  void menuHighlight(rt::WindowId w, int feq) override { add("highlight", w, {feq}); }
  void scroll(rt::WindowId w, int feq, rt::ScrollAction a, double fraction) override {
    add("scroll", w, {feq, static_cast<int>(a), static_cast<int>(fraction * 100 + 0.5)});
  }
  void selectTab(rt::WindowId w, int sheet, int tab) override { add("tab", w, {sheet, tab}); }
  void close(rt::WindowId w) override { add("close", w, {}); }
  void moved(rt::WindowId w, const rt::Rect& r) override { add("moved", w, {r.w, r.h}); }
  void maximize(rt::WindowId w) override { add("maximize", w, {}); }
  void iconize(rt::WindowId w) override { add("iconize", w, {}); }
  void answerMessage(std::uint64_t box, int button) override {
    calls.push_back("answer " + std::to_string(box) + " " + std::to_string(button));
  }
  void dropDown(rt::WindowId w, int feq) override { add("drop", w, {feq}); }
  void answerPopup(std::uint64_t popup, int choice) override {
    calls.push_back("popup " + std::to_string(popup) + " " + std::to_string(choice));
  }

  // The calls that start with `prefix` (e.g. "key "), in order.
  std::vector<std::string> only(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls) {
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    }
    return out;
  }

 private:
  void add(const char* what, rt::WindowId w, std::vector<int> args, const std::string& text = {}) {
    std::string line = std::string(what) + " " + std::to_string(w);
    for (int a : args) line += " " + std::to_string(a);
    if (!text.empty() || std::string(what) == "edit") line += " [" + text + "]";
    calls.push_back(line);
  }
};

inline rt::ControlView control(int feq, int type, rt::Rect pos, std::string text = {}) {
  rt::ControlView c;
  c.feq = feq;
  c.type = type;
  c.pos = pos;
  c.text = std::move(text);
  return c;
}

inline rt::Rect at(int x, int y, int w = 0, int h = 0) {
  rt::Rect r;
  r.x = x;
  r.y = y;
  r.w = w;
  r.h = h;
  r.has_pos = true;
  r.has_size = w > 0 || h > 0;
  return r;
}

inline rt::ListColumnView column(int width, char align, int indent, std::string header,
                                 char header_align) {
  rt::ListColumnView c;
  c.width = width;
  c.align = align;
  c.indent = indent;
  c.header = std::move(header);
  c.header_align = header_align;
  c.right_border = true;
  c.resizable = true;
  return c;
}

}  // namespace uiqt::test
