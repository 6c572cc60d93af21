#include "quillet/windows/actualiza_cabecera.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "framework/browse_class.h"
#include "framework/browse_eip_manager.h"
#include "framework/browse_queue.h"
#include "framework/calendar_class.h"
#include "framework/locator_class.h"
#include "framework/request_codes.h"
#include "framework/toolbar_class.h"
#include "framework/view_manager.h"
#include "framework/window_manager.h"
#include "framework/window_resize_class.h"
#include "quillet/app/globals.h"
#include "quillet/app/keynav.h"
#include "quillet/tables/articulo.h"
#include "quillet/tables/cabecera.h"
#include "quillet/tables/dictionary.h"
#include "quillet/tables/items.h"
#include "quillet/windows/fill_line.h"
#include "quillet/windows/line_editors.h"
#include "runtime/date.h"
#include "runtime/event.h"
#include "runtime/message_box.h"
#include "runtime/vocabulary.h"
#include "runtime/window.h"
#include "runtime/window_decl.h"

namespace quillet {
namespace {

using namespace actualiza_cabecera;

// The history record of the form: the header as last accepted on this thread (Ctrl+H).
thread_local CABECERA History_CAB{};

// Field indexes of the ITEMS and ARTICULO declarations used by the line view's join.
constexpr int kItemsIdArticulo = 3;
constexpr int kArticuloIdArticulo = 0;

rt::WindowDecl QuickWindow() {
  rt::WindowDecl decl("Ficha Cabecera");
  decl.mdiChild()
      .size(489, 281)
      .frame(rt::FrameKind::Double)
      .systemMenu()
      .gray()
      .font("MS Sans Serif", 8)
      .help("Actualiza:Cabecera")
      .control(rt::ControlDecl::sheet(CURRENTTAB).at(4, 4, 481, 241))
      .control(rt::ControlDecl::tab(TAB_1, CURRENTTAB, "&1) General"))
      .control(rt::ControlDecl::prompt(CAB_IDCABECERA_PROMPT, "IDCabecera:").at(15, 25).transparent().in(TAB_1))
      .control(rt::ControlDecl::entry(CAB_IDCABECERA, "@n_4B")
                   .at(60, 25, 33, 10)
                   .use(rt::Binding::ushort(CAB.IDCABECERA))
                   .rightAligned()
                   .readOnly()
                   .skip()
                   .in(TAB_1))
      .control(rt::ControlDecl::prompt(CAB_FECHA_PROMPT, "Fecha:").at(118, 25).transparent().in(TAB_1))
      .control(rt::ControlDecl::entry(CAB_FECHA, "@d6B")
                   .at(144, 25, 58, 10)
                   .use(rt::Binding::long_(CAB.FECHA))
                   .rightAligned()
                   .in(TAB_1))
      .control(rt::ControlDecl::button(CALENDAR, "...").at(206, 24, 12, 12).skip().in(TAB_1))
      .control(rt::ControlDecl::list(LIST,
                                     "33C|~NOrden~@n_2B@41R(2)|~Cantidad~C(0)@n-10.2@"
                                     "44R(2)|~IDArticulo~C(0)@n_4@127L(2)|~Descripci\xF3n~C(0)@s30@"
                                     "43R(2)|~Unitario~C(0)@n-10.2B@40R(2)|~Total~C(0)@n-10.2B@")
                   .at(11, 45, 449, 170)
                   .pageLoaded()
                   .status("Browsing Records")
                   .in(TAB_1))
      .control(rt::ControlDecl::button(INSERT, "&Agrega").at(13, 223, 63, 18).in(TAB_1))
      .control(rt::ControlDecl::button(CHANGE, "&Cambia").at(80, 223, 63, 18).in(TAB_1))
      .control(rt::ControlDecl::button(DELETE, "&Borra").at(151, 223, 63, 18).in(TAB_1))
      .control(rt::ControlDecl::prompt(CAB_TOTAL_PROMPT, "Total:").at(371, 222).transparent().in(TAB_1))
      .control(rt::ControlDecl::entry(CAB_TOTAL, "@n-10.2B")
                   .at(394, 222, 65, 10)
                   .use(rt::Binding::decimal(CAB.TOTAL))
                   .rightAligned()
                   .readOnly()
                   .skip()
                   .in(TAB_1))
      .control(rt::ControlDecl::button(OK, "&Aceptar")
                   .at(317, 247, 77, 27)
                   .icon("WAOK.ICO")
                   .status("Aceptar los datos y cerrar la ventana")
                   .tip("Aceptar los datos y cerrar la ventana"))
      .control(rt::ControlDecl::button(CANCEL, "&Cancelar")
                   .at(405, 248, 78, 23)
                   .icon("WACANCEL.ICO")
                   .status("Cancelar operaci\xF3n")
                   .tip("Cancelar operaci\xF3n"));
  return decl;
}

// The line list: limited to the header's lines; every reload recomputes the header total.
class LinesBrowseClass : public fw::BrowseClass {
 public:
  LinesQueueRecord* Q = nullptr;
  bool TotalTooLarge = false;  // the last recomputation did not fit CAB:TOTAL
  fw::BrowseEIPManager EIPManager;

