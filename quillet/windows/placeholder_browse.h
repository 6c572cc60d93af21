#pragma once
// A stand-in for a browse procedure that is not built yet: it runs a window manager over an MDI
// child window with the browse's title and its "&Cerrar" button, and nothing else. It follows the
// request protocol (GlobalRequest read and cleared on entry, the window's response left in
// GlobalResponse, the procedure name pushed on GlobalErrors while it runs) so that the frame's
// threads, hooks and managers can be used and tested before the real browses replace it.
// Runs on the calling thread (a thread of its own when started from the frame's menu).

#include "runtime/window_decl.h"

namespace quillet {

// `decl` holds the browse window (title, size, the close button `close_feq`).
void RunPlaceholderBrowse(const char* procedure_name, const rt::WindowDecl& decl, int close_feq);

}  // namespace quillet
