#pragma once
// The texts of the entries that a browse puts into its list's right-click menu, in the program's
// language. Each entry presses the browse's button of the same role and appears only when the
// browse has that button (the select entry only while it is selecting). A program sets its texts
// once at start-up (Quillet: "&Agregar", "&Cambiar", "&Borrar", "&Ver", "&Elegir"); until then the
// framework's English texts apply.
//
// Per process by design: set at start-up, read by every browse on any thread (guarded).

#include <string>
#include <vector>

namespace fw {

struct BrowsePopupTexts {
  std::string Insert = "&Insert";
  std::string Change = "&Change";
  std::string Delete = "&Delete";
  std::string View = "&View";
  std::string Select = "&Select";
};

void SetBrowsePopupTexts(const BrowsePopupTexts& texts);
BrowsePopupTexts GetBrowsePopupTexts();

// Shows the list's menu of `entries` at the mouse (the runtime's pop-up menu, on the calling
// program thread, which waits for the answer) and returns the 1-based entry chosen, 0 when none
// was (dismissed, or a front end that shows no pop-up menus).
int ShowBrowsePopup(const std::vector<std::string>& entries);

}  // namespace fw
