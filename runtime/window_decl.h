#pragma once
// Declaring a window structure in code: WindowDecl (the window), ControlDecl (one control) and
// MenuDecl (one menu or menu entry). These are plain values built with chained setters and handed
// to Window::open (or Window::createControl for a control made at run time). Positions and sizes
// are dialog units. Text is Windows-1252.
//
//   rt::WindowDecl decl("Recorrer la tabla Cabecera");
//   decl.size(459, 290).mdiChild().gray().font("MS Sans Serif", 8)
//       .control(rt::ControlDecl::list(1, "53R(2)|F~IDCabecera~C(0)@n_4B@").at(9, 23, 434, 233)
//                    .status("Recorriendo la tabla Cabecera"))
//       .control(rt::ControlDecl::button(2, "&Agregar").at(74, 265, 49, 14).icon("a.ICO"));
//
// Values only: no shared state; build them on any thread.

#include <optional>
#include <string>
#include <vector>

#include "runtime/binding.h"
#include "runtime/frontend.h"
#include "runtime/vocabulary.h"

namespace rt {

class ControlDecl {
 public:
  ControlDecl(int feq, int type) { v.feq = feq; v.type = type; }

  // The usual kinds, with their defining text.
  static ControlDecl entry(int feq, std::string picture) { ControlDecl c(feq, CONTROL_Entry); c.v.picture = std::move(picture); return c; }
  static ControlDecl text(int feq) { ControlDecl c(feq, CONTROL_Text); c.v.single_line = false; return c; }
  static ControlDecl button(int feq, std::string caption) { return ControlDecl(feq, CONTROL_Button).caption(std::move(caption)); }
  static ControlDecl check(int feq, std::string caption) { return ControlDecl(feq, CONTROL_Check).caption(std::move(caption)); }
  static ControlDecl prompt(int feq, std::string caption) { return ControlDecl(feq, CONTROL_Prompt).caption(std::move(caption)); }
  static ControlDecl string(int feq, std::string caption) { return ControlDecl(feq, CONTROL_String).caption(std::move(caption)); }
  static ControlDecl list(int feq, std::string format) { ControlDecl c(feq, CONTROL_List); c.format_ = std::move(format); return c; }
  static ControlDecl sheet(int feq) { return ControlDecl(feq, CONTROL_Sheet); }
  static ControlDecl tab(int feq, int sheet, std::string caption) { return ControlDecl(feq, CONTROL_Tab).caption(std::move(caption)).in(sheet); }
  static ControlDecl panel(int feq) { return ControlDecl(feq, CONTROL_Panel); }
  static ControlDecl dropCombo(int feq, std::string picture) { ControlDecl c(feq, CONTROL_DropCombo); c.v.picture = std::move(picture); return c; }

  ControlDecl& at(int x, int y) { v.pos.x = x; v.pos.y = y; v.pos.has_pos = true; return *this; }
  ControlDecl& at(int x, int y, int w, int h) { at(x, y); v.pos.w = w; v.pos.h = h; v.pos.has_size = true; return *this; }
  ControlDecl& caption(std::string t) { v.text = std::move(t); return *this; }
  ControlDecl& picture(std::string p) { v.picture = std::move(p); return *this; }
  // The variable the control shows and edits (entries, texts, spins, combos, checks, sheets).
  ControlDecl& use(Binding b) { use_ = b; return *this; }
  ControlDecl& in(int parent_feq) { v.parent = parent_feq; return *this; }  // SHEET or TAB
  ControlDecl& readOnly(bool on = true) { v.read_only = on; return *this; }
  ControlDecl& skip(bool on = true) { v.skip = on; return *this; }
  ControlDecl& required(bool on = true) { v.required = on; return *this; }
  ControlDecl& disabled(bool on = true) { v.disabled = on; return *this; }
  ControlDecl& hidden(bool on = true) { v.hidden = on; return *this; }
  ControlDecl& defaultButton(bool on = true) { v.is_default = on; return *this; }
  // The button that Esc presses.
  ControlDecl& cancelButton(bool on = true) { cancel_ = on; return *this; }
  ControlDecl& transparent(bool on = true) { v.transparent = on; return *this; }
  ControlDecl& rightAligned(bool on = true) { v.right_aligned = on; return *this; }
  ControlDecl& insertMode(bool on = true) { ins_ = on; return *this; }  // INS: typing inserts
  ControlDecl& multiLine(bool on = true) { v.single_line = !on; return *this; }
  ControlDecl& status(std::string t) { v.status_text = std::move(t); return *this; }
  ControlDecl& tip(std::string t) { v.tip = std::move(t); return *this; }
  ControlDecl& icon(std::string name) { v.icon = std::move(name); return *this; }
  // The control's own font; an empty name keeps the window's face.
  ControlDecl& font(std::string name, int points, bool bold = false) { v.font_name = std::move(name); v.font_size = points; v.bold = bold; return *this; }
  ControlDecl& format(std::string list_format) { format_ = std::move(list_format); return *this; }
  ControlDecl& pageLoaded(bool on = true) { v.page_loaded = on; return *this; }
  ControlDecl& rowHeight(int h) { v.row_height = h; return *this; }
  // A drop combo without a drop list: only its drop button shows (it raises EVENT_DroppingDown).
  ControlDecl& dropButtonOnly(bool on = true) { v.drop_button_only = on; return *this; }
  // Created over a cell of a list (in-list editing); row and column are 1-based.
  ControlDecl& overCell(int list_feq, int row, int col) { v.over_list = list_feq; v.over_row = row; v.over_col = col; return *this; }
  // A standard action carried out by the runtime when the button is pressed.
  ControlDecl& action(StdAction a) { action_ = a; return *this; }

