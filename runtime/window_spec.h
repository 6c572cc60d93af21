#pragma once
// Declaring a window structure in code: WindowSpec (the window), ControlSpec (one control) and
// MenuSpec (one menu or menu entry). These are plain values built with chained setters and handed
// to Window::open (or Window::createControl for a control made at run time). Positions and sizes
// are dialog units. Text is Windows-1252.
//
//   rt::WindowSpec spec("Recorrer la tabla Cabecera");
//   spec.size(459, 290).mdiChild().gray().font("MS Sans Serif", 8)
//       .control(rt::ControlSpec::list(1, "53R(2)|F~IDCabecera~C(0)@n_4B@").at(9, 23, 434, 233)
//                    .status("Recorriendo la tabla Cabecera"))
//       .control(rt::ControlSpec::button(2, "&Agregar").at(74, 265, 49, 14).icon("a.ICO"));
//
// Values only: no shared state; build them on any thread.

#include <optional>
#include <string>
#include <vector>

#include "runtime/binding.h"
#include "runtime/frontend.h"
#include "runtime/vocabulary.h"

namespace rt {

class ControlSpec {
 public:
  ControlSpec(int feq, int type) { v.feq = feq; v.type = type; }

  // The usual kinds, with their defining text.
  static ControlSpec entry(int feq, std::string picture) { ControlSpec c(feq, CONTROL_Entry); c.v.picture = std::move(picture); return c; }
  static ControlSpec text(int feq) { ControlSpec c(feq, CONTROL_Text); c.v.single_line = false; return c; }
  static ControlSpec button(int feq, std::string caption) { return ControlSpec(feq, CONTROL_Button).caption(std::move(caption)); }
  static ControlSpec check(int feq, std::string caption) { return ControlSpec(feq, CONTROL_Check).caption(std::move(caption)); }
  static ControlSpec prompt(int feq, std::string caption) { return ControlSpec(feq, CONTROL_Prompt).caption(std::move(caption)); }
  static ControlSpec string(int feq, std::string caption) { return ControlSpec(feq, CONTROL_String).caption(std::move(caption)); }
  static ControlSpec list(int feq, std::string format) { ControlSpec c(feq, CONTROL_List); c.format_ = std::move(format); return c; }
  static ControlSpec sheet(int feq) { return ControlSpec(feq, CONTROL_Sheet); }
  static ControlSpec tab(int feq, int sheet, std::string caption) { return ControlSpec(feq, CONTROL_Tab).caption(std::move(caption)).in(sheet); }
  static ControlSpec panel(int feq) { return ControlSpec(feq, CONTROL_Panel); }
  static ControlSpec dropCombo(int feq, std::string picture) { ControlSpec c(feq, CONTROL_DropCombo); c.v.picture = std::move(picture); return c; }

  ControlSpec& at(int x, int y) { v.pos.x = x; v.pos.y = y; v.pos.has_pos = true; return *this; }
  ControlSpec& at(int x, int y, int w, int h) { at(x, y); v.pos.w = w; v.pos.h = h; v.pos.has_size = true; return *this; }
  ControlSpec& caption(std::string t) { v.text = std::move(t); return *this; }
  ControlSpec& picture(std::string p) { v.picture = std::move(p); return *this; }
  // The variable the control shows and edits (entries, texts, spins, combos, checks, sheets).
  ControlSpec& use(Binding b) { use_ = b; return *this; }
  ControlSpec& in(int parent_feq) { v.parent = parent_feq; return *this; }  // SHEET or TAB
  ControlSpec& readOnly(bool on = true) { v.read_only = on; return *this; }
  ControlSpec& skip(bool on = true) { v.skip = on; return *this; }
  ControlSpec& required(bool on = true) { v.required = on; return *this; }
  ControlSpec& disabled(bool on = true) { v.disabled = on; return *this; }
  ControlSpec& hidden(bool on = true) { v.hidden = on; return *this; }
  ControlSpec& defaultButton(bool on = true) { v.is_default = on; return *this; }
  // The button that Esc presses.
  ControlSpec& cancelButton(bool on = true) { cancel_ = on; return *this; }
  ControlSpec& transparent(bool on = true) { v.transparent = on; return *this; }
  ControlSpec& rightAligned(bool on = true) { v.right_aligned = on; return *this; }
  ControlSpec& insertMode(bool on = true) { ins_ = on; return *this; }  // INS: typing inserts
  ControlSpec& multiLine(bool on = true) { v.single_line = !on; return *this; }
  ControlSpec& status(std::string t) { v.status_text = std::move(t); return *this; }
  ControlSpec& tip(std::string t) { v.tip = std::move(t); return *this; }
  ControlSpec& icon(std::string name) { v.icon = std::move(name); return *this; }
  // The control's own font; an empty name keeps the window's face.
  ControlSpec& font(std::string name, int points, bool bold = false) { v.font_name = std::move(name); v.font_size = points; v.bold = bold; return *this; }
  ControlSpec& format(std::string list_format) { format_ = std::move(list_format); return *this; }
  ControlSpec& pageLoaded(bool on = true) { v.page_loaded = on; return *this; }
  ControlSpec& rowHeight(int h) { v.row_height = h; return *this; }
  // A drop combo without a drop list: only its drop button shows (it raises EVENT_DroppingDown).
  ControlSpec& dropButtonOnly(bool on = true) { v.drop_button_only = on; return *this; }
  // Created over a cell of a list (in-list editing); row and column are 1-based.
  ControlSpec& overCell(int list_feq, int row, int col) { v.over_list = list_feq; v.over_row = row; v.over_col = col; return *this; }
  // A standard action carried out by the runtime when the button is pressed.
  ControlSpec& action(StdAction a) { action_ = a; return *this; }

