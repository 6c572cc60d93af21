#pragma once
// WindowManager: drives one window of a window procedure. A procedure derives `ThisWindow` from
// it, overrides some of the virtual operations (each override calls the framework's operation and
// adds to it), and runs it:
//
//   rt::Window window;
//   MyWindowManager ThisWindow(window);   // its Init opens `window` with Open(spec)
//   GlobalResponse = ThisWindow.Run();
//
// Run() runs Init, then Ask (the event loop) only when Init returned 0, then Kill, and returns the
// response (RequestCancelled when it was never set). Init returns 0 to go on; any other value
// means the window is not to be shown (5: the request was already carried out). During Ask every
// event goes to TakeEvent: 3 (Level_Fatal) ends the loop, 5 (Level_Handled) means the event was
// consumed and the default handling is skipped, 0 goes on.
//
// TakeEvent offers the event first to every registered component (toolbar, browses, resize
// manager: AddItem), in the order they were registered, and stops at the first non-zero result;
// then a window event (no field) goes to TakeWindowEvent and a field event to TakeFieldEvent,
// which dispatches EVENT_Accepted to TakeAccepted, EVENT_Selected to TakeSelected and
// EVENT_NewSelection to TakeNewSelection.
//
// Default handling:
//   EVENT_OpenWindow   Reset(true) (components load, variables are displayed), focus to FirstField
//   EVENT_CloseWindow  TakeCloseEvent: unless the response is RequestCompleted, ConfirmCancel decides
//                      (0: the response becomes RequestCancelled and the loop ends; otherwise the
//                      window stays open, the response is cleared, the focus goes to FirstField)
//   EVENT_CloseDown    the program is ending: the loop ends (response cancelled unless completed)
//   EVENT_Completed    TakeCompleted: the response becomes RequestCompleted and the window closes
//   EVENT_Accepted     a control registered with a response (AddItem(feq, response)) sets that
//                      response and closes the window (SetResponse); the OK control starts the
//                      accept-all pass (TakeOK)
//   EVENT_NewSelection of a SHEET (another tab)  Reset(false)
//
// Forms and browses build on this core through its virtual hooks, without changes to it:
//   PrimeUpdate     a form saves its record and carries out a delete before the window opens
//   ConfirmCancel   a form asks its cancel questions by CancelAction
//   TakeOK          the accept-all pass (the default one posts EVENT_Accepted to every enabled
//                   edit control and then EVENT_Completed; a required control that is blank,
//                   or zero under a numeric picture, stops it and gets the focus)
//   TakeCompleted   a form writes its record by OriginalRequest before completing
//   Run(n, r)       a browse calls its update procedure
//   components      browses, toolbars, resize managers receive events, resets, updates, alerts
//
// Failure: operations report by result code (Level_ values of framework/request_codes.h); Kill
// returns Level_Notify when the manager was already killed. Threads: a WindowManager and its
// window belong to the thread that runs the procedure; call it only there.

#include <cstdint>
#include <map>
#include <vector>

#include "framework/request_codes.h"
#include "framework/window_component.h"
#include "runtime/window.h"

namespace fw {

class ErrorClass;
class ToolbarClass;

class WindowManager {
 public:
  explicit WindowManager(rt::Window& window);
  virtual ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  // ---- Fields ------------------------------------------------------------------------------
  int Request = 0;          // the request the window was opened with (GlobalRequest on entry)
  int OriginalRequest = 0;  // Request as it was when Init ran
  int Response = 0;         // 0 = not set (Run reports RequestCancelled), else RequestCompleted/Cancelled
  int FirstField = 0;       // the control that gets the focus when the window opens (0 = none)
  std::int32_t* VCRRequest = nullptr;  // the thread's row-navigation request
  ErrorClass* Errors = nullptr;        // the error manager of the window
  int OKControl = 0;        // the button that starts the accept-all pass (0 = none)
  std::uint8_t InsertAction = Action_Close;
  std::uint8_t ChangeAction = Action_Close;
  std::uint8_t DeleteAction = Action_Close;
  std::uint8_t CancelAction = Cancel_OfferSave | Cancel_Confirm;
  bool AutoToolbar = true;
  bool AutoRefresh = true;
  bool BatchProcessing = false;
  bool Opened = false;      // the window was opened through Open
  bool Dead = false;        // Kill has run

