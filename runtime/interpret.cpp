// What raw input means: focus moves, accepted entries, alert keys, default and cancel buttons,
// list navigation and standard actions. Runs on the window's own thread inside accept(), so the
// program's variables can be written here and the resulting events keep the input's order.
#include <algorithm>

#include "runtime/message_box.h"
#include "runtime/runtime_state.h"

namespace rt::detail {
namespace {

bool hasAlert(const std::array<int, 256>& slots, int key) {
  return key != 0 && std::find(slots.begin() + 1, slots.end(), key) != slots.end();
}

void pushEvent(WindowModel& w, int event, int feq, int key, int row = 0, int col = 0) {
  Event e;
  e.event = event;
  e.feq = feq;
  e.key = key;
  e.row = row;
  e.col = col;
  w.ready.push_back(e);
}

// The focused control is being left. A changed edit control is checked and taken into its
// variable (EVENT_Accepted queued); false when its text is refused and the focus must stay.
bool leave(WindowModel& w, int key) {
  ControlModel* c = findControl(w, w.v.focus);
  if (!c || !isEditType(c->v.type) || !c->edited) return true;
  if (c->v.text == c->displayed) return true;
  std::string error;
  if (!takeText(*c, &error)) {
    refuse(w, *c, error);
    return false;
  }
  if (c->use) {
    displayControl(w, *c);
  } else {
    c->displayed = c->v.text;
    c->edited = false;
  }
  if (c->v.refused) {
    c->v.refused = false;
    changed(w);
  }
  refreshStatus(w);
  pushEvent(w, EVENT_Accepted, c->v.feq, key);
  return true;
}

bool usable(const WindowModel& w, const ControlModel& c) { return canFocus(w, c); }

ControlModel* defaultButton(WindowModel& w) {
  for (auto& [feq, c] : w.controls)
    if (c.v.type == CONTROL_Button && c.v.is_default && usable(w, c)) return &c;
  return nullptr;
}

ControlModel* cancelButton(WindowModel& w) {
  for (auto& [feq, c] : w.controls)
    if (c.cancel && usable(w, c)) return &c;
  return nullptr;
}

void standardAction(std::unique_lock<std::mutex>& lk, WindowModel& w, StdAction a, int key) {
  switch (a) {
    case StdAction::None: return;
    case StdAction::Close: pushEvent(w, EVENT_CloseWindow, 0, key); return;
    case StdAction::HelpIndex:
    case StdAction::HelpSearch:
    case StdAction::HelpOnHelp: {
      static const char* const kTexts[] = {"There is no help file: help contents are not available.",
                                           "There is no help file: help search is not available.",
                                           "There is no help file: help on help is not available."};
      int i = a == StdAction::HelpIndex ? 0 : a == StdAction::HelpSearch ? 1 : 2;
      flushNotes(lk);
      lk.unlock();
      message(kTexts[i], "Help", ICON_Asterisk, BUTTON_OK, BUTTON_OK);
      lk.lock();
      return;
    }
    default: {
      Note n(Note::Kind::Action);
      n.win = w.v.id;
      n.action = a;
      n.feq = w.v.focus;
      runtime().notes.push_back(std::move(n));
      return;
    }
  }
}

void press(std::unique_lock<std::mutex>& lk, WindowModel& w, ControlModel& b, int key) {
  if (b.action != StdAction::None) {
    standardAction(lk, w, b.action, key);
    return;
  }
  if (b.v.type == CONTROL_Check || b.v.type == CONTROL_Radio) {
    bool on = b.v.type == CONTROL_Radio ? true : !b.v.checked;
    if (b.use) (void)b.use->storeNumber(Decimal::fromInt(on ? 1 : 0));
    b.v.checked = on;
    changed(w);
  }
  pushEvent(w, EVENT_Accepted, b.v.feq, key);
}

void moveFocus(WindowModel& w, int dir, int key) {
  int cur = w.v.focus;
  if (!leave(w, key)) return;
  int next = nextTabStop(w, cur, dir);
  if (next != 0 && next != cur) setFocus(w, next, true, key);
}

void listKey(WindowModel& w, ControlModel& c, int key) {
  int rows = static_cast<int>(c.v.rows.size());
  int sel = c.v.selected_row;
  int page = visibleRows(c);
  int want = sel;
  int scroll = 0;
  switch (key) {
    case UpKey: if (sel > 1) want = sel - 1; else scroll = EVENT_ScrollUp; break;
    case DownKey: if (sel < rows) want = sel + 1; else scroll = EVENT_ScrollDown; break;
    case PgUpKey: want = std::max(1, sel - page); scroll = EVENT_PageUp; break;
    case PgDnKey: want = std::min(rows, sel + page); scroll = EVENT_PageDown; break;
    case HomeKey: case CtrlHome: want = 1; scroll = EVENT_ScrollTop; break;
    case EndKey: case CtrlEnd: want = rows; scroll = EVENT_ScrollBottom; break;
    default: return;
  }
  if (c.v.page_loaded) {
    // Within the page the runtime moves the highlight; everything else is the program's to load.
    bool within = (key == UpKey || key == DownKey) && want != sel;
    if (!within) {
      if (scroll != 0) pushEvent(w, scroll, c.v.feq, key);
      return;
    }
  }
  if (rows == 0 || want < 1 || want == sel) return;
  c.v.selected_row = want;
  changed(w);
  pushEvent(w, EVENT_NewSelection, c.v.feq, key);
}

void listClick(WindowModel& w, ControlModel& c, int mouse, int row, int col) {
  int rows = static_cast<int>(c.v.rows.size());
  if (row >= 1 && row <= rows && c.v.selected_row != row) {
    c.v.selected_row = row;
    changed(w);
  }
  int event = EVENT_NewSelection;
  if (c.mouse_alerts && hasAlert(c.alerts, mouse)) event = EVENT_AlertKey;
  else if (mouse == MouseLeft2) event = EVENT_Accepted;
  pushEvent(w, event, c.v.feq, mouse, row, col);
}

// The user moves the focus to c (a click or the front end's focus report). False when the
// control being left refused its text.
bool focusTo(WindowModel& w, ControlModel& c, int key) {
  if (w.v.focus == c.v.feq) return true;
  if (!canFocus(w, c)) return false;
  if (!leave(w, key)) return false;
  setFocus(w, c.v.feq, true, key);
  return true;
}

// The mnemonic letter of a caption ("&Agregar" -> 'A'), 0 when it has none ("&&" is a plain '&').
char mnemonic(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') { ++i; continue; }
    char c = caption[i + 1];
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return 0;
}

// Alt with a letter or digit: the control whose caption has that mnemonic acts as if clicked (a
// prompt passes the focus to the control after it). False when no control has it.
bool onMnemonic(std::unique_lock<std::mutex>& lk, WindowModel& w, int key) {
  const int base = baseKey(key);
  if ((key & (ShiftMod | CtrlMod)) != 0 || (key & AltMod) == 0 || !((base >= AKey && base <= AKey + 25) || (base >= ZeroKey && base <= ZeroKey + 9)))
    return false;
  for (auto& [feq, c] : w.controls) {
    if (mnemonic(c.v.text) != static_cast<char>(base) || c.v.hidden || c.v.disabled) continue;
    switch (c.v.type) {
      case CONTROL_Button:
      case CONTROL_Check:
      case CONTROL_Radio:
        if (!canFocus(w, c)) continue;
        if (!(c.cancel || c.action == StdAction::Close) && !leave(w, key)) return true;
        press(lk, w, c, key);
        return true;
      case CONTROL_Prompt: {
        for (auto it = w.controls.upper_bound(feq); it != w.controls.end(); ++it)
          if (canFocus(w, it->second)) {
            focusTo(w, it->second, key);
            return true;
          }
        return true;
      }
      case CONTROL_Tab: {
        ControlModel* sheet = findControl(w, c.v.parent);
        if (!sheet || sheet->v.current_tab == feq) return true;
        sheet->v.current_tab = feq;
        changed(w);
        pushEvent(w, EVENT_NewSelection, sheet->v.feq, key);
        return true;
      }
      default:
        continue;
    }
  }
  return false;
}

void onKey(std::unique_lock<std::mutex>& lk, WindowModel& w, int feq, int key) {
  ControlModel* c = findControl(w, feq != 0 ? feq : w.v.focus);
  if (c && hasAlert(c->alerts, key) && (!isMouseKey(key) || c->mouse_alerts)) {
    pushEvent(w, EVENT_AlertKey, c->v.feq, key);
    return;
  }
  if (hasAlert(w.alerts, key)) {
    pushEvent(w, EVENT_AlertKey, 0, key);
    return;
  }
  switch (key) {
    case TabKey: moveFocus(w, +1, key); return;
    case ShiftTab: moveFocus(w, -1, key); return;
    case EnterKey: {
      if (c && (c->v.type == CONTROL_Button)) { press(lk, w, *c, key); return; }
      if (ControlModel* def = defaultButton(w)) {
        if (!leave(w, key)) return;
        press(lk, w, *def, key);
        return;
      }
      if (c && c->v.type == CONTROL_List) { pushEvent(w, EVENT_Accepted, c->v.feq, key); return; }
      leave(w, key);
      return;
    }
    case EscKey: {
      if (ControlModel* cancel = cancelButton(w)) { press(lk, w, *cancel, key); return; }
      pushEvent(w, EVENT_CloseWindow, 0, key);
      return;
    }
    case SpaceKey:
      if (c && (c->v.type == CONTROL_Button || c->v.type == CONTROL_Check || c->v.type == CONTROL_Radio))
        press(lk, w, *c, key);
      return;
    default:
      if ((key & AltMod) && onMnemonic(lk, w, key)) return;
      if (c && c->v.type == CONTROL_List) listKey(w, *c, key);
      return;
  }
}

void onClick(std::unique_lock<std::mutex>& lk, WindowModel& w, int feq, int mouse, int row, int col) {
  ControlModel* c = findControl(w, feq);
  if (!c || !canFocus(w, *c)) {
    if (hasAlert(w.alerts, mouse)) pushEvent(w, EVENT_AlertKey, 0, mouse, row, col);
    return;
  }
  const bool cancels = c->v.type == CONTROL_Button && (c->cancel || c->action == StdAction::Close);
  if (cancels && (mouse == MouseLeft || mouse == MouseLeft2)) {
    press(lk, w, *c, mouse);  // leaves the focus and any unaccepted text where they are
    return;
  }
  if (!focusTo(w, *c, mouse)) return;
  if (c->v.type == CONTROL_List) {
    listClick(w, *c, mouse, row, col);
    return;
  }
  if (c->mouse_alerts && hasAlert(c->alerts, mouse)) {
    pushEvent(w, EVENT_AlertKey, c->v.feq, mouse, row, col);
    return;
  }
  if (mouse == MouseLeft || mouse == MouseLeft2) {
    if (c->v.type == CONTROL_Button || c->v.type == CONTROL_Check || c->v.type == CONTROL_Radio)
      press(lk, w, *c, mouse);
  }
}

const MenuEntryView* findMenu(const std::vector<MenuEntryView>& menu, int feq) {
  for (const auto& e : menu) {
    if (e.feq == feq && !e.separator) return &e;
    if (const MenuEntryView* c = findMenu(e.children, feq)) return c;
  }
  return nullptr;
}

}  // namespace

void interpret(std::unique_lock<std::mutex>& lk, ThreadRecord& t, WindowModel& w, const QueueItem& item) {
  (void)t;
  using K = QueueItem::Kind;
  if (item.kind == K::Posted) {
    if (item.event == EVENT_Accepted) {
      if (ControlModel* c = findControl(w, item.feq); c && isEditType(c->v.type) && c->edited &&
                                                     c->v.text != c->displayed) {
        std::string error;
        if (takeText(*c, &error)) {
          if (c->use) displayControl(w, *c);
          else { c->displayed = c->v.text; c->edited = false; }
        } else {
          refuse(w, *c, error);
        }
      }
    }
    pushEvent(w, item.event, item.feq, 0);
    return;
  }
  if (item.win != w.v.id) return;  // input for a window that no longer takes it
  switch (item.kind) {
    case K::WindowEvent: pushEvent(w, item.event, 0, 0); return;
    case K::Key: onKey(lk, w, item.feq, item.code); return;
    case K::Char: {
      ControlModel* c = findControl(w, item.feq != 0 ? item.feq : w.v.focus);
      if (!c || item.text.empty()) return;
      if (c->v.type == CONTROL_List) {
        Event e;
        e.event = EVENT_Locate;
        e.feq = c->v.feq;
        e.ch = item.text[0];
        e.key = static_cast<unsigned char>(item.text[0]);
        w.ready.push_back(e);
      } else if (isEditType(c->v.type) && !c->v.read_only) {
        if (!focusTo(w, *c, 0)) return;
        c->v.text += item.text;
        c->edited = true;
        changed(w);
      } else if (item.text == " ") {
        onKey(lk, w, c->v.feq, SpaceKey);
      }
      return;
    }
    case K::Edit: {
      ControlModel* c = findControl(w, item.feq);
      if (!c || !isEditType(c->v.type) || c->v.read_only) return;
      if (!focusTo(w, *c, 0)) return;
      if (c->v.text != item.text) {
        c->v.text = item.text;
        c->edited = true;
        if (c->v.refused) c->v.refused = false;
        changed(w);
      }
      return;
    }
    case K::Focus: {
      ControlModel* c = findControl(w, item.feq);
      if (c) focusTo(w, *c, 0);
      return;
    }
    case K::Click: onClick(lk, w, item.feq, item.code, item.row, item.col); return;
    case K::DropDown: {
      ControlModel* c = findControl(w, item.feq);
      if (!c || !canFocus(w, *c) || !focusTo(w, *c, MouseLeft)) return;
      pushEvent(w, EVENT_DroppingDown, c->v.feq, MouseLeft);
      return;
    }
    case K::Menu: {
      const MenuEntryView* e = findMenu(w.v.menu, item.feq);
      if (w.highlighted_menu != 0) {
        w.highlighted_menu = 0;
        refreshStatus(w);
      }
      if (!e || e->disabled || !e->children.empty()) return;
      if (e->action != StdAction::None) standardAction(lk, w, e->action, 0);
      else pushEvent(w, EVENT_Accepted, item.feq, 0);
      return;
    }
    case K::MenuHighlight:
      w.highlighted_menu = item.feq;
      refreshStatus(w);
      return;
    case K::Scroll: {
      ControlModel* c = findControl(w, item.feq);
      if (!c || c->v.type != CONTROL_List || !c->v.page_loaded) return;
      int event = 0;
      switch (item.scroll) {
        case ScrollAction::LineUp: event = EVENT_ScrollUp; break;
        case ScrollAction::LineDown: event = EVENT_ScrollDown; break;
        case ScrollAction::PageUp: event = EVENT_PageUp; break;
        case ScrollAction::PageDown: event = EVENT_PageDown; break;
        case ScrollAction::First: event = EVENT_ScrollTop; break;
        case ScrollAction::Last: event = EVENT_ScrollBottom; break;
        case ScrollAction::Thumb: event = EVENT_ScrollDrag; break;
      }
      Event e;
      e.event = event;
      e.feq = c->v.feq;
      e.fraction = std::clamp(item.fraction, 0.0, 1.0);
      w.ready.push_back(e);
      return;
    }
    case K::SelectTab: {
      ControlModel* sheet = findControl(w, item.feq);
      ControlModel* tab = findControl(w, item.code);
      if (!sheet || !tab || tab->v.parent != sheet->v.feq || sheet->v.current_tab == tab->v.feq) return;
      sheet->v.current_tab = tab->v.feq;
      changed(w);
      if (ControlModel* f = findControl(w, w.v.focus); f && !canFocus(w, *f))
        setFocus(w, nextTabStop(w, 0, +1), true);
      pushEvent(w, EVENT_NewSelection, sheet->v.feq, 0);
      return;
    }
    case K::Close: pushEvent(w, EVENT_CloseWindow, 0, 0); return;
    case K::Moved: {
      bool resized = item.rect.w != w.v.pos.w || item.rect.h != w.v.pos.h;
      w.v.pos = item.rect;
      w.v.pos.has_pos = w.v.pos.has_size = true;
      changed(w);
      pushEvent(w, resized ? EVENT_Sized : EVENT_Moved, 0, 0);
      return;
    }
    case K::Maximize:
      w.v.maximized = true;
      w.v.iconized = false;
      changed(w);
      pushEvent(w, EVENT_Maximize, 0, 0);
      pushEvent(w, EVENT_Sized, 0, 0);
      return;
    case K::Iconize:
      w.v.iconized = true;
      changed(w);
      pushEvent(w, EVENT_Iconize, 0, 0);
      return;
    case K::Posted: return;
  }
}

}  // namespace rt::detail
