#pragma once
// Internal to the runtime library (not for programs or front ends): the process-wide model of
// every window, the program threads with their input queues, and the helpers that interpret
// input. Everything in Runtime is guarded by Runtime::mu; the thread_local pointers are each
// program thread's own.
//
// Front-end callbacks are never made with the lock held: changes record notes (Runtime::notes)
// that flushNotes() delivers after unlocking.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "runtime/binding.h"
#include "runtime/frontend.h"
#include "runtime/list_format.h"
#include "runtime/program.h"
#include "runtime/threads.h"
#include "runtime/window_decl.h"

namespace rt::detail {

// The unwinding that rt::halt starts on every program thread; caught at the thread's start.
struct HaltUnwind {};

struct Event {
  int event = 0, feq = 0, key = 0, row = 0, col = 0;
  double fraction = 0.0;
  char ch = 0;
};

struct ControlModel {
  ControlView v;
  std::optional<Binding> use;
  std::string format;               // list format as given
  std::array<int, 256> alerts{};    // slot 1..255 -> key code, 0 = free
  std::string displayed;            // the text when last displayed
  bool edited = false;              // the user edited it since it was last displayed
  bool cancel = false;              // Esc presses it
  bool mouse_alerts = true;
  StdAction action = StdAction::None;
};

struct WindowModel {
  WindowView v;                     // controls and alert_keys are filled in by snapshots only
  WindowKind kind = WindowKind::TopLevel;
  std::map<int, ControlModel> controls;
  std::array<int, 256> alerts{};
  std::deque<Event> ready;          // interpreted events waiting for accept()
  int timer = 0;                    // hundredths of a second
  std::chrono::steady_clock::time_point next_timer;
  bool closedown_delivered = false;
  int highlighted_menu = 0;
  std::string help_id;
  Event saved_event;                // the thread's current event when this window opened
};

struct QueueItem {
  enum class Kind { Key, Char, Edit, Focus, Click, Menu, MenuHighlight, Scroll, SelectTab, Close,
                    Moved, Maximize, Iconize, DropDown, Posted, WindowEvent };
  Kind kind = Kind::Posted;
  WindowId win = 0;
  int feq = 0, code = 0, row = 0, col = 0, event = 0;
  std::string text;
  ScrollAction scroll = ScrollAction::LineDown;
  double fraction = 0.0;
  Rect rect;
};

struct ThreadRecord {
  int number = 0;
  std::deque<QueueItem> queue;
  std::condition_variable cv;
  std::vector<WindowId> stack;      // open windows, the top one last
  enum class Wait { None, Input, Message } wait = Wait::None;
  bool closing_down = false;
  std::uint64_t box = 0;            // the message box or pop-up menu it waits for
  int box_answer = 0;
  bool box_answered = false;
};

struct Note {
  enum class Kind { Opened, Changed, Closed, Box, Popup, Action, Ended };
  explicit Note(Kind k) : kind(k) {}
  Kind kind;
  WindowId win = 0;
  MessageBoxView box;
  PopupView popup;
  StdAction action = StdAction::None;
  int feq = 0;
};

struct Runtime {
  std::mutex mu;
  std::condition_variable state_cv;  // idle changes, program end
  std::map<WindowId, std::unique_ptr<WindowModel>> windows;
  std::map<int, std::shared_ptr<ThreadRecord>> threads;
  FrontEnd* fe = nullptr;
  bool running = false;             // from startProgram until the end is complete
  bool halting = false;
  int exit_code = 0;
  int next_thread = 1;
  WindowId next_window = 1;
  std::uint64_t next_box = 1;
  WindowId frame = 0;
  WindowId active = 0;
  Procedure thread_start = nullptr, thread_end = nullptr;
  std::map<std::uint64_t, MessageBoxView> boxes;
  std::map<std::uint64_t, PopupView> popups;
  std::vector<Note> notes;
  std::uint64_t run = 0;            // number of the current program run
};

Runtime& runtime();
extern thread_local ThreadRecord* tl_thread;
extern thread_local Event tl_event;

// Delivers recorded notes to the front end with the lock released, then relocks.
void flushNotes(std::unique_lock<std::mutex>& lk);

WindowModel* findWindow(WindowId id);
ControlModel* findControl(WindowModel& w, int feq);
ThreadRecord* threadOf(const WindowModel& w);
void changed(WindowModel& w);
bool takesInput(const WindowModel& w);

// Focus and navigation.
bool canFocus(const WindowModel& w, const ControlModel& c);
bool isTabStop(const WindowModel& w, const ControlModel& c);
int nextTabStop(const WindowModel& w, int from, int dir);
// Moves the focus (no checks); queues EVENT_Selected when `selected_event`.
void setFocus(WindowModel& w, int feq, bool selected_event, int key = 0);
void refreshStatus(WindowModel& w);
void showStatus(WindowModel& w, const std::string& text);

// Display and update of one control.
void displayControl(WindowModel& w, ControlModel& c);
// Takes an edited text into the control's variable (checking it against the picture). False
// with `error` when refused; the variable is then untouched.
bool takeText(ControlModel& c, std::string* error);
void refuse(WindowModel& w, ControlModel& c, const std::string& error);

// Input interpretation on the owning thread (the lock held; may unlock to show a message box).
void interpret(std::unique_lock<std::mutex>& lk, ThreadRecord& t, WindowModel& w, const QueueItem& item);
void push(WindowModel& w, int event, int feq = 0, int key = 0);

// Lists (formats: runtime/list_format.h).
int visibleRows(const ControlModel& c);

// Closing down and halting.
void closeDownOthers(int except_thread);
void wakeAll();

}  // namespace rt::detail
