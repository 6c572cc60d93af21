#include "framework/calendar_texts.h"

#include <mutex>

namespace fw {

namespace {

// The set that new calendars copy: one per process, because the program's language is.
std::mutex g_texts_mutex;

CalendarTexts& textsInUse() {
  static CalendarTexts texts = EnglishCalendarTexts();
  return texts;
}

}  // namespace

std::string_view CalendarTexts::MonthSlot(int month) const {
  if (month < 1 || month > 12) return {};
  return std::string_view(MonthSlots.data() + (month - 1) * kMonthSlot, kMonthSlot);
}

std::string CalendarTexts::MonthName(int month) const {
  std::string_view slot = MonthSlot(month);
  std::size_t end = slot.find_last_not_of(' ');
  std::size_t begin = slot.find_first_not_of(' ');
  if (end == std::string_view::npos) return {};
  return std::string(slot.substr(begin, end - begin + 1));
}

bool CalendarTexts::SetMonthName(int month, std::string_view name) {
  if (month < 1 || month > 12 || name.size() > static_cast<std::size_t>(kMonthSlot)) return false;
  char* slot = MonthSlots.data() + (month - 1) * kMonthSlot;
  for (int i = 0; i < kMonthSlot; ++i)
    slot[i] = static_cast<std::size_t>(i) < name.size() ? name[i] : ' ';
  return true;
}

CalendarTexts EnglishCalendarTexts() {
  static constexpr const char* kMonths[12] = {"January", "February", "March",     "April",
                                              "May",     "June",     "July",      "August",
                                              "September", "October", "November", "December"};
  CalendarTexts t;
  for (int m = 1; m <= 12; ++m) (void)t.SetMonthName(m, kMonths[m - 1]);
  t.DayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  t.TodayButton = "&Today";
  t.CloseButton = "&Close";
  t.Tips = {"Previous Year", "Previous Month", "Previous Week", "Next Week", "Next Month", "Next Year"};
  return t;
}

void SetCalendarTexts(const CalendarTexts& texts) {
  std::lock_guard lock(g_texts_mutex);
  textsInUse() = texts;
}

CalendarTexts CalendarTextsInUse() {
  std::lock_guard lock(g_texts_mutex);
  return textsInUse();
}

void ResetCalendarTexts() { SetCalendarTexts(EnglishCalendarTexts()); }

}  // namespace fw