  ControlView v;  // the control's initial state as front ends see it
  std::optional<Binding> use_;
  std::string format_;
  bool cancel_ = false;
  bool ins_ = false;
  StdAction action_ = StdAction::None;
};

class MenuSpec {
 public:
  // A menu (has children) or a menu entry; feq is negative.
  static MenuSpec menu(int feq, std::string text, std::vector<MenuSpec> children = {}) {
    MenuSpec m; m.e.feq = feq; m.e.text = std::move(text); m.children = std::move(children); return m;
  }
  static MenuSpec item(int feq, std::string text) { MenuSpec m; m.e.feq = feq; m.e.text = std::move(text); return m; }
  static MenuSpec separator() { MenuSpec m; m.e.separator = true; return m; }
  MenuSpec& status(std::string t) { e.status_text = std::move(t); return *this; }
  MenuSpec& action(StdAction a) { e.action = a; return *this; }
  MenuSpec& disabled(bool on = true) { e.disabled = on; return *this; }
  MenuSpec& add(MenuSpec child) { children.push_back(std::move(child)); return *this; }

  MenuEntryView e;
  std::vector<MenuSpec> children;
};

enum class WindowKind { TopLevel, MdiChild, AppFrame };

class WindowSpec {
 public:
  explicit WindowSpec(std::string title = {}) { v.title = std::move(title); }

  WindowSpec& title(std::string t) { v.title = std::move(t); return *this; }
  WindowSpec& at(int x, int y) { v.pos.x = x; v.pos.y = y; v.pos.has_pos = true; return *this; }
  WindowSpec& size(int w, int h) { v.pos.w = w; v.pos.h = h; v.pos.has_size = true; return *this; }
  WindowSpec& mdiChild() { kind = WindowKind::MdiChild; return *this; }
  WindowSpec& appFrame() { kind = WindowKind::AppFrame; return *this; }
  WindowSpec& frame(FrameKind f) { v.frame = f; return *this; }
  WindowSpec& systemMenu(bool on = true) { v.system_menu = on; return *this; }
  WindowSpec& maxBox(bool on = true) { v.max_box = on; return *this; }
  WindowSpec& maximized(bool on = true) { v.maximized = on; return *this; }
  WindowSpec& gray(bool on = true) { v.gray = on; return *this; }
  WindowSpec& font(std::string name, int points) { v.font_name = std::move(name); v.font_size = points; return *this; }
  WindowSpec& icon(std::string name) { v.icon = std::move(name); return *this; }
  // Status bar sections, widths in dialog units from the left; -1 = the rest of the bar.
  WindowSpec& statusBar(std::vector<int> widths) { v.status_widths = std::move(widths); return *this; }
  WindowSpec& timer(int hundredths) { timer_ = hundredths; return *this; }
  WindowSpec& help(std::string id) { help_id = std::move(id); return *this; }
  WindowSpec& menu(MenuSpec m) { menus.push_back(std::move(m)); return *this; }
  WindowSpec& control(ControlSpec c) { controls.push_back(std::move(c)); return *this; }

  WindowView v;  // initial title, position, frame attributes, status bar
  WindowKind kind = WindowKind::TopLevel;
  int timer_ = 0;
  std::string help_id;
  std::vector<MenuSpec> menus;
  std::vector<ControlSpec> controls;
};

}  // namespace rt
