#pragma once
// Window: a program thread's handle on one open window of the runtime's model.
//
// A window procedure opens its window and runs its event loop on its own thread:
//
//   rt::Window win;
//   if (win.open(decl) != rt::OpenResult::Ok) return;
//   while (win.accept()) {
//     switch (rt::event()) {
//       case rt::EVENT_Accepted: if (rt::field() == kOk) { win.update(); win.close(); } break;
//       case rt::EVENT_CloseWindow: win.close(); break;
//     }
//   }
//
// accept() waits for the next event of this window, makes it the thread's current event (see
// runtime/event.h) and returns true; it returns false once the window is closed. A window closes
// only when its procedure calls close() (or the Window is destroyed): EVENT_CloseWindow and
// EVENT_CloseDown ask the procedure to do so.
//
// Calling a window procedure directly from another one opens the callee's window above the
// caller's on the same thread; only the top window of a thread takes input until it closes.
//
// Thread rule: every member function must be called on the thread that opened the window (the
// owner); on another thread they do nothing and report failure (false, 0 or empty values). To act
// on another thread's window, rt::post an event to that thread. Control numbers (feq) are the
// numbers given in the window structure; feq 0 means the window itself where stated.
//
// Input interpretation (the same for every front end):
// - Focus order is by control number. Tab and Shift+Tab go to the next/previous tab stop: a
//   focusable control that is not hidden, not disabled, not SKIP, not a read-only edit control,
//   and whose sheet tab is shown. A control that gets the focus receives EVENT_Selected.
// - Leaving a changed edit control (Tab, a click elsewhere, Enter on the default button ...) first
//   checks the text against the control's picture and bound variable. A text that cannot be taken
//   is refused: the control keeps the focus and its text, nothing is copied, the window's status
//   text shows the reason, WindowView::beeps grows and ControlView::refused is set; the key or
//   click that tried to leave has no further effect. An accepted text is copied into the bound
//   variable, redisplayed in the picture's format, and EVENT_Accepted is queued for the control.
//   Leaving an unchanged control gives no EVENT_Accepted.
// - An alert key of the focused control (or, failing that, of the window) gives EVENT_AlertKey
//   (field = the control, or 0 for the window's) instead of the key's normal effect.
// - Enter presses the default button (EVENT_Accepted for it) when there is one that is enabled and
//   visible; else Enter on a button presses it and on a list gives EVENT_Accepted for the list.
// - Esc presses the cancel button when one is declared; otherwise it gives EVENT_CloseWindow.
//   Pressing the cancel button (or a button carrying the close action) by key or click does not
//   check the control being left: a user can always cancel, even with a text that was refused.
// - A click or Space on a button gives EVENT_Accepted for it; a check box toggles first.
// - Alt with a letter or digit acts on the control whose caption marks it with '&' ("&Agregar"):
//   a button is pressed, a prompt passes the focus to the control after it, a tab is shown.
// - A menu entry gives EVENT_Accepted with its (negative) number, unless it carries a standard
//   action, which the runtime carries out instead (close: EVENT_CloseWindow; help: a message box
//   saying there is no help file; the others through FrontEnd::standardAction).
// - Lists: Up/Down/Home/End/PgUp/PgDn move the highlight and give EVENT_NewSelection. A
//   page-loaded list moves the highlight within its page and reports the rest as scroll events:
//   Up on the first row EVENT_ScrollUp, Down on the last EVENT_ScrollDown, PgUp/PgDn
//   EVENT_PageUp/PageDown, Home/End (and Ctrl+Home/End) EVENT_ScrollTop/ScrollBottom; the scroll
//   bar gives the same events and EVENT_ScrollDrag for the thumb (rt::thumbFraction()). A click on
//   a row highlights it and gives EVENT_NewSelection with the mouse key code, row and column; a
//   double click gives EVENT_Accepted with key code MouseLeft2. When the list's mouse alerts are on
//   and the mouse code is one of its alert keys, EVENT_AlertKey replaces those events. A
//   character typed in a list gives EVENT_Locate (rt::typedChar()).
// - Choosing another tab of a sheet gives EVENT_NewSelection for the sheet; controls on tabs that
//   are not shown take no focus.
// - The close box gives EVENT_CloseWindow. The status bar (the window's own, else the
//   application frame's) shows the status text of the focused control or highlighted menu entry.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/event.h"
#include "runtime/frontend.h"
#include "runtime/window_decl.h"

namespace rt {

enum class OpenResult {
  Ok,
  NotProgramThread,   // called on a thread the runtime did not start
  AlreadyOpen,        // this Window object already has a window open
  MdiChildOnFrameThread,  // an MDI child cannot open on the application frame's own thread
  FrameAlreadyOpen,   // a program has one application frame
  Halting,            // the program is ending (rt::halt)
};
const char* toString(OpenResult);

struct UpdateResult {
  bool ok = true;
  int refused_feq = 0;   // the first control whose text could not be taken
  std::string error;     // the reason, as shown to the user
};

// Flags of a control, for generic code (the dedicated setters below do the same).
enum class ControlFlag { ReadOnly, Skip, Required, Disabled, Hidden, Default, Cancel, Transparent, RightAligned, InsertMode, Checked, MouseAlerts };

class Window {
 public:
  Window();
  ~Window();  // closes the window if it is still open
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  [[nodiscard]] OpenResult open(const WindowDecl& decl);
  void close();
  bool isOpen() const;
  WindowId id() const { return id_; }

  // Waits for the next event (see above). False when the window is closed. When the program
  // halts (rt::halt), accept() does not return: the thread unwinds to its start.
  bool accept();

