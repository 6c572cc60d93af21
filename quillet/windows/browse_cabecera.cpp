#include "quillet/windows/browse_cabecera.h"

#include <cstdint>
#include <cstring>

#include "framework/browse_class.h"
#include "framework/browse_queue.h"
#include "framework/locator_class.h"
#include "framework/request_codes.h"
#include "framework/step_class.h"
#include "framework/toolbar_class.h"
#include "framework/view_manager.h"
#include "framework/window_manager.h"
#include "framework/window_resize_class.h"
#include "quillet/app/globals.h"
#include "quillet/tables/cabecera.h"
#include "quillet/tables/dictionary.h"
#include "quillet/windows/actualiza_cabecera.h"
#include "runtime/window.h"
#include "runtime/window_decl.h"

namespace quillet {
namespace {

using namespace browse_cabecera;

#pragma pack(push, 1)
struct Queue_Browse_1_Rec {
  std::uint16_t CAB_IDCABECERA;
  std::int32_t CAB_FECHA;
  rt::PackedDecimal<4, 2> CAB_TOTAL;
  std::uint8_t MARK;
  char VIEWPOSITION[1024];
};
#pragma pack(pop)

rt::WindowDecl QuickWindow() {
  rt::WindowDecl decl("Recorrer la tabla Cabecera");
  decl.mdiChild()
      .size(459, 290)
      .frame(rt::FrameKind::Resizable)
      .systemMenu()
      .gray()
      .font("MS Sans Serif", 8)
      .help("Browse:Cabecera")
      .control(rt::ControlDecl::sheet(CURRENTTAB).at(4, 4, 447, 254))
      .control(rt::ControlDecl::tab(TAB_2, CURRENTTAB, "&1) Por IDCabecera"))
      .control(rt::ControlDecl::tab(TAB_3, CURRENTTAB, "&2) Por Fecha"))
      .control(rt::ControlDecl::list(BROWSE_1,
                                     "53R(2)|F~IDCabecera~C(0)@n_4B@52R(2)|F~Fecha~C(0)@d6B@"
                                     "40R(2)|F~Total~C(0)@n-10.2B@")
                   .at(9, 23, 434, 233)
                   .pageLoaded()
                   .status("Recorriendo la tabla Cabecera")
                   .tip("Recorriendo la tabla Cabecera"))
      .control(rt::ControlDecl::button(INSERT_3, "&Agregar")
                   .at(74, 265, 49, 14)
                   .icon("a.ICO")
                   .status("Agregar un Registro")
                   .tip("Agregar un Registro"))
      .control(rt::ControlDecl::button(CHANGE_3, "&Cambiar")
                   .at(133, 265, 49, 14)
                   .icon("c.ICO")
                   .status("Cambiar un Registro")
                   .tip("Cambiar un Registro"))
      .control(rt::ControlDecl::button(DELETE_3, "&Borrar")
                   .at(189, 265, 49, 14)
                   .icon("b.ICO")
                   .status("Borrar el Registro")
                   .tip("Borrar el Registro"))
      .control(rt::ControlDecl::button(CLOSE, "&Cerrar")
                   .at(373, 266, 49, 14)
                   .status("Cerrar la ventana")
                   .tip("Cerrar la ventana"));
  return decl;
}

// The header list: one order per tab of the sheet.
class BRW1Class : public fw::BrowseClass {
 public:
  Queue_Browse_1_Rec* Q = nullptr;

  int ResetSort(bool force) override {
    const fw::WindowManager* w = Window();
    if (w != nullptr && w->Window().currentTab(CURRENTTAB) == TAB_3) return SetSort(1, force);
    return SetSort(2, force);
  }
  void Fetch(int move) override { fw::BrowseClass::Fetch(move); }
};

class ThisWindowClass : public fw::WindowManager {
 public:
  explicit ThisWindowClass(rt::Window& window) : fw::WindowManager(window) {}