  ControlView v;  // the control's initial state as front ends see it
  std::optional<Binding> use_;
  std::string format_;
  bool cancel_ = false;
  bool ins_ = false;
  StdAction action_ = StdAction::None;
};

class MenuDecl {
 public:
  // A menu (has children) or a menu entry; feq is negative.
  static MenuDecl menu(int feq, std::string text, std::vector<MenuDecl> children = {}) {
    MenuDecl m; m.e.feq = feq; m.e.text = std::move(text); m.children = std::move(children); return m;
  }
  static MenuDecl item(int feq, std::string text) { MenuDecl m; m.e.feq = feq; m.e.text = std::move(text); return m; }
  static MenuDecl separator() { MenuDecl m; m.e.separator = true; return m; }
  MenuDecl& status(std::string t) { e.status_text = std::move(t); return *this; }
  MenuDecl& action(StdAction a) { e.action = a; return *this; }
  MenuDecl& disabled(bool on = true) { e.disabled = on; return *this; }
  MenuDecl& add(MenuDecl child) { children.push_back(std::move(child)); return *this; }

  MenuEntryView e;
  std::vector<MenuDecl> children;
};

enum class WindowKind { TopLevel, MdiChild, AppFrame };

class WindowDecl {
 public:
  explicit WindowDecl(std::string title = {}) { v.title = std::move(title); }

  WindowDecl& title(std::string t) { v.title = std::move(t); return *this; }
  WindowDecl& at(int x, int y) { v.pos.x = x; v.pos.y = y; v.pos.has_pos = true; return *this; }
  WindowDecl& size(int w, int h) { v.pos.w = w; v.pos.h = h; v.pos.has_size = true; return *this; }
  WindowDecl& mdiChild() { kind = WindowKind::MdiChild; return *this; }
  WindowDecl& appFrame() { kind = WindowKind::AppFrame; return *this; }
  WindowDecl& frame(FrameKind f) { v.frame = f; return *this; }
  WindowDecl& systemMenu(bool on = true) { v.system_menu = on; return *this; }
  WindowDecl& maxBox(bool on = true) { v.max_box = on; return *this; }
  WindowDecl& maximized(bool on = true) { v.maximized = on; return *this; }
  WindowDecl& gray(bool on = true) { v.gray = on; return *this; }
  WindowDecl& font(std::string name, int points) { v.font_name = std::move(name); v.font_size = points; return *this; }
  WindowDecl& icon(std::string name) { v.icon = std::move(name); return *this; }
  // Status bar sections, widths in dialog units from the left; -1 = the rest of the bar.
  WindowDecl& statusBar(std::vector<int> widths) { v.status_widths = std::move(widths); return *this; }
  WindowDecl& timer(int hundredths) { timer_ = hundredths; return *this; }
  WindowDecl& help(std::string id) { help_id = std::move(id); return *this; }
  WindowDecl& menu(MenuDecl m) { menus.push_back(std::move(m)); return *this; }
  WindowDecl& control(ControlDecl c) { controls.push_back(std::move(c)); return *this; }

  WindowView v;  // initial title, position, frame attributes, status bar
  WindowKind kind = WindowKind::TopLevel;
  int timer_ = 0;
  std::string help_id;
  std::vector<MenuDecl> menus;
  std::vector<ControlDecl> controls;
};

}  // namespace rt
