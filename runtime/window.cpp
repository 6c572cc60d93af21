#include "runtime/window.h"

#include <algorithm>

#include "runtime/picture.h"
#include "runtime/runtime_state.h"

namespace rt {

using namespace detail;

// ---- The current event -------------------------------------------------------------------------

int event() { return tl_event.event; }
int field() { return tl_event.feq; }
int keyCode() { return tl_event.key; }
int mouseRow() { return tl_event.row; }
int mouseCol() { return tl_event.col; }
double thumbFraction() { return tl_event.fraction; }
char typedChar() { return tl_event.ch; }

const char* toString(OpenResult r) {
  switch (r) {
    case OpenResult::Ok: return "ok";
    case OpenResult::NotProgramThread: return "not a program thread";
    case OpenResult::AlreadyOpen: return "the window is already open";
    case OpenResult::MdiChildOnFrameThread: return "an MDI child cannot open on the application frame's thread";
    case OpenResult::FrameAlreadyOpen: return "the program already has an application frame";
    case OpenResult::Halting: return "the program is ending";
  }
  return "?";
}

namespace {

// The window if it is open and owned by the calling thread.
WindowModel* own(WindowId id) {
  if (id == 0 || !tl_thread) return nullptr;
  WindowModel* w = findWindow(id);
  if (!w || w->v.thread != tl_thread->number) return nullptr;
  return w;
}

struct Locked {
  std::unique_lock<std::mutex> lk{runtime().mu};
  ~Locked() { flushNotes(lk); }
};

MenuEntryView toView(const MenuDecl& m) {
  MenuEntryView e = m.e;
  e.children.clear();
  for (const auto& c : m.children) e.children.push_back(toView(c));
  return e;
}

MenuEntryView* findMenu(std::vector<MenuEntryView>& menu, int feq) {
  for (auto& e : menu) {
    if (e.feq == feq && !e.separator) return &e;
    if (MenuEntryView* c = findMenu(e.children, feq)) return c;
  }
  return nullptr;
}

ControlModel makeControl(const ControlDecl& s) {
  ControlModel c;
  c.v = s.v;
  c.use = s.use_;
  c.format = s.format_;
  c.cancel = s.cancel_;
  c.action = s.action_;
  c.v.insert_mode = s.ins_;
  if (!s.format_.empty()) {
    if (auto cols = parseListFormat(s.format_)) c.v.columns = std::move(*cols);
  }
  c.displayed = c.v.text;
  return c;
}

void fixSheets(WindowModel& w) {
  // A sheet shows its first tab until told otherwise.
  for (auto& [feq, c] : w.controls) {
    if (c.v.type != CONTROL_Sheet || c.v.current_tab != 0) continue;
    for (auto& [tf, t] : w.controls)
      if (t.v.type == CONTROL_Tab && t.v.parent == feq) { c.v.current_tab = tf; break; }
  }
}

}  // namespace

Window::Window() = default;
Window::~Window() { close(); }

OpenResult Window::open(const WindowDecl& decl) {
  Locked L;
  Runtime& R = runtime();
  ThreadRecord* t = tl_thread;
  if (!t) return OpenResult::NotProgramThread;
  if (id_ != 0 && findWindow(id_)) return OpenResult::AlreadyOpen;
  if (R.halting) return OpenResult::Halting;
  WindowModel* frame = findWindow(R.frame);
  if (decl.kind == WindowKind::MdiChild && frame && frame->v.thread == t->number)
    return OpenResult::MdiChildOnFrameThread;
  if (decl.kind == WindowKind::AppFrame && frame) return OpenResult::FrameAlreadyOpen;

  auto w = std::make_unique<WindowModel>();
  w->v = decl.v;
  w->v.controls.clear();
  w->v.menu.clear();
  w->v.id = R.next_window++;
  w->v.thread = t->number;
  w->v.app_frame = decl.kind == WindowKind::AppFrame;
  w->v.mdi_child = decl.kind == WindowKind::MdiChild && frame != nullptr;
  w->v.focus = 0;
  w->kind = decl.kind;
  w->help_id = decl.help_id;
  w->v.status_texts.resize(decl.v.status_widths.size());
  for (const auto& m : decl.menus) w->v.menu.push_back(toView(m));
  for (const auto& cs : decl.controls) w->controls[cs.v.feq] = makeControl(cs);
  fixSheets(*w);
  w->timer = decl.timer_;
  w->next_timer = std::chrono::steady_clock::now() + std::chrono::milliseconds(10LL * w->timer);
  w->saved_event = tl_event;

  WindowModel& win = *w;
  id_ = win.v.id;
  if (!t->stack.empty())
    if (WindowModel* below = findWindow(t->stack.back())) changed(*below);  // stops taking input
  t->stack.push_back(id_);
  if (decl.kind == WindowKind::AppFrame) R.frame = id_;
  R.active = id_;
  R.windows[id_] = std::move(w);
  if (t->closing_down) win.closedown_delivered = false;

  for (auto& [feq, c] : win.controls) displayControl(win, c);
  push(win, EVENT_OpenWindow);
  int first = detail::nextTabStop(win, 0, +1);
  if (first == 0)
    for (auto& [feq, c] : win.controls)
      if (canFocus(win, c)) { first = feq; break; }
  Note n(Note::Kind::Opened);
  n.win = id_;
  R.notes.push_back(std::move(n));
  if (first != 0) setFocus(win, first, true);
  else refreshStatus(win);
  return OpenResult::Ok;
}

void Window::close() {
  if (id_ == 0) return;
  Locked L;
  Runtime& R = runtime();
  WindowModel* w = own(id_);
  WindowId id = id_;
  id_ = 0;
  if (!w) return;
  ThreadRecord* t = tl_thread;
  tl_event = w->saved_event;
  t->stack.erase(std::remove(t->stack.begin(), t->stack.end(), id), t->stack.end());
  bool was_frame = R.frame == id;
  R.windows.erase(id);
  if (was_frame) {
    R.frame = 0;
    closeDownOthers(t->number);
  }
  if (R.active == id) R.active = t->stack.empty() ? R.frame : t->stack.back();
  if (!t->stack.empty())
    if (WindowModel* below = findWindow(t->stack.back())) changed(*below);
  Note n(Note::Kind::Closed);
  n.win = id;
  R.notes.push_back(std::move(n));
  R.state_cv.notify_all();
}

bool Window::isOpen() const {
  Locked L;
  return own(id_) != nullptr;
}

bool Window::accept() {
  Runtime& R = runtime();
  ThreadRecord* t = tl_thread;
  if (!t) return false;
  std::unique_lock<std::mutex> lk(R.mu);
  for (;;) {
    if (R.halting) {
      t->wait = ThreadRecord::Wait::None;
      flushNotes(lk);
      lk.unlock();
      throw HaltUnwind{};
    }
    WindowModel* w = own(id_);
    if (!w) {
      t->wait = ThreadRecord::Wait::None;
      flushNotes(lk);
      return false;
    }
    if (!w->ready.empty()) {
      tl_event = w->ready.front();
      w->ready.pop_front();
      t->wait = ThreadRecord::Wait::None;
      flushNotes(lk);
      return true;
    }
    if (t->closing_down && !w->closedown_delivered) {
      w->closedown_delivered = true;
      push(*w, EVENT_CloseDown);
      continue;
    }
    if (!t->queue.empty()) {
      QueueItem item = std::move(t->queue.front());
      t->queue.pop_front();
      t->wait = ThreadRecord::Wait::None;
      interpret(lk, *t, *w, item);
      continue;
    }
    auto now = std::chrono::steady_clock::now();
    if (w->timer > 0 && now >= w->next_timer) {
      w->next_timer = now + std::chrono::milliseconds(10LL * w->timer);
      push(*w, EVENT_Timer);
      continue;
    }
    if (!R.notes.empty()) {
      flushNotes(lk);
      continue;
    }
    if (t->wait != ThreadRecord::Wait::Input) {
      t->wait = ThreadRecord::Wait::Input;
      R.state_cv.notify_all();
    }
    if (w->timer > 0) t->cv.wait_until(lk, w->next_timer);
    else t->cv.wait(lk);
  }
}

void Window::display(int feq) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return;
  if (feq == 0) {
    for (auto& [f, c] : w->controls) displayControl(*w, c);
  } else if (ControlModel* c = findControl(*w, feq)) {
    displayControl(*w, *c);
  }
}

