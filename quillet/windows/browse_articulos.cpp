#include "quillet/windows/browse_articulos.h"

#include <cstdint>

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
#include "quillet/tables/articulo.h"
#include "quillet/tables/dictionary.h"
#include "quillet/windows/actualiza_articulos.h"
#include "runtime/window.h"
#include "runtime/window_decl.h"

namespace quillet {
namespace {

using namespace browse_articulos;

// Field indexes of the ARTICULO declaration that the view projects.
constexpr int kFieldIdArticulo = 0;
constexpr int kFieldDescripcion = 1;
constexpr int kFieldImporte = 2;

// Queue:Browse:1, one entry per visible row.
#pragma pack(push, 1)
struct Queue_Browse_1_Rec {
  std::uint16_t ART_IDARTICULO;
  char ART_DESCRIPCION[30];
  rt::PackedDecimal<4, 2> ART_IMPORTE;
  std::uint8_t MARK;
  char VIEWPOSITION[1024];
};
#pragma pack(pop)

rt::WindowDecl QuickWindow() {
  rt::WindowDecl decl("Recorrer la tabla Articulos");
  decl.mdiChild()
      .size(261, 198)
      .frame(rt::FrameKind::Double)
      .systemMenu()
      .gray()
      .font("MS Sans Serif", 8)
      .help("Browse:Articulos")
      .control(rt::ControlDecl::list(BROWSE_1,
                                     "41R(2)|M~IDArticulo~C(0)@n_4B@130L(2)|M~Descripci\xF3n~@s30@"
                                     "48D(16)|M~Importe~C(0)@n-10.2B@")
                   .at(9, 23, 244, 124)
                   .pageLoaded()
                   .status("Recorriendo la tabla Articulos")
                   .tip("Recorriendo la tabla Articulos"))
      .control(rt::ControlDecl::button(VIEW_2, "&Ver")
                   .at(8, 158, 49, 14)
                   .icon("WAVIEW.ICO")
                   .status("Ver Registro")
                   .tip("Ver Registro"))
      .control(rt::ControlDecl::button(INSERT_3, "&Agregar")
                   .at(61, 158, 49, 14)
                   .icon("a.ICO")
                   .status("Agregar un Registro")
                   .tip("Agregar un Registro"))
      .control(rt::ControlDecl::button(CHANGE_3, "&Cambiar")
                   .at(114, 158, 49, 14)
                   .icon("c.ICO")
                   .status("Cambiar un Registro")
                   .tip("Cambiar un Registro"))
      .control(rt::ControlDecl::button(DELETE_3, "&Borrar")
                   .at(167, 158, 49, 14)
                   .icon("b.ICO")
                   .status("Borrar el Registro")
                   .tip("Borrar el Registro"))
      .control(rt::ControlDecl::button(SELECT, "&Elegir").at(5, 180, 49, 14).icon("select.ico"))
      .control(rt::ControlDecl::sheet(CURRENTTAB).at(4, 4, 253, 172))
      .control(rt::ControlDecl::tab(TAB_2, CURRENTTAB, "&1) Por IDArticulo"))
      .control(rt::ControlDecl::tab(TAB_3, CURRENTTAB, "&2) Por Descripci\xF3n"))
      .control(rt::ControlDecl::button(CLOSE, "&Cerrar")
                   .at(207, 180, 49, 14)
                   .icon("Close.ico")
                   .status("Cerrar la ventana")
                   .tip("Cerrar la ventana"));
  return decl;
}

// The article list: the tab shown chooses the order.
class BRW1Class : public fw::BrowseClass {
 public:
  Queue_Browse_1_Rec* Q = nullptr;

  // Order 1 (description) under the second tab, order 2 (code) otherwise.
  int ResetSort(bool force) override {
    const fw::WindowManager* w = Window();
    if (w != nullptr && w->Window().currentTab(CURRENTTAB) == TAB_3) return SetSort(1, force);
    return SetSort(2, force);
  }
};

class ThisWindowClass : public fw::WindowManager {
 public:
  explicit ThisWindowClass(rt::Window& window) : fw::WindowManager(window) {}

