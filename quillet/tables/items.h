#pragma once
// The invoice line table ITEMS (prefix ITE): its record layout, its declaration in the record
// store, and the calling thread's record buffer and table instance.

#include <cstddef>
#include <cstdint>

#include "runtime/decimal.h"
#include "store/file.h"
#include "store/table_def.h"

namespace quillet {

#pragma pack(push, 1)
struct ITEMS {
  std::uint16_t IDCABECERA;          // invoice header the line belongs to
  std::uint16_t NORDEN;              // line number within the header, auto-numbered
  rt::PackedDecimal<4, 2> CANTIDAD;  // quantity
  std::uint16_t IDARTICULO;          // article of the line
  char DESCRIPCION[30];              // copy of the article's description
  rt::PackedDecimal<4, 2> UNITARIO;  // copy of the article's unit price
  rt::PackedDecimal<4, 2> TOTAL;     // quantity times unit price
};
#pragma pack(pop)
static_assert(sizeof(ITEMS) == 48);
static_assert(offsetof(ITEMS, IDCABECERA) == 0 && offsetof(ITEMS, NORDEN) == 2 &&
              offsetof(ITEMS, CANTIDAD) == 4 && offsetof(ITEMS, IDARTICULO) == 8 &&
              offsetof(ITEMS, DESCRIPCION) == 10 && offsetof(ITEMS, UNITARIO) == 40 &&
              offsetof(ITEMS, TOTAL) == 44);

// Keys (indexes into the declaration's keys).
inline constexpr int ITE_POR_IDCABECERAYNORDEN = 0;  // IDCABECERA, NORDEN: primary, opt, nocase

// The declaration: file ITEMS.TPS, CREATE and THREAD. Read-only; safe from any thread.
const store::TableDef& ITEMS_Def();

// The calling thread's record buffer (ITE:NORDEN is ITE.NORDEN).
extern thread_local ITEMS ITE;

// The calling thread's instance of the table, made on first use (nothing is opened). Only the
// calling thread may use it.
store::File& ITEMS_File();
// Releases the calling thread's instance (closing it when open); the next use makes a new one.
void ITEMS_Release();

}  // namespace quillet
