#pragma once
// The column editors of the invoice form's line list (in-list editing of ITEMS):
//
//   ForwardEntryClass   an entry over the cell in which Enter moves to the next column (instead of
//                       completing the row), as Tab does. Used for the description and the price.
//   QuantityEditClass   the quantity: leaving the cell by a key refuses a zero quantity with
//                       "ATENCION : Debe informar una cantidad" (caption "VALIDACION") and keeps
//                       the cell open; otherwise refills the row from its article (FillLine). The
//                       same check runs when the row is completed in any other way (TakeAccepted
//                       returns 4), so a line is never saved with a zero quantity.
//   ArticleEditClass    the article code: a drop-down control whose button shows "...". Leaving the
//                       cell looks the code up in ARTICULO; a missing code opens the article picker
//                       (Browse_Articulos, request 4); the button opens the picker directly.
//
// A line total that would not fit its DECIMAL(4,2) field is refused with a message naming the
// limit: the quantity cell stays open, and the row cannot be completed (the quantity's completion
// check) until quantity or price are fixed; the total is never stored as another number.
//
// Each editor works on the line list's queue buffer (the LinesQueueRecord its UseVar points
// into) and on the thread's ARTICULO buffer. Thread rule: the form's thread.

#include "framework/edit_entry_class.h"
#include "quillet/windows/fill_line.h"

namespace quillet {

inline constexpr const char* kValidationCaption = "VALIDACION";
inline constexpr const char* kQuantityMissingText = "ATENCION : Debe informar una cantidad";
inline constexpr const char* kLineTotalTooLargeText =
    "ATENCION : El total de la linea supera 99.999,99|Corrija la cantidad o el precio";

class ForwardEntryClass : public fw::EditEntryClass {
 public:
  explicit ForwardEntryClass(LinesQueueRecord& row) : row_(row) {}
  // Alert keys only: Enter gives 1 (next column), every other key EditClass's action; the
  // control's text is then copied into UseVar. Anything else: 0.
  int TakeEvent(int event) override;

 protected:
  // FillLine on the edited row; false when the total does not fit (told to the user with `tell`).
  bool fillLine(bool tell);
  LinesQueueRecord& row_;
};

class QuantityEditClass : public ForwardEntryClass {
 public:
  using ForwardEntryClass::ForwardEntryClass;
  // 8 (stay in the cell) for a zero quantity or a line total that does not fit; else the key's
  // action, after FillLine.
  int TakeEvent(int event) override;
  // Completion check: 4 for a zero quantity or a total that does not fit, else `action`.
  int TakeAccepted(int action) override;
};

class ArticleEditClass : public ForwardEntryClass {
 public:
  using ForwardEntryClass::ForwardEntryClass;
  int CreateControl() override;
  int TakeEvent(int event) override;

 private:
  // Runs the article picker on this thread; true when an article was chosen (in ART).
  bool pick();
};

}  // namespace quillet
