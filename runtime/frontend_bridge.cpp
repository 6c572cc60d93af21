// What front ends call: snapshots of the model and raw input, which is queued to the thread that
// owns the window (interpreted there, in order, by accept()).
#include <algorithm>
#include <sstream>

#include "runtime/frontend.h"
#include "runtime/program.h"
#include "runtime/runtime_state.h"

namespace rt {

using namespace detail;

namespace {

std::vector<int> keysOf(const std::array<int, 256>& slots) {
  std::vector<int> keys;
  for (int i = 1; i < 256; ++i)
    if (slots[i] != 0 && std::find(keys.begin(), keys.end(), slots[i]) == keys.end()) keys.push_back(slots[i]);
  return keys;
}

WindowView snapshot(const WindowModel& w) {
  WindowView v = w.v;
  v.controls.clear();
  for (const auto& [feq, c] : w.controls) {
    ControlView cv = c.v;
    cv.alert_keys = keysOf(c.alerts);
    if (!c.mouse_alerts)
      cv.alert_keys.erase(std::remove_if(cv.alert_keys.begin(), cv.alert_keys.end(), isMouseKey), cv.alert_keys.end());
    v.controls.push_back(std::move(cv));
  }
  v.alert_keys = keysOf(w.alerts);
  v.takes_input = takesInput(w);
  return v;
}

// Queues input for the window's thread; drops it when the window does not take input.
void enqueue(QueueItem item) {
  Runtime& R = runtime();
  std::lock_guard<std::mutex> lk(R.mu);
  if (R.halting) return;
  WindowModel* w = findWindow(item.win);
  if (!w || !takesInput(*w)) return;
  ThreadRecord* t = threadOf(*w);
  if (!t) return;
  // The user turned to another window: the one they left loses the focus.
  if (R.active != item.win && item.kind != QueueItem::Kind::Moved) {
    if (WindowModel* old = findWindow(R.active)) {
      if (ThreadRecord* ot = threadOf(*old)) {
        QueueItem lose;
        lose.kind = QueueItem::Kind::WindowEvent;
        lose.win = old->v.id;
        lose.event = EVENT_LoseFocus;
        ot->queue.push_back(std::move(lose));
        ot->cv.notify_all();
      }
    }
    R.active = item.win;
    QueueItem gain;
    gain.kind = QueueItem::Kind::WindowEvent;
    gain.win = item.win;
    gain.event = EVENT_GainFocus;
    t->queue.push_back(std::move(gain));
  }
  t->queue.push_back(std::move(item));
  t->cv.notify_all();
}

QueueItem make(QueueItem::Kind k, WindowId win, int feq = 0, int code = 0) {
  QueueItem i;
  i.kind = k;
  i.win = win;
  i.feq = feq;
  i.code = code;
  return i;
}

}  // namespace

std::optional<WindowView> viewOf(WindowId id) {
  std::lock_guard<std::mutex> lk(runtime().mu);
  WindowModel* w = findWindow(id);
  if (!w) return std::nullopt;
  return snapshot(*w);
}

std::vector<WindowId> openWindows() {
  std::lock_guard<std::mutex> lk(runtime().mu);
  std::vector<WindowId> ids;
  for (const auto& [id, w] : runtime().windows) ids.push_back(id);
  return ids;
}

namespace input {

void key(WindowId win, int feq, int keycode) { enqueue(make(QueueItem::Kind::Key, win, feq, keycode)); }

void character(WindowId win, int feq, const std::string& ch) {
  QueueItem i = make(QueueItem::Kind::Char, win, feq);
  i.text = ch;
  enqueue(std::move(i));
}

void editText(WindowId win, int feq, const std::string& text) {
  QueueItem i = make(QueueItem::Kind::Edit, win, feq);
  i.text = text;
  enqueue(std::move(i));
}

void focus(WindowId win, int feq) { enqueue(make(QueueItem::Kind::Focus, win, feq)); }

void click(WindowId win, int feq, int mouse_code, int row, int col) {
  QueueItem i = make(QueueItem::Kind::Click, win, feq, mouse_code);
  i.row = row;
  i.col = col;
  enqueue(std::move(i));
}

void menu(WindowId win, int feq) { enqueue(make(QueueItem::Kind::Menu, win, feq)); }
void menuHighlight(WindowId win, int feq) { enqueue(make(QueueItem::Kind::MenuHighlight, win, feq)); }

void scroll(WindowId win, int feq, ScrollAction action, double fraction) {
  QueueItem i = make(QueueItem::Kind::Scroll, win, feq);
  i.scroll = action;
  i.fraction = fraction;
  enqueue(std::move(i));
}

void selectTab(WindowId win, int sheet_feq, int tab_feq) {
  enqueue(make(QueueItem::Kind::SelectTab, win, sheet_feq, tab_feq));
}

void close(WindowId win) { enqueue(make(QueueItem::Kind::Close, win)); }

void moved(WindowId win, const Rect& r) {
  QueueItem i = make(QueueItem::Kind::Moved, win);
  i.rect = r;
  enqueue(std::move(i));
}

void maximize(WindowId win) { enqueue(make(QueueItem::Kind::Maximize, win)); }
void iconize(WindowId win) { enqueue(make(QueueItem::Kind::Iconize, win)); }
void dropDown(WindowId win, int feq) { enqueue(make(QueueItem::Kind::DropDown, win, feq)); }

void answerMessage(std::uint64_t box_id, int button) {
  Runtime& R = runtime();
  std::lock_guard<std::mutex> lk(R.mu);
  auto it = R.boxes.find(box_id);
  if (it == R.boxes.end()) return;
  // Only one of the box's own buttons answers it.
  if (button <= 0 || (button & (button - 1)) || !(it->second.buttons & button)) return;
  auto t = R.threads.find(it->second.thread);
  if (t == R.threads.end() || t->second->box != box_id) return;
  t->second->box_answer = button;
  t->second->box_answered = true;
  t->second->wait = ThreadRecord::Wait::None;  // busy from now on, for idle tracking
  t->second->cv.notify_all();
}

void answerPopup(std::uint64_t popup_id, int choice) {
  Runtime& R = runtime();
  std::lock_guard<std::mutex> lk(R.mu);
  auto it = R.popups.find(popup_id);
  if (it == R.popups.end()) return;
  const auto& entries = it->second.entries;
  if (choice < 0 || choice > static_cast<int>(entries.size())) return;
  if (choice > 0 && (entries[choice - 1].separator || entries[choice - 1].disabled)) return;
  auto t = R.threads.find(it->second.thread);
  if (t == R.threads.end() || t->second->box != popup_id) return;
  t->second->box_answer = choice;
  t->second->box_answered = true;
  t->second->wait = ThreadRecord::Wait::None;
  t->second->cv.notify_all();
}

}  // namespace input

// ---- Dump -----------------------------------------------------------------------------------------

namespace {

const char* typeName(int t) {
  switch (t) {
    case CONTROL_Entry: return "ENTRY";
    case CONTROL_Button: return "BUTTON";
    case CONTROL_Check: return "CHECK";
    case CONTROL_List: return "LIST";
    case CONTROL_Combo: return "COMBO";
    case CONTROL_Spin: return "SPIN";
    case CONTROL_Text: return "TEXT";
    case CONTROL_RichText: return "TEXT2";
    case CONTROL_Radio: return "RADIO";
    case CONTROL_DropList: return "DROPLIST";
    case CONTROL_DropCombo: return "DROPCOMBO";
    case CONTROL_Sheet: return "SHEET";
    case CONTROL_Tab: return "TAB";
    case CONTROL_Prompt: return "PROMPT";
    case CONTROL_String: return "STRING";
    case CONTROL_Panel: return "PANEL";
    default: return "CONTROL";
  }
}

void dumpMenu(std::ostringstream& o, const std::vector<MenuEntryView>& menu, int depth) {
  for (const auto& e : menu) {
    o << std::string(4 + 2 * depth, ' ');
    if (e.separator) { o << "----\n"; continue; }
    o << e.feq << " \"" << e.text << "\"";
    if (e.disabled) o << " disabled";
    if (e.action != StdAction::None) o << " std-action " << static_cast<int>(e.action);
    o << "\n";
    dumpMenu(o, e.children, depth + 1);
  }
}

}  // namespace

std::string dumpModel() {
  Runtime& R = runtime();
  std::lock_guard<std::mutex> lk(R.mu);
  std::ostringstream o;
  o << "program " << (R.running ? "running" : "not running") << (R.halting ? " (halting)" : "") << "\n";
  for (const auto& [n, t] : R.threads) {
    o << "thread " << n << ": "
      << (t->wait == ThreadRecord::Wait::Input ? "waiting for input"
          : t->wait == ThreadRecord::Wait::Message ? "waiting for a message-box answer" : "busy")
      << ", " << t->queue.size() << " queued" << (t->closing_down ? ", closing down" : "") << "\n";
  }
  for (const auto& [id, pm] : R.popups) {
    o << "pop-up menu " << id << " (thread " << pm.thread << "):";
    for (const auto& e : pm.entries) o << " [" << (e.separator ? "-" : e.text) << (e.disabled ? " disabled" : "") << "]";
    o << "\n";
  }
  for (const auto& [id, b] : R.boxes)
    o << "message box " << id << " (thread " << b.thread << "): \"" << b.caption << "\" \"" << b.text
      << "\" buttons " << b.buttons << "\n";
  for (const auto& [id, wp] : R.windows) {
    WindowView v = snapshot(*wp);
    o << "window " << id << " \"" << v.title << "\" thread " << v.thread << (v.app_frame ? " frame" : "")
      << (v.mdi_child ? " mdi-child" : "") << (v.takes_input ? "" : " inactive") << " focus " << v.focus << "\n";
    for (std::size_t i = 0; i < v.status_texts.size(); ++i)
      if (!v.status_texts[i].empty()) o << "  status[" << i + 1 << "] \"" << v.status_texts[i] << "\"\n";
    if (!v.menu.empty()) { o << "  menu\n"; dumpMenu(o, v.menu, 0); }
    for (const auto& c : v.controls) {
      o << "  " << c.feq << " " << typeName(c.type) << " \"" << c.text << "\"";
      if (!c.picture.empty()) o << " pic " << c.picture;
      if (c.read_only) o << " read-only";
      if (c.skip) o << " skip";
      if (c.disabled) o << " disabled";
      if (c.hidden) o << " hidden";
      if (c.is_default) o << " default";
      if (c.refused) o << " refused";
      if (c.parent) o << " in " << c.parent;
      if (c.type == CONTROL_Sheet) o << " tab " << c.current_tab;
      if (c.over_list) o << " over " << c.over_list << "[" << c.over_row << "," << c.over_col << "]";
      o << "\n";
      if (c.type == CONTROL_List) {
        o << "    selected " << c.selected_row << (c.page_loaded ? " page-loaded" : "") << "\n";
        for (const auto& row : c.rows) {
          o << "    |";
          for (const auto& cell : row) o << " " << cell << " |";
          o << "\n";
        }
      }
    }
  }
  return o.str();
}

}  // namespace rt