  // Every insert, change and delete of a line is made in the list itself.
  int AskRecord(int request) override { return EIPManager.AskRecord(request); }

  void ResetFromView() override {
    rt::Decimal sum;
    bool fits = true;
    fw::ViewManager* view = View();
    view->Reset();
    for (;;) {
      store::Status s = view->Next();
      if (s.code == store::RecordNotAvailable) break;
      if (!s.ok()) {
        // A read failure leaves the total as it was.
        GlobalErrors.SetErrors(s);
        return;
      }
      SetQueueRecord(view->Current());
      sum += ITE.TOTAL.value();
      if (!FitsTotal(sum)) fits = false;
    }
    TotalTooLarge = !fits || !FitsTotal(sum);
    // A sum that does not fit is never stored as another number: CAB:TOTAL keeps its value and
    // the form refuses "&Aceptar" until the lines are fixed.
    if (!TotalTooLarge) (void)CAB.TOTAL.assign(sum.rounded(2));
    fw::BrowseClass::ResetFromView();
    if (fw::WindowManager* w = Window()) w->Window().display(CAB_TOTAL);
  }
  void Fetch(int move) override { fw::BrowseClass::Fetch(move); }
};

class ThisWindowClass : public fw::WindowManager {
 public:
  explicit ThisWindowClass(rt::Window& window) : fw::WindowManager(window), KeyNav(window) {}

  int Init() override {
    GlobalErrors.SetProcedureName("Actualiza:Cabecera");
    Request = GlobalRequest;
    if (int r = fw::WindowManager::Init(); r != fw::Level_Benign) return r;
    FirstField = CAB_IDCABECERA_PROMPT;
    VCRRequest = &quillet::VCRRequest;
    Errors = &GlobalErrors;
    AddItem(Toolbar);
    GlobalRequest = 0;
    GlobalResponse = 0;
    // History: Ctrl+H in the date puts back the date of the header last accepted on this thread.
    // The number and the total are read-only and are not put back: an old number would re-key
    // this header away from its lines, an old total would disagree with them.
    HistoryKey = rt::CtrlH;
    (void)AddHistoryFile(CAB, History_CAB, CABECERA_Def());
    (void)AddHistoryField(CAB_FECHA, 2);
    AddUpdateFile(*Access_CABECERA);
    AddItem(CANCEL, fw::RequestCancelled);
    if (int r = Relate_CABECERA->Open(); r != fw::Level_Benign) return r;
    FilesOpened = true;
    Primary = Relate_CABECERA;
    if (Request == fw::ViewRecord && !BatchProcessing) {
      InsertAction = DeleteAction = ChangeAction = fw::Action_NotOffered;
      CancelAction = 0;
    } else {
      ChangeAction = fw::Action_Close;
      CancelAction = fw::Cancel_Confirm;
      OKControl = OK;
      if (PrimeUpdate() != 0) return fw::Level_Handled;
    }
    if (Open(QuickWindow()) != rt::OpenResult::Ok) return fw::Level_Fatal;

    View.Init(ITEMS_File(), &ITE);
    View.AddJoin(0, ARTICULO_File(), &ART, ART_POR_IDARTICULO, /*inner=*/false);
    View.AddJoinLink(kItemsIdArticulo, kArticuloIdArticulo);
    LinesBrowse.Init(LIST, Queue.VIEWPOSITION, View, LinesQueue, Relate_ITEMS, *this);
    LinesBrowse.EIPManager.Init(LinesBrowse);
    LinesBrowse.EIPManager.AddEditControl(nullptr, 1);
    LinesBrowse.EIPManager.AddEditControl(&QuantityEditor, 2);
    LinesBrowse.EIPManager.AddEditControl(&ArticleEditor, 3);
    LinesBrowse.EIPManager.AddEditControl(&DescriptionEditor, 4);
    LinesBrowse.EIPManager.AddEditControl(&PriceEditor, 5);
    LinesBrowse.EIPManager.AddEditControl(nullptr, 6);
    LinesBrowse.DeleteAction = 1;  // at once, no question
    LinesBrowse.ArrowAction = 24;  // save without asking, go on in the same column
    if (Request != fw::ViewRecord) {
      LinesBrowse.InsertControl = INSERT;
      LinesBrowse.ChangeControl = CHANGE;
      LinesBrowse.DeleteControl = DELETE;
    }
    Window().setRowHeight(LIST, 11);
    if (Request == fw::ViewRecord) {
      Window().setReadOnly(CAB_IDCABECERA, true);
      Window().setReadOnly(CAB_FECHA, true);
      Window().setReadOnly(CAB_TOTAL, true);
      for (int feq : {CALENDAR, INSERT, CHANGE, DELETE}) Window().disable(feq);
    }
    Resizer.Init(Window(), fw::Resize_Spread);
    Resizer.SetParentDefaults();
    AddItem(Resizer);
    LinesBrowse.Q = &Queue;
    LinesBrowse.AddSortOrder(ITE_POR_IDCABECERAYNORDEN);
    LinesBrowse.AddRange(&ITE.IDCABECERA, *Relate_ITEMS, *Relate_CABECERA);
    Sort0_Locator.Init(&ITE.NORDEN, true);
    LinesBrowse.AddLocator(Sort0_Locator);
    LinesBrowse.AddField(rt::Binding::ushort(ITE.NORDEN), rt::Binding::ushort(Queue.ITE_NORDEN));
    LinesBrowse.AddField(rt::Binding::decimal(ITE.CANTIDAD), rt::Binding::decimal(Queue.ITE_CANTIDAD));
    LinesBrowse.AddField(rt::Binding::ushort(ITE.IDARTICULO), rt::Binding::ushort(Queue.ITE_IDARTICULO));
    LinesBrowse.AddField(rt::Binding::string(ITE.DESCRIPCION), rt::Binding::string(Queue.ITE_DESCRIPCION));
    LinesBrowse.AddField(rt::Binding::decimal(ITE.UNITARIO), rt::Binding::decimal(Queue.ITE_UNITARIO));
    LinesBrowse.AddField(rt::Binding::decimal(ITE.TOTAL), rt::Binding::decimal(Queue.ITE_TOTAL));
    LinesBrowse.AddField(rt::Binding::ushort(ITE.IDCABECERA), rt::Binding::ushort(Queue.ITE_IDCABECERA));
    LinesBrowse.AddField(rt::Binding::ushort(ART.IDARTICULO), rt::Binding::ushort(Queue.ART_IDARTICULO));
    SetAlerts();
    KeyNav.Init(0);
    Calendar.FirstWeekDay = 7;
    Calendar.ColorSunday = 255;
    Calendar.ColorSaturday = 255;
    Calendar.ColorOther = 0;
    Calendar.ColorHoliday = 32768;
    Calendar.SelectOnClose = 0;
    Calendar.RightAlignment = 0;
    return fw::Level_Benign;
  }

