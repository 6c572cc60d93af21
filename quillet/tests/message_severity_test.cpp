// Messages raised through Quillet's GlobalErrors, as its start-up sets it up, shown through the
// scripted front end: a question answered Yes or No gives 0 or 4, a notice 5; a fatal message ends
// the program with every thread ended and the drag-full-windows setting put back.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "framework/error_class.h"
#include "framework/request_codes.h"
#include "framework/toolbar_class.h"
#include "framework/window_manager.h"
#include "quillet/app/globals.h"
#include "quillet/app/platform.h"
#include "quillet/app/startup.h"
#include "quillet/app/thread_hooks.h"
#include "quillet/windows/browse_cabecera.h"
#include "runtime/event.h"
#include "runtime/threads.h"
#include "runtime/window.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;

constexpr const char* kFrame = "Marco de prueba";
constexpr int kAskSave = -2, kNotice = -3, kFatal = -4, kBrowse = -5;

std::atomic<int> g_result{-1};

// A frame of the test's own, run by Quillet's real start-up, whose menu raises messages.
class TestFrame : public fw::WindowManager {
 public:
  TestFrame(rt::Window& w, fw::ToolbarClass& tb) : fw::WindowManager(w), tb_(tb) {}
  int Init() override {
    quillet::GlobalErrors.SetProcedureName("Main");
    if (int r = fw::WindowManager::Init(); r != 0) return r;
    AddItem(tb_);
    rt::WindowDecl decl(kFrame);
    decl.appFrame().size(300, 200).menu(rt::MenuDecl::menu(-1, "&Prueba", {
        rt::MenuDecl::item(kAskSave, "Guardar"), rt::MenuDecl::item(kNotice, "Aviso"),
        rt::MenuDecl::item(kFatal, "Fatal"), rt::MenuDecl::item(kBrowse, "Cabecera")}));
    if (Open(decl) != rt::OpenResult::Ok) return fw::Level_Fatal;
    return fw::Level_Benign;
  }
  int Kill() override {
    if (int r = fw::WindowManager::Kill(); r != 0) return r;
    quillet::GlobalErrors.SetProcedureName();
    return 0;
  }
  int TakeAccepted() override {
    switch (rt::field()) {
      case kAskSave: g_result = quillet::GlobalErrors.Throw(38); break;
      case kNotice: g_result = quillet::GlobalErrors.Throw(25); break;
      case kFatal:
        quillet::GlobalErrors.SetFile("Cabecera");
        g_result = quillet::GlobalErrors.Throw(26);
        break;
      case kBrowse: rt::start(quillet::Browse_Cabecera, 50000); break;
      default: break;
    }
    return fw::WindowManager::TakeAccepted();
  }

 private:
  fw::ToolbarClass& tb_;
};

void testFrame() {
  rt::Window frame;
  fw::ToolbarClass toolbar;
  {
    TestFrame ThisWindow(frame, toolbar);
    quillet::GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
  }
  frame.close();
}

void testStartup() { quillet::StartupWith(testFrame); }

rt::ProgramDecl testProgram() {
  rt::ProgramDecl decl = quillet::QuilletProgram();
  decl.startup = testStartup;
  return decl;
}


TEST(MessageSeverity, QuestionsAndNoticesGiveTheirResults) {
  struct Case {
    const char* what;
    int menu;
    int answer;
    int result;
    const char* caption;
    const char* text;
    int buttons;
    int default_button;
    const char* icon;
  };
  const Case cases[] = {
      {"question answered Yes", kAskSave, rt::BUTTON_YES, 0, "Guardar Registro", "¿ Desea guardar los cambios?",
       rt::BUTTON_YES + rt::BUTTON_NO, rt::BUTTON_YES, rt::ICON_Exclamation},
      {"question answered No", kAskSave, rt::BUTTON_NO, 4, "Guardar Registro", "¿ Desea guardar los cambios?",
       rt::BUTTON_YES + rt::BUTTON_NO, rt::BUTTON_YES, rt::ICON_Exclamation},
      {"notice", kNotice, rt::BUTTON_OK, 5, "No hay Registros",
       "No se encontraron registros disponibles para procesar.", rt::BUTTON_OK, 0, rt::ICON_Asterisk},
  };
  Program p(testProgram());
  ASSERT_TRUE(p.waitIdle());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_result = -1;
    ASSERT_TRUE(p.chooseMenu(kFrame, c.menu));
    auto box = p.pendingMessage();
    ASSERT_TRUE(box.has_value()) << p.dump();
    EXPECT_EQ(box->caption, c.caption);
    EXPECT_EQ(box->text, c.text);
    EXPECT_EQ(box->buttons, c.buttons);
    if (c.default_button != 0) {
      EXPECT_EQ(box->default_button, c.default_button);
    }
    EXPECT_EQ(box->icon, c.icon);
    // The frame waits for the answer.
    EXPECT_FALSE(p.takesInput(kFrame));
    ASSERT_TRUE(p.answer(c.answer));
    EXPECT_EQ(g_result.load(), c.result);
    EXPECT_TRUE(p.takesInput(kFrame));
  }
  ASSERT_TRUE(p.closeWindow(kFrame));
  EXPECT_EQ(p.end(), 0);
}

TEST(MessageSeverity, FatalMessageEndsTheProgramWithEveryThread) {
  std::mutex mu;
  std::set<int> started, ended;
  quillet::setThreadHookListener([&](const quillet::ThreadHookRecord& r) {
    std::lock_guard<std::mutex> lk(mu);
    (r.kind == quillet::ThreadHookRecord::Kind::Started ? started : ended).insert(r.thread);
  });
  quillet::standInPlatform().setDragFullWindows(1);
  g_result = -1;
  {
    Program p(testProgram());
    ASSERT_TRUE(p.waitIdle());
    ASSERT_TRUE(p.chooseMenu(kFrame, kBrowse));
    ASSERT_TRUE(p.hasWindow("Recorrer la tabla Cabecera"));
    EXPECT_EQ(quillet::standInPlatform().dragFullWindows(), 0);
    ASSERT_TRUE(p.chooseMenu(kFrame, kFatal));
    auto box = p.pendingMessage();
    ASSERT_TRUE(box.has_value()) << p.dump();
    EXPECT_EQ(box->caption, "Error de Acceso");
    const std::string text = box->text;
    EXPECT_EQ(text.rfind("Archivo (Cabecera) no pudo ser abierto.", 0), 0u) << text;
    EXPECT_NE(text.find("  Press OK to end this application"), std::string::npos) << text;
    EXPECT_EQ(box->buttons, rt::BUTTON_OK);
    ASSERT_TRUE(p.answer(rt::BUTTON_OK));
    EXPECT_EQ(p.end(), fw::ErrorClass::kFatalExitCode);
    EXPECT_TRUE(p.titles().empty());
    // The raising call never returned into the program.
    EXPECT_EQ(g_result.load(), -1);
  }
  quillet::setThreadHookListener({});
  std::lock_guard<std::mutex> lk(mu);
  EXPECT_EQ(started.size(), 2u);
  EXPECT_EQ(ended, started);
  // The user's desktop setting is not left changed by a program that ended on an error.
  EXPECT_EQ(quillet::standInPlatform().dragFullWindows(), 1);
}

}  // namespace
