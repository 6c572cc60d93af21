// The calendar window driven as a user drives it: the month grid under its weekday headers, the
// navigation buttons and keys (with the day clamped to short months and leap years), today,
// picking a day, closing with and without a choice, and the texts a program installs.
#include "framework/calendar_class.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "framework/calendar_texts.h"
#include "framework/request_codes.h"
#include "runtime/date.h"
#include "runtime/event.h"
#include "runtime/window.h"
#include "ui/scripted/program_driver.h"

namespace {

using fw::CalendarClass;
using scripted::Program;

constexpr const char* kCaller = "Caller";
constexpr const char* kCaption = "Select a Date";
constexpr int kPickButton = 1;
constexpr std::int32_t kPreviousChoice = 4242;  // SelectedDate before the calendar opens

// How the caller's window sets up the calendar for the next "..." press, and what it got back.
struct CallSetup {
  std::int32_t date = 0;
  int first_week_day = 7;
  int select_on_close = 0;
  int right_alignment = 0;
};
struct Outcome {
  int asks = 0;
  int returned = 0;
  int response = 0;
  std::int32_t selected = 0;
};
std::mutex g_mu;
CallSetup g_setup;
Outcome g_outcome;

void storeSetup(const CallSetup& s) {
  std::lock_guard lock(g_mu);
  g_setup = s;
}
Outcome outcome() {
  std::lock_guard lock(g_mu);
  return g_outcome;
}

// A caller window whose button opens the calendar on the caller's thread, as a form's date button does.
void callerProc() {
  rt::WindowDecl decl(kCaller);
  decl.size(120, 60).control(rt::ControlDecl::button(kPickButton, "...").at(4, 4, 12, 12));
  rt::Window win;
  if (win.open(decl) != rt::OpenResult::Ok) return;
  while (win.accept()) {
    if (rt::event() == rt::EVENT_Accepted && rt::field() == kPickButton) {
      CallSetup s;
      {
        std::lock_guard lock(g_mu);
        s = g_setup;
      }
      CalendarClass calendar;
      calendar.FirstWeekDay = s.first_week_day;
      calendar.SelectOnClose = s.select_on_close;
      calendar.RightAlignment = s.right_alignment;
      calendar.SelectedDate = kPreviousChoice;
      int returned = calendar.Ask(kCaption, s.date);
      std::lock_guard lock(g_mu);
      g_outcome.asks++;
      g_outcome.returned = returned;
      g_outcome.response = calendar.Response;
      g_outcome.selected = calendar.SelectedDate;
    } else if (rt::event() == rt::EVENT_CloseWindow) {
      win.close();
    }
  }
}

std::int32_t ymd(int y, int m, int d) { return rt::dateFromYmd(y, m, d); }

class Calendar : public testing::Test {
 protected:
  void SetUp() override {
    fw::ResetCalendarTexts();
    {
      std::lock_guard lock(g_mu);
      g_outcome = Outcome{};
    }
    program_ = std::make_unique<Program>(callerProc);
    ASSERT_TRUE(p().waitIdle());
  }
  void TearDown() override {
    program_.reset();
    fw::ResetCalendarTexts();
  }

  Program& p() { return *program_; }

  testing::AssertionResult open(const CallSetup& s) {
    storeSetup(s);
    auto r = p().click(kCaller, kPickButton);
    if (!r) return r;
    if (!p().hasWindow(kCaption)) return testing::AssertionFailure() << "the calendar did not open\n" << p().dump();
    return testing::AssertionSuccess();
  }
  testing::AssertionResult open(std::int32_t date) {
    CallSetup s;
    s.date = date;
    return open(s);
  }

