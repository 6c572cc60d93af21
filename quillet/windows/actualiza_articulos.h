#pragma once
// Actualiza_Articulos: the article form. Shows the article in the ARTICULO buffer (code,
// description, unit price) to view, insert or change it, and carries out a delete.
//
// Request protocol: GlobalRequest 1 insert (the caller has already primed the buffer and reserved
// the next free code, which the form shows), 2 change, 3 delete (asks "Confirmar Borrado" and
// deletes; the window never opens), 6 view (every entry read-only, "&Aceptar" just closes).
// The title says the request: "El registro será agregado", "El registro será cambiado", "Ver
// Registro". GlobalResponse: 1 when the record was written or deleted, 2 otherwise (always 2
// after a view). "&Aceptar" with a blank description or a zero price writes nothing and puts the
// focus on that entry. "&Cancelar" asks "Cambios no seran Realizados!" only when the article was
// edited; a cancelled insert gives its reserved code back (the reserved record is deleted).
//
// Ctrl+H in the description or the price puts back that field as it was when "&Aceptar" last
// completed on this thread (the history record lives as long as the thread). The code entry
// ignores it: the code of an article is its key and never changes in the form.
//
// Deleting, writing, the cancel question and the give-back of a cancelled insert are the window
// manager's form behaviour, on Relate_ARTICULO as the primary relation: a change is not written
// over an article that another station changed or deleted since the form opened (the user is
// told and the form stays open with the user's values); a write refused because another station
// holds the file asks whether to try again.
//
// Runs on the caller's thread (the article browse's) with its record buffers and table managers.
// Failures of the table are reported through GlobalErrors; the form then stays open with the
// user's values.

namespace quillet {

namespace actualiza_articulos {
inline constexpr int CURRENTTAB = 1;
inline constexpr int TAB_1 = 2;
inline constexpr int ART_IDARTICULO_PROMPT = 3;
inline constexpr int ART_IDARTICULO = 4;
inline constexpr int ART_DESCRIPCION_PROMPT = 5;
inline constexpr int ART_DESCRIPCION = 6;
inline constexpr int ART_IMPORTE_PROMPT = 7;
inline constexpr int ART_IMPORTE = 8;
inline constexpr int OK = 9;
inline constexpr int CANCEL = 10;
}  // namespace actualiza_articulos

void Actualiza_Articulos();

}  // namespace quillet
