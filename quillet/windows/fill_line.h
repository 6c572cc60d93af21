#pragma once
// The invoice line row of the invoice form's line list (LinesQueue) and the arithmetic of a line
// and of an invoice: FillLine fills a row from the article in the ARTICULO buffer, SumLineTotals
// adds up line totals for the header total.
//
// Totals are DECIMAL(4,2) fields: at most 99,999.99 either way. A result that does not fit is
// never stored as another number: FillLine then leaves the row's total as it was and says so, and
// SumLineTotals reports the overflow instead of a sum. Pure functions: any thread.

#include <cstdint>
#include <optional>
#include <span>

#include "quillet/tables/articulo.h"
#include "runtime/decimal.h"

namespace quillet {

#pragma pack(push, 1)
// One row of the line list, in column order; the first six fields feed the six columns.
struct LinesQueueRecord {
  std::uint16_t ITE_NORDEN;
  rt::PackedDecimal<4, 2> ITE_CANTIDAD;
  std::uint16_t ITE_IDARTICULO;
  char ITE_DESCRIPCION[30];
  rt::PackedDecimal<4, 2> ITE_UNITARIO;
  rt::PackedDecimal<4, 2> ITE_TOTAL;
  std::uint16_t ITE_IDCABECERA;
  std::uint16_t ART_IDARTICULO;
  std::uint8_t MARK;
  char VIEWPOSITION[1024];
};
#pragma pack(pop)

enum class FillResult {
  Ok,             // description, unit price and total filled in
  TotalTooLarge,  // description and price filled in; the total would not fit and was left as it was
};

// Description := the article's, unit price := the article's price, total := price x quantity
// rounded half away from zero to 2 places.
FillResult FillLine(LinesQueueRecord& row, const ARTICULO& article);

// The sum of line totals as a header total (2 places); nullopt when it does not fit DECIMAL(4,2).
std::optional<rt::Decimal> SumLineTotals(std::span<const rt::Decimal> totals);
// True when `sum` can be stored in a header total.
bool FitsTotal(const rt::Decimal& sum);

}  // namespace quillet
