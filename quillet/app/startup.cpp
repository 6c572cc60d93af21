#include "quillet/app/startup.h"

#include "framework/browse_popup_texts.h"
#include "framework/fuzzy_class.h"
#include "framework/ini_class.h"
#include "quillet/app/calendar_texts_es.h"
#include "quillet/app/globals.h"
#include "quillet/app/main_frame.h"
#include "quillet/app/messages.h"
#include "quillet/app/platform.h"
#include "quillet/app/thread_hooks.h"
#include "quillet/tables/dictionary.h"

namespace quillet {
namespace {

// Switches drag-full-windows off for the program's life when it was on, and back on when asked
// to or, failing that, when the program leaves the start-up procedure in any other way.
class DragFullWindowsOff {
 public:
  DragFullWindowsOff() {
    int value = 0;
    if (platform().SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &value, 0)) saved_ = value;
    if (saved_ == 1) {
      (void)platform().SystemParametersInfo(SPI_SETDRAGFULLWINDOWS, 0, nullptr,
                                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    }
  }
  ~DragFullWindowsOff() { restore(); }
  DragFullWindowsOff(const DragFullWindowsOff&) = delete;
  DragFullWindowsOff& operator=(const DragFullWindowsOff&) = delete;

  void restore() {
    if (saved_ != 1) return;
    saved_ = 0;
    (void)platform().SystemParametersInfo(SPI_SETDRAGFULLWINDOWS, 1, nullptr,
                                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  }

 private:
  int saved_ = 0;
};

}  // namespace

void StartupWith(rt::Procedure frame_procedure) {
  // 1. The error manager with the Spanish messages over the framework's own.
  if (!GlobalErrorStatus) GlobalErrorStatus.emplace();
  GlobalErrors.Init(*GlobalErrorStatus);
  if (!GlobalErrors.AddErrors(DefaultErrors())) {
    // The built-in Spanish block is malformed: the framework's English texts stay in use, which
    // still lets every message be shown.
  }
  // The framework's other words in Quillet's windows: the list's context menu and the calendar.
  fw::SetBrowsePopupTexts({"&Agregar", "&Cambiar", "&Borrar", "&Ver", "&Elegir"});
  UseSpanishCalendarTexts();
  // 2. The approximate-text matcher.
  FuzzyMatcher.Init();
  (void)FuzzyMatcher.SetOption(fw::FuzzyClass::Option_IgnoreCase, true);
  (void)FuzzyMatcher.SetOption(fw::FuzzyClass::Option_WholeWords, false);
  // 3. The INI manager. When it cannot bind, INI reads give their defaults and writes fail,
  // which Quillet can live with: it keeps nothing there but the manager's own section list.
  (void)INIMgr.Init(kIniFileName, fw::INIClass::Storage_IniFile);
  // 4. The first thread's table managers.
  DctInit();
  // 5. Window dragging without contents while Quillet runs.
  DragFullWindowsOff drag;
  // 6. The frame.
  frame_procedure();

  INIMgr.Update();
  drag.restore();
  (void)INIMgr.Kill();
  FuzzyMatcher.Kill();
}

void Startup() { StartupWith(Main); }

rt::ProgramDecl QuilletProgram() {
  rt::ProgramDecl decl;
  decl.startup = Startup;
  decl.thread_start = ThreadStart;
  decl.thread_end = ThreadEnd;
  return decl;
}

}  // namespace quillet
