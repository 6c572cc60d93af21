#pragma once
// Main: Quillet's MDI application frame "Demostración de Quillet Optimisado" with its menu. It
// opens maximized and runs until the user closes it ("&Salir" or the close box), then leaves the
// window's outcome in GlobalResponse. Every entry but the two of "&Tablas" carries a standard
// action that the runtime performs; "Articulos" and "Cabecera" start Browse_Articulos and
// Browse_Cabecera, each on a new thread with a 50000-byte stack, as many times as chosen.
//
// The frame's menu entries by control number (negative: menu entries), for code and tests.
// Runs on the first program thread (called by the start-up procedure).

#include <cstddef>

#include "runtime/window_decl.h"

namespace quillet {

namespace appframe {
inline constexpr int MENUBAR = -1;
inline constexpr int FILEMENU = -2;
inline constexpr int PRINTSETUP = -3;
inline constexpr int EXIT = -4;
inline constexpr int EDITMENU = -5;
inline constexpr int CUT = -6;
inline constexpr int COPY = -7;
inline constexpr int PASTE = -8;
inline constexpr int BROWSEMENU = -9;
inline constexpr int BROWSE_ARTICULOS = -10;
inline constexpr int BROWSE_CABECERA = -11;
inline constexpr int WINDOWMENU = -12;
inline constexpr int TILE = -13;
inline constexpr int CASCADE = -14;
inline constexpr int ARRANGE = -15;
inline constexpr int HELPMENU = -16;
inline constexpr int HELPINDEX = -17;
inline constexpr int HELPSEARCH = -18;
inline constexpr int HELPONHELP = -19;
}  // namespace appframe

// Stack size of the threads that "&Tablas" starts.
inline constexpr std::size_t kBrowseStack = 50000;

// The frame's window structure (texts in Windows-1252).
rt::WindowDecl AppFrameDecl();

void Main();

}  // namespace quillet