  int Kill() override {
    if (int r = fw::WindowManager::Kill(); r != fw::Level_Benign) return r;
    if (FilesOpened) Relate_CABECERA->Close();
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
    return fw::WindowManager::TakeEvent();
  }

  int TakeSelected() override {
    int r = fw::WindowManager::TakeSelected();
    // Entering the empty date of a new invoice proposes today; a date already there is kept.
    // Only while the date really has the focus: the window's opening selects its first focusable
    // control before the focus moves on to the first field.
    if (rt::field() == CAB_FECHA && Window().focus() == CAB_FECHA && Request == fw::InsertRecord &&
        CAB.FECHA == 0) {
      CAB.FECHA = rt::today();
      Window().display();
    }
    return r;
  }

  int TakeAccepted() override {
    int r = fw::WindowManager::TakeAccepted();
    switch (rt::field()) {
      case CALENDAR: {
        Update();
        Calendar.SelectOnClose = 1;
        Calendar.Ask("Select a Date", CAB.FECHA);
        if (Calendar.Response == fw::RequestCompleted) {
          CAB.FECHA = Calendar.SelectedDate;
          Window().display(CAB_FECHA);
        }
        Reset(true);
        break;
      }
      case OK:
        Update();
        if (Request == fw::ViewRecord && !BatchProcessing) SetResponse(fw::RequestCancelled);
        break;
      default: break;
    }
    return r;
  }

  // "&Aceptar": a header whose lines do not sum to a storable total is not written.
  int TakeCompleted() override {
    if (Request == fw::ViewRecord) return fw::WindowManager::TakeCompleted();
    Update();
    if (LinesBrowse.TotalTooLarge) {
      rt::message(kTotalTooLargeText, kTotalTooLargeCaption, rt::ICON_Exclamation, rt::BUTTON_OK);
      SelectFirstField();
      return fw::Level_Notify;
    }
    // A new invoice whose date was never entered is dated the day it is saved.
    if (Request == fw::InsertRecord && CAB.FECHA == 0) CAB.FECHA = rt::today();
    return fw::WindowManager::TakeCompleted();
  }

 private:
  bool FilesOpened = false;
  LinesQueueRecord Queue{};
  fw::BrowseQueue LinesQueue{Queue};
  fw::ViewManager View;
  fw::ToolbarClass Toolbar;
  // The editors outlive the in-list editor that uses them (declared before the browse).
  QuantityEditClass QuantityEditor{Queue};
  ArticleEditClass ArticleEditor{Queue};
  ForwardEntryClass DescriptionEditor{Queue};
  ForwardEntryClass PriceEditor{Queue};
  LinesBrowseClass LinesBrowse;
  fw::StepLocatorClass Sort0_Locator;
  fw::CalendarClass Calendar;
  fw::WindowResizeClass Resizer;
  KeyNavClass KeyNav;
};

}  // namespace

void Actualiza_Cabecera() {
  rt::Window window;
  {
    ThisWindowClass ThisWindow(window);
    ThisWindow.Request = GlobalRequest;
    GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
  }
  window.close();
}

}  // namespace quillet