  std::string monthLine() { return p().text(kCaption, CalendarClass::kMonthLine); }
  // The caption of the highlighted (default) day and the control showing it.
  std::string highlightedDay(int* feq = nullptr) {
    auto v = p().window(kCaption);
    if (!v) return "(no calendar)";
    for (const auto& c : v->controls)
      if (c.is_default && c.feq >= CalendarClass::dayCell(0, 0) &&
          c.feq <= CalendarClass::dayCell(CalendarClass::kRows - 1, CalendarClass::kColumns - 1)) {
        if (feq) *feq = c.feq;
        return c.text;
      }
    return "(none)";
  }
  std::vector<std::string> headers() {
    std::vector<std::string> out;
    for (int c = 0; c < CalendarClass::kColumns; ++c) out.push_back(p().text(kCaption, CalendarClass::dayHeader(c)));
    return out;
  }
  // The captions of the visible day cells, in grid order, and the grid position of the first.
  std::vector<std::string> visibleDays(int* first_row = nullptr, int* first_col = nullptr) {
    std::vector<std::string> out;
    for (int r = 0; r < CalendarClass::kRows; ++r)
      for (int c = 0; c < CalendarClass::kColumns; ++c) {
        int feq = CalendarClass::dayCell(r, c);
        if (p().hidden(kCaption, feq)) continue;
        if (out.empty() && first_row) *first_row = r;
        if (out.empty() && first_col) *first_col = c;
        out.push_back(p().text(kCaption, feq));
      }
    return out;
  }
  int cellShowing(const std::string& day) {
    for (int i = 0; i < CalendarClass::kRows * CalendarClass::kColumns; ++i) {
      int feq = CalendarClass::kFirstDayCell + i;
      if (!p().hidden(kCaption, feq) && p().text(kCaption, feq) == day) return feq;
    }
    return 0;
  }

