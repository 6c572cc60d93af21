#pragma once
// Pop-up menus: a short menu at the mouse (e.g. a list's right-click menu) that the calling
// thread waits on, like a message box: modal to the thread's top window, other threads' windows
// stay usable.
//
// popup returns the 1-based number of the chosen item (separators are counted), or 0 when the
// user dismissed the menu, when every item is disabled, when it is called on a thread the
// runtime did not start, or when the front end shows no pop-up menus. When the program halts meanwhile, the thread unwinds (see rt::halt).
// Texts are Windows-1252; '&' marks a mnemonic.

#include <string>
#include <vector>

namespace rt {

struct PopupItem {
  std::string text;
  bool disabled = false;
  bool separator = false;
};

int popup(const std::vector<PopupItem>& items);

}  // namespace rt
