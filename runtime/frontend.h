#pragma once
// The contract between the runtime and a front end (Qt for people, scripted for tests).
//
// The runtime owns the model of every window: controls, texts, values, properties, list rows,
// focus, menus, status texts. A front end is thin: it draws what `viewOf` returns and reports raw
// input through `rt::input`. The runtime decides what input means (focus order, Tab stops,
// EVENT_Accepted, alert keys, default buttons, list navigation) and queues the events for the
// thread that owns the window.
//
// Threads: every function here may be called from any thread. The front-end callbacks are called
// from program threads and must return promptly: a front end never waits for a program thread
// and a program thread never waits for the GUI except for a message-box answer.
//
// Text: the model holds Windows-1252 bytes (as records and list queues do); a front end converts
// to and from Unicode with runtime/codepage.h. Sizes and positions are dialog units; a front end
// converts them to pixels through the window font's metrics.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rt {

using WindowId = std::uint64_t;

// Position and size in dialog units. A window or control without a position lets the system
// choose one; without a size, its natural size.
struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool has_pos = false, has_size = false;
};

// Actions that the runtime or the front end performs for a menu entry or button with no program
// code: printer set-up dialog, close the window (the frame: end the program), clipboard of the
// focused control, MDI arrangement of the frame's children, and the three help entries.
enum class StdAction {
  None, PrintSetup, Close, Cut, Copy, Paste, Tile, Cascade, Arrange, HelpIndex, HelpSearch,
  HelpOnHelp
};

enum class FrameKind { Resizable, Double, Single, None };

// One column of a list, parsed from the list's format string.
struct ListColumnView {
  int width = 0;            // dialog units
  char align = 'L';         // 'L', 'R', 'C' or 'D' (decimal)
  int indent = 0;           // indent or decimal offset
  std::string header;
  char header_align = 'L';
  std::string picture;      // e.g. "@n-10.2B"
  bool right_border = false;
  bool resizable = false;
  bool grey = false;        // drawn in the grey-text colour (non-editable column while a row is edited)
};

enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, First, Last, Thumb };

// A snapshot of one control. Fields that do not concern the control's type keep their defaults.
struct ControlView {
  int feq = 0;              // control number (field number), positive
  int type = 0;             // control type code (runtime/vocabulary.h)
  int parent = 0;           // the enclosing SHEET or TAB control, 0 = the window
  Rect pos;
  std::string text;         // caption (button, prompt, string, tab) or displayed value (entry)
  std::string picture;
  bool read_only = false, skip = false, required = false, disabled = false, hidden = false;
  bool is_default = false, transparent = false, right_aligned = false, single_line = true;
  std::string status_text, tip, icon;

  // LIST
  std::vector<ListColumnView> columns;
  std::vector<std::vector<std::string>> rows;  // displayed cells, already formatted by picture
  int selected_row = 0;     // 1-based, 0 = none
  int row_height = 0;       // 0 = the font's
  bool page_loaded = false; // the program loads one page; the scroll bar is the runtime's
  double thumb = 0.0;       // 0..1, position of the scroll thumb of a page-loaded list

  // SHEET: the TAB control shown
  int current_tab = 0;

  // A control created over a cell of a list (in-list editing); 0 = not over a list.
  int over_list = 0, over_row = 0, over_col = 0;

  // DROP COMBO without a drop list: only its drop button shows
  bool drop_button_only = false;

  // The control's own font (e.g. a large bold title); an empty name and size 0 use the window's.
  std::string font_name;
  int font_size = 0;
  bool bold = false;

  // CHECK: ticked.
  bool checked = false;
  // INS: typing inserts rather than overwrites.
  bool insert_mode = false;
  // The user's last text for this control was refused (e.g. letters in a numeric entry); the
  // reason is in the status bar. Cleared when the text is accepted or redisplayed.
  bool refused = false;
  // Keys that the runtime turns into EVENT_AlertKey for this control (its own alert keys; the
  // window's are in WindowView::alert_keys). A front end reports these keys with input::key even
  // when it would otherwise handle them itself (e.g. Left/Right in an entry).
  std::vector<int> alert_keys;
};

struct MenuEntryView {
  int feq = 0;              // negative for menu entries
  std::string text;
  std::string status_text;
  bool separator = false, disabled = false;
  StdAction action = StdAction::None;
  std::vector<MenuEntryView> children;
};

