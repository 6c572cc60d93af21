#include "runtime/picture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/date.h"

namespace rt {
namespace {

Picture pic(const char* text) {
  auto p = Picture::parse(text);
  EXPECT_TRUE(p.has_value()) << text;
  return p.value_or(*Picture::parse("@s1"));
}

Decimal dec(const char* text) {
  auto d = Decimal::parse(text);
  EXPECT_TRUE(d.has_value()) << text;
  return d.value_or(Decimal());
}

TEST(Picture, ParsesThePicturesInUse) {
  struct Case {
    const char* text;
    Picture::Kind kind;
    int width, places;
    bool blank, negative, grouped, zeroFill;
    const char* canonical;
  };
  using K = Picture::Kind;
  const Case cases[] = {
      {"@n-10.2", K::Number, 10, 2, false, true, true, false, "@n-10.2"},
      {"@n-10.2B", K::Number, 10, 2, true, true, true, false, "@n-10.2B"},
      {"n-10.2B", K::Number, 10, 2, true, true, true, false, "@n-10.2B"},
      {"@n_4B", K::Number, 4, 0, true, false, false, false, "@n_4B"},
      {"n_4B", K::Number, 4, 0, true, false, false, false, "@n_4B"},
      {"@n_2B", K::Number, 2, 0, true, false, false, false, "@n_2B"},
      {"@n_4", K::Number, 4, 0, false, false, false, false, "@n_4"},
      {"@n07", K::Number, 7, 0, false, false, false, true, "@n07"},
      {"@n5", K::Number, 5, 0, false, false, true, false, "@n5"},
      {"@n-10.0", K::Number, 10, 0, false, true, true, false, "@n-10"},
      {"@N-10.2b", K::Number, 10, 2, true, true, true, false, "@n-10.2B"},
      {"@n_-10.2", K::Number, 10, 2, false, true, false, false, "@n-_10.2"},
      {"@n010", K::Number, 10, 0, false, false, false, true, "@n010"},
      {"@s21", K::String, 21, 0, false, false, false, false, "@s21"},
      {"s30", K::String, 30, 0, false, false, false, false, "@s30"},
      {"@S50", K::String, 50, 0, false, false, false, false, "@s50"},
      {"@d6", K::Date, 10, 0, false, false, false, false, "@d6"},
      {"@d6B", K::Date, 10, 0, true, false, false, false, "@d6B"},
  };
  for (const auto& c : cases) {
    auto p = Picture::parse(c.text);
    ASSERT_TRUE(p.has_value()) << c.text;
    EXPECT_EQ(p->kind(), c.kind) << c.text;
    EXPECT_EQ(p->width(), c.width) << c.text;
    EXPECT_EQ(p->places(), c.places) << c.text;
    EXPECT_EQ(p->blankWhenZero(), c.blank) << c.text;
    EXPECT_EQ(p->acceptsNegative(), c.negative) << c.text;
    EXPECT_EQ(p->groupsThousands(), c.grouped) << c.text;
    EXPECT_EQ(p->zeroFilled(), c.zeroFill) << c.text;
    EXPECT_EQ(p->text(), c.canonical) << c.text;
    EXPECT_EQ(Picture::parse(p->text()), p) << c.text;
  }
}

TEST(Picture, RefusesUnknownPictures) {
  for (const char* text : {"", "@", "@x5", "@n", "@n-", "@n.2", "@n3.2", "@n4.", "@n0", "@n--10",
                           "@n__4", "@n10.2BB", "@n10.2X", "@n10B2", "@s", "@s0", "@s30B",
                           "@s-5", "@d", "@d5", "@d1", "@d6X", "@d6.2", "@n256", "@n40.31",
                           "@s21 ", " @s21", "@@n5", "@n1234567", "@s32768"}) {
    EXPECT_FALSE(Picture::parse(text).has_value()) << text;
  }
}

TEST(Picture, FormatsNumbers) {
  struct Case { const char* picture; const char* value; const char* shown; };
  const Case cases[] = {
      {"@n-10.2", "1234.5", "  1,234.50"},
      {"@n-10.2", "-99999.99", "-99,999.99"},
      {"@n-10.2", "99999.99", " 99,999.99"},
      {"@n-10.2", "0", "      0.00"},
      {"@n-10.2", "0.5", "      0.50"},
      {"@n-10.2", "0.125", "      0.13"},
      {"@n-10.2", "-0.125", "     -0.13"},
      {"@n-10.2", "-0.004", "      0.00"},    // rounds to zero: no sign
      {"@n-10.2", "1234567.891", "1234567.89"}, // too wide with separators: without them
      {"@n-10.2", "-123456.78", "-123456.78"},
      {"@n-10.2", "12345678.9", "##########"},
      {"@n-10.2B", "0", "          "},
      {"@n-10.2B", "0.004", "          "},
      {"@n-10.2B", "-0.004", "          "},
      {"@n-10.2B", "0.005", "      0.01"},
      {"@n-10.2B", "59.97", "     59.97"},
      {"@n_4B", "12", "  12"},
      {"@n_4B", "0", "    "},
      {"@n_4B", "9999", "9999"},
      {"@n_4B", "10000", "####"},
      {"@n_4", "0", "   0"},
      {"@n_4", "-5", "  -5"},                    // shown although the entry refuses it
      {"@n_4", "1234", "1234"},
      {"@n_2B", "7", " 7"},
      {"@n_2B", "100", "##"},
      {"@n07", "42", "0000042"},
      {"@n07", "-42", "-000042"},
      {"@n07", "0", "0000000"},
      {"@n07", "1234567", "1234567"},
      {"@n07", "12345678", "#######"},
      {"@n07", "-1234567", "#######"},
      {"@n5", "1234", "1,234"},
      {"@n5", "12345", "12345"},
      {"@n5", "-1234", "-1234"},
      {"@n5", "123456", "#####"},
      {"@n5", "0", "    0"},
      {"@n-10.0", "-9999999", "-9,999,999"},
      {"@n-10.0", "2.5", "         3"},
      {"@n-10.0", "-2.5", "        -3"},
      {"@n12.2", "1234567.5", "1,234,567.50"},
      {"@n_12.2", "1234567.5", "  1234567.50"},
      {"@n013.2", "-1234.5", "-000001234.50"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pic(c.picture).format(dec(c.value)), c.shown) << c.picture << " " << c.value;
  }
  EXPECT_EQ(pic("@n_4B").format(42LL), "  42");
  EXPECT_EQ(pic("@n07").format(7LL), "0000007");
  EXPECT_EQ(pic("@n-10.2").format(Decimal::overflow()), "##########");
}

TEST(Picture, FormatsDates) {
  struct Case { const char* picture; std::int32_t day; const char* shown; };
  const Case cases[] = {
      {"@d6", dateFromYmd(2012, 3, 1), "01/03/2012"},
      {"@d6B", dateFromYmd(2012, 3, 1), "01/03/2012"},
      {"@d6B", dateFromYmd(1999, 12, 31), "31/12/1999"},
      {"@d6B", 1, "01/01/1801"},
      {"@d6B", kLastDate, "31/12/9999"},
      {"@d6B", 0, "          "},
      {"@d6", 0, "          "},
      {"@d6B", -5, "##########"},
      {"@d6B", kLastDate + 1, "##########"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pic(c.picture).formatDate(c.day), c.shown) << c.picture << " " << c.day;
  }
}

TEST(Picture, FormatsText) {
  EXPECT_EQ(pic("@s5").formatString("abcdefg"), "abcde");
  EXPECT_EQ(pic("@s30").formatString("abc"), "abc");
  EXPECT_EQ(pic("@s3").formatString("\xD1" "and\xFA"), "\xD1" "an");
  EXPECT_EQ(pic("@s5").formatString(""), "");
}

TEST(Picture, AnyPictureShowsAnyValue) {
  const std::int32_t march1 = dateFromYmd(2012, 3, 1);
  EXPECT_EQ(pic("@d6").format(static_cast<long long>(march1)), "01/03/2012");
  EXPECT_EQ(pic("@d6").format(Decimal::fromInt(march1)), "01/03/2012");
  EXPECT_EQ(pic("@d6").format(-1LL), "##########");
  EXPECT_EQ(pic("@d6").format(99999999999LL), "##########");
  EXPECT_EQ(pic("@d6").formatString("2012-03-01 and more"), "2012-03-01");
  EXPECT_EQ(pic("@s5").format(dec("12.50")), "12.50");
  EXPECT_EQ(pic("@s4").format(dec("-12.50")), "-12.");
  EXPECT_EQ(pic("@s8").formatDate(march1), std::to_string(march1));
  EXPECT_EQ(pic("@n-10.2").formatString(" 12.5"), "     12.50");
  EXPECT_EQ(pic("@n-10.2").formatString("abc"), "abc");
  EXPECT_EQ(pic("@n_6").formatDate(march1), " 77127");  // the day number itself
}

struct NumberInput {
  const char* picture;
  const char* typed;
  const char* value;  // nullptr when refused
  std::string_view error;
};

TEST(Picture, DeformatsNumbers) {
  const NumberInput cases[] = {
      {"@n-10.2", "12.5", "12.50", {}},
      {"@n-10.2", "  12.5  ", "12.50", {}},
      {"@n-10.2", "", "0.00", {}},
      {"@n-10.2", "   ", "0.00", {}},
      {"@n-10.2", "1,5", "1.50", {}},
      {"@n-10.2", "12,25", "12.25", {}},
      {"@n-10.2", "-0,75", "-0.75", {}},
      {"@n-10.2", ",5", "0.50", {}},
      {"@n-10.2", "1,500", "1500.00", {}},
      {"@n-10.2", "1,234.56", "1234.56", {}},
      {"@n-10.2", "1,234,567", "1234567.00", {}},
      {"@n-10.2", "  1,234.50", "1234.50", {}},   // its own display
      {"@n-10.2", "-99,999.99", "-99999.99", {}},
      {"@n-10.2", "1234567.89", "1234567.89", {}},
      {"@n-10.2", "0.125", "0.13", {}},
      {"@n-10.2", "-0.125", "-0.13", {}},
      {"@n-10.2", "0.124999", "0.12", {}},
      {"@n-10.2", "-1,234.5", "-1234.50", {}},
      {"@n-10.2", "+7", "7.00", {}},
      {"@n-10.2", ".5", "0.50", {}},
      {"@n-10.2", "5.", "5.00", {}},
      {"@n-10.2", "007", "7.00", {}},
      {"@n-10.2", "12345678", nullptr, kNumberTooLarge},
      {"@n-10.2", "9999999.995", nullptr, kNumberTooLarge},
      {"@n-10.2", "12a", nullptr, kInvalidNumber},
      {"@n-10.2", "abc", nullptr, kInvalidNumber},
      {"@n-10.2", "1e3", nullptr, kInvalidNumber},
      {"@n-10.2", "1.2.3", nullptr, kInvalidNumber},
      {"@n-10.2", "1,23,456", nullptr, kInvalidNumber},
      {"@n-10.2", "12,34.5", nullptr, kInvalidNumber},
      {"@n-10.2", "1,2,3", nullptr, kInvalidNumber},
      {"@n-10.2", "1.5,0", nullptr, kInvalidNumber},
      {"@n-10.2", "-", nullptr, kInvalidNumber},
      {"@n-10.2", ".", nullptr, kInvalidNumber},
      {"@n-10.2", ",", nullptr, kInvalidNumber},
      {"@n-10.2", "- 5", nullptr, kInvalidNumber},
      {"@n-10.2", "1 000", nullptr, kInvalidNumber},
      {"@n-10.2", "--5", nullptr, kInvalidNumber},
      {"@n-10.2", "5-", nullptr, kInvalidNumber},
      {"@n-10.2", "##########", nullptr, kInvalidNumber},
      {"@n-10.2", "\xBD", nullptr, kInvalidNumber},   // the one-half sign
      {"@n_4B", "", "0", {}},
      {"@n_4B", "9999", "9999", {}},
      {"@n_4B", "10000", nullptr, kNumberTooLarge},
      {"@n_4B", "-1", nullptr, kNegativeNotAllowed},
      {"@n_4B", "2.5", "3", {}},
      {"@n_4B", "-0.4", "0", {}},
      {"@n_4", "1,234", "1234", {}},
      {"@n5", "99999", "99999", {}},
      {"@n5", "123456", nullptr, kNumberTooLarge},
      {"@n5", "-3", nullptr, kNegativeNotAllowed},
      {"@n07", "42", "42", {}},
      {"@n07", "0000042", "42", {}},
      {"@n-10.0", "-9,999,999", "-9999999", {}},
      {"@n-10.0", "1,5", "2", {}},
      {"@n-10.0", "99999999999", nullptr, kNumberTooLarge},
      {"@n-10.0", "1234567890123456789012345678901234567890", nullptr, kNumberTooLarge},
  };
  for (const auto& c : cases) {
    const Picture p = pic(c.picture);
    const Deformatted d = deformat(p, c.typed);
    if (c.value == nullptr) {
      EXPECT_FALSE(d.ok) << c.picture << " '" << c.typed << "'";
      EXPECT_EQ(d.error, c.error) << c.picture << " '" << c.typed << "'";
      continue;
    }
    ASSERT_TRUE(d.ok) << c.picture << " '" << c.typed << "': " << d.error;
    EXPECT_EQ(d.number.toString(), c.value) << c.picture << " '" << c.typed << "'";
    EXPECT_EQ(d.number.scale(), p.places());
    EXPECT_EQ(d.text, p.format(d.number));
    EXPECT_TRUE(d.error.empty());
  }
}

TEST(Picture, DisplayedNumbersReadBackAsTheSameValue) {
  const char* pictures[] = {"@n-10.2", "@n-10.2B", "@n_4", "@n07", "@n5", "@n-10.0", "@n12.2"};
  const char* values[] = {"0", "0.01", "-0.01", "1", "-1", "12.345", "999.995", "1000",
                          "-1000", "12345.67", "-99999.99", "123456", "1234567.89", "9999999"};
  for (const char* picture : pictures) {
    const Picture p = pic(picture);
    for (const char* value : values) {
      const Decimal v = dec(value);
      const std::string shown = p.format(v);
      ASSERT_EQ(shown.size(), static_cast<std::size_t>(p.width()));
      const Deformatted back = deformat(p, shown);
      if (shown.front() == '#') {
        EXPECT_FALSE(back.ok) << picture << " " << value;
      } else if (v.rounded(p.places()).isNegative() && !p.acceptsNegative()) {
        EXPECT_EQ(back.error, kNegativeNotAllowed) << picture << " " << value;
      } else {
        ASSERT_TRUE(back.ok) << picture << " " << value << " shown '" << shown << "'";
        EXPECT_EQ(back.number, v.rounded(p.places())) << picture << " " << value;
      }
    }
  }
}

TEST(Picture, DeformatsDates) {
  const std::int32_t march1 = dateFromYmd(2012, 3, 1);
  struct Case { const char* typed; std::int32_t day; bool ok; };
  const Case cases[] = {
      {"1/3/2012", march1, true},     {"01/03/2012", march1, true},
      {"1/3/12", march1, true},       {"01/3/12", march1, true},
      {"1-3-2012", march1, true},     {"1.3.2012", march1, true},
      {"01032012", march1, true},     {"010312", march1, true},
      {"  1/3/2012 ", march1, true},  {"", 0, true},
      {"   ", 0, true},
      {"29/02/2012", dateFromYmd(2012, 2, 29), true},
      {"31/12/9999", kLastDate, true},
      {"1/1/1801", 1, true},
      {"31/02/2012", 0, false},       {"29/02/2011", 0, false},
      {"1/13/2012", 0, false},        {"0/3/2012", 0, false},
      {"1/0/2012", 0, false},         {"32/1/2012", 0, false},
      {"1/3", 0, false},              {"1/3/", 0, false},
      {"1/3/212", 0, false},          {"1/3/02012", 0, false},
      {"1/3-2012", 0, false},         {"1//2012", 0, false},
      {"001/3/2012", 0, false},       {"1/3/2012/1", 0, false},
      {"a/b/c", 0, false},            {"1/3/1800", 0, false},
      {"12345", 0, false},            {"0103201", 0, false},
      {"31022012", 0, false},         {"hoy", 0, false},
      {"-1/3/2012", 0, false},
  };
  for (const char* picture : {"@d6", "@d6B"}) {
    const Picture p = pic(picture);
    for (const auto& c : cases) {
      const Deformatted d = deformat(p, c.typed);
      EXPECT_EQ(d.ok, c.ok) << picture << " '" << c.typed << "'";
      if (c.ok) {
        EXPECT_EQ(d.date, c.day) << picture << " '" << c.typed << "'";
        EXPECT_EQ(d.text, p.formatDate(c.day));
      } else {
        EXPECT_EQ(d.error, kInvalidDate) << c.typed;
        EXPECT_EQ(d.date, 0);
      }
    }
  }
  EXPECT_EQ(deformat(pic("@d6B"), "1/3/12").text, "01/03/2012");
}

TEST(Picture, TwoDigitYearsFollowTheCurrentYear) {
  struct Case { int yy, currentYear, year; };
  const Case cases[] = {
      {12, 2026, 2012}, {0, 2026, 2000},  {45, 2026, 2045}, {46, 2026, 1946},
      {99, 2026, 1999}, {26, 2026, 2026}, {99, 2081, 2099}, {1, 2081, 2001},
      {0, 2081, 2100},  {10, 1990, 1910}, {9, 1990, 2009},  {50, 2000, 1950},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expandTwoDigitYear(c.yy, c.currentYear), c.year) << c.yy << " in " << c.currentYear;
  }
}

TEST(Picture, ArbitraryTypingIsReadConsistentlyOrRefusedWithAReason) {
  // Whatever is typed, an accepted value shows and reads back as itself, and a refusal names
  // one of the known reasons.
  std::mt19937 random(20121);
  const std::string alphabet = "0123456789012345,.-+ /a#";
  const Picture numbers[] = {pic("@n-10.2"), pic("@n_4B"), pic("@n07"), pic("@n5"),
                             pic("@n-10.0")};
  const Picture date = pic("@d6B");
  for (int round = 0; round < 20000; ++round) {
    std::string typed;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) typed.push_back(alphabet[random() % alphabet.size()]);
    for (const Picture& p : numbers) {
      const Deformatted d = deformat(p, typed);
      if (!d.ok) {
        EXPECT_TRUE(d.error == kInvalidNumber || d.error == kNumberTooLarge ||
                    d.error == kNegativeNotAllowed)
            << p.text() << " '" << typed << "': " << d.error;
        continue;
      }
      ASSERT_FALSE(d.number.overflowed());
      EXPECT_TRUE(p.acceptsNegative() || !d.number.isNegative()) << typed;
      const Deformatted again = deformat(p, p.format(d.number));
      ASSERT_TRUE(again.ok) << p.text() << " '" << typed << "'";
      EXPECT_EQ(again.number, d.number) << p.text() << " '" << typed << "'";
    }
    const Deformatted d = deformat(date, typed);
    if (d.ok) {
      EXPECT_TRUE(d.date == 0 || isValidDate(d.date)) << typed;
      EXPECT_EQ(deformat(date, date.formatDate(d.date)).date, d.date) << typed;
    } else {
      EXPECT_EQ(d.error, kInvalidDate) << typed;
    }
  }
}

TEST(Picture, DeformatsText) {
  EXPECT_EQ(deformat(pic("@s5"), "abcdefg").text, "abcde");
  EXPECT_TRUE(deformat(pic("@s5"), "abcdefg").ok);
  EXPECT_EQ(deformat(pic("@s30"), "  Marca 1").text, "  Marca 1");
  EXPECT_EQ(deformat(pic("@s30"), "").text, "");
}

}  // namespace
}  // namespace rt
