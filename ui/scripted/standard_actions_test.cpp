// Menu entries and buttons that carry a standard action work without any code of the program.
#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "runtime/window.h"
#include "ui/scripted/event_log.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;

scripted::EventLog g_log;

constexpr int kEntry = 1, kCloseButton = 2;

// A frame whose loop knows nothing of the standard actions: it only logs and closes on request.
// Window texts are Windows-1252, as in a program.
void frameProc() {
  using rt::MenuDecl;
  using rt::StdAction;
  rt::WindowDecl decl("Frame");
  decl.appFrame().size(300, 200).statusBar({-1, 80})
      .menu(MenuDecl::menu(-2, "&Archivo", {MenuDecl::item(-3, "&Configurar Impresora ...").action(StdAction::PrintSetup),
                                             MenuDecl::separator(),
                                             MenuDecl::item(-4, "&Salir").action(StdAction::Close)}))
      .menu(MenuDecl::menu(-5, "&Editar", {MenuDecl::item(-6, "Co&rtar").action(StdAction::Cut),
                                            MenuDecl::item(-7, "&Copiar").action(StdAction::Copy),
                                            MenuDecl::item(-8, "&Pegar").action(StdAction::Paste)}))
      .menu(MenuDecl::menu(-12, "&Ventana", {MenuDecl::item(-13, "&Mosaico").action(StdAction::Tile),
                                              MenuDecl::item(-14, "&Cascada").action(StdAction::Cascade),
                                              MenuDecl::item(-15, "&Acomodar Iconos").action(StdAction::Arrange)}))
      .menu(MenuDecl::menu(-16, "A&yuda", {MenuDecl::item(-17, "&Contenido").action(StdAction::HelpIndex),
                                            MenuDecl::item(-18, "&Buscar ayuda...").action(StdAction::HelpSearch),
                                            MenuDecl::item(-19, rt::utf8ToCp1252("&Cómo usar la ayuda")).action(StdAction::HelpOnHelp)}))
      .control(rt::ControlDecl::entry(kEntry, "@s20").at(4, 4, 80, 10))
      .control(rt::ControlDecl::button(kCloseButton, "&Cerrar").at(4, 20, 40, 14).action(StdAction::Close));
  rt::Window win;
  if (win.open(decl) != rt::OpenResult::Ok) return;
  while (win.accept()) {
    g_log.record("frame");
    if (rt::event() == rt::EVENT_CloseWindow) win.close();
  }
}

class StandardActions : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(p.waitIdle()); }
  struct Fresh {
    Fresh() { g_log.clear(); }
  } fresh_;
  Program p{frameProc};
};

TEST_F(StandardActions, FrontEndActionsAreHandedToTheFrontEndWithTheFocusedControl) {
  const std::vector<std::pair<std::vector<std::string>, rt::StdAction>> cases = {
      {{"&Archivo", "&Configurar Impresora ..."}, rt::StdAction::PrintSetup},
      {{"&Editar", "Cortar"}, rt::StdAction::Cut},
      {{"&Editar", "Copiar"}, rt::StdAction::Copy},
      {{"&Editar", "Pegar"}, rt::StdAction::Paste},
      {{"&Ventana", "Mosaico"}, rt::StdAction::Tile},
      {{"&Ventana", "Cascada"}, rt::StdAction::Cascade},
      {{"&Ventana", "Acomodar Iconos"}, rt::StdAction::Arrange},
  };
  for (const auto& [path, action] : cases) {
    ASSERT_TRUE(p.chooseMenu("Frame", path));
    auto actions = p.standardActions();
    ASSERT_FALSE(actions.empty());
    EXPECT_EQ(actions.back().action, action) << path.back();
    EXPECT_EQ(actions.back().window, p.find("Frame"));
    EXPECT_EQ(actions.back().focused_feq, kEntry);
  }
  EXPECT_EQ(p.standardActions().size(), cases.size());
  EXPECT_TRUE(g_log.matching("frame Accepted").empty()) << "the program sees no event for them\n" << g_log.joined();
}

TEST_F(StandardActions, HelpEntriesTellThatThereIsNoHelpFile) {
  for (const char* entry : {"&Contenido", "&Buscar ayuda...", "&Cómo usar la ayuda"}) {
    ASSERT_TRUE(p.chooseMenu("Frame", {"A&yuda", entry}));
    auto box = p.pendingMessage();
    ASSERT_TRUE(box.has_value()) << entry;
    EXPECT_NE(box->text.find("no help file"), std::string::npos) << box->text;
    EXPECT_EQ(box->buttons, rt::BUTTON_OK);
    ASSERT_TRUE(p.answer(rt::BUTTON_OK));
  }
  EXPECT_TRUE(p.takesInput("Frame"));
  EXPECT_TRUE(g_log.matching("frame Accepted").empty()) << g_log.joined();
}

TEST_F(StandardActions, CloseEntryEndsTheProgramThroughTheFramesCloseWindow) {
  ASSERT_TRUE(p.chooseMenu("Frame", {"&Archivo", "&Salir"}));
  EXPECT_EQ(p.end(), 0);
  EXPECT_TRUE(g_log.contains("frame CloseWindow 0")) << g_log.joined();
}

TEST_F(StandardActions, AButtonCarryingTheCloseActionClosesTheWindow) {
  ASSERT_TRUE(p.click("Frame", kCloseButton));
  EXPECT_EQ(p.end(), 0);
  EXPECT_TRUE(g_log.contains("frame CloseWindow 0 key 1")) << g_log.joined();
  EXPECT_FALSE(g_log.contains("frame Accepted 2 key 1")) << g_log.joined();
}

}  // namespace
