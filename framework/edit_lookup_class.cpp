#include "framework/edit_lookup_class.h"

#include "runtime/vocabulary.h"

namespace fw {

int EditLookupClass::CreateControl() {
  return MakeCellControl(rt::ControlDecl::dropCombo(0, ColumnPicture()).dropButtonOnly().icon(EllipsisIcon));
}

int EditLookupClass::TakeEvent(int event) {
  if (event == rt::EVENT_DroppingDown) {
    AskLookup(true);
    ResetControl();
    return 7;
  }
  const int action = EditEntryClass::TakeEvent(event);
  if (action == 0 || action == 4) return action;
  const int found = AskLookup(false);
  ResetControl();
  return found == 7 ? action : 0;
}

int EditLookupClass::AskLookup(bool pForce) {
  (void)pForce;
  if (window_ && Feq) window_->update(Feq);
  return 7;
}

}  // namespace fw
