#pragma once
// The current event of the calling thread: what Window::accept last returned, or what a nested
// window procedure left when it returned (its caller's event is put back when a nested window
// closes). All functions read thread-local state and may be called on any program thread.

#include "runtime/vocabulary.h"

namespace rt {

int event();          // EVENT_ code; 0 before the first accept
int field();          // the control the event concerns; 0 for window events
int keyCode();        // key code of the key or mouse action behind the event (0 when none)
int mouseRow();       // list row of a click (1-based; 0 = none)
int mouseCol();       // list column of a click (1-based; 0 = none)
double thumbFraction();  // EVENT_ScrollDrag: where the thumb was dropped, 0..1
char typedChar();        // EVENT_Locate: the character typed (Windows-1252)

}  // namespace rt
