// Quillet's calendar as the invoice form shows it: Spanish month names and weekday headers,
// Spanish buttons, English navigation tips.
#include "quillet/app/calendar_texts_es.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/calendar_class.h"
#include "runtime/date.h"
#include "ui/scripted/program_driver.h"

namespace {

using fw::CalendarClass;

constexpr const char* kCaption = "Select a Date";

// Start-up installs the texts; then a calendar opens set up as the invoice form sets it.
void quilletCalendar() {
  quillet::UseSpanishCalendarTexts();
  CalendarClass calendar;
  calendar.FirstWeekDay = 7;
  calendar.ColorSunday = 255;
  calendar.ColorSaturday = 255;
  calendar.ColorOther = 0;
  calendar.ColorHoliday = 32768;
  calendar.SelectOnClose = 1;
  calendar.RightAlignment = 0;
  calendar.Ask(kCaption, rt::dateFromYmd(2012, 1, 15));
}

class QuilletCalendar : public testing::Test {
 protected:
  void TearDown() override { fw::ResetCalendarTexts(); }
};

TEST_F(QuilletCalendar, ShowsSpanishMonthsDaysAndButtonsWithEnglishTips) {
  scripted::Program p(quilletCalendar);
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.hasWindow(kCaption));

  std::vector<std::string> headers;
  for (int c = 0; c < CalendarClass::kColumns; ++c) headers.push_back(p.text(kCaption, CalendarClass::dayHeader(c)));
  EXPECT_EQ(headers, (std::vector<std::string>{"Dom", "Lun", "Mar", "Mie", "Jue", "Vie", "Sab"}));
  EXPECT_EQ(p.text(kCaption, CalendarClass::kTodayButton), "&Hoy");
  EXPECT_EQ(p.text(kCaption, CalendarClass::kCloseButton), "&Cerrar");
  const char* tips[] = {"Previous Year", "Previous Month", "Previous Week", "Next Week", "Next Month", "Next Year"};
  for (int m = 0; m < fw::CalendarMove_Count; ++m)
    EXPECT_EQ(p.control(kCaption, CalendarClass::moveButton(static_cast<fw::CalendarMove>(m)))->tip, tips[m]);

  // Each month line of 2012, reached month by month; "Septiembre 2012" fills the 15 characters.
  const char* lines[] = {"Enero 2012",      "Febrero 2012", "Marzo 2012",     "Abril 2012",
                         "Mayo 2012",       "Junio 2012",   "Julio 2012",     "Agosto 2012",
                         "Septiembre 2012", "Octubre 2012", "Noviembre 2012", "Diciembre 2012"};
  for (int m = 0; m < 12; ++m) {
    EXPECT_EQ(p.text(kCaption, CalendarClass::kMonthLine), lines[m]);
    ASSERT_TRUE(p.pressKey(kCaption, rt::PgDnKey));
  }
  ASSERT_TRUE(p.pressKey(kCaption, rt::EscKey));
  EXPECT_EQ(p.end(), 0);
}

TEST_F(QuilletCalendar, MonthNamesFillTenCharacterSlots) {
  fw::CalendarTexts t = quillet::SpanishCalendarTexts();
  EXPECT_EQ(t.MonthSlot(3), "Marzo     ");
  EXPECT_EQ(t.MonthSlot(9), "Septiembre");
  EXPECT_EQ(t.MonthSlot(12), "Diciembre ");
}

}  // namespace
