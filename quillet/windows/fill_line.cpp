#include "quillet/windows/fill_line.h"

#include <cstring>

namespace quillet {

FillResult FillLine(LinesQueueRecord& row, const ARTICULO& article) {
  std::memcpy(row.ITE_DESCRIPCION, article.DESCRIPCION, sizeof row.ITE_DESCRIPCION);
  row.ITE_UNITARIO = article.IMPORTE;
  const rt::Decimal total = row.ITE_UNITARIO.value() * row.ITE_CANTIDAD.value();
  rt::PackedDecimal<4, 2> packed = row.ITE_TOTAL;
  if (packed.assign(total) != rt::DecimalStatus::Ok) return FillResult::TotalTooLarge;
  row.ITE_TOTAL = packed;
  return FillResult::Ok;
}

bool FitsTotal(const rt::Decimal& sum) {
  rt::PackedDecimal<4, 2> probe{};
  return probe.assign(sum) == rt::DecimalStatus::Ok;
}

std::optional<rt::Decimal> SumLineTotals(std::span<const rt::Decimal> totals) {
  rt::Decimal sum;
  for (const rt::Decimal& t : totals) sum += t;
  if (!FitsTotal(sum)) return std::nullopt;
  return sum.rounded(2);
}

}  // namespace quillet