  // Copies bound variables into controls (feq 0: every control).
  void display(int feq = 0);
  // Copies controls that the user edited since they were last displayed into their variables
  // (feq 0: every control). Every edited control is tried; a refused text leaves its variable
  // alone and is told to the user as above; the result names the first refused control. A copied
  // text no longer counts as edited, so a later update does not undo a value the program has put
  // into the variable since.
  UpdateResult update(int feq = 0);

  // Focus.
  bool select(int feq);          // gives the focus (EVENT_Selected follows); a control that cannot
                                 // hold the focus passes it to the next one that can. The control
                                 // being left is not accepted (its edit stays for UPDATE).
  int focus() const;             // 0 = none
  // The tab stop after (direction > 0) or before `from` in the order Tab and Shift+Tab use,
  // wrapping around; 0 when the window has none.
  int nextTabStop(int from, int direction) const;
  // A snapshot of the whole window or one control, as front ends see it.
  std::optional<WindowView> view() const;
  std::optional<ControlView> controlView(int feq) const;

  // Keys: queue a key code as if typed into the focused control (it may be an alert key).
  void pressKey(int keycode);
  // Alert keys: slots 1..255 per control; feq 0 = the window's own.
  bool setAlert(int feq, int slot, int keycode);
  bool addAlert(int feq, int keycode);          // first free slot
  bool removeAlert(int feq, int keycode);       // every slot holding it
  bool clearAlerts(int feq);
  bool isAlert(int feq, int keycode) const;
  bool setMouseAlerts(int list_feq, bool on);   // a list's mouse-code alert keys on/off

  // Timer in hundredths of a second (0 = none); EVENT_Timer each time it elapses.
  void setTimer(int hundredths);

  // Window properties.
  std::string title() const;
  void setTitle(const std::string& title);
  Rect position() const;
  void setPosition(const Rect& r);
  bool maximized() const;
  void setMaximized(bool on);
  bool iconized() const;
  void setStatusText(int section, const std::string& text);  // section 1 = the first
  std::string statusText(int section) const;

  // Control properties. Setters return false when there is no such control.
  bool exists(int feq) const;
  int type(int feq) const;                 // 0 when there is no such control
  std::vector<int> controls() const;       // every control number, ascending
  std::string text(int feq) const;         // caption or current (possibly edited) text
  bool setText(int feq, const std::string& text);  // also counts as displayed
  std::string picture(int feq) const;
  bool setPicture(int feq, const std::string& picture);
  bool flag(int feq, ControlFlag f) const;
  bool setFlag(int feq, ControlFlag f, bool on);
  bool enable(int feq) { return setFlag(feq, ControlFlag::Disabled, false); }
  bool disable(int feq) { return setFlag(feq, ControlFlag::Disabled, true); }
  bool hide(int feq) { return setFlag(feq, ControlFlag::Hidden, true); }
  bool unhide(int feq) { return setFlag(feq, ControlFlag::Hidden, false); }
  bool setReadOnly(int feq, bool on) { return setFlag(feq, ControlFlag::ReadOnly, on); }
  bool setDefaultButton(int feq, bool on);  // at most one default button: others lose it
  int defaultButton() const;
  bool setStatus(int feq, const std::string& status_text);
  std::string status(int feq) const;
  bool setTip(int feq, const std::string& tip);
  bool setIcon(int feq, const std::string& icon);
  Rect controlPosition(int feq) const;
  bool setControlPosition(int feq, const Rect& r);
  bool setUse(int feq, std::optional<Binding> b);
  bool bound(int feq) const;               // the control has a variable
  int parentOf(int feq) const;             // its SHEET or TAB, 0 = the window
  bool edited(int feq) const;              // the user edited it since it was last displayed

  // Lists. Rows hold values as text ("12.5", a date's day number "76543", "ABC"); the runtime
  // formats each cell with its column's picture. setListCells shows cells exactly as given.
  bool setListFormat(int feq, const std::string& format);
  std::string listFormat(int feq) const;
  bool setListRows(int feq, const std::vector<std::vector<std::string>>& values);
  bool setListCells(int feq, const std::vector<std::vector<std::string>>& displayed);
  // Replaces one row (1-based) with values formatted as setListRows does; false when there is no
  // such row.
  bool setListRow(int feq, int row, const std::vector<std::string>& values);
  std::vector<std::vector<std::string>> listCells(int feq) const;  // as displayed
  int listRowCount(int feq) const;
  int selectedRow(int feq) const;          // 1-based, 0 = none
  bool setSelectedRow(int feq, int row);   // no event
  int rowHeight(int feq) const;            // dialog units
  bool setRowHeight(int feq, int h);
  int visibleRows(int feq) const;          // rows that fit in the list's height (its page size)
  bool setPageLoaded(int feq, bool on);
  bool setThumb(int feq, double fraction); // 0..1
  double thumb(int feq) const;
  bool setColumnGrey(int feq, int column, bool grey);  // 1-based column
  int columnCount(int feq) const;

  // Sheets: the tab shown, as its control number and as its 1-based position.
  int currentTab(int sheet_feq) const;
  int tabIndex(int sheet_feq) const;
  bool setCurrentTab(int sheet_feq, int tab_feq);

  // Controls made at run time (e.g. an entry over a list cell). decl.v.feq 0 takes the next free
  // number above every existing control. Returns the control's number, 0 on failure (a number
  // already in use, or the window is not open).
  int createControl(const ControlDecl& decl);
  bool destroyControl(int feq);

  // Menus.
  bool setMenuDisabled(int menu_feq, bool disabled);

 private:
  WindowId id_ = 0;
};

// Queues a key code as if typed into the focused control of the calling thread's top window
// (Window::pressKey of that window). False on a thread with no open window.
bool pressKey(int keycode);

}  // namespace rt