  std::unique_ptr<Program> program_;
};

std::vector<std::string> daysUpTo(int n) {
  std::vector<std::string> out;
  for (int d = 1; d <= n; ++d) out.push_back(std::to_string(d));
  return out;
}

TEST_F(Calendar, EnglishDefaultsShowTheMonthOfTheDateWithThatDayHighlighted) {
  ASSERT_TRUE(open(ymd(2012, 3, 15)));
  EXPECT_EQ(p().title(kCaption), kCaption);
  EXPECT_EQ(monthLine(), "March 2012");
  EXPECT_EQ(headers(), (std::vector<std::string>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
  EXPECT_EQ(p().text(kCaption, CalendarClass::kTodayButton), "&Today");
  EXPECT_EQ(p().text(kCaption, CalendarClass::kCloseButton), "&Close");
  const char* tips[] = {"Previous Year", "Previous Month", "Previous Week", "Next Week", "Next Month", "Next Year"};
  for (int m = 0; m < fw::CalendarMove_Count; ++m)
    EXPECT_EQ(p().control(kCaption, CalendarClass::moveButton(static_cast<fw::CalendarMove>(m)))->tip, tips[m]);
  int feq = 0;
  EXPECT_EQ(highlightedDay(&feq), "15");
  EXPECT_EQ(p().focus(kCaption), feq) << "the highlighted day holds the focus";
}

TEST_F(Calendar, TheCallersWindowWaitsWhileTheCalendarIsOpen) {
  ASSERT_TRUE(open(ymd(2012, 3, 15)));
  EXPECT_FALSE(p().takesInput(kCaller));
  EXPECT_TRUE(p().takesInput(kCaption));
  ASSERT_TRUE(p().pressKey(kCaption, rt::EscKey));
  EXPECT_FALSE(p().hasWindow(kCaption));
  EXPECT_TRUE(p().takesInput(kCaller));
  EXPECT_EQ(outcome().asks, 1);
}

struct GridCase {
  int year, month, first_week_day;
  std::vector<std::string> headers;
  int first_row, first_col;  // where day 1 stands
  int last_row, last_col;    // where the month's last day stands
};

TEST_F(Calendar, TheGridPutsEveryDayUnderItsWeekday) {
  const std::vector<std::string> sunday_first{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const std::vector<std::string> monday_first{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  const std::vector<std::string> saturday_first{"Sat", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri"};
  const GridCase cases[] = {
      {2012, 3, 7, sunday_first, 0, 4, 4, 6},    // 1 March 2012 a Thursday, 31 a Saturday
      {2012, 3, 1, monday_first, 0, 3, 4, 5},
      {2012, 3, 6, saturday_first, 0, 5, 5, 0},
      {2012, 3, 0, sunday_first, 0, 4, 4, 6},    // out of range: Sunday first
      {2012, 9, 7, sunday_first, 0, 6, 5, 0},    // 1 September 2012 a Saturday: six weeks
      {2015, 2, 7, sunday_first, 0, 0, 3, 6},    // 1 February 2015 a Sunday: four full weeks
      {2012, 2, 1, monday_first, 0, 2, 4, 2},    // leap February: 29 days
      {1801, 1, 7, sunday_first, 0, 4, 4, 6},    // the runtime's first month
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << " first week day " << c.first_week_day);
    CallSetup s;
    s.date = ymd(c.year, c.month, 10);
    s.first_week_day = c.first_week_day;
    ASSERT_TRUE(open(s));
    EXPECT_EQ(headers(), c.headers);
    int row = -1, col = -1;
    EXPECT_EQ(visibleDays(&row, &col), daysUpTo(rt::daysInMonth(c.year, c.month)));
    EXPECT_EQ(row, c.first_row);
    EXPECT_EQ(col, c.first_col);
    EXPECT_EQ(p().text(kCaption, CalendarClass::dayCell(c.last_row, c.last_col)),
              std::to_string(rt::daysInMonth(c.year, c.month)));
    ASSERT_TRUE(p().pressKey(kCaption, rt::EscKey));
  }
}

struct MoveCase {
  std::int32_t start;
  int button;  // a control to click, or 0 to press `key`
  int key;
  const char* month_line;
  const char* day;
};

TEST_F(Calendar, NavigationMovesTheHighlightByTheRightAmount) {
  using fw::CalendarMove;
  auto b = [](CalendarMove m) { return CalendarClass::moveButton(m); };
  const MoveCase cases[] = {
      {ymd(2012, 3, 15), b(fw::CalendarMove_PreviousYear), 0, "March 2011", "15"},
      {ymd(2012, 3, 15), b(fw::CalendarMove_NextYear), 0, "March 2013", "15"},
      {ymd(2012, 2, 29), b(fw::CalendarMove_PreviousYear), 0, "February 2011", "28"},
      {ymd(2012, 2, 29), b(fw::CalendarMove_NextYear), 0, "February 2013", "28"},
      {ymd(2011, 2, 28), b(fw::CalendarMove_NextYear), 0, "February 2012", "28"},
      {ymd(2012, 1, 31), b(fw::CalendarMove_NextMonth), 0, "February 2012", "29"},
      {ymd(2013, 1, 31), b(fw::CalendarMove_NextMonth), 0, "February 2013", "28"},
      {ymd(1900, 1, 31), b(fw::CalendarMove_NextMonth), 0, "February 1900", "28"},  // not a leap year
      {ymd(2000, 1, 31), b(fw::CalendarMove_NextMonth), 0, "February 2000", "29"},  // a leap year
      {ymd(2012, 3, 31), b(fw::CalendarMove_PreviousMonth), 0, "February 2012", "29"},
      {ymd(2012, 5, 31), b(fw::CalendarMove_PreviousMonth), 0, "April 2012", "30"},
      {ymd(2012, 1, 15), b(fw::CalendarMove_PreviousMonth), 0, "December 2011", "15"},
      {ymd(2012, 12, 15), b(fw::CalendarMove_NextMonth), 0, "January 2013", "15"},
      {ymd(2012, 3, 3), b(fw::CalendarMove_PreviousWeek), 0, "February 2012", "25"},
      {ymd(2012, 3, 28), b(fw::CalendarMove_NextWeek), 0, "April 2012", "4"},
      {ymd(2012, 12, 31), b(fw::CalendarMove_NextWeek), 0, "January 2013", "7"},
      {ymd(2012, 3, 15), b(fw::CalendarMove_NextWeek), 0, "March 2012", "22"},
      // Keys.
      {ymd(2012, 3, 1), 0, rt::LeftKey, "February 2012", "29"},
      {ymd(2012, 12, 31), 0, rt::RightKey, "January 2013", "1"},
      {ymd(2012, 3, 5), 0, rt::UpKey, "February 2012", "27"},
      {ymd(2012, 3, 29), 0, rt::DownKey, "April 2012", "5"},
      {ymd(2012, 3, 31), 0, rt::PgUpKey, "February 2012", "29"},
      {ymd(2012, 10, 31), 0, rt::PgDnKey, "November 2012", "30"},
      {ymd(2012, 2, 29), 0, rt::CtrlMod + rt::PgUpKey, "February 2011", "28"},
      {ymd(2012, 2, 29), 0, rt::CtrlMod + rt::PgDnKey, "February 2013", "28"},
      // Moves past the runtime's dates are refused.
      {ymd(1801, 1, 3), b(fw::CalendarMove_PreviousWeek), 0, "January 1801", "3"},
      {ymd(1801, 1, 1), 0, rt::LeftKey, "January 1801", "1"},
      {ymd(1801, 6, 1), b(fw::CalendarMove_PreviousYear), 0, "June 1801", "1"},
      {ymd(9999, 12, 31), b(fw::CalendarMove_NextMonth), 0, "December 9999", "31"},
      {ymd(9999, 12, 31), 0, rt::RightKey, "December 9999", "31"},
  };
  for (const auto& c : cases) {
    rt::Ymd s = rt::ymdFromDate(c.start);
    SCOPED_TRACE(testing::Message() << s.day << "/" << s.month << "/" << s.year << " button " << c.button
                                    << " key " << c.key);
    ASSERT_TRUE(open(c.start));
    if (c.button != 0) {
      ASSERT_TRUE(p().click(kCaption, c.button));
    } else {
      ASSERT_TRUE(p().pressKey(kCaption, c.key));
    }
    EXPECT_EQ(monthLine(), c.month_line);
    int feq = 0;
    EXPECT_EQ(highlightedDay(&feq), c.day);
    EXPECT_EQ(feq, cellShowing(c.day));
    // Enter picks the highlighted day: the choice is the date the highlight shows.
    ASSERT_TRUE(p().pressKey(kCaption, rt::EnterKey));
    ASSERT_FALSE(p().hasWindow(kCaption));
    Outcome o = outcome();
    EXPECT_EQ(o.response, fw::RequestCompleted);
    rt::Ymd chosen = rt::ymdFromDate(o.selected);
    EXPECT_EQ(std::to_string(chosen.day), c.day);
    EXPECT_EQ(CalendarClass::MonthLine(fw::EnglishCalendarTexts(), chosen.year, chosen.month), c.month_line);
  }
}

TEST_F(Calendar, MovesAddUpOverSeveralSteps) {
  ASSERT_TRUE(open(ymd(2012, 1, 31)));
  const int next_month = CalendarClass::moveButton(fw::CalendarMove_NextMonth);
  ASSERT_TRUE(p().click(kCaption, next_month));  // 29 February
  ASSERT_TRUE(p().click(kCaption, next_month));  // the day stays 29 from now on
  EXPECT_EQ(monthLine(), "March 2012");
  EXPECT_EQ(highlightedDay(), "29");
  ASSERT_TRUE(p().click(kCaption, CalendarClass::moveButton(fw::CalendarMove_PreviousWeek)));
  ASSERT_TRUE(p().click(kCaption, CalendarClass::moveButton(fw::CalendarMove_PreviousWeek)));
  ASSERT_TRUE(p().click(kCaption, CalendarClass::moveButton(fw::CalendarMove_PreviousWeek)));
  EXPECT_EQ(monthLine(), "March 2012");
  EXPECT_EQ(highlightedDay(), "8");
}

TEST_F(Calendar, TodayShowsTodaysMonthAndDay) {
  ASSERT_TRUE(open(ymd(1999, 7, 4)));
  ASSERT_TRUE(p().click(kCaption, CalendarClass::kTodayButton));
  rt::Ymd t = rt::ymdFromDate(rt::today());
  EXPECT_EQ(monthLine(), CalendarClass::MonthLine(fw::EnglishCalendarTexts(), t.year, t.month));
  EXPECT_EQ(highlightedDay(), std::to_string(t.day));
  EXPECT_TRUE(p().hasWindow(kCaption)) << "today only moves the highlight";
}

TEST_F(Calendar, NoDateToShowShowsToday) {
  for (std::int32_t date : {std::int32_t{0}, std::int32_t{-5}, rt::kLastDate + 1}) {
    SCOPED_TRACE(date);
    ASSERT_TRUE(open(date));
    rt::Ymd t = rt::ymdFromDate(rt::today());
    EXPECT_EQ(monthLine(), CalendarClass::MonthLine(fw::EnglishCalendarTexts(), t.year, t.month));
    EXPECT_EQ(highlightedDay(), std::to_string(t.day));
    ASSERT_TRUE(p().pressKey(kCaption, rt::EscKey));
  }
}

TEST_F(Calendar, ClickingADayPicksIt) {
  ASSERT_TRUE(open(ymd(2012, 3, 15)));
  ASSERT_TRUE(p().click(kCaption, CalendarClass::moveButton(fw::CalendarMove_NextMonth)));
  int feq = cellShowing("20");
  ASSERT_NE(feq, 0);
  ASSERT_TRUE(p().click(kCaption, feq));
  EXPECT_FALSE(p().hasWindow(kCaption));
  Outcome o = outcome();
  EXPECT_EQ(o.returned, fw::RequestCompleted);
  EXPECT_EQ(o.response, fw::RequestCompleted);
  EXPECT_EQ(o.selected, ymd(2012, 4, 20));
}

TEST_F(Calendar, HiddenCellsOfOtherMonthsCannotBePicked) {
  ASSERT_TRUE(open(ymd(2012, 3, 15)));
  ASSERT_TRUE(p().hidden(kCaption, CalendarClass::dayCell(0, 0)));
  ASSERT_TRUE(p().click(kCaption, CalendarClass::dayCell(0, 0)));
  EXPECT_TRUE(p().hasWindow(kCaption));
  EXPECT_EQ(outcome().asks, 0);
}

struct CloseCase {
  const char* how;
  int select_on_close;
  bool move_first;
  int response;
  std::int32_t selected;
};

TEST_F(Calendar, ClosingChoosesOnlyWhenSelectOnCloseAsksForIt) {
  const std::int32_t start = ymd(2012, 3, 15);
  const std::int32_t moved = ymd(2012, 3, 16);
  const CloseCase cases[] = {
      {"esc", 0, false, fw::RequestCancelled, kPreviousChoice},
      {"esc", 0, true, fw::RequestCancelled, kPreviousChoice},
      {"esc", 1, true, fw::RequestCancelled, kPreviousChoice},
      {"close button", 0, true, fw::RequestCancelled, kPreviousChoice},
      {"close box", 0, true, fw::RequestCancelled, kPreviousChoice},
      {"close button", 1, false, fw::RequestCancelled, kPreviousChoice},
      {"close button", 1, true, fw::RequestCompleted, moved},
      {"close box", 1, true, fw::RequestCompleted, moved},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.how << " select on close " << c.select_on_close << " moved " << c.move_first);
    CallSetup s;
    s.date = start;
    s.select_on_close = c.select_on_close;
    ASSERT_TRUE(open(s));
    if (c.move_first) {
      ASSERT_TRUE(p().pressKey(kCaption, rt::RightKey));
    }
    std::string how = c.how;
    if (how == "esc") {
      ASSERT_TRUE(p().pressKey(kCaption, rt::EscKey));
    } else if (how == "close button") {
      ASSERT_TRUE(p().click(kCaption, CalendarClass::kCloseButton));
    } else {
      ASSERT_TRUE(p().closeWindow(kCaption));
    }
    EXPECT_FALSE(p().hasWindow(kCaption));
    Outcome o = outcome();
    EXPECT_EQ(o.response, c.response);
    EXPECT_EQ(o.returned, c.response);
    EXPECT_EQ(o.selected, c.selected);
  }
}

TEST_F(Calendar, RightAlignmentPutsTheDayNumbersRight) {
  for (int on : {0, 1}) {
    CallSetup s;
    s.date = ymd(2012, 3, 15);
    s.right_alignment = on;
    ASSERT_TRUE(open(s));
    EXPECT_EQ(p().control(kCaption, cellShowing("15"))->right_aligned, on == 1);
    ASSERT_TRUE(p().pressKey(kCaption, rt::EscKey));
  }
}

TEST_F(Calendar, AProgramsTextsShowInCalendarsOpenedAfterwards) {
  fw::CalendarTexts texts = fw::EnglishCalendarTexts();
  ASSERT_TRUE(texts.SetMonthName(3, "Mars"));
  texts.DayNames = {"di", "lu", "ma", "me", "je", "ve", "sa"};
  texts.TodayButton = "&Aujourd'hui";
  texts.CloseButton = "&Fermer";
  texts.Tips[fw::CalendarMove_NextYear] = "Annee suivante";
  fw::SetCalendarTexts(texts);

  ASSERT_TRUE(open(ymd(2012, 3, 15)));
  EXPECT_EQ(monthLine(), "Mars 2012");
  EXPECT_EQ(headers(), (std::vector<std::string>{"di", "lu", "ma", "me", "je", "ve", "sa"}));
  EXPECT_EQ(p().text(kCaption, CalendarClass::kTodayButton), "&Aujourd'hui");
  EXPECT_EQ(p().text(kCaption, CalendarClass::kCloseButton), "&Fermer");
  EXPECT_EQ(p().control(kCaption, CalendarClass::moveButton(fw::CalendarMove_NextYear))->tip, "Annee suivante");
  ASSERT_TRUE(p().pressKey(kCaption, rt::EscKey));

  fw::ResetCalendarTexts();
  ASSERT_TRUE(open(ymd(2012, 3, 15)));
  EXPECT_EQ(monthLine(), "March 2012");
}

TEST(CalendarTexts, MonthNamesLiveInPaddedTenCharacterSlots) {
  fw::CalendarTexts t = fw::EnglishCalendarTexts();
  EXPECT_EQ(t.MonthSlot(5), "May       ");
  EXPECT_EQ(t.MonthSlot(9), "September ");
  EXPECT_EQ(t.MonthName(5), "May");
  EXPECT_TRUE(t.SetMonthName(9, "Septembrie"));  // exactly one slot
  EXPECT_EQ(t.MonthSlot(9), "Septembrie");
  EXPECT_EQ(t.MonthName(10), "October") << "the next slot is untouched";
  EXPECT_EQ(CalendarClass::MonthLine(t, 2012, 9), "Septembrie 2012");

  const fw::CalendarTexts before = t;
  EXPECT_FALSE(t.SetMonthName(9, "Septembrie!"));
  EXPECT_FALSE(t.SetMonthName(0, "Nada"));
  EXPECT_FALSE(t.SetMonthName(13, "Nada"));
  EXPECT_EQ(t, before) << "a refused name changes nothing";
  EXPECT_EQ(t.MonthName(13), "");
}

TEST(CalendarDayColor, HolidaysThenWeekendsThenOtherDays) {
  struct Holidays : CalendarClass {
    bool IsHoliday(std::int32_t date) const override { return date == rt::dateFromYmd(2012, 12, 25) || date == rt::dateFromYmd(2012, 12, 30); }
  } cal;
  cal.ColorSunday = 1;
  cal.ColorSaturday = 2;
  cal.ColorOther = 3;
  cal.ColorHoliday = 4;
  const struct {
    std::int32_t date;
    std::int32_t color;
  } cases[] = {
      {ymd(2012, 12, 23), 1},  // Sunday
      {ymd(2012, 12, 29), 2},  // Saturday
      {ymd(2012, 12, 26), 3},  // Wednesday
      {ymd(2012, 12, 25), 4},  // a Tuesday holiday
      {ymd(2012, 12, 30), 4},  // a Sunday holiday
  };
  for (const auto& c : cases) EXPECT_EQ(cal.DayColor(c.date), c.color) << c.date;
}

}  // namespace