  int Init() override {
    GlobalErrors.SetProcedureName("Browse:Articulos");
    Request = GlobalRequest;
    if (int r = fw::WindowManager::Init(); r != fw::Level_Benign) return r;
    FirstField = BROWSE_1;
    VCRRequest = &quillet::VCRRequest;
    Errors = &GlobalErrors;
    AddItem(Toolbar);
    GlobalRequest = 0;
    GlobalResponse = 0;
    AddItem(CLOSE, Request == fw::SelectRecord ? fw::RequestCancelled : fw::RequestCompleted);
    if (int r = Relate_ARTICULO->Open(); r != fw::Level_Benign) return r;
    FilesOpened = true;

    // The view exists before the browse binds to it: a picker saves the caller's buffer there.
    View.Init(ARTICULO_File(), &ART);
    View.AddProjection(0, kFieldIdArticulo);
    View.AddProjection(0, kFieldDescripcion);
    View.AddProjection(0, kFieldImporte);
    BRW1.SelectControl = SELECT;
    BRW1.HideSelect = true;
    BRW1.Init(BROWSE_1, Queue.VIEWPOSITION, View, QueueBrowse1, Relate_ARTICULO, *this);
    if (Request != fw::ViewRecord) {
      BRW1.InsertControl = INSERT_3;
      BRW1.ChangeControl = CHANGE_3;
      BRW1.DeleteControl = DELETE_3;
    }
    BRW1.ViewControl = VIEW_2;
    // The list's right-click menu offers the buttons' actions, and "&Elegir" while picking.
    BRW1.UsePopup = true;
    BRW1.EditViaPopup = true;

    if (Open(QuickWindow()) != rt::OpenResult::Ok) return fw::Level_Fatal;
    Window().setRowHeight(BROWSE_1, 11);
    Resizer.Init(Window(), fw::Resize_Spread);
    Resizer.SetParentDefaults();
    AddItem(Resizer);

    BRW1.Q = &Queue;
    Sort1_StepClass.Init(1, 3);
    BRW1.AddSortOrder(&Sort1_StepClass, ART_POR_DESCRIPCION);
    Sort1_Locator.Init(&ART.DESCRIPCION, true);
    BRW1.AddLocator(Sort1_Locator);
    Sort0_StepClass.Init(1);
    BRW1.AddSortOrder(&Sort0_StepClass, ART_POR_IDARTICULO);
    Sort0_Locator.Init(&ART.IDARTICULO, true);
    BRW1.AddLocator(Sort0_Locator);
    BRW1.AddField(rt::Binding::ushort(ART.IDARTICULO), rt::Binding::ushort(Queue.ART_IDARTICULO));
    BRW1.AddField(rt::Binding::string(ART.DESCRIPCION), rt::Binding::string(Queue.ART_DESCRIPCION));
    BRW1.AddField(rt::Binding::decimal(ART.IMPORTE), rt::Binding::decimal(Queue.ART_IMPORTE));
    BRW1.AskProcedure = 1;
    SetAlerts();
    return fw::Level_Benign;
  }

  int Kill() override {
    if (int r = fw::WindowManager::Kill(); r != fw::Level_Benign) return r;
    if (FilesOpened) Relate_ARTICULO->Close();
    GlobalErrors.SetProcedureName();
    return fw::Level_Benign;
  }

  using fw::WindowManager::Run;

  // The update procedure of the list: the article form with the browse's request. A browse that
  // was itself opened to view only never calls it.
  int Run(int number, int request) override {
    (void)fw::WindowManager::Run(number, request);
    if (Request == fw::ViewRecord) return fw::RequestCancelled;
    GlobalRequest = static_cast<std::uint8_t>(request);
    Actualiza_Articulos();
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
  fw::StepLongClass Sort0_StepClass;
  fw::StepStringClass Sort1_StepClass;
  fw::WindowResizeClass Resizer;
};

}  // namespace

void Browse_Articulos() {
  rt::Window window;
  {
    ThisWindowClass ThisWindow(window);
    GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
  }
  window.close();
}

}  // namespace quillet
