#include "runtime/date.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>

namespace rt {
namespace {

TEST(Date, KnownWeekdays) {
  struct Case { int y, m, d, weekday; };
  const Case cases[] = {
      {1801, 1, 1, 4},   {2012, 3, 1, 4},  {1976, 7, 4, 0},   {2000, 2, 29, 2},
      {2000, 1, 1, 6},   {2001, 9, 11, 2}, {1900, 3, 1, 4},   {1969, 7, 20, 0},
      {1945, 5, 8, 2},   {9999, 12, 31, 5},
  };
  for (const auto& c : cases) {
    const std::int32_t day = dateFromYmd(c.y, c.m, c.d);
    ASSERT_NE(day, 0) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(weekday(day), c.weekday) << c.y << "-" << c.m << "-" << c.d;
  }
}

TEST(Date, Epoch) {
  EXPECT_EQ(dateFromYmd(1801, 1, 1), 1);
  EXPECT_EQ(dateFromYmd(1801, 12, 31), 365);
  EXPECT_EQ(dateFromYmd(1802, 1, 1), 366);
  EXPECT_EQ(dateFromYmd(9999, 12, 31), kLastDate);
  EXPECT_EQ(dateFromYmd(2012, 3, 1) - dateFromYmd(2012, 2, 28), 2);  // leap day between
  EXPECT_EQ(dateFromYmd(1900, 3, 1) - dateFromYmd(1900, 2, 28), 1);  // none in 1900
}

TEST(Date, LeapYearsAndMonthLengths) {
  struct Case { int year, month, days; };
  const Case cases[] = {
      {2012, 2, 29}, {2011, 2, 28}, {2000, 2, 29}, {1900, 2, 28}, {2100, 2, 28},
      {2400, 2, 29}, {1804, 2, 29}, {2012, 1, 31}, {2012, 4, 30}, {2012, 12, 31},
      {2012, 0, 0},  {2012, 13, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(daysInMonth(c.year, c.month), c.days) << c.year << "/" << c.month;
  }
}

TEST(Date, InvalidDatesGiveZero) {
  struct Case { int y, m, d; };
  const Case cases[] = {
      {2012, 2, 31}, {2011, 2, 29}, {1900, 2, 29}, {2012, 4, 31}, {2012, 0, 1},
      {2012, 13, 1}, {2012, 1, 0},  {2012, 1, 32}, {1800, 12, 31}, {10000, 1, 1},
      {-1, 1, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dateFromYmd(c.y, c.m, c.d), 0) << c.y << "-" << c.m << "-" << c.d;
  }
}

TEST(Date, NotADayNumber) {
  for (std::int32_t day : {0, -1, kLastDate + 1, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(ymdFromDate(day), Ymd{}) << day;
    EXPECT_EQ(weekday(day), -1) << day;
    EXPECT_FALSE(isValidDate(day)) << day;
  }
}

TEST(Date, EveryDayRoundTripsAndFollowsTheCalendar) {
  Ymd expected{1801, 1, 1};
  int expectedWeekday = 4;
  for (std::int32_t day = 1; day <= kLastDate; ++day) {
    const Ymd got = ymdFromDate(day);
    ASSERT_EQ(got, expected) << day;
    ASSERT_EQ(dateFromYmd(got.year, got.month, got.day), day);
    ASSERT_EQ(weekday(day), expectedWeekday) << day;
    expectedWeekday = (expectedWeekday + 1) % 7;
    if (++expected.day > daysInMonth(expected.year, expected.month)) {
      expected.day = 1;
      if (++expected.month > 12) {
        expected.month = 1;
        ++expected.year;
      }
    }
  }
}

TEST(Date, TodayIsTheLocalDate) {
  // Read the clock on both sides so that a test running across midnight still passes.
  const std::time_t before = std::time(nullptr);
  const std::int32_t day = today();
  const std::time_t after = std::time(nullptr);
  auto local = [](std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return dateFromYmd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  };
  EXPECT_TRUE(day == local(before) || day == local(after));
  EXPECT_TRUE(isValidDate(day));
}

}  // namespace
}  // namespace rt
