#pragma once
// CalendarTexts: the words the calendar window shows (month names, weekday column headers, the
// captions of its two buttons and the tips of its six navigation buttons).
//
// The framework's defaults are English. A program that speaks another language installs its own
// set once at start-up with SetCalendarTexts; every calendar built afterwards copies the set in
// use when it is constructed, and may still change its own copy.
//
// Month names are kept as twelve 10-character slots padded with spaces (January first); they are
// shown trimmed. Texts are Windows-1252 bytes, as everything in the runtime's window model.
//
// Failure: SetMonthName refuses (false) a month outside 1..12 or a name longer than a slot.
// Threads: a CalendarTexts value belongs to its owner; SetCalendarTexts, CalendarTextsInUse and
// ResetCalendarTexts share one process-wide set under a lock and may be called on any thread.

#include <array>
#include <string>
#include <string_view>

namespace fw {

// The six navigation buttons of the calendar, in the order they stand on the window.
enum CalendarMove {
  CalendarMove_PreviousYear = 0,
  CalendarMove_PreviousMonth,
  CalendarMove_PreviousWeek,
  CalendarMove_NextWeek,
  CalendarMove_NextMonth,
  CalendarMove_NextYear,
  CalendarMove_Count
};

struct CalendarTexts {
  static constexpr int kMonthSlot = 10;

  // Twelve slots of kMonthSlot characters, padded with spaces.
  std::array<char, 12 * kMonthSlot> MonthSlots{};
  // Weekday column headers, Sunday first.
  std::array<std::string, 7> DayNames;
  std::string TodayButton;  // moves the highlight to today
  std::string CloseButton;  // closes the window
  // Tips of the navigation buttons, indexed by CalendarMove.
  std::array<std::string, CalendarMove_Count> Tips;

  CalendarTexts() { MonthSlots.fill(' '); }

  // Month `month` (1..12) without its padding; empty for a month outside 1..12.
  std::string MonthName(int month) const;
  // Puts `name` into the slot of `month`, padded with spaces.
  [[nodiscard]] bool SetMonthName(int month, std::string_view name);
  // The slot of `month` as stored (kMonthSlot characters); empty for a month outside 1..12.
  std::string_view MonthSlot(int month) const;

  bool operator==(const CalendarTexts&) const = default;
};

// The framework's English set: "January".., "Sun".."Sat", "&Today", "&Close" and the tips
// "Previous Year" .. "Next Year".
CalendarTexts EnglishCalendarTexts();

// The process-wide set that new calendars start from.
void SetCalendarTexts(const CalendarTexts& texts);
CalendarTexts CalendarTextsInUse();
// Back to the English set (a program that ends leaves no texts behind for the next one).
void ResetCalendarTexts();

}  // namespace fw
