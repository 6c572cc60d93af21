#include "framework/calendar_class.h"

#include <algorithm>

#include "framework/request_codes.h"
#include "runtime/date.h"
#include "runtime/event.h"
#include "runtime/vocabulary.h"
#include "runtime/window_decl.h"

namespace fw {

namespace {

// Layout in dialog units: a row of navigation buttons around the month line, the weekday
// headers, the 6 x 7 grid of day buttons, and the two buttons at the bottom.
constexpr int kMargin = 4;
constexpr int kCellW = 22, kCellH = 15, kCellGap = 1;
constexpr int kMoveW = 15, kMoveH = 12;
constexpr int kTop = 4;
constexpr int kHeaderY = 20, kHeaderH = 10;
constexpr int kGridY = 32;
constexpr int kGridW = CalendarClass::kColumns * kCellW;
constexpr int kBottomY = kGridY + CalendarClass::kRows * (kCellH + kCellGap) + 4;
constexpr int kButtonW = 45, kButtonH = 14;
constexpr int kWindowW = kGridW + 2 * kMargin;
constexpr int kWindowH = kBottomY + kButtonH + kMargin;

const char* const kMoveCaptions[CalendarMove_Count] = {"<<<", "<<", "<", ">", ">>", ">>>"};

}  // namespace

CalendarClass::CalendarClass() : Texts(CalendarTextsInUse()) {}

std::int32_t CalendarClass::Moved(std::int32_t date, CalendarMove move) {
  if (!rt::isValidDate(date)) return 0;
  auto byMonths = [date](int months) -> std::int32_t {
    rt::Ymd d = rt::ymdFromDate(date);
    int index = d.year * 12 + (d.month - 1) + months;
    int year = index / 12, month = index % 12 + 1;
    int day = std::min(d.day, rt::daysInMonth(year, month));
    return rt::dateFromYmd(year, month, day);  // 0 outside the runtime's years
  };
  auto byDays = [date](int days) -> std::int32_t {
    std::int32_t r = date + days;
    return rt::isValidDate(r) ? r : 0;
  };
  switch (move) {
    case CalendarMove_PreviousYear: return byMonths(-12);
    case CalendarMove_PreviousMonth: return byMonths(-1);
    case CalendarMove_PreviousWeek: return byDays(-7);
    case CalendarMove_NextWeek: return byDays(7);
    case CalendarMove_NextMonth: return byMonths(1);
    case CalendarMove_NextYear: return byMonths(12);
    case CalendarMove_Count: break;
  }
  return 0;
}

int CalendarClass::FirstColumnWeekday(int first_week_day) {
  if (first_week_day < 1 || first_week_day > 7) first_week_day = 7;
  return first_week_day % 7;
}

std::int32_t CalendarClass::GridStart(int year, int month, int first_week_day) {
  std::int32_t first = rt::dateFromYmd(year, month, 1);
  if (first == 0) return 0;
  int lead = (rt::weekday(first) - FirstColumnWeekday(first_week_day) + 7) % 7;
  return first - lead;
}

std::string CalendarClass::MonthLine(const CalendarTexts& texts, int year, int month) {
  std::string line = texts.MonthName(month) + " " + std::to_string(year);
  if (line.size() > static_cast<std::size_t>(kMonthLineMax)) line.resize(kMonthLineMax);
  return line;
}

bool CalendarClass::IsHoliday(std::int32_t) const { return false; }

std::int32_t CalendarClass::DayColor(std::int32_t date) const {
  if (IsHoliday(date)) return ColorHoliday;
  switch (rt::weekday(date)) {
    case 0: return ColorSunday;
    case 6: return ColorSaturday;
    default: return ColorOther;
  }
}

rt::WindowDecl CalendarClass::Layout(const std::string& caption) const {
  rt::WindowDecl decl(caption);
  decl.size(kWindowW, kWindowH).frame(rt::FrameKind::Double).systemMenu().gray().font("MS Sans Serif", 8);

  // Navigation: three buttons back on the left, three forward on the right, the month in between.
  for (int m = 0; m < CalendarMove_Count; ++m) {
    int x = m < 3 ? kMargin + m * kMoveW : kWindowW - kMargin - (CalendarMove_Count - m) * kMoveW;
    decl.control(rt::ControlDecl::button(moveButton(static_cast<CalendarMove>(m)), kMoveCaptions[m])
                     .at(x, kTop, kMoveW, kMoveH)
                     .tip(Texts.Tips[m]));
  }
  int line_x = kMargin + 3 * kMoveW + 2;
  decl.control(rt::ControlDecl::string(kMonthLine, "")
                   .at(line_x, kTop + 2, kWindowW - 2 * line_x, kMoveH - 2));

  for (int c = 0; c < kColumns; ++c)
    decl.control(rt::ControlDecl::string(dayHeader(c), "").at(kMargin + c * kCellW, kHeaderY, kCellW, kHeaderH));
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c)
      decl.control(rt::ControlDecl::button(dayCell(r, c), "")
                       .at(kMargin + c * kCellW, kGridY + r * (kCellH + kCellGap), kCellW - kCellGap, kCellH)
                       .rightAligned(RightAlignment == 1));

