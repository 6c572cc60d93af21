#include "quillet/windows/actualiza_articulos.h"

#include <cstdint>
#include <cstring>
#include <string>

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
#include "runtime/window_spec.h"
#include "store/status.h"

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

rt::WindowSpec QuickWindow() {
  rt::WindowSpec spec("Ficha Articulos");
  spec.mdiChild()
      .size(193, 84)
      .frame(rt::FrameKind::Double)
      .systemMenu()
      .gray()
      .font("MS Sans Serif", 8)
      .help("Actualiza:Articulos")
      .control(rt::ControlSpec::sheet(CURRENTTAB).at(4, 4, 185, 58))
      .control(rt::ControlSpec::tab(TAB_1, CURRENTTAB, "&1) General"))
      .control(rt::ControlSpec::prompt(ART_IDARTICULO_PROMPT, "IDArticulo:").at(8, 20).transparent().in(TAB_1))
      .control(rt::ControlSpec::entry(ART_IDARTICULO, "@n_4B")
                   .at(61, 20, 39, 10)
                   .use(rt::Binding::ushort(ART.IDARTICULO))
                   .rightAligned()
                   .readOnly()
                   .skip()
                   .in(TAB_1))
      .control(rt::ControlSpec::prompt(ART_DESCRIPCION_PROMPT, "Descripci\xF3n:").at(8, 34).transparent().in(TAB_1))
      .control(rt::ControlSpec::entry(ART_DESCRIPCION, "@s30")
                   .at(61, 34, 124, 10)
                   .use(rt::Binding::string(ART.DESCRIPCION))
                   .required()
                   .in(TAB_1))
      .control(rt::ControlSpec::prompt(ART_IMPORTE_PROMPT, "Importe:").at(8, 48).transparent().in(TAB_1))
      .control(rt::ControlSpec::entry(ART_IMPORTE, "@n-10.2B")
                   .at(61, 48, 48, 10)
                   .use(rt::Binding::decimal(ART.IMPORTE))
                   .rightAligned()
                   .required()
                   .insertMode()
                   .in(TAB_1))
      .control(rt::ControlSpec::button(OK, "&Aceptar")
                   .at(86, 66, 49, 14)
                   .icon("WAOK.ICO")
                   .status("Aceptar los datos y cerrar la ventana")
                   .tip("Aceptar los datos y cerrar la ventana"))
      .control(rt::ControlSpec::button(CANCEL, "&Cancelar")
                   .at(139, 66, 49, 14)
                   .icon("WACANCEL.ICO")
                   .status("Cancelar operaci\xF3n")
                   .tip("Cancelar operaci\xF3n"));
  return spec;
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
    AddItem(CANCEL, fw::RequestCancelled);
    if (int r = Relate_ARTICULO->Open(); r != fw::Level_Benign) return r;
    FilesOpened = true;
    if (Request == fw::ViewRecord && !BatchProcessing) {
      InsertAction = ChangeAction = DeleteAction = fw::Action_NotOffered;
      CancelAction = 0;
    } else {
      ChangeAction = fw::Action_Close;
      CancelAction = fw::Cancel_Confirm;
      OKControl = OK;
      if (PrimeUpdate() != 0) return fw::Level_Handled;
    }
    if (Open(QuickWindow()) != rt::OpenResult::Ok) return fw::Level_Fatal;
    if (Request == fw::ViewRecord) {
      for (int feq : {ART_IDARTICULO, ART_DESCRIPCION, ART_IMPORTE}) Window().setReadOnly(feq, true);
    }
    Resizer.Init(Window(), fw::Resize_Spread);
    Resizer.SetParentDefaults();
    AddItem(Resizer);
    SetAlerts();
    for (int feq : {ART_IDARTICULO, ART_DESCRIPCION, ART_IMPORTE}) Window().addAlert(feq, rt::CtrlH);
    KeyNav.Init(0);
    return fw::Level_Benign;
  }

  int Kill() override {
    if (int r = fw::WindowManager::Kill(); r != fw::Level_Benign) return r;
    // A new article that was not accepted gives its reserved code back (the program may be
    // ending without the window's close having run).
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

  int TakeEvent() override {
    if (KeyNav.TakeEvent()) return fw::Level_Handled;
    if (rt::event() == rt::EVENT_AlertKey && rt::keyCode() == rt::CtrlH) {
      TakeHistory(rt::field());
      return fw::Level_Handled;
    }
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

  // A cancelled new article deletes its reserved record before the window closes; when that
  // fails the error has been reported and the form stays open.
  int TakeCloseEvent() override {
    int r = fw::WindowManager::TakeCloseEvent();
    if (r == fw::Level_Fatal && OriginalRequest == fw::InsertRecord && Response != fw::RequestCompleted) {
      if (Relate_ARTICULO->CancelAutoInc() != fw::Level_Benign) {
        Response = 0;
        SelectFirstField();
        return fw::Level_Handled;
      }
    }
    return r;
  }

  // Before the window opens: remembers the article as it came, carries out a delete.
  int PrimeUpdate() override {
    Original = ART;
    if (Request != fw::DeleteRecord) return 0;
    int r = MakeCurrent();
    if (r == fw::Level_Benign) r = Relate_ARTICULO->Delete(/*ask=*/true);
    Response = r == fw::Level_Benign ? fw::RequestCompleted : fw::RequestCancelled;
    return 1;
  }

  int ConfirmCancel() override {
    if (CancelAction == 0) return 0;
    Update();
    if (std::memcmp(&ART, &Original, sizeof ART) == 0) return 0;
    int a = GlobalErrors.AskMessage(10, rt::BUTTON_YES + rt::BUTTON_NO, rt::BUTTON_NO);
    return a == rt::BUTTON_YES ? 0 : 1;
  }

  // The accept-all pass has completed (the required entries are filled): the article goes into
  // the history record, then a new one is written always, a changed one when it differs.
  int TakeCompleted() override {
    if (Request == fw::ViewRecord) return fw::WindowManager::TakeCompleted();
    Update();
    History_ART = ART;
    int r = fw::Level_Benign;
    if (OriginalRequest == fw::InsertRecord) {
      r = Access_ARTICULO->Insert();
    } else if (std::memcmp(&ART, &Original, sizeof ART) != 0) {
      r = MakeCurrent();
      if (r == fw::Level_Benign && !StoredAsOpened()) {
        // Another station changed the article since the form opened: writing over it would
        // silently undo that change. The user is told; the form keeps the user's values.
        store::Status s;
        s.code = store::RecordChanged;
        s.text = store::errorText(store::RecordChanged);
        r = Access_ARTICULO->ReportWriteFailure(s, /*adding=*/false);
      }
      if (r == fw::Level_Benign) r = Relate_ARTICULO->Update();
    }
    if (r != fw::Level_Benign) {
      SelectFirstField();
      return fw::Level_Notify;
    }
    return fw::WindowManager::TakeCompleted();
  }

 private:
  // Makes the stored article with the buffer's code the table's current record, keeping the
  // buffer as it is (the user's values).
  int MakeCurrent() {
    const std::string wanted = Access_ARTICULO->SaveBuffer();
    int r = Access_ARTICULO->Fetch(ART_POR_IDARTICULO);
    Access_ARTICULO->RestoreBuffer(wanted);
    return r;
  }

  // The stored article (as MakeCurrent read it) is the one the form was opened on.
  bool StoredAsOpened() const {
    const std::string& stored = Access_ARTICULO->LastRecord();
    return stored.size() == sizeof Original && std::memcmp(stored.data(), &Original, sizeof Original) == 0;
  }

  // Ctrl+H: the field of the focused entry back from the history record. The code is the
  // article's key and read-only, and a form that only views changes nothing.
  void TakeHistory(int feq) {
    if (Request == fw::ViewRecord) return;
    switch (feq) {
      case ART_DESCRIPCION:
        std::memcpy(ART.DESCRIPCION, History_ART.DESCRIPCION, sizeof ART.DESCRIPCION);
        break;
      case ART_IMPORTE:
        ART.IMPORTE = History_ART.IMPORTE;
        break;
      default:
        return;
    }
    Window().display(feq);
  }

  bool FilesOpened = false;
  ARTICULO Original{};
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
