#pragma once
// Browse_Articulos: the article browse and the program's article picker. Lists every ARTICULO
// record one page at a time in one of two orders chosen by tab ("&1) Por IDArticulo": by code, the
// first shown; "&2) Por Descripción": by description, case ignored), with a step locator on the
// order's field, and opens the article form Actualiza_Articulos with request 6, 1, 2 or 3 for
// "&Ver", "&Agregar", "&Cambiar" and "&Borrar" (an insert first primes the record and reserves the
// next free code).
//
// Request protocol: reads GlobalRequest on entry and leaves the window's result in GlobalResponse.
// - Started from the frame's menu (request 0): "&Elegir" is hidden, "&Cerrar" returns 1, any
//   other way of closing returns 2.
// - Called with request 4 (select): the caller leaves in the ARTICULO buffer the article to open
//   at (code 0: the first article; a missing code: the next higher one). "&Elegir" (also Enter
//   and a double click on a row) returns 1 with the highlighted article in the ARTICULO buffer;
//   "&Cerrar" or closing the window returns 2 with the buffer put back byte for byte as the
//   caller passed it. "&Elegir" is disabled while the list is empty.
// - Called with request 6: the list only shows; "&Ver" is the one button that acts, and its form
//   is not called.
//
// Runs on the calling thread (a thread of its own when started from the menu, the caller's thread
// when picking) with that thread's record buffers and table managers. Failures of the table
// (it cannot be opened or read) are reported through GlobalErrors; the window then does not open
// or the list stays as it was.

namespace quillet {

namespace browse_articulos {
inline constexpr int BROWSE_1 = 1;    // ?BROWSE:1, the article list
inline constexpr int VIEW_2 = 2;      // "&Ver"
inline constexpr int INSERT_3 = 3;    // "&Agregar"
inline constexpr int CHANGE_3 = 4;    // "&Cambiar"
inline constexpr int DELETE_3 = 5;    // "&Borrar"
inline constexpr int SELECT = 6;      // "&Elegir"
inline constexpr int CURRENTTAB = 7;  // the sheet choosing the order
inline constexpr int TAB_2 = 8;       // "&1) Por IDArticulo"
inline constexpr int TAB_3 = 9;       // "&2) Por Descripción"
inline constexpr int CLOSE = 10;      // "&Cerrar"
}  // namespace browse_articulos

void Browse_Articulos();

}  // namespace quillet