struct WindowView {
  WindowId id = 0;
  int thread = 0;           // the runtime's thread number of the owner
  std::string title;
  Rect pos;
  bool app_frame = false;   // the program's MDI frame
  bool mdi_child = false;
  bool maximized = false, iconized = false;
  FrameKind frame = FrameKind::Resizable;
  bool system_menu = true, max_box = false, gray = false;
  std::string font_name;
  int font_size = 8;
  std::string icon;
  std::vector<int> status_widths;         // dialog units; -1 = the rest of the bar
  std::vector<std::string> status_texts;  // one per section
  std::vector<MenuEntryView> menu;
  std::vector<ControlView> controls;
  int focus = 0;            // control that has the focus, 0 = none
  bool takes_input = true;  // false while a procedure called on this thread has a window open
                            // or the thread waits for a message-box answer
  std::vector<int> alert_keys;  // the window's own alert keys
  std::uint64_t beeps = 0;   // grows each time the runtime refuses input (a front end may beep)
  std::uint64_t revision = 0;  // grows with every change of the model
};

struct MessageBoxView {
  std::uint64_t id = 0;
  WindowId owner = 0;       // the asking thread's top window, 0 = none
  int thread = 0;
  std::string caption, text, icon;  // "|" in text has already become "\n"
  int buttons = 1;          // sum of 1 OK, 2 Yes, 4 No, 64 Cancel ...
  int default_button = 0;
};

// A pop-up menu (e.g. a list's right-click menu) that a program thread waits on. Entries are
// numbered from 1 in order, separators included; MenuEntryView::feq holds that number.
struct PopupView {
  std::uint64_t id = 0;
  WindowId owner = 0;       // the asking thread's top window, 0 = none
  int thread = 0;
  std::vector<MenuEntryView> entries;
};

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;
  virtual void windowOpened(WindowId) = 0;
  virtual void windowChanged(WindowId) = 0;  // redraw from viewOf(); calls may be coalesced
  virtual void windowClosed(WindowId) = 0;
  // Show the box modal to its owner; answer with input::answerMessage.
  virtual void messageBoxOpened(const MessageBoxView&) = 0;
  // Actions that only the front end can carry out (clipboard, printer dialog, MDI arrangement).
  virtual void standardAction(WindowId, StdAction, int focused_feq) = 0;
  // The program's first thread has returned and every thread has ended.
  virtual void programEnded(int exit_code) = 0;
  // Pop-up menus: a front end that shows them returns true from supportsPopups, shows the menu
  // at the mouse in popupOpened and answers with input::answerPopup. With the defaults, rt::popup
  // returns 0 (dismissed) at once.
  virtual bool supportsPopups() const { return false; }
  virtual void popupOpened(const PopupView&) {}
};

// The model, read by a front end. Copies under the runtime's lock.
std::optional<WindowView> viewOf(WindowId);
std::vector<WindowId> openWindows();

// Raw input from a front end, queued in order to the thread that owns the window. Input for a
// window that does not take input (see WindowView::takes_input) is dropped. A feq of 0 in
// `key` and `character` means the control that has the focus.
namespace input {
void key(WindowId, int feq, int keycode);                 // key code with Shift/Ctrl/Alt added
void character(WindowId, int feq, const std::string& ch); // one typed character (Windows-1252)
void editText(WindowId, int feq, const std::string& text); // the entry's whole text after an edit
void focus(WindowId, int feq);                            // the user moved the focus (click)
void click(WindowId, int feq, int mouse_code, int row = 0, int col = 0);  // 1 left, 2 right, 5 double
void menu(WindowId, int feq);                             // a menu entry was chosen
void menuHighlight(WindowId, int feq);                    // 0 = the menu closed
void scroll(WindowId, int feq, ScrollAction, double fraction = 0.0);
void selectTab(WindowId, int sheet_feq, int tab_feq);
void close(WindowId);                                     // the close box
void moved(WindowId, const Rect&);                        // the user moved or resized the window
void maximize(WindowId);
void iconize(WindowId);
void answerMessage(std::uint64_t box_id, int button);
void dropDown(WindowId, int feq);                         // the drop button of a combo was pressed
void answerPopup(std::uint64_t popup_id, int choice);     // 1-based entry, 0 = dismissed
}  // namespace input

}  // namespace rt