UpdateResult Window::update(int feq) {
  Locked L;
  UpdateResult r;
  WindowModel* w = own(id_);
  if (!w) {
    r.ok = false;
    r.error = "The window is not open";
    return r;
  }
  auto one = [&](ControlModel& c) {
    if (!c.use || !c.edited || !isEditType(c.v.type)) return;
    std::string error;
    if (takeText(c, &error)) {
      c.displayed = c.v.text;
      c.edited = false;
      if (c.v.refused) { c.v.refused = false; changed(*w); }
      return;
    }
    refuse(*w, c, error);
    if (r.ok) {
      r.ok = false;
      r.refused_feq = c.v.feq;
      r.error = error;
    }
  };
  if (feq == 0) {
    for (auto& [f, c] : w->controls) one(c);
  } else if (ControlModel* c = findControl(*w, feq)) {
    one(*c);
  }
  return r;
}

bool Window::select(int feq) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return false;
  auto it = w->controls.lower_bound(feq);
  for (; it != w->controls.end(); ++it) {
    if (canFocus(*w, it->second)) {
      setFocus(*w, it->first, true);
      return true;
    }
  }
  return false;
}

int Window::focus() const {
  Locked L;
  WindowModel* w = own(id_);
  return w ? w->v.focus : 0;
}