  // The window this manager drives.
  rt::Window& Window() { return window_; }
  const rt::Window& Window() const { return window_; }
  // Opens the window structure; sets Opened on success.
  [[nodiscard]] rt::OpenResult Open(const rt::WindowSpec& spec);

  // ---- The window procedure ----------------------------------------------------------------
  // The framework's defaults: InsertAction, ChangeAction, DeleteAction 2, CancelAction 3, the
  // automatic toolbar and refresh on, OriginalRequest := Request, no response. Returns 0.
  virtual int Init();
  // Kills and forgets the registered components. Returns Level_Notify when already killed, else 0.
  // It does not close the window: the procedure does, after the manager is gone.
  virtual int Kill();
  // The event loop: runs until TakeEvent returns Level_Fatal or the window closes.
  virtual void Ask();
  // Init, Ask when Init returned 0, Kill; the response (RequestCancelled when never set).
  virtual int Run();
  // A browse runs its update procedure `number` with `request` through this. The framework's
  // version calls nothing and returns RequestCancelled; a procedure that has update procedures
  // overrides it.
  virtual int Run(int number, int request);

  // ---- Events ------------------------------------------------------------------------------
  virtual int TakeEvent();
  virtual int TakeWindowEvent();
  virtual int TakeFieldEvent();
  virtual int TakeAccepted();
  virtual int TakeSelected();
  virtual int TakeNewSelection();
  virtual int TakeCloseEvent();
  virtual int TakeCompleted();

  // ---- Services ----------------------------------------------------------------------------
  // Sets the response and asks the window to close (EVENT_CloseWindow posted to itself).
  virtual void SetResponse(int response);
  // Installs the components' alert keys.
  virtual void SetAlerts();
  // Refreshes the components, then displays every control's variable.
  virtual void Reset(bool force = false);
  // Copies the screen into the variables, then lets the components copy theirs.
  virtual void Update();

  // ---- Hooks for forms ---------------------------------------------------------------------
  // Before the window opens: saves what a cancel compares with, carries out a delete. 0 = go on;
  // non-zero = the window is not to be opened (the response is set). The core has nothing to prime.
  virtual int PrimeUpdate();
  // May the window be cancelled? 0 = yes. The core never refuses.
  virtual int ConfirmCancel();
  // The OK control was pressed: starts the accept-all pass.
  virtual int TakeOK();

  // ---- Registration ------------------------------------------------------------------------
  // A component takes part in the window's events, resets, updates and alerts (see above). It
  // must live until Kill. Registering the same component twice has no further effect.
  void AddItem(WindowComponent& component);
  // The window's toolbar: registered as a component and remembered (HasToolbar).
  void AddItem(ToolbarClass& toolbar);
  // Pressing control `feq` sets `response` and closes the window (a close or cancel button).
  // False for feq 0 or a response that is neither completed nor cancelled.
  bool AddItem(int feq, int response);

  bool HasToolbar() const { return toolbar_ != nullptr; }
  ToolbarClass* RegisteredToolbar() const { return toolbar_; }
  // The response registered for a control (0 = none).
  int ResponseOf(int feq) const;

 protected:
  // Offers the current event to every component; the first non-zero result, else 0.
  int TakeComponentEvents();
  // Focus to FirstField when there is one.
  void SelectFirstField();

 private:
  rt::Window& window_;
  std::vector<WindowComponent*> components_;
  ToolbarClass* toolbar_ = nullptr;
  std::map<int, int> responses_;  // control -> response
};

}  // namespace fw
