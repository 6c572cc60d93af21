#include "quillet/windows/actualiza_articulos.h"

#include <cstdint>
#include <cstring>

#include "framework/request_codes.h"
#include "framework/toolbar_class.h"
#include "framework/window_manager.h"
#include "framework/window_resize_class.h"
#include "quillet/app/globals.h"
#include "quillet/app/keynav.h"
#include "quillet/tables/articulo.h"
#include "quillet/tables/dictionary.h"
#include "runtime/event.h"
#include "runtime/post.h"
#include "runtime/vocabulary.h"
#include "runtime/window.h"
#include "runtime/window_decl.h"

namespace quillet {
namespace {

using namespace actualiza_articulos;

ARTICULO BlankArticulo() {
  ARTICULO a{};
  std::memset(a.DESCRIPCION, ' ', sizeof a.DESCRIPCION);
  return a;
}

// The history record of the form: the article as "&Aceptar" last completed it on this thread
// (Ctrl+H). Blank until then; shared by every call of the form on the thread.
thread_local ARTICULO History_ART = BlankArticulo();

rt::WindowDecl QuickWindow() {
  rt::WindowDecl decl("Ficha Articulos");
  decl.mdiChild()
      .size(193, 84)
      .frame(rt::FrameKind::Double)
      .systemMenu()
      .gray()
      .font("MS Sans Serif", 8)
      .help("Actualiza:Articulos")
      .control(rt::ControlDecl::sheet(CURRENTTAB).at(4, 4, 185, 58))
      .control(rt::ControlDecl::tab(TAB_1, CURRENTTAB, "&1) General"))
      .control(rt::ControlDecl::prompt(ART_IDARTICULO_PROMPT, "IDArticulo:").at(8, 20).transparent().in(TAB_1))
      .control(rt::ControlDecl::entry(ART_IDARTICULO, "@n_4B")
                   .at(61, 20, 39, 10)
                   .use(rt::Binding::ushort(ART.IDARTICULO))
                   .rightAligned()
                   .readOnly()
                   .skip()
                   .in(TAB_1))
      .control(rt::ControlDecl::prompt(ART_DESCRIPCION_PROMPT, "Descripci\xF3n:").at(8, 34).transparent().in(TAB_1))
      .control(rt::ControlDecl::entry(ART_DESCRIPCION, "@s30")
                   .at(61, 34, 124, 10)
                   .use(rt::Binding::string(ART.DESCRIPCION))
                   .required()
                   .in(TAB_1))
      .control(rt::ControlDecl::prompt(ART_IMPORTE_PROMPT, "Importe:").at(8, 48).transparent().in(TAB_1))
      .control(rt::ControlDecl::entry(ART_IMPORTE, "@n-10.2B")
                   .at(61, 48, 48, 10)
                   .use(rt::Binding::decimal(ART.IMPORTE))
                   .rightAligned()
                   .required()
                   .insertMode()
                   .in(TAB_1))
      .control(rt::ControlDecl::button(OK, "&Aceptar")
                   .at(86, 66, 49, 14)
                   .icon("WAOK.ICO")
                   .status("Aceptar los datos y cerrar la ventana")
                   .tip("Aceptar los datos y cerrar la ventana"))
      .control(rt::ControlDecl::button(CANCEL, "&Cancelar")
                   .at(139, 66, 49, 14)
                   .icon("WACANCEL.ICO")
                   .status("Cancelar operaci\xF3n")
                   .tip("Cancelar operaci\xF3n"));
  return decl;
}

class ThisWindowClass : public fw::WindowManager {
 public:
  explicit ThisWindowClass(rt::Window& window) : fw::WindowManager(window), KeyNav(window) {}