int Window::nextTabStop(int from, int direction) const {
  Locked L;
  WindowModel* w = own(id_);
  return w ? detail::nextTabStop(*w, from, direction > 0 ? 1 : -1) : 0;
}

std::optional<WindowView> Window::view() const {
  if (!isOpen()) return std::nullopt;
  return viewOf(id_);
}

std::optional<ControlView> Window::controlView(int feq) const {
  auto v = view();
  if (!v) return std::nullopt;
  for (auto& c : v->controls)
    if (c.feq == feq) return c;
  return std::nullopt;
}

void Window::pressKey(int keycode) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return;
  QueueItem item;
  item.kind = QueueItem::Kind::Key;
  item.win = id_;
  item.code = keycode;
  tl_thread->queue.push_back(std::move(item));
}

bool pressKey(int keycode) {
  Locked L;
  ThreadRecord* t = tl_thread;
  if (!t || t->stack.empty()) return false;
  QueueItem item;
  item.kind = QueueItem::Kind::Key;
  item.win = t->stack.back();
  item.code = keycode;
  t->queue.push_back(std::move(item));
  return true;
}

namespace {
std::array<int, 256>* alertSlots(WindowModel& w, int feq) {
  if (feq == 0) return &w.alerts;
  ControlModel* c = findControl(w, feq);
  return c ? &c->alerts : nullptr;
}
}  // namespace

bool Window::setAlert(int feq, int slot, int keycode) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w || slot < 1 || slot > 255) return false;
  auto* s = alertSlots(*w, feq);
  if (!s) return false;
  (*s)[slot] = keycode;
  changed(*w);
  return true;
}

bool Window::addAlert(int feq, int keycode) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return false;
  auto* s = alertSlots(*w, feq);
  if (!s) return false;
  if (std::find(s->begin() + 1, s->end(), keycode) != s->end()) return true;
  for (int i = 1; i < 256; ++i)
    if ((*s)[i] == 0) {
      (*s)[i] = keycode;
      changed(*w);
      return true;
    }
  return false;
}

bool Window::removeAlert(int feq, int keycode) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return false;
  auto* s = alertSlots(*w, feq);
  if (!s) return false;
  for (int i = 1; i < 256; ++i)
    if ((*s)[i] == keycode) (*s)[i] = 0;
  changed(*w);
  return true;
}

bool Window::clearAlerts(int feq) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return false;
  auto* s = alertSlots(*w, feq);
  if (!s) return false;
  s->fill(0);
  changed(*w);
  return true;
}

bool Window::isAlert(int feq, int keycode) const {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return false;
  auto* s = alertSlots(*w, feq);
  return s && keycode != 0 && std::find(s->begin() + 1, s->end(), keycode) != s->end();
}

bool Window::setMouseAlerts(int list_feq, bool on) {
  Locked L;
  WindowModel* w = own(id_);
  ControlModel* c = w ? findControl(*w, list_feq) : nullptr;
  if (!c) return false;
  c->mouse_alerts = on;
  return true;
}

