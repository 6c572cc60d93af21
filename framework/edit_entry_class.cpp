#include "framework/edit_entry_class.h"

namespace fw {

int EditEntryClass::CreateControl() { return MakeCellControl(rt::ControlDecl::entry(0, ColumnPicture())); }

}  // namespace fw
