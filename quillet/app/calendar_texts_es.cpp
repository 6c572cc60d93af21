#include "quillet/app/calendar_texts_es.h"

namespace quillet {

fw::CalendarTexts SpanishCalendarTexts() {
  static constexpr const char* kMonths[12] = {"Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
                                              "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre"};
  fw::CalendarTexts t = fw::EnglishCalendarTexts();  // keeps the English tips
  for (int m = 1; m <= 12; ++m) (void)t.SetMonthName(m, kMonths[m - 1]);  // each fits its slot
  t.DayNames = {"Dom", "Lun", "Mar", "Mie", "Jue", "Vie", "Sab"};
  t.TodayButton = "&Hoy";
  t.CloseButton = "&Cerrar";
  return t;
}

void UseSpanishCalendarTexts() { fw::SetCalendarTexts(SpanishCalendarTexts()); }

}  // namespace quillet