void Window::setTimer(int hundredths) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return;
  w->timer = std::max(0, hundredths);
  w->next_timer = std::chrono::steady_clock::now() + std::chrono::milliseconds(10LL * w->timer);
  tl_thread->cv.notify_all();
}

std::string Window::title() const {
  Locked L;
  WindowModel* w = own(id_);
  return w ? w->v.title : std::string();
}

void Window::setTitle(const std::string& title) {
  Locked L;
  if (WindowModel* w = own(id_); w && w->v.title != title) {
    w->v.title = title;
    changed(*w);
  }
}

Rect Window::position() const {
  Locked L;
  WindowModel* w = own(id_);
  return w ? w->v.pos : Rect{};
}

void Window::setPosition(const Rect& r) {
  Locked L;
  if (WindowModel* w = own(id_)) {
    w->v.pos = r;
    changed(*w);
  }
}

bool Window::maximized() const {
  Locked L;
  WindowModel* w = own(id_);
  return w && w->v.maximized;
}

void Window::setMaximized(bool on) {
  Locked L;
  if (WindowModel* w = own(id_)) {
    w->v.maximized = on;
    if (on) w->v.iconized = false;
    changed(*w);
  }
}

bool Window::iconized() const {
  Locked L;
  WindowModel* w = own(id_);
  return w && w->v.iconized;
}

void Window::setStatusText(int section, const std::string& text) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w || section < 1) return;
  if (w->v.status_texts.size() < static_cast<std::size_t>(section)) w->v.status_texts.resize(section);
  w->v.status_texts[section - 1] = text;
  changed(*w);
}

std::string Window::statusText(int section) const {
  Locked L;
  WindowModel* w = own(id_);
  if (!w || section < 1 || w->v.status_texts.size() < static_cast<std::size_t>(section)) return {};
  return w->v.status_texts[section - 1];
}

// ---- Controls ---------------------------------------------------------------------------------

#define RT_CONTROL(feq, fail)                         \
  Locked L;                                           \
  WindowModel* w = own(id_);                          \
  ControlModel* c = w ? findControl(*w, feq) : nullptr; \
  if (!c) return fail;

bool Window::exists(int feq) const { RT_CONTROL(feq, false) return true; }
int Window::type(int feq) const { RT_CONTROL(feq, 0) return c->v.type; }

std::vector<int> Window::controls() const {
  Locked L;
  std::vector<int> out;
  if (WindowModel* w = own(id_))
    for (auto& [feq, c] : w->controls) out.push_back(feq);
  return out;
}

std::string Window::text(int feq) const { RT_CONTROL(feq, std::string()) return c->v.text; }

bool Window::setText(int feq, const std::string& text) {
  RT_CONTROL(feq, false)
  c->v.text = text;
  c->displayed = text;
  c->edited = false;
  c->v.refused = false;
  changed(*w);
  return true;
}

std::string Window::picture(int feq) const { RT_CONTROL(feq, std::string()) return c->v.picture; }

bool Window::setPicture(int feq, const std::string& picture) {
  RT_CONTROL(feq, false)
  c->v.picture = picture;
  changed(*w);
  return true;
}

bool Window::flag(int feq, ControlFlag f) const {
  RT_CONTROL(feq, false)
  switch (f) {
    case ControlFlag::ReadOnly: return c->v.read_only;
    case ControlFlag::Skip: return c->v.skip;
    case ControlFlag::Required: return c->v.required;
    case ControlFlag::Disabled: return c->v.disabled;
    case ControlFlag::Hidden: return c->v.hidden;
    case ControlFlag::Default: return c->v.is_default;
    case ControlFlag::Cancel: return c->cancel;
    case ControlFlag::Transparent: return c->v.transparent;
    case ControlFlag::RightAligned: return c->v.right_aligned;
    case ControlFlag::InsertMode: return c->v.insert_mode;
    case ControlFlag::Checked: return c->v.checked;
    case ControlFlag::MouseAlerts: return c->mouse_alerts;
  }
  return false;
}

