#include "runtime/date.h"

#include <ctime>

namespace rt {
namespace {

// Days from 1 January 1970 to the given Gregorian date (negative before it). The year is
// shifted to start in March so that the leap day is the last day of the shifted year.
long long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;                                 // 0..399
  const long long doy = (153LL * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;  // 0..365
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;          // 0..146096
  return era * 146097 + doe - 719468;
}

Ymd civilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int y = static_cast<int>(yoe + era * 400 + (m <= 2));
  return Ymd{y, m, d};
}

const long long kDayZero = daysFromCivil(kFirstDateYear, 1, 1) - 1;

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

std::int32_t dateFromYmd(int year, int month, int day) {
  if (year < kFirstDateYear || year > kLastDateYear) return 0;
  if (day < 1 || day > daysInMonth(year, month)) return 0;
  return static_cast<std::int32_t>(daysFromCivil(year, month, day) - kDayZero);
}

bool isValidDate(std::int32_t date) { return date >= 1 && date <= kLastDate; }

Ymd ymdFromDate(std::int32_t date) {
  if (!isValidDate(date)) return Ymd{};
  return civilFromDays(kDayZero + date);
}

int weekday(std::int32_t date) {
  if (!isValidDate(date)) return -1;
  // Day 1 was a Thursday.
  return (date + 3) % 7;
}

std::int32_t today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return 0;
  return dateFromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace rt
