#pragma once
// The invoice header table CABECERA (prefix CAB): its record layout, its declaration in the
// record store, and the calling thread's record buffer and table instance.

#include <cstddef>
#include <cstdint>

#include "runtime/decimal.h"
#include "store/file.h"
#include "store/table_def.h"

namespace quillet {

#pragma pack(push, 1)
struct CABECERA {
  std::uint16_t IDCABECERA;       // invoice number, auto-numbered
  std::int32_t FECHA;             // invoice date (runtime day number)
  rt::PackedDecimal<4, 2> TOTAL;  // sum of the invoice's line totals
};
#pragma pack(pop)
static_assert(sizeof(CABECERA) == 10);
static_assert(offsetof(CABECERA, IDCABECERA) == 0 && offsetof(CABECERA, FECHA) == 2 &&
              offsetof(CABECERA, TOTAL) == 6);

// Keys (indexes into the declaration's keys).
inline constexpr int CAB_POR_IDCABECERA = 0;  // IDCABECERA: primary, opt, nocase
inline constexpr int CAB_POR_FECHA = 1;       // FECHA: dup, opt, nocase

// The declaration: file CABECERA.TPS, CREATE and THREAD. Read-only; safe from any thread.
const store::TableDef& CABECERA_Def();

// The calling thread's record buffer (CAB:FECHA is CAB.FECHA).
extern thread_local CABECERA CAB;

// The calling thread's instance of the table, made on first use (nothing is opened). Only the
// calling thread may use it.
store::File& CABECERA_File();
// Releases the calling thread's instance (closing it when open); the next use makes a new one.
void CABECERA_Release();

}  // namespace quillet
