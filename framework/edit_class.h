#pragma once
// EditClass: the column editor of one editable column of an in-list edited browse.
//
// The in-list editor (BrowseEIPManager) owns the row being edited; for the column that has the
// cursor it places the column's editor on the window and row (Place) and calls Init, which makes
// the editing control over the list cell (CreateControl), declares the editor's alert keys
// (SetAlerts) and shows the cell's value (ResetControl). Leaving the column calls Kill, which
// removes the control again. Every event of the editing control goes to TakeEvent, which returns
// an action code of the in-list editor:
//   0 nothing, 1 next column (Tab), 2 previous column (Shift+Tab), 3 complete the row (Enter),
//   4 discard the row (Esc), 5 complete and go down (Down), 6 complete and go up (Up),
//   7 a lookup was done (the cell stays open), anything else: nothing, the cell stays open.
// TakeAccepted copies the control into UseVar (only when the user edited it since it was last
// shown) and returns the action it was given; a text that the control's picture refuses gives 0
// (the cell stays open), and an editor may return 4 to refuse the value.
//
// The framework's EditClass makes no control (a subclass does); its TakeEvent maps only alert
// keys: Tab 1, Shift+Tab 2, Enter 3, Esc 4, Down 5, Up 6.
//
// Thread rule: an editor belongs to its window's thread.

#include <optional>

#include "runtime/binding.h"
#include "runtime/window.h"

namespace fw {

class EditClass {
 public:
  EditClass() = default;
  virtual ~EditClass();
  EditClass(const EditClass&) = delete;
  EditClass& operator=(const EditClass&) = delete;

  int Feq = 0;                       // the editing control (0 while there is none)
  std::optional<rt::Binding> UseVar; // the list-queue field of the column
  int ListBoxFeq = 0;                // the list
  bool ReadOnly = false;
  int FieldNo = 0;                   // the list column (1-based)
  bool Req = false;                  // the column must not be left empty (blank text, zero number)

  // Makes the editing control over the cell and sets Feq; returns Feq (0: none made).
  virtual int CreateControl();
  // Takes the column, the list and the queue field, then CreateControl, SetAlerts, SetReadOnly
  // (ReadOnly) and ResetControl.
  virtual void Init(int column, int list_box, rt::Binding use_var);
  // Removes the editing control.
  virtual void Kill();
  // Tab, Shift+Tab, Enter, Esc, Down and Up become alert keys of the editing control.
  virtual void SetAlerts();
  virtual void SetReadOnly(bool state);
  virtual int TakeAccepted(int action);
  virtual int TakeEvent(int event);
  virtual int GetFeq() const { return Feq; }
  // Shows UseVar in the control again (it then counts as not edited).
  virtual void ResetControl();

  // Where the editor works: set by the in-list editor before Init.
  void Place(rt::Window& window, int row) {
    window_ = &window;
    row_ = row;
  }
  rt::Window* EditWindow() const { return window_; }
  int Row() const { return row_; }
  // The column's display picture, taken from the list's format ("" when it has none).
  std::string ColumnPicture() const;
  // True when UseVar holds nothing: blank text, or a number equal to zero.
  bool Empty() const;

 protected:
  // Creates `control` over the editor's cell, bound to UseVar, and sets Feq; 0 on failure.
  int MakeCellControl(rt::ControlDecl control);

  rt::Window* window_ = nullptr;
  int row_ = 0;
};

}  // namespace fw
