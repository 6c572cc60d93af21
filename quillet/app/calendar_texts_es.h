#pragma once
// Quillet's Spanish words for the framework's calendar window: month names, weekday column
// headers (Sunday first) and the captions "&Hoy" and "&Cerrar". The tips of the navigation
// buttons stay the framework's English ones.
//
// Start-up installs them once, before any window opens (UseSpanishCalendarTexts); every calendar
// built afterwards shows them. Both functions may be called from any thread.

#include "framework/calendar_texts.h"

namespace quillet {

fw::CalendarTexts SpanishCalendarTexts();

// Makes SpanishCalendarTexts the program's calendar texts (fw::SetCalendarTexts).
void UseSpanishCalendarTexts();

}  // namespace quillet