bool Window::setFlag(int feq, ControlFlag f, bool on) {
  RT_CONTROL(feq, false)
  switch (f) {
    case ControlFlag::ReadOnly: c->v.read_only = on; break;
    case ControlFlag::Skip: c->v.skip = on; break;
    case ControlFlag::Required: c->v.required = on; break;
    case ControlFlag::Disabled: c->v.disabled = on; break;
    case ControlFlag::Hidden: c->v.hidden = on; break;
    case ControlFlag::Default:
      if (on)
        for (auto& [other, oc] : w->controls) oc.v.is_default = false;
      c->v.is_default = on;
      break;
    case ControlFlag::Cancel: c->cancel = on; break;
    case ControlFlag::Transparent: c->v.transparent = on; break;
    case ControlFlag::RightAligned: c->v.right_aligned = on; break;
    case ControlFlag::InsertMode: c->v.insert_mode = on; break;
    case ControlFlag::Checked: c->v.checked = on; break;
    case ControlFlag::MouseAlerts: c->mouse_alerts = on; break;
  }
  // A control that can no longer hold the focus passes it on.
  if (w->v.focus == feq && !canFocus(*w, *c)) {
    int next = detail::nextTabStop(*w, feq, +1);
    setFocus(*w, next == feq ? 0 : next, next != feq && next != 0);
  }
  changed(*w);
  return true;
}

bool Window::setDefaultButton(int feq, bool on) { return setFlag(feq, ControlFlag::Default, on); }

int Window::defaultButton() const {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return 0;
  for (auto& [feq, c] : w->controls)
    if (c.v.is_default) return feq;
  return 0;
}

bool Window::setStatus(int feq, const std::string& status_text) {
  RT_CONTROL(feq, false)
  c->v.status_text = status_text;
  changed(*w);
  if (w->v.focus == feq) refreshStatus(*w);
  return true;
}

std::string Window::status(int feq) const { RT_CONTROL(feq, std::string()) return c->v.status_text; }

bool Window::setTip(int feq, const std::string& tip) {
  RT_CONTROL(feq, false)
  c->v.tip = tip;
  changed(*w);
  return true;
}

bool Window::setIcon(int feq, const std::string& icon) {
  RT_CONTROL(feq, false)
  c->v.icon = icon;
  changed(*w);
  return true;
}

Rect Window::controlPosition(int feq) const { RT_CONTROL(feq, Rect{}) return c->v.pos; }

bool Window::setControlPosition(int feq, const Rect& r) {
  RT_CONTROL(feq, false)
  c->v.pos = r;
  changed(*w);
  return true;
}

bool Window::setUse(int feq, std::optional<Binding> b) {
  RT_CONTROL(feq, false)
  c->use = b;
  return true;
}

bool Window::bound(int feq) const { RT_CONTROL(feq, false) return c->use.has_value(); }
int Window::parentOf(int feq) const { RT_CONTROL(feq, 0) return c->v.parent; }

bool Window::edited(int feq) const { RT_CONTROL(feq, false) return c->edited; }

// ---- Lists ------------------------------------------------------------------------------------

bool Window::setListFormat(int feq, const std::string& format) {
  RT_CONTROL(feq, false)
  auto cols = parseListFormat(format);
  if (!cols) return false;
  c->format = format;
  c->v.columns = std::move(*cols);
  changed(*w);
  return true;
}

std::string Window::listFormat(int feq) const { RT_CONTROL(feq, std::string()) return c->format; }

bool Window::setListRows(int feq, const std::vector<std::vector<std::string>>& values) {
  RT_CONTROL(feq, false)
  c->v.rows.clear();
  for (const auto& row : values) {
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < row.size(); ++i)
      cells.push_back(i < c->v.columns.size() ? formatCell(c->v.columns[i], row[i]) : row[i]);
    c->v.rows.push_back(std::move(cells));
  }
  int n = static_cast<int>(c->v.rows.size());
  if (c->v.selected_row > n) c->v.selected_row = n;
  changed(*w);
  return true;
}

bool Window::setListCells(int feq, const std::vector<std::vector<std::string>>& displayed) {
  RT_CONTROL(feq, false)
  c->v.rows = displayed;
  int n = static_cast<int>(c->v.rows.size());
  if (c->v.selected_row > n) c->v.selected_row = n;
  changed(*w);
  return true;
}