  int Init() override {
    GlobalErrors.SetProcedureName("Browse:Cabecera");
    Request = GlobalRequest;
    if (int r = fw::WindowManager::Init(); r != fw::Level_Benign) return r;
    FirstField = BROWSE_1;
    VCRRequest = &quillet::VCRRequest;
    Errors = &GlobalErrors;
    AddItem(Toolbar);
    GlobalRequest = 0;
    GlobalResponse = 0;
    AddItem(CLOSE, Request == fw::SelectRecord ? fw::RequestCancelled : fw::RequestCompleted);
    if (int r = Relate_CABECERA->Open(); r != fw::Level_Benign) return r;
    FilesOpened = true;

    // The window opens before the browse binds to its list (the list's page size comes from it).
    if (Open(QuickWindow()) != rt::OpenResult::Ok) return fw::Level_Fatal;
    View.Init(CABECERA_File(), &CAB);
    BRW1.Init(BROWSE_1, Queue.VIEWPOSITION, View, QueueBrowse1, Relate_CABECERA, *this);
    if (Request != fw::ViewRecord) {
      BRW1.InsertControl = INSERT_3;
      BRW1.ChangeControl = CHANGE_3;
      BRW1.DeleteControl = DELETE_3;
    }
    Window().setRowHeight(BROWSE_1, 11);
    Resizer.Init(Window(), fw::Resize_Spread);
    Resizer.SetParentDefaults();
    AddItem(Resizer);
    BRW1.Q = &Queue;
    Sort1_StepClass.Init(1);
    BRW1.AddSortOrder(&Sort1_StepClass, CAB_POR_FECHA);
    Sort1_Locator.Init(&CAB.FECHA, true);
    BRW1.AddLocator(Sort1_Locator);
    Sort0_StepClass.Init(1);
    BRW1.AddSortOrder(&Sort0_StepClass, CAB_POR_IDCABECERA);
    Sort0_Locator.Init(&CAB.IDCABECERA, true);
    BRW1.AddLocator(Sort0_Locator);
    BRW1.AddField(rt::Binding::ushort(CAB.IDCABECERA), rt::Binding::ushort(Queue.CAB_IDCABECERA));
    BRW1.AddField(rt::Binding::long_(CAB.FECHA), rt::Binding::long_(Queue.CAB_FECHA));
    BRW1.AddField(rt::Binding::decimal(CAB.TOTAL), rt::Binding::decimal(Queue.CAB_TOTAL));
    BRW1.AskProcedure = 1;
    SetAlerts();
    return fw::Level_Benign;
  }

  int Kill() override {
    if (int r = fw::WindowManager::Kill(); r != fw::Level_Benign) return r;
    if (FilesOpened) Relate_CABECERA->Close();
    GlobalErrors.SetProcedureName();
    return fw::Level_Benign;
  }

  int Run() override { return fw::WindowManager::Run(); }

  // The update procedure of the list: the invoice form with the browse's request.
  int Run(int number, int request) override {
    (void)fw::WindowManager::Run(number, request);
    if (Request == fw::ViewRecord) return fw::RequestCancelled;
    GlobalRequest = static_cast<std::uint8_t>(request);
    Actualiza_Cabecera();
    return GlobalResponse;
  }

 private:
  bool FilesOpened = false;
  Queue_Browse_1_Rec Queue{};
  fw::BrowseQueue QueueBrowse1{Queue};
  fw::ViewManager View;
  fw::ToolbarClass Toolbar;
  BRW1Class BRW1;
  fw::StepLocatorClass Sort0_Locator, Sort1_Locator;
  fw::StepLongClass Sort0_StepClass, Sort1_StepClass;
  fw::WindowResizeClass Resizer;
};

}  // namespace

void Browse_Cabecera() {
  rt::Window window;
  {
    ThisWindowClass ThisWindow(window);
    GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
  }
  window.close();
}

}  // namespace quillet
