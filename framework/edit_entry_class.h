#pragma once
// EditEntryClass: the usual column editor: an entry control over the cell, bound to the cell's
// queue field and using the column's display picture. Everything else is EditClass's.
//
// Thread rule: an editor belongs to its window's thread.

#include "framework/edit_class.h"

namespace fw {

class EditEntryClass : public EditClass {
 public:
  int CreateControl() override;
};

}  // namespace fw