  decl.control(rt::ControlDecl::button(kTodayButton, Texts.TodayButton).at(kMargin, kBottomY, kButtonW, kButtonH));
  decl.control(rt::ControlDecl::button(kCloseButton, Texts.CloseButton)
                   .at(kWindowW - kMargin - kButtonW, kBottomY, kButtonW, kButtonH));
  return decl;
}

void CalendarClass::Show(rt::Window& window) {
  rt::Ymd ymd = rt::ymdFromDate(highlighted_);
  if (ymd.year != shown_year_ || ymd.month != shown_month_) {
    shown_year_ = ymd.year;
    shown_month_ = ymd.month;
    grid_start_ = GridStart(ymd.year, ymd.month, FirstWeekDay);
    window.setText(kMonthLine, MonthLine(Texts, ymd.year, ymd.month));
    int first_weekday = FirstColumnWeekday(FirstWeekDay);
    for (int c = 0; c < kColumns; ++c) window.setText(dayHeader(c), Texts.DayNames[(first_weekday + c) % 7]);
    std::int32_t first = rt::dateFromYmd(ymd.year, ymd.month, 1);
    int days = rt::daysInMonth(ymd.year, ymd.month);
    for (int i = 0; i < kRows * kColumns; ++i) {
      int feq = kFirstDayCell + i;
      std::int32_t day = grid_start_ + i - first + 1;
      bool in_month = day >= 1 && day <= days;
      window.setText(feq, in_month ? std::to_string(day) : std::string());
      window.setFlag(feq, rt::ControlFlag::Hidden, !in_month);
    }
  }
  int cell = kFirstDayCell + static_cast<int>(highlighted_ - grid_start_);
  window.setDefaultButton(cell, true);
  window.select(cell);
}

bool CalendarClass::Highlight(rt::Window& window, std::int32_t date) {
  bool valid = rt::isValidDate(date);
  if (valid) highlighted_ = date;
  Show(window);  // a refused move still hands the focus back to the highlighted day
  return valid;
}

std::int32_t CalendarClass::CellDate(int feq) const {
  if (feq < kFirstDayCell || feq >= kFirstDayCell + kRows * kColumns) return 0;
  std::int32_t date = grid_start_ + (feq - kFirstDayCell);
  rt::Ymd ymd = rt::ymdFromDate(date);
  return ymd.year == shown_year_ && ymd.month == shown_month_ ? date : 0;
}

void CalendarClass::Choose(std::int32_t date) {
  Response = RequestCompleted;
  SelectedDate = date;
  done_ = true;
}

int CalendarClass::Ask(const std::string& caption, std::int32_t date) {
  Response = RequestCancelled;
  OpenFailure = rt::OpenResult::Ok;
  done_ = false;
  shown_year_ = shown_month_ = 0;
  highlighted_ = rt::isValidDate(date) ? date : rt::today();
  first_shown_ = highlighted_;

  rt::Window window;
  OpenFailure = window.open(Layout(caption));
  if (OpenFailure != rt::OpenResult::Ok) return Response;
  for (int key : {rt::LeftKey, rt::RightKey, rt::UpKey, rt::DownKey, rt::PgUpKey, rt::PgDnKey,
                  rt::CtrlMod + rt::PgUpKey, rt::CtrlMod + rt::PgDnKey, rt::EscKey})
    window.addAlert(0, key);
  Show(window);

  auto closeBy = [this]() {
    if (SelectOnClose == 1 && highlighted_ != first_shown_) Choose(highlighted_);
    done_ = true;
  };

  while (!done_ && window.accept()) {
    switch (rt::event()) {
      case rt::EVENT_Accepted: {
        int feq = rt::field();
        if (feq >= kFirstMoveButton && feq < kFirstMoveButton + CalendarMove_Count)
          Highlight(window, Moved(highlighted_, static_cast<CalendarMove>(feq - kFirstMoveButton)));
        else if (feq == kTodayButton)
          Highlight(window, rt::today());
        else if (feq == kCloseButton)
          closeBy();
        else if (std::int32_t picked = CellDate(feq))
          Choose(picked);
        break;
      }
      case rt::EVENT_AlertKey: {
        switch (rt::keyCode()) {
          case rt::LeftKey: Highlight(window, rt::isValidDate(highlighted_ - 1) ? highlighted_ - 1 : 0); break;
          case rt::RightKey: Highlight(window, rt::isValidDate(highlighted_ + 1) ? highlighted_ + 1 : 0); break;
          case rt::UpKey: Highlight(window, Moved(highlighted_, CalendarMove_PreviousWeek)); break;
          case rt::DownKey: Highlight(window, Moved(highlighted_, CalendarMove_NextWeek)); break;
          case rt::PgUpKey: Highlight(window, Moved(highlighted_, CalendarMove_PreviousMonth)); break;
          case rt::PgDnKey: Highlight(window, Moved(highlighted_, CalendarMove_NextMonth)); break;
          case rt::CtrlMod + rt::PgUpKey: Highlight(window, Moved(highlighted_, CalendarMove_PreviousYear)); break;
          case rt::CtrlMod + rt::PgDnKey: Highlight(window, Moved(highlighted_, CalendarMove_NextYear)); break;
          case rt::EscKey: done_ = true; break;
        }
        break;
      }
      case rt::EVENT_CloseWindow: closeBy(); break;
      case rt::EVENT_CloseDown: done_ = true; break;
    }
  }
  window.close();
  return Response;
}

}  // namespace fw
