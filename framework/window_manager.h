#pragma once
// WindowManager: drives one window of a window procedure. A procedure derives `ThisWindow` from
// it, overrides some of the virtual operations (each override calls the framework's operation and
// adds to it), and runs it:
//
//   rt::Window window;
//   MyWindowManager ThisWindow(window);   // its Init opens `window` with Open(decl)
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

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/request_codes.h"
#include "framework/window_component.h"
#include "runtime/window.h"

namespace store {
struct TableDef;
}

namespace fw {

class ErrorClass;
class FileManager;
class RelationManager;
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
  RelationManager* Primary = nullptr;  // a form's table: deletes, writes and CancelAutoInc go here
  int HistoryKey = 0;       // the key that puts a history field back (0 = none)
  bool Dead = false;        // Kill has run

  // The window this manager drives.
  rt::Window& Window() { return window_; }
  const rt::Window& Window() const { return window_; }
  // Opens the window structure; sets Opened on success.
  [[nodiscard]] rt::OpenResult Open(const rt::WindowDecl& decl);

  // ---- The window procedure ----------------------------------------------------------------
  // The framework's defaults: InsertAction, ChangeAction, DeleteAction 2, CancelAction 3, the
  // automatic toolbar and refresh on, OriginalRequest := Request, no response. Returns 0.
  virtual int Init();
  // Kills and forgets the registered components. Returns Level_Notify when already killed, else 0.
  // It does not close the window: the procedure does, after the manager is gone.
  virtual int Kill();
  // The event loop: runs until TakeEvent returns Level_Fatal or the window closes.
  virtual void Ask();
  // Init, Ask when Init returned 0, Kill; the response (RequestCancelled when never set, and
  // always for a window opened to view a record).
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
  // The form behaviour (window_manager_form.cpp) works on the record of Primary and the
  // registered update files; a window without them (a browse, a frame) completes and cancels
  // as the core does.
  //
  // Before the window opens (a procedure's Init calls it for every request but view, after it
  // has opened its files): saves the primary record buffer and the update files' buffers (what
  // "changed" is measured against), runs PrimeFields for an insert. A delete request is carried
  // out here through Primary (DeleteAction 2: message 11 first; 4: without a question; other
  // actions delete nothing): the response becomes RequestCompleted when the record was deleted,
  // RequestCancelled on a refusal or failure, and the result is Level_Fatal so that the
  // procedure's Init returns Level_Handled and the window never opens. Otherwise Level_Benign.
  virtual int PrimeUpdate();
  // Fills the fields of a new record before the window opens; the framework's does nothing.
  virtual int PrimeFields();
  // (TakeCompleted, for a form: the record goes into the history record, then an insert is
  // written through Primary, a change only when the primary buffer differs from its saved copy
  // and the stored record is still the one the form was opened on (else message 7). A failed
  // write has been reported; when it may pass on a second try (held by another station) message
  // 37 asks: Yes writes again, No closes with RequestCancelled, Cancel stays. Otherwise the form
  // stays open with the user's values, the focus on FirstField. The response is RequestCompleted
  // after a write, and without one when a toolbar is registered and no VCRRequest is pending;
  // else RequestCancelled. A view request writes nothing and closes with RequestCancelled.)
  // May the window be cancelled? 0 = yes. For an insert or change whose buffers differ from the
  // saved copies it asks by CancelAction (flag 1: message 38, Yes presses OKControl, No cancels,
  // Cancel stays; flag 2: message 10, Yes cancels, No stays). A cancelled insert then gives the
  // reserved record back (Primary's CancelAutoInc); when that fails the window stays open.
  // Non-zero = the window stays open.
  virtual int ConfirmCancel();
  // The OK control was pressed: starts the accept-all pass.
  virtual int TakeOK();
  // True when the primary record buffer or an update file's buffer differs from its saved copy.
  bool RecordChanged() const;

  // ---- Form registration -------------------------------------------------------------------
  // A table whose buffer the form changes: saved by PrimeUpdate, compared for the cancel
  // question. The manager must live as long as this window manager uses it.
  void AddUpdateFile(FileManager& file);
  // The history record of the form's table: `record` is the table's buffer, `history` a second
  // buffer of the same size (kept by the caller, typically per thread), `layout` tells where each
  // field lies. On completion with OK the record is copied into `history`. False (nothing
  // registered) when the layout's record size differs from `size`.
  bool AddHistoryFile(void* record, void* history, std::size_t size, const store::TableDef& layout);
  template <class Rec>
  bool AddHistoryFile(Rec& record, Rec& history, const store::TableDef& layout) {
    return AddHistoryFile(&record, &history, sizeof(Rec), layout);
  }
  // The history key pressed in control `feq` puts back field `field_number` (1 = the layout's
  // first field) from the history record. False for feq 0 or a field the layout lacks (the
  // history file must be registered first).
  bool AddHistoryField(int feq, int field_number);

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
  // The history key in a history field: the field's value back from the history record.
  // Level_Handled when it was one, else Level_Benign.
  int TakeHistoryKey();
  // Makes the history key an alert key of every history field.
  void SetHistoryAlerts();

 private:
  rt::Window& window_;
  std::vector<WindowComponent*> components_;
  ToolbarClass* toolbar_ = nullptr;
  std::map<int, int> responses_;  // control -> response

  // The form's state (window_manager_form.cpp).
  struct HistoryField {
    int feq = 0;
    int offset = 0;
    int size = 0;
  };
  ErrorClass* errors() const;  // Errors, else the primary file manager's
  int writeRecord();           // by OriginalRequest: Level_Benign written, Level_User nothing to write
  int makeCurrent();           // the stored record of the saved copy becomes the current one
  std::string saved_primary_;
  std::vector<FileManager*> update_files_;
  std::vector<std::string> saved_updates_;
  unsigned char* history_record_ = nullptr;
  unsigned char* history_copy_ = nullptr;
  std::size_t history_size_ = 0;
  const store::TableDef* history_layout_ = nullptr;
  std::vector<HistoryField> history_fields_;
  bool cancel_decided_ = false;  // a cancel already settled: close without asking again
};

}  // namespace fw
