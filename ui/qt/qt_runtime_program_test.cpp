// A small program run by the runtime with the Qt front end: real key and mouse events on the
// widgets arrive on the program thread as the runtime's events, the runtime's focus shows on the
// widgets, a message box answers the asking thread, and the program's end reaches the front end.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>

#include "runtime/event.h"
#include "runtime/message_box.h"
#include "runtime/program.h"
#include "runtime/window.h"
#include "ui/qt/control_area.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_test_support.h"
#include "ui/qt/run_program.h"
#include "ui/qt/runtime_input.h"
#include "ui/qt/window_host.h"

namespace uiqt {
namespace {

using namespace uiqt::test;

// What the program thread saw, in order (shared with the test's GUI thread).
std::mutex g_log_mutex;
std::vector<std::string> g_log;

void note(const std::string& line) {
  const std::lock_guard lock(g_log_mutex);
  g_log.push_back(line);
}

bool logged(const std::string& line) {
  const std::lock_guard lock(g_log_mutex);
  return std::find(g_log.begin(), g_log.end(), line) != g_log.end();
}

constexpr int kName = 1, kCity = 2, kOk = 3;

void formProgram() {
  rt::WindowDecl decl("Prueba");
  decl.size(200, 90)
      .control(rt::ControlDecl::entry(kName, "s20").at(10, 10, 80, 10))
      .control(rt::ControlDecl::entry(kCity, "s20").at(10, 25, 80, 10))
      .control(rt::ControlDecl::button(kOk, "&OK").at(10, 50, 40, 14));
  rt::Window win;
  if (win.open(decl) != rt::OpenResult::Ok) {
    note("open failed");
    return;
  }
  win.addAlert(kName, rt::CtrlH);
  while (win.accept()) {
    switch (rt::event()) {
      case rt::EVENT_AlertKey:
        note("alert " + std::to_string(rt::field()) + " " + std::to_string(rt::keyCode()));
        break;
      case rt::EVENT_Selected: note("selected " + std::to_string(rt::field())); break;
      case rt::EVENT_Accepted:
        if (rt::field() == kOk) {
          note("name " + win.text(kName));
          const int answer = rt::message("Salir?|Seguro", "Prueba", rt::ICON_Question,
                                         rt::BUTTON_YES + rt::BUTTON_NO, rt::BUTTON_NO);
          note("answer " + std::to_string(answer));
          if (answer == rt::BUTTON_YES) win.close();
        }
        break;
      case rt::EVENT_CloseWindow: win.close(); break;
      default: break;
    }
  }
}

QMessageBox* openBox() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  }
  return nullptr;
}

void press(QMessageBox* box, const QString& caption) {
  for (QAbstractButton* b : box->buttons()) {
    if (b->text() == caption) {
      QTest::mouseClick(b, Qt::LeftButton);
      return;
    }
  }
  ADD_FAILURE() << "no button " << caption.toStdString();
}

TEST(QtRuntimeProgram, RealInputReachesTheProgramThread) {
  app();
  RuntimeInput input;
  QtFrontEnd front_end(&rt::viewOf, input);
  ASSERT_EQ(rt::startProgram(rt::ProgramDecl{&formProgram, nullptr, nullptr, 0}, front_end),
            rt::StartResult::Ok);

  WindowHost* host = nullptr;
  ASSERT_TRUE(waitUntil([&] {
    const auto ids = rt::openWindows();
    host = ids.empty() ? nullptr : front_end.host(ids.front());
    return host != nullptr;
  })) << rt::dumpModel();
  host->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(host));
  auto* name = qobject_cast<QLineEdit*>(host->controls()->focusTargetOf(kName));
  auto* city = qobject_cast<QLineEdit*>(host->controls()->focusTargetOf(kCity));
  auto* ok = qobject_cast<QPushButton*>(host->controls()->widgetOf(kOk));
  ASSERT_TRUE(name && city && ok);
  ASSERT_TRUE(waitUntil([&] { return name->hasFocus(); })) << rt::dumpModel();

  QTest::keyClick(name, Qt::Key_H, Qt::ControlModifier);
  ASSERT_TRUE(waitUntil([] { return logged("alert 1 584"); })) << rt::dumpModel();

  QTest::keyClicks(name, "hola");
  QTest::keyClick(name, Qt::Key_Tab);
  ASSERT_TRUE(waitUntil([] { return logged("selected 2"); })) << rt::dumpModel();
  ASSERT_TRUE(waitUntil([&] { return city->hasFocus(); })) << "the runtime's focus is mirrored";

  QTest::mouseClick(ok, Qt::LeftButton);
  ASSERT_TRUE(waitUntil([] { return logged("name hola"); })) << rt::dumpModel();
  QMessageBox* box = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (box = openBox()) != nullptr; })) << rt::dumpModel();
  EXPECT_EQ(box->text(), "Salir?\nSeguro");
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  EXPECT_EQ(box->defaultButton()->text(), "&No");
  press(box, "&No");
  ASSERT_TRUE(waitUntil([] { return logged("answer 4"); })) << rt::dumpModel();

  // The window takes input again once the runtime says so.
  ASSERT_TRUE(waitUntil([&] { return ok->isEnabled() && !openBox(); })) << rt::dumpModel();
  // This time by its mnemonic: Alt+O presses "&OK".
  QTest::keyClick(name, Qt::Key_O, Qt::AltModifier);
  ASSERT_TRUE(waitUntil([&] { return (box = openBox()) != nullptr; })) << rt::dumpModel();
  press(box, "&Yes");
  ASSERT_TRUE(waitUntil([&] { return front_end.exitCode().has_value(); })) << rt::dumpModel();
  EXPECT_EQ(*front_end.exitCode(), 0);
  EXPECT_EQ(rt::waitProgram(), 0);
}

// Sets or clears environment variables for one test and puts them back afterwards.
class ScopedEnv {
 public:
  void set(const char* name, const char* value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST(QtRuntimeProgram, WithoutADisplayTheProgramDoesNotStart) {
  struct Case {
    const char *display, *wayland, *platform;
    bool available;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, false}, {"", "", "", false},
      {":0", nullptr, nullptr, true},     {nullptr, "wayland-0", nullptr, true},
      {nullptr, nullptr, "offscreen", true},
  };
  for (const auto& c : cases) {
    ScopedEnv env;
    env.set("DISPLAY", c.display);
    env.set("WAYLAND_DISPLAY", c.wayland);
    env.set("QT_QPA_PLATFORM", c.platform);
    EXPECT_EQ(displayAvailable(), c.available);
  }
  ScopedEnv env;
  env.set("DISPLAY", nullptr);
  env.set("WAYLAND_DISPLAY", nullptr);
  env.set("QT_QPA_PLATFORM", nullptr);
  char name[] = "build/brassol/brassol";
  char* argv[] = {name, nullptr};
  testing::internal::CaptureStderr();
  EXPECT_EQ(runProgram(1, argv, &formProgram), 2);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("xvfb-run -a ./run brassol"), std::string::npos) << said;
  EXPECT_FALSE(rt::programRunning());
}

}  // namespace
}  // namespace uiqt
