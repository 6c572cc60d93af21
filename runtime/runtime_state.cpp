#include "runtime/runtime_state.h"

#include <algorithm>

#include "runtime/picture.h"

namespace rt::detail {

Runtime& runtime() {
  static Runtime r;  // one per process by design: the model of the running program
  return r;
}

thread_local ThreadRecord* tl_thread = nullptr;
thread_local Event tl_event;

void flushNotes(std::unique_lock<std::mutex>& lk) {
  Runtime& R = runtime();
  if (R.notes.empty()) return;
  std::vector<Note> notes;
  notes.swap(R.notes);
  FrontEnd* fe = R.fe;
  lk.unlock();
  if (fe) {
    for (std::size_t i = 0; i < notes.size(); ++i) {
      const Note& n = notes[i];
      switch (n.kind) {
        case Note::Kind::Opened: fe->windowOpened(n.win); break;
        case Note::Kind::Changed: {
          // Later notes of the same window make earlier change notes redundant.
          bool later = false;
          for (std::size_t j = i + 1; j < notes.size() && !later; ++j)
            later = notes[j].win == n.win && notes[j].kind != Note::Kind::Box &&
                    notes[j].kind != Note::Kind::Popup && notes[j].kind != Note::Kind::Action;
          if (!later) fe->windowChanged(n.win);
          break;
        }
        case Note::Kind::Closed: fe->windowClosed(n.win); break;
        case Note::Kind::Box: fe->messageBoxOpened(n.box); break;
        case Note::Kind::Popup: fe->popupOpened(n.popup); break;
        case Note::Kind::Action: fe->standardAction(n.win, n.action, n.feq); break;
        case Note::Kind::Ended: fe->programEnded(n.feq); break;
      }
    }
  }
  lk.lock();
}

WindowModel* findWindow(WindowId id) {
  Runtime& R = runtime();
  auto it = R.windows.find(id);
  return it == R.windows.end() ? nullptr : it->second.get();
}

ControlModel* findControl(WindowModel& w, int feq) {
  auto it = w.controls.find(feq);
  return it == w.controls.end() ? nullptr : &it->second;
}

ThreadRecord* threadOf(const WindowModel& w) {
  Runtime& R = runtime();
  auto it = R.threads.find(w.v.thread);
  return it == R.threads.end() ? nullptr : it->second.get();
}

void changed(WindowModel& w) {
  Runtime& R = runtime();
  ++w.v.revision;
  if (!R.notes.empty() && R.notes.back().kind == Note::Kind::Changed && R.notes.back().win == w.v.id) return;
  Note n(Note::Kind::Changed);
  n.win = w.v.id;
  R.notes.push_back(std::move(n));
}

bool takesInput(const WindowModel& w) {
  const ThreadRecord* t = threadOf(w);
  if (!t || t->stack.empty() || t->stack.back() != w.v.id) return false;
  return t->wait != ThreadRecord::Wait::Message;
}

// ---- Focus -----------------------------------------------------------------------------------

namespace {

// Whether the control shows: neither it nor a sheet or tab it lies in is hidden, and every tab
// it lies in is the one its sheet shows.
bool shows(const WindowModel& w, const ControlModel& c) {
  const ControlModel* cur = &c;
  for (int depth = 0; cur && depth < 16; ++depth) {
    if (cur->v.hidden || cur->v.disabled) return false;
    if (cur->v.parent == 0) return true;
    auto it = w.controls.find(cur->v.parent);
    if (it == w.controls.end()) return true;
    const ControlModel& parent = it->second;
    if (parent.v.type == CONTROL_Tab && parent.v.parent != 0) {
      auto sheet = w.controls.find(parent.v.parent);
      if (sheet != w.controls.end() && sheet->second.v.current_tab != parent.v.feq) return false;
    }
    cur = &parent;
  }
  return true;
}

}  // namespace

bool canFocus(const WindowModel& w, const ControlModel& c) {
  return isFocusableType(c.v.type) && shows(w, c);
}

bool isTabStop(const WindowModel& w, const ControlModel& c) {
  if (!canFocus(w, c) || c.v.skip || c.v.over_list != 0) return false;
  if (c.v.read_only && isEditType(c.v.type)) return false;
  return true;
}

int nextTabStop(const WindowModel& w, int from, int dir) {
  std::vector<int> stops;
  for (const auto& [feq, c] : w.controls)
    if (isTabStop(w, c)) stops.push_back(feq);
  if (stops.empty()) return 0;
  if (dir > 0) {
    auto it = std::upper_bound(stops.begin(), stops.end(), from);
    return it == stops.end() ? stops.front() : *it;
  }
  auto it = std::lower_bound(stops.begin(), stops.end(), from);
  return it == stops.begin() ? stops.back() : *(it - 1);
}

void push(WindowModel& w, int event, int feq, int key) {
  Event e;
  e.event = event;
  e.feq = feq;
  e.key = key;
  w.ready.push_back(e);
}

void setFocus(WindowModel& w, int feq, bool selected_event, int key) {
  if (w.v.focus != feq) {
    w.v.focus = feq;
    changed(w);
  }
  if (selected_event && feq != 0) push(w, EVENT_Selected, feq, key);
  refreshStatus(w);
}

namespace {

WindowModel* statusTarget(WindowModel& w) {
  if (!w.v.status_widths.empty()) return &w;
  WindowModel* frame = findWindow(runtime().frame);
  if (frame && !frame->v.status_widths.empty()) return frame;
  return nullptr;
}

const MenuEntryView* findMenuEntry(const std::vector<MenuEntryView>& menu, int feq) {
  for (const auto& e : menu) {
    if (e.feq == feq && !e.separator) return &e;
    if (const MenuEntryView* c = findMenuEntry(e.children, feq)) return c;
  }
  return nullptr;
}

}  // namespace

void showStatus(WindowModel& w, const std::string& text) {
  WindowModel* t = statusTarget(w);
  if (!t) return;
  if (t->v.status_texts.size() < std::max<std::size_t>(1, t->v.status_widths.size()))
    t->v.status_texts.resize(std::max<std::size_t>(1, t->v.status_widths.size()));
  if (t->v.status_texts[0] != text) {
    t->v.status_texts[0] = text;
    changed(*t);
  }
}

void refreshStatus(WindowModel& w) {
  std::string text;
  if (w.highlighted_menu != 0) {
    if (const MenuEntryView* e = findMenuEntry(w.v.menu, w.highlighted_menu)) text = e->status_text;
  } else if (ControlModel* c = findControl(w, w.v.focus)) {
    text = c->v.status_text;
  }
  showStatus(w, text);
}

// ---- Display and update ----------------------------------------------------------------------

void displayControl(WindowModel& w, ControlModel& c) {
  if (!c.use) return;
  if (c.v.type == CONTROL_Check || c.v.type == CONTROL_Radio) {
    bool on = !c.use->number().isZero();
    if (c.v.checked != on) { c.v.checked = on; changed(w); }
    return;
  }
  if (!isEditType(c.v.type) && c.v.type != CONTROL_String) return;
  std::optional<Picture> pic = Picture::parse(c.v.picture);
  std::string text = c.use->format(pic ? &*pic : nullptr);
  if (c.v.text != text || c.edited || c.v.refused) {
    c.v.text = text;
    c.v.refused = false;
    changed(w);
  }
  c.displayed = text;
  c.edited = false;
}

bool takeText(ControlModel& c, std::string* error) {
  std::optional<Picture> pic;
  if (!c.v.picture.empty()) pic = Picture::parse(c.v.picture);
  if (c.use) {
    Binding::StoreResult r = c.use->store(pic ? &*pic : nullptr, c.v.text);
    if (!r.ok) {
      if (error) *error = r.error;
      return false;
    }
    return true;
  }
  if (pic) {
    Deformatted d = deformat(*pic, c.v.text);
    if (!d.ok) {
      if (error) *error = d.error;
      return false;
    }
  }
  return true;
}

void refuse(WindowModel& w, ControlModel& c, const std::string& error) {
  c.v.refused = true;
  ++w.v.beeps;
  changed(w);
  showStatus(w, error);
}

// ---- Closing down ----------------------------------------------------------------------------

void closeDownOthers(int except_thread) {
  Runtime& R = runtime();
  for (auto& [n, t] : R.threads) {
    if (n == except_thread || t->closing_down) continue;
    t->closing_down = true;
    t->cv.notify_all();
  }
}

void wakeAll() {
  Runtime& R = runtime();
  for (auto& [n, t] : R.threads) t->cv.notify_all();
  R.state_cv.notify_all();
}

}  // namespace rt::detail
