#include "quillet/windows/placeholder_browse.h"

#include "framework/request_codes.h"
#include "framework/toolbar_class.h"
#include "framework/window_manager.h"
#include "quillet/app/globals.h"
#include "runtime/window.h"

namespace quillet {
namespace {

class PlaceholderWindow : public fw::WindowManager {
 public:
  PlaceholderWindow(rt::Window& window, fw::ToolbarClass& toolbar, const char* name,
                    const rt::WindowDecl& decl, int close_feq)
      : fw::WindowManager(window), toolbar_(toolbar), name_(name), decl_(decl),
        close_feq_(close_feq) {}

  int Init() override {
    GlobalErrors.SetProcedureName(name_);
    Request = GlobalRequest;
    if (int r = fw::WindowManager::Init(); r != fw::Level_Benign) return r;
    FirstField = close_feq_;
    VCRRequest = &quillet::VCRRequest;
    Errors = &GlobalErrors;
    AddItem(toolbar_);
    GlobalRequest = 0;
    GlobalResponse = 0;
    AddItem(close_feq_, Request == fw::SelectRecord ? fw::RequestCancelled : fw::RequestCompleted);
    if (Open(decl_) != rt::OpenResult::Ok) return fw::Level_Fatal;
    SetAlerts();
    return fw::Level_Benign;
  }

  int Kill() override {
    if (int r = fw::WindowManager::Kill(); r != fw::Level_Benign) return r;
    GlobalErrors.SetProcedureName();
    return fw::Level_Benign;
  }

 private:
  fw::ToolbarClass& toolbar_;
  const char* name_;
  const rt::WindowDecl& decl_;
  int close_feq_;
};

}  // namespace

void RunPlaceholderBrowse(const char* procedure_name, const rt::WindowDecl& decl, int close_feq) {
  rt::Window window;
  fw::ToolbarClass Toolbar;
  {
    PlaceholderWindow ThisWindow(window, Toolbar, procedure_name, decl, close_feq);
    GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
  }
  window.close();
}

}  // namespace quillet
