#pragma once
// Message boxes.
//
// message shows `text` ("|" starts a new line) with a caption, an icon (ICON_ names of
// runtime/vocabulary.h) and a set of buttons (BUTTON_ values added together; 0 means OK), with
// `default_button` preselected (0 = the first), and returns the button pressed. It blocks only the
// calling thread: the box is modal to that thread's top window, every other thread's windows stay
// usable. Called on a thread the runtime did not start, or with no front end, it returns
// `default_button` (or the first button) at once. When the program halts while the box is open,
// the thread unwinds (see rt::halt).

#include <string_view>

namespace rt {

int message(std::string_view text, std::string_view caption = {}, std::string_view icon = {},
            int buttons = 1, int default_button = 0);

}  // namespace rt
