#pragma once
// Dates as LONG day numbers.
//
// Day 1 is Thursday 1 January 1801 and every following day adds one, in the Gregorian calendar,
// up to 31 December 9999 (day 2994623). Day 0 means "no date"; a negative number or one past the
// last day is not a date either. Day numbers subtract to give a number of days and compare in
// date order. All functions are pure except today(), and may be called from any thread.

#include <cstdint>

namespace rt {

struct Ymd {
  int year = 0, month = 0, day = 0;  // all 0 for "no date"
  bool operator==(const Ymd&) const = default;
};

constexpr int kFirstDateYear = 1801;
constexpr int kLastDateYear = 9999;
constexpr std::int32_t kLastDate = 2994623;  // 31 December 9999

bool isLeapYear(int year);
// Days in the month (28..31), or 0 when month is outside 1..12.
int daysInMonth(int year, int month);

// The day number of a calendar date, or 0 when the date does not exist (31/02, month 13,
// day 0 ...) or lies outside 1801..9999.
std::int32_t dateFromYmd(int year, int month, int day);

// The calendar date of a day number; {0, 0, 0} when `date` is not a valid day number.
Ymd ymdFromDate(std::int32_t date);

bool isValidDate(std::int32_t date);

// Day of the week: 0 Sunday, 1 Monday ... 6 Saturday; -1 when `date` is not a valid day number.
int weekday(std::int32_t date);

// Today's day number in local time (the runtime's TODAY).
std::int32_t today();

}  // namespace rt
