#pragma once
// Browse_Cabecera: the invoice header browse. Lists every CABECERA record in one of two orders
// chosen by tab ("&1) Por IDCabecera": by number, the first shown; "&2) Por Fecha": by date,
// headers without a date left out), with a step locator on the order's field, and opens the
// invoice form Actualiza_Cabecera with request 1, 2 or 3 for "&Agregar", "&Cambiar" and
// "&Borrar" (an insert first primes and reserves the next header number).
//
// Request protocol: reads GlobalRequest on entry (0 from the menu) and leaves the window's result
// in GlobalResponse. Runs on the calling thread, normally a thread of its own started from the
// frame's "&Tablas" menu; the form runs inside it on the same thread and shares its buffers.
// Failures (tables that cannot be opened, a header number that cannot be reserved) are reported
// through GlobalErrors; the window then does not open or the list stays as it was.

namespace quillet {

namespace browse_cabecera {
inline constexpr int BROWSE_1 = 1;    // ?BROWSE:1, the header list
inline constexpr int INSERT_3 = 2;    // "&Agregar"
inline constexpr int CHANGE_3 = 3;    // "&Cambiar"
inline constexpr int DELETE_3 = 4;    // "&Borrar"
inline constexpr int CURRENTTAB = 5;  // the sheet choosing the order
inline constexpr int TAB_2 = 6;       // "&1) Por IDCabecera"
inline constexpr int TAB_3 = 7;       // "&2) Por Fecha"
inline constexpr int CLOSE = 8;       // "&Cerrar"
}  // namespace browse_cabecera

void Browse_Cabecera();

}  // namespace quillet
