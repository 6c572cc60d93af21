// Quillet's frame as the user sees it: title, frame attributes, menus with their entries, control
// numbers, status texts and standard actions, the status bar, and "&Salir" ending the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillet/app/main_frame.h"
#include "quillet/app/startup.h"
#include "runtime/codepage.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;

constexpr const char* kFrame = "Demostración de Quillet Optimisado";

std::string utf8(const std::string& cp1252) { return rt::cp1252ToUtf8(cp1252); }

const rt::MenuEntryView* findMenu(const std::vector<rt::MenuEntryView>& menus, const std::string& text) {
  for (const auto& m : menus)
    if (!m.separator && utf8(m.text) == text) return &m;
  return nullptr;
}

TEST(MainFrame, OpensAsAMaximizedMdiFrameWithItsStatusBar) {
  Program p(quillet::QuilletProgram());
  ASSERT_TRUE(p.waitIdle());
  EXPECT_EQ(p.titles(), std::vector<std::string>{kFrame});
  auto v = p.window(kFrame);
  ASSERT_TRUE(v.has_value()) << p.dump();
  EXPECT_EQ(p.title(kFrame), kFrame);
  EXPECT_TRUE(v->app_frame);
  EXPECT_TRUE(v->maximized);
  EXPECT_TRUE(v->system_menu);
  EXPECT_TRUE(v->max_box);
  EXPECT_EQ(v->frame, rt::FrameKind::Resizable);
  EXPECT_EQ(v->pos.w, 505);
  EXPECT_EQ(v->pos.h, 318);
  EXPECT_FALSE(v->pos.has_pos);
  EXPECT_EQ(v->font_name, "MS Sans Serif");
  EXPECT_EQ(v->font_size, 8);
  EXPECT_EQ(v->icon, "WAFRAME.ICO");
  EXPECT_EQ(v->status_widths, (std::vector<int>{-1, 80, 120, 45}));
  EXPECT_TRUE(v->controls.empty());
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Archivo", "&Salir"}));
  EXPECT_EQ(p.end(), 0);
}

TEST(MainFrame, MenusEntriesNumbersStatusTextsAndActions) {
  struct Case {
    const char* menu;
    int menu_feq;
    const char* entry;
    int feq;
    const char* status;
    rt::StdAction action;
  };
  namespace f = quillet::appframe;
  using A = rt::StdAction;
  const Case cases[] = {
      {"&Archivo", f::FILEMENU, "&Configurar Impresora ...", f::PRINTSETUP, "Configurar Impresora", A::PrintSetup},
      {"&Archivo", f::FILEMENU, "&Salir", f::EXIT, "Salir de la aplicación", A::Close},
      {"&Editar", f::EDITMENU, "Co&rtar", f::CUT, "Corta lo seleccionado al Portapapeles", A::Cut},
      {"&Editar", f::EDITMENU, "&Copiar", f::COPY, "Copia los seleccionado al Portapapeles", A::Copy},
      {"&Editar", f::EDITMENU, "&Pegar", f::PASTE, "Pega desde el Portapapeles", A::Paste},
      {"&Tablas", f::BROWSEMENU, "Articulos", f::BROWSE_ARTICULOS, "Browse Articulos", A::None},
      {"&Tablas", f::BROWSEMENU, "Cabecera", f::BROWSE_CABECERA, "Browse Cabecera", A::None},
      {"&Ventana", f::WINDOWMENU, "&Mosaico", f::TILE, "Disponer en forma de mosaico las ventanas", A::Tile},
      {"&Ventana", f::WINDOWMENU, "&Cascada", f::CASCADE, "Disponer en modo cascada las ventanas abiertas",
       A::Cascade},
      {"&Ventana", f::WINDOWMENU, "&Acomodar Iconos", f::ARRANGE, "Acomodar iconos para ventanas minimizadas",
       A::Arrange},
      {"A&yuda", f::HELPMENU, "&Contenido", f::HELPINDEX, "Ver el contenido del archivo de Ayuda", A::HelpIndex},
      {"A&yuda", f::HELPMENU, "&Buscar ayuda...", f::HELPSEARCH, "Buscar Ayuda para un tema determinado",
       A::HelpSearch},
      {"A&yuda", f::HELPMENU, "&Cómo usar la ayuda", f::HELPONHELP,
       "Provee información general de como usar la Ayuda", A::HelpOnHelp},
  };
  Program p(quillet::QuilletProgram());
  ASSERT_TRUE(p.waitIdle());
  auto v = p.window(kFrame);
  ASSERT_TRUE(v.has_value()) << p.dump();

  // The menus, in order.
  std::vector<std::string> menus;
  for (const auto& m : v->menu) menus.push_back(utf8(m.text));
  EXPECT_EQ(menus, (std::vector<std::string>{"&Archivo", "&Editar", "&Tablas", "&Ventana", "A&yuda"}));

  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    const rt::MenuEntryView* menu = findMenu(v->menu, c.menu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->feq, c.menu_feq);
    const rt::MenuEntryView* e = findMenu(menu->children, c.entry);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->feq, c.feq);
    EXPECT_EQ(utf8(e->status_text), c.status);
    EXPECT_EQ(e->action, c.action);
    // While the entry is highlighted, the first section of the status bar shows its text.
    ASSERT_TRUE(p.highlightMenu(kFrame, c.feq));
    EXPECT_EQ(p.statusBar(1), c.status);
  }
  // The file menu has its separator between the printer set-up and the exit.
  const rt::MenuEntryView* file = findMenu(v->menu, "&Archivo");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->children.size(), 3u);
  EXPECT_TRUE(file->children[1].separator);
  // The menu closes: the status text goes away.
  ASSERT_TRUE(p.highlightMenu(kFrame, 0));
  EXPECT_EQ(p.statusBar(1), "");
  ASSERT_TRUE(p.chooseMenu(kFrame, quillet::appframe::EXIT));
  EXPECT_EQ(p.end(), 0);
}

TEST(MainFrame, StandardActionsWorkWithoutCodeOfTheProgram) {
  Program p(quillet::QuilletProgram());
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Ventana", "&Cascada"}));
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Editar", "&Copiar"}));
  std::vector<rt::StdAction> actions;
  for (const auto& a : p.standardActions()) actions.push_back(a.action);
  EXPECT_EQ(actions, (std::vector<rt::StdAction>{rt::StdAction::Cascade, rt::StdAction::Copy}));
  // The frame is still there and still takes input.
  EXPECT_TRUE(p.takesInput(kFrame));
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Archivo", "&Salir"}));
  EXPECT_EQ(p.end(), 0);
  EXPECT_TRUE(p.titles().empty());
}

}  // namespace
