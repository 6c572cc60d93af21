#pragma once
// EditLookupClass: a column editor whose value is checked against (or picked from) another list.
//
// The control is a drop-down combination without a drop list: an entry with a drop button
// (EllipsisIcon on it). The drop button always runs the lookup, AskLookup(true); the cell stays
// open afterwards (action 7). Leaving the cell with Tab, Shift+Tab, Enter, Down or Up first runs
// AskLookup(false): the key acts only when it returns 7, otherwise the key is ignored and the cell
// stays open. Esc leaves without a lookup. A row completed in any other way (a click elsewhere, a
// key while another cell is current) is taken as it stands: TakeAccepted does no lookup.
//
// AskLookup returns 7 when the cell's value is acceptable (possibly after the user picked one,
// which it puts into UseVar), 0 otherwise. The framework's version accepts every value.
//
// Thread rule: an editor belongs to its window's thread.

#include "framework/edit_entry_class.h"

namespace fw {

// The icon shown on the drop button of lookup cells.
inline constexpr const char* EllipsisIcon = "~ellipsis";

class EditLookupClass : public EditEntryClass {
 public:
  int CreateControl() override;
  int TakeEvent(int event) override;
  virtual int AskLookup(bool pForce);
};

}  // namespace fw
