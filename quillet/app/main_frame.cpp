#include "quillet/app/main_frame.h"

#include "framework/request_codes.h"
#include "framework/toolbar_class.h"
#include "framework/window_manager.h"
#include "quillet/app/globals.h"
#include "quillet/app/keynav.h"
#include "quillet/windows/browse_articulos.h"
#include "quillet/windows/browse_cabecera.h"
#include "runtime/codepage.h"
#include "runtime/event.h"
#include "runtime/threads.h"
#include "runtime/window.h"

namespace quillet {
namespace {

// Texts are written here in UTF-8 and held by the window model in Windows-1252.
std::string t(const char* utf8) { return rt::utf8ToCp1252(utf8); }

rt::MenuDecl entry(int feq, const char* text, const char* status, rt::StdAction action) {
  rt::MenuDecl m = rt::MenuDecl::item(feq, t(text));
  m.status(t(status));
  if (action != rt::StdAction::None) m.action(action);
  return m;
}

class MainWindow : public fw::WindowManager {
 public:
  MainWindow(rt::Window& frame, KeyNavClass& keynav, fw::ToolbarClass& toolbar)
      : fw::WindowManager(frame), keynav_(keynav), toolbar_(toolbar) {}

  int Init() override {
    GlobalErrors.SetProcedureName("Main");
    Request = GlobalRequest;
    if (int r = fw::WindowManager::Init(); r != fw::Level_Benign) return r;
    FirstField = 1;
    VCRRequest = &quillet::VCRRequest;
    Errors = &GlobalErrors;
    AddItem(toolbar_);
    GlobalRequest = 0;
    GlobalResponse = 0;
    if (Open(AppFrameDecl()) != rt::OpenResult::Ok) return fw::Level_Fatal;
    SetAlerts();
    keynav_.Init(0);
    return fw::Level_Benign;
  }

  int Kill() override {
    if (int r = fw::WindowManager::Kill(); r != fw::Level_Benign) return r;
    GlobalErrors.SetProcedureName();
    return fw::Level_Benign;
  }

  int TakeAccepted() override {
    // One handler per menu, in menu order; only "&Tablas" has work of its own, the other entries
    // carry standard actions.
    takeBrowseMenu(rt::field());
    return fw::WindowManager::TakeAccepted();
  }

  int TakeEvent() override {
    if (keynav_.TakeEvent() == 1) return fw::Level_Handled;
    return fw::WindowManager::TakeEvent();
  }

 private:
  static void takeBrowseMenu(int feq) {
    // The thread number is not kept: every choice opens another, independent browse.
    switch (feq) {
      case appframe::BROWSE_ARTICULOS:
        rt::start(Browse_Articulos, kBrowseStack);
        break;
      case appframe::BROWSE_CABECERA:
        rt::start(Browse_Cabecera, kBrowseStack);
        break;
      default:
        break;
    }
  }

  KeyNavClass& keynav_;
  fw::ToolbarClass& toolbar_;
};

}  // namespace

rt::WindowDecl AppFrameDecl() {
  using rt::MenuDecl;
  using rt::StdAction;
  namespace f = appframe;
  rt::WindowDecl decl(t("Demostración de Quillet Optimisado"));
  decl.appFrame()
      .size(505, 318)
      .frame(rt::FrameKind::Resizable)
      .systemMenu()
      .maxBox()
      .maximized()
      .font("MS Sans Serif", 8)
      .icon("WAFRAME.ICO")
      .statusBar({-1, 80, 120, 45});
  decl.menu(MenuDecl::menu(f::FILEMENU, t("&Archivo"),
                           {entry(f::PRINTSETUP, "&Configurar Impresora ...", "Configurar Impresora",
                                  StdAction::PrintSetup),
                            MenuDecl::separator(),
                            entry(f::EXIT, "&Salir", "Salir de la aplicación", StdAction::Close)}));
  decl.menu(MenuDecl::menu(
      f::EDITMENU, t("&Editar"),
      {entry(f::CUT, "Co&rtar", "Corta lo seleccionado al Portapapeles", StdAction::Cut),
       entry(f::COPY, "&Copiar", "Copia los seleccionado al Portapapeles", StdAction::Copy),
       entry(f::PASTE, "&Pegar", "Pega desde el Portapapeles", StdAction::Paste)}));
  decl.menu(MenuDecl::menu(
      f::BROWSEMENU, t("&Tablas"),
      {entry(f::BROWSE_ARTICULOS, "Articulos", "Browse Articulos", StdAction::None),
       entry(f::BROWSE_CABECERA, "Cabecera", "Browse Cabecera", StdAction::None)}));
  decl.menu(MenuDecl::menu(
      f::WINDOWMENU, t("&Ventana"),
      {entry(f::TILE, "&Mosaico", "Disponer en forma de mosaico las ventanas", StdAction::Tile),
       entry(f::CASCADE, "&Cascada", "Disponer en modo cascada las ventanas abiertas",
             StdAction::Cascade),
       entry(f::ARRANGE, "&Acomodar Iconos", "Acomodar iconos para ventanas minimizadas",
             StdAction::Arrange)}));
  decl.menu(MenuDecl::menu(
      f::HELPMENU, t("A&yuda"),
      {entry(f::HELPINDEX, "&Contenido", "Ver el contenido del archivo de Ayuda",
             StdAction::HelpIndex),
       entry(f::HELPSEARCH, "&Buscar ayuda...", "Buscar Ayuda para un tema determinado",
             StdAction::HelpSearch),
       entry(f::HELPONHELP, "&Cómo usar la ayuda", "Provee información general de como usar la Ayuda",
             StdAction::HelpOnHelp)}));
  return decl;
}

void Main() {
  rt::Window AppFrame;
  KeyNavClass KeyNav(AppFrame);
  fw::ToolbarClass Toolbar;
  {
    MainWindow ThisWindow(AppFrame, KeyNav, Toolbar);
    GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
  }
  AppFrame.close();
}

}  // namespace quillet
