#pragma once
// The article table ARTICULO (prefix ART): its record layout, its declaration in the record store,
// and the calling thread's record buffer and table instance.

#include <cstddef>
#include <cstdint>

#include "runtime/decimal.h"
#include "store/file.h"
#include "store/table_def.h"

namespace quillet {

#pragma pack(push, 1)
struct ARTICULO {
  std::uint16_t IDARTICULO;         // article number, auto-numbered
  char DESCRIPCION[30];             // description
  rt::PackedDecimal<4, 2> IMPORTE;  // unit price
};
#pragma pack(pop)
static_assert(sizeof(ARTICULO) == 36);
static_assert(offsetof(ARTICULO, IDARTICULO) == 0 && offsetof(ARTICULO, DESCRIPCION) == 2 &&
              offsetof(ARTICULO, IMPORTE) == 32);

// Keys (indexes into the declaration's keys).
inline constexpr int ART_POR_IDARTICULO = 0;   // IDARTICULO: primary, opt, nocase
inline constexpr int ART_POR_DESCRIPCION = 1;  // DESCRIPCION: dup, opt, nocase

// The declaration: file ARTICULO.TPS, CREATE and THREAD. Read-only; safe from any thread.
const store::TableDef& ARTICULO_Def();

// The calling thread's record buffer (ART:IDARTICULO is ART.IDARTICULO).
extern thread_local ARTICULO ART;

// The calling thread's instance of the table, made on first use (nothing is opened). Only the
// calling thread may use it.
store::File& ARTICULO_File();
// Releases the calling thread's instance (closing it when open); the next use makes a new one.
void ARTICULO_Release();

}  // namespace quillet
