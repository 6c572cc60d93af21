#pragma once
// CalendarClass: the framework's small calendar window, from which the user picks a day.
//
//   fw::CalendarClass Calendar;
//   Calendar.SelectOnClose = 1;
//   if (Calendar.Ask("Select a Date", CAB_FECHA) == fw::RequestCompleted) CAB_FECHA = Calendar.SelectedDate;
//
// Ask opens the window on the calling thread, above the caller's window (which takes no input
// until the calendar closes), and returns when it closes. The window shows one month as a grid of
// 6 weeks x 7 days under the weekday column headers, with the month line ("<month> <year>", at
// most 15 characters) between six navigation buttons (previous year, month and week; next week,
// month and year) and, below the grid, a today button and a close button.
//
// One day is highlighted: at first the date to show (today when that is no date). It is the
// window's default button and holds the focus. The highlight moves with the navigation buttons,
// the today button (to today) and the keys Left/Right (a day), Up/Down (a week), PgUp/PgDn (a
// month) and Ctrl+PgUp/Ctrl+PgDn (a year). Moving by months or years keeps the day of the month
// where it can and otherwise takes the month's last day (31 January + a month = 28 or 29
// February). A move that would leave the runtime's dates (1801..9999) is refused.
//
// Picking a day (a click on it, or Enter or Space on the highlighted day) selects it: Response
// becomes RequestCompleted (1), SelectedDate that day's day number, and the window closes. Esc
// closes without a choice. The close button and the close box close without a choice too, unless
// SelectOnClose is 1 and the highlight was moved away from the date first shown: then the
// highlighted day is selected. Without a choice Response is RequestCancelled (2) and SelectedDate
// keeps its value. When the window cannot open (not a program thread, the program is ending)
// Ask returns RequestCancelled at once and OpenFailure says why.
//
// Threads: a CalendarClass belongs to the program thread that uses it; call Ask on that thread.

#include <array>
#include <cstdint>
#include <string>

#include "framework/calendar_texts.h"
#include "runtime/frontend.h"
#include "runtime/window.h"

namespace fw {

class CalendarClass {
 public:
  // Control numbers of the calendar window.
  static constexpr int kMonthLine = 1;
  static constexpr int kFirstMoveButton = 2;  // + CalendarMove: previous year .. next year
  static constexpr int kFirstDayHeader = 8;   // + column 0..6
  static constexpr int kFirstDayCell = 15;    // + 7 * row + column (row 0..5, column 0..6)
  static constexpr int kTodayButton = 57;
  static constexpr int kCloseButton = 58;
  static constexpr int kRows = 6;
  static constexpr int kColumns = 7;
  static constexpr int kMonthLineMax = 15;

  static constexpr int moveButton(CalendarMove m) { return kFirstMoveButton + m; }
  static constexpr int dayHeader(int column) { return kFirstDayHeader + column; }
  static constexpr int dayCell(int row, int column) { return kFirstDayCell + kColumns * row + column; }

  // ---- Fields set by the caller -------------------------------------------------------------
  // Weekday of the first column: 1 Monday, 2 Tuesday .. 6 Saturday, 7 Sunday. Any other value
  // counts as 7, so the headers read Sunday to Saturday.
  int FirstWeekDay = 7;
  // Colours of the day numbers (0xBBGGRR): Sundays, Saturdays, holidays (IsHoliday) and the
  // other days. DayColor says which applies to a date; the runtime's window model carries no
  // colours yet, so the window does not show them.
  std::int32_t ColorSunday = 0x0000FF;
  std::int32_t ColorSaturday = 0x0000FF;
  std::int32_t ColorOther = 0;
  std::int32_t ColorHoliday = 0x008000;
  // 1: closing with the close button or the close box after moving the highlight selects the
  // highlighted day. 0: closing never selects; only picking a day does.
  int SelectOnClose = 0;
  // 1: the day numbers stand at the right of their cells; 0: as buttons place their captions.
  int RightAlignment = 0;
  // The words shown; a copy of the program's set (CalendarTextsInUse) taken at construction.
  CalendarTexts Texts;

  // ---- Results ------------------------------------------------------------------------------
  int Response = 0;              // RequestCompleted (1) a day was chosen, RequestCancelled (2) not
  std::int32_t SelectedDate = 0; // the chosen day number; unchanged when no day was chosen
  rt::OpenResult OpenFailure = rt::OpenResult::Ok;  // why the last Ask could not open its window

  CalendarClass();
  virtual ~CalendarClass() = default;

  // Runs the window (see above) with `caption` as its title, showing the month of `date` with
  // that day highlighted (today when `date` is no date). Returns Response.
  int Ask(const std::string& caption, std::int32_t date);

  // Which colour field applies to `date`: ColorHoliday for a holiday, else ColorSunday or
  // ColorSaturday on those days, else ColorOther.
  std::int32_t DayColor(std::int32_t date) const;
  // Holidays of the calendar; the framework knows none. A program may override it.
  virtual bool IsHoliday(std::int32_t date) const;

  // ---- Date arithmetic of the window (pure) -------------------------------------------------
  // `date` moved by one step of `move`, keeping the day of the month where the target month is
  // long enough; 0 when `date` is no date or the result would not be one.
  static std::int32_t Moved(std::int32_t date, CalendarMove move);
  // The weekday (rt::weekday numbering: 0 Sunday .. 6 Saturday) of the first column.
  static int FirstColumnWeekday(int first_week_day);
  // The day number shown in the first cell of the grid of `year`/`month`: the first day of the
  // month, or the last day before it that falls in the first column (it may lie before the first
  // date of the runtime: only the month's own days are shown).
  static std::int32_t GridStart(int year, int month, int first_week_day);
  // "<month name> <year>" from `texts`, cut to kMonthLineMax characters.
  static std::string MonthLine(const CalendarTexts& texts, int year, int month);

 private:
  rt::WindowDecl Layout(const std::string& caption) const;
  // Fills month line, headers and cells for the highlighted day, and gives that day the focus.
  void Show(rt::Window& window);
  // Moves the highlight (false, and it stays, when `date` is no date); the highlighted day gets
  // the focus either way.
  bool Highlight(rt::Window& window, std::int32_t date);
  void Choose(std::int32_t date);
  // The day of the cell, 0 when `feq` is not a cell of the month shown.
  std::int32_t CellDate(int feq) const;

  std::int32_t highlighted_ = 0;
  std::int32_t first_shown_ = 0;
  std::int32_t grid_start_ = 0;
  int shown_year_ = 0, shown_month_ = 0;
  bool done_ = false;
};

}  // namespace fw