  int Init() override {
    GlobalErrors.SetProcedureName("Actualiza:Articulos");
    Request = GlobalRequest;
    if (int r = fw::WindowManager::Init(); r != fw::Level_Benign) return r;
    FirstField = ART_IDARTICULO_PROMPT;
    VCRRequest = &quillet::VCRRequest;
    Errors = &GlobalErrors;
    AddItem(Toolbar);
    GlobalRequest = 0;
    GlobalResponse = 0;
    // History: Ctrl+H in the description or the price puts back that field of the article last
    // accepted on this thread. The code is left out: it is the article's key, and putting back
    // another article's code would write this form's values over that article.
    HistoryKey = rt::CtrlH;
    (void)AddHistoryFile(ART, History_ART, ARTICULO_Def());
    (void)AddHistoryField(ART_DESCRIPCION, 2);
    (void)AddHistoryField(ART_IMPORTE, 3);
    AddUpdateFile(*Access_ARTICULO);
    AddItem(CANCEL, fw::RequestCancelled);
    if (int r = Relate_ARTICULO->Open(); r != fw::Level_Benign) return r;
    FilesOpened = true;
    Primary = Relate_ARTICULO;
    if (Request == fw::ViewRecord && !BatchProcessing) {
      InsertAction = ChangeAction = DeleteAction = fw::Action_NotOffered;
      CancelAction = 0;
    } else {
      ChangeAction = fw::Action_Close;
      CancelAction = fw::Cancel_Confirm;
      OKControl = OK;
      if (PrimeUpdate() != fw::Level_Benign) return fw::Level_Handled;
    }
    if (Open(QuickWindow()) != rt::OpenResult::Ok) return fw::Level_Fatal;
    if (Request == fw::ViewRecord) {
      for (int feq : {ART_IDARTICULO, ART_DESCRIPCION, ART_IMPORTE}) Window().setReadOnly(feq, true);
    }
    Resizer.Init(Window(), fw::Resize_Spread);
    Resizer.SetParentDefaults();
    AddItem(Resizer);
    SetAlerts();
    KeyNav.Init(0);
    return fw::Level_Benign;
  }

  int Kill() override {
    if (int r = fw::WindowManager::Kill(); r != fw::Level_Benign) return r;
    // A new article that was not accepted gives its reserved code back also when the program
    // ended the form without a cancel (nothing is left to do after a cancel).
    if (FilesOpened && OriginalRequest == fw::InsertRecord && Response != fw::RequestCompleted)
      (void)Relate_ARTICULO->CancelAutoInc();
    if (FilesOpened) Relate_ARTICULO->Close();
    GlobalErrors.SetProcedureName();
    return fw::Level_Benign;
  }

  void Ask() override {
    const char* title = "";
    if (Request == fw::ViewRecord) title = "Ver Registro";
    else if (Request == fw::InsertRecord) title = "El registro ser\xE1 agregado";
    else if (Request == fw::ChangeRecord) title = "El registro ser\xE1 cambiado";
    Window().setTitle(title);
    fw::WindowManager::Ask();
  }

  int Run() override {
    int r = fw::WindowManager::Run();
    return Request == fw::ViewRecord ? fw::RequestCancelled : r;
  }
  using fw::WindowManager::Run;

  int TakeEvent() override {
    if (KeyNav.TakeEvent()) return fw::Level_Handled;
    return fw::WindowManager::TakeEvent();
  }

  int TakeAccepted() override {
    int r = fw::WindowManager::TakeAccepted();
    if (rt::field() == OK) {
      Update();
      // Viewing: "&Aceptar" only closes.
      if (Request == fw::ViewRecord && !BatchProcessing) rt::post(rt::EVENT_CloseWindow);
    }
    return r;
  }

 private:
  bool FilesOpened = false;
  fw::ToolbarClass Toolbar;
  fw::WindowResizeClass Resizer;
  KeyNavClass KeyNav;
};

}  // namespace

void Actualiza_Articulos() {
  rt::Window window;
  {
    ThisWindowClass ThisWindow(window);
    GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
  }
  window.close();
}

}  // namespace quillet
