#pragma once
// Actualiza_Cabecera: the invoice form. Shows the header in the CABECERA buffer (number, date,
// total) above the list of its lines (ITEMS of that header, by line number, each joined to its
// article). Every reload of the line list recomputes CAB:TOTAL from all the header's lines.
//
// Request protocol: GlobalRequest 1 insert (the header is already primed and reserved by the
// caller), 2 change, 3 delete (asks "Confirmar Borrado" and deletes the header with its lines in
// one transaction; the window never opens), 6 view (read-only). GlobalResponse: 1 after
// "&Aceptar" in insert or change mode and after a confirmed delete; 2 otherwise. A cancelled
// insert removes the reserved header together with every line written for it meanwhile.
//
// Sound behaviour kept by the form:
// - entering the empty date of a new invoice fills in today's date; a date typed or picked is kept;
// - a header whose lines sum past 99,999.99 cannot be accepted; the user is told why.
//
// Runs on the caller's thread (the header browse's) with its record buffers and table managers.
// Errors of the tables are reported through GlobalErrors.

namespace quillet {

namespace actualiza_cabecera {
inline constexpr int CURRENTTAB = 1;
inline constexpr int TAB_1 = 2;
inline constexpr int CAB_IDCABECERA_PROMPT = 3;
inline constexpr int CAB_IDCABECERA = 4;
inline constexpr int CAB_FECHA_PROMPT = 5;
inline constexpr int CAB_FECHA = 6;
inline constexpr int CALENDAR = 7;
inline constexpr int LIST = 8;
inline constexpr int INSERT = 9;
inline constexpr int CHANGE = 10;
inline constexpr int DELETE = 11;
inline constexpr int CAB_TOTAL_PROMPT = 12;
inline constexpr int CAB_TOTAL = 13;
inline constexpr int OK = 14;
inline constexpr int CANCEL = 15;

// The texts shown when a header total does not fit.
inline constexpr const char* kTotalTooLargeCaption = "VALIDACION";
inline constexpr const char* kTotalTooLargeText =
    "ATENCION : El total de la factura supera 99.999,99|Corrija las lineas antes de aceptar";
}  // namespace actualiza_cabecera

void Actualiza_Cabecera();

}  // namespace quillet