bool Window::setListRow(int feq, int row, const std::vector<std::string>& values) {
  RT_CONTROL(feq, false)
  if (row < 1 || row > static_cast<int>(c->v.rows.size())) return false;
  std::vector<std::string> cells;
  for (std::size_t i = 0; i < values.size(); ++i)
    cells.push_back(i < c->v.columns.size() ? formatCell(c->v.columns[i], values[i]) : values[i]);
  c->v.rows[row - 1] = std::move(cells);
  changed(*w);
  return true;
}

std::vector<std::vector<std::string>> Window::listCells(int feq) const {
  RT_CONTROL(feq, {}) return c->v.rows;
}

int Window::listRowCount(int feq) const { RT_CONTROL(feq, 0) return static_cast<int>(c->v.rows.size()); }
int Window::selectedRow(int feq) const { RT_CONTROL(feq, 0) return c->v.selected_row; }

bool Window::setSelectedRow(int feq, int row) {
  RT_CONTROL(feq, false)
  c->v.selected_row = std::clamp(row, 0, static_cast<int>(c->v.rows.size()));
  changed(*w);
  return true;
}

int Window::rowHeight(int feq) const { RT_CONTROL(feq, 0) return c->v.row_height > 0 ? c->v.row_height : 10; }

bool Window::setRowHeight(int feq, int h) {
  RT_CONTROL(feq, false)
  c->v.row_height = std::max(0, h);
  changed(*w);
  return true;
}

int Window::visibleRows(int feq) const { RT_CONTROL(feq, 0) return detail::visibleRows(*c); }

bool Window::setPageLoaded(int feq, bool on) {
  RT_CONTROL(feq, false)
  c->v.page_loaded = on;
  changed(*w);
  return true;
}

bool Window::setThumb(int feq, double fraction) {
  RT_CONTROL(feq, false)
  c->v.thumb = std::clamp(fraction, 0.0, 1.0);
  changed(*w);
  return true;
}

double Window::thumb(int feq) const { RT_CONTROL(feq, 0.0) return c->v.thumb; }

bool Window::setColumnGrey(int feq, int column, bool grey) {
  RT_CONTROL(feq, false)
  if (column < 1 || column > static_cast<int>(c->v.columns.size())) return false;
  c->v.columns[column - 1].grey = grey;
  changed(*w);
  return true;
}

int Window::columnCount(int feq) const { RT_CONTROL(feq, 0) return static_cast<int>(c->v.columns.size()); }

int Window::currentTab(int sheet_feq) const { RT_CONTROL(sheet_feq, 0) return c->v.current_tab; }

int Window::tabIndex(int sheet_feq) const {
  RT_CONTROL(sheet_feq, 0)
  int i = 0;
  for (auto& [feq, t] : w->controls) {
    if (t.v.type != CONTROL_Tab || t.v.parent != sheet_feq) continue;
    ++i;
    if (feq == c->v.current_tab) return i;
  }
  return 0;
}

bool Window::setCurrentTab(int sheet_feq, int tab_feq) {
  RT_CONTROL(sheet_feq, false)
  ControlModel* t = findControl(*w, tab_feq);
  if (!t || t->v.parent != sheet_feq) return false;
  c->v.current_tab = tab_feq;
  changed(*w);
  return true;
}

int Window::createControl(const ControlDecl& decl) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return 0;
  int feq = decl.v.feq;
  if (feq == 0) feq = w->controls.empty() ? 1 : std::max(1, w->controls.rbegin()->first + 1);
  if (w->controls.count(feq)) return 0;
  ControlModel c = makeControl(decl);
  c.v.feq = feq;
  w->controls[feq] = std::move(c);
  displayControl(*w, w->controls[feq]);
  changed(*w);
  return feq;
}

bool Window::destroyControl(int feq) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return false;
  auto it = w->controls.find(feq);
  if (it == w->controls.end()) return false;
  int over = it->second.v.over_list;
  w->controls.erase(it);
  if (w->v.focus == feq) {
    ControlModel* list = findControl(*w, over);
    setFocus(*w, list && canFocus(*w, *list) ? over : 0, false);
  }
  changed(*w);
  return true;
}

bool Window::setMenuDisabled(int menu_feq, bool disabled) {
  Locked L;
  WindowModel* w = own(id_);
  if (!w) return false;
  MenuEntryView* e = findMenu(w->v.menu, menu_feq);
  if (!e) return false;
  e->disabled = disabled;
  changed(*w);
  return true;
}

}  // namespace rt
