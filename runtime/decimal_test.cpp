#include "runtime/decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace rt {
namespace {

Decimal dec(const char* text) {
  auto d = Decimal::parse(text);
  EXPECT_TRUE(d.has_value()) << text;
  return d.value_or(Decimal());
}

std::vector<std::uint8_t> bytesOf(std::initializer_list<int> list) {
  std::vector<std::uint8_t> v;
  for (int b : list) v.push_back(static_cast<std::uint8_t>(b));
  return v;
}

TEST(Decimal, ParseAndPrint) {
  struct Case { const char* text; const char* printed; int scale; };
  const Case cases[] = {
      {"12.5", "12.5", 1},     {"-0.05", "-0.05", 2},   {"  7 ", "7", 0},
      {"+3", "3", 0},          {".5", "0.5", 1},        {"5.", "5", 0},
      {"0", "0", 0},           {"-0", "0", 0},          {"-0.00", "0.00", 2},
      {"007.10", "7.10", 2},   {"\t99999.99\t", "99999.99", 2},
      {"12345678901234567890123456789012345678", "12345678901234567890123456789012345678", 0},
      {"0.000000000000000000000000000001", "0.000000000000000000000000000001", 30},
      // More than 30 decimals round half away from zero to 30.
      {"0.0000000000000000000000000000015", "0.000000000000000000000000000002", 30},
      {"-0.0000000000000000000000000000014", "-0.000000000000000000000000000001", 30},
  };
  for (const auto& c : cases) {
    auto d = Decimal::parse(c.text);
    ASSERT_TRUE(d.has_value()) << c.text;
    EXPECT_FALSE(d->overflowed()) << c.text;
    EXPECT_EQ(d->toString(), c.printed) << c.text;
    EXPECT_EQ(d->scale(), c.scale) << c.text;
  }
  EXPECT_FALSE(Decimal::parse("-0")->isNegative());
}

TEST(Decimal, ParseRefusesWhatIsNotANumber) {
  for (const char* text : {"", "   ", "-", "+", ".", "-.", "1.2.3", "12a", "a12", "1 2", "1e3",
                           "--1", "+-1", "1,5", "0x10", "1-",
                           "123456789012345678901234567890123456789"}) {
    EXPECT_FALSE(Decimal::parse(text).has_value()) << text;
  }
}

TEST(Decimal, ArithmeticIsExact) {
  struct Case { const char* a; char op; const char* b; const char* result; };
  const Case cases[] = {
      {"0.1", '+', "0.2", "0.3"},        {"1.25", '+', "-1.25", "0.00"},
      {"99999.99", '+', "0.01", "100000.00"}, {"-5", '-', "2.5", "-7.5"},
      {"1.25", '*', "0.05", "0.0625"},   {"0.05", '*', "0.50", "0.0250"},
      {"-1.5", '*', "1.5", "-2.25"},     {"-1.5", '*', "-0.1", "0.15"},
      {"3", '*', "0.00", "0.00"},        {"12345.67", '*', "100", "1234567.00"},
      {"0.1", '-', "0.3", "-0.2"},
  };
  for (const auto& c : cases) {
    const Decimal a = dec(c.a), b = dec(c.b);
    const Decimal r = c.op == '+' ? a + b : c.op == '-' ? a - b : a * b;
    EXPECT_EQ(r.toString(), c.result) << c.a << c.op << c.b;
  }
}

TEST(Decimal, ComparisonIsByValue) {
  EXPECT_EQ(dec("1.50"), dec("1.5"));
  EXPECT_EQ(dec("0.000"), Decimal());
  EXPECT_LT(dec("-0.01"), Decimal());
  EXPECT_LT(dec("1.49"), dec("1.5"));
  EXPECT_GT(dec("10"), dec("9.999999999999999999999999999999"));
  EXPECT_LT(dec("-10"), dec("-9.999999999999999999999999999999"));
  // Aligning these scales would leave the 38-digit range; the order is still right.
  const Decimal huge = dec("99999999999999999999999999999999999999");
  const Decimal tiny = dec("0.000000000000000000000000000001");
  EXPECT_GT(huge, tiny);
  EXPECT_LT(-huge, tiny);
  EXPECT_LT(tiny, huge);
  EXPECT_NE(huge, tiny);
}

TEST(Decimal, RoundingIsHalfAwayFromZero) {
  struct Case { const char* value; int places; const char* result; };
  const Case cases[] = {
      {"0.0625", 2, "0.06"},   {"0.025", 2, "0.03"},     {"-0.025", 2, "-0.03"},
      {"0.0249", 2, "0.02"},   {"-0.0625", 2, "-0.06"},  {"2.5", 0, "3"},
      {"-2.5", 0, "-3"},       {"1.4999", 0, "1"},       {"99999.995", 2, "100000.00"},
      {"1.5", 3, "1.500"},     {"-0.004", 2, "0.00"},    {"7", -1, "7"},
  };
  for (const auto& c : cases) {
    const Decimal r = dec(c.value).rounded(c.places);
    EXPECT_EQ(r.toString(), c.result) << c.value << " @" << c.places;
    EXPECT_EQ(dec(c.value).toString(c.places), c.result);
  }
  EXPECT_FALSE(dec("-0.004").rounded(2).isNegative());
}

TEST(Decimal, ProductRoundedOnAssignment) {
  // Line total = quantity x unit price, stored in a 2-place field.
  struct Case { const char* qty; const char* price; const char* stored; };
  const Case cases[] = {
      {"1.25", "0.05", "0.06"},   {"0.05", "0.50", "0.03"},   {"-1.25", "0.05", "-0.06"},
      {"-0.05", "0.50", "-0.03"}, {"3.00", "19.99", "59.97"}, {"0.33", "0.33", "0.11"},
  };
  for (const auto& c : cases) {
    PackedDecimal<4, 2> field{};
    ASSERT_EQ(field.assign(dec(c.qty) * dec(c.price)), DecimalStatus::Ok);
    EXPECT_EQ(field.value().toString(), c.stored) << c.qty << " x " << c.price;
  }
}

TEST(Decimal, PackedLayout) {
  struct Case { const char* value; int bytes; int places; std::vector<std::uint8_t> raw; };
  const Case cases[] = {
      {"0", 4, 2, bytesOf({0x00, 0x00, 0x00, 0x00})},
      {"12.34", 4, 2, bytesOf({0x00, 0x00, 0x12, 0x34})},
      {"-12.34", 4, 2, bytesOf({0xF0, 0x00, 0x12, 0x34})},
      {"99999.99", 4, 2, bytesOf({0x09, 0x99, 0x99, 0x99})},
      {"-99999.99", 4, 2, bytesOf({0xF9, 0x99, 0x99, 0x99})},
      {"1234567", 4, 0, bytesOf({0x01, 0x23, 0x45, 0x67})},
      {"-0.001", 4, 2, bytesOf({0x00, 0x00, 0x00, 0x00})},  // rounds to zero: sign 0
      {"-7", 1, 0, bytesOf({0xF7})},
      {"0.5", 2, 1, bytesOf({0x00, 0x05})},
  };
  for (const auto& c : cases) {
    std::uint8_t raw[16];
    std::memset(raw, 0xAA, sizeof raw);
    ASSERT_EQ(packDecimal(dec(c.value), raw, c.bytes, c.places), DecimalStatus::Ok) << c.value;
    EXPECT_EQ(std::vector<std::uint8_t>(raw, raw + c.bytes), c.raw) << c.value;
    EXPECT_EQ(raw[c.bytes], 0xAA) << "wrote past the field for " << c.value;
    const Decimal back = unpackDecimal(raw, c.bytes, c.places);
    EXPECT_EQ(back, dec(c.value).rounded(c.places)) << c.value;
    EXPECT_EQ(back.scale(), c.places);
  }
}

TEST(Decimal, OverflowLeavesFieldUnchanged) {
  struct Case { const char* value; int bytes; int places; bool fits; };
  const Case cases[] = {
      {"99999.99", 4, 2, true},    {"-99999.99", 4, 2, true},   {"99999.994", 4, 2, true},
      {"100000.00", 4, 2, false},  {"99999.995", 4, 2, false},  {"-99999.995", 4, 2, false},
      {"-100000", 4, 2, false},    {"9999999", 4, 0, true},     {"9999999.5", 4, 0, false},
      {"10000000", 4, 0, false},   {"9", 1, 0, true},           {"10", 1, 0, false},
      {"9999999999999999999999999999999", 16, 0, true},
      {"10000000000000000000000000000000", 16, 0, false},
  };
  for (const auto& c : cases) {
    std::uint8_t raw[16];
    std::memset(raw, 0x11, sizeof raw);
    const DecimalStatus st = packDecimal(dec(c.value), raw, c.bytes, c.places);
    EXPECT_EQ(st, c.fits ? DecimalStatus::Ok : DecimalStatus::Overflow) << c.value;
    if (!c.fits) {
      for (int i = 0; i < 16; ++i) EXPECT_EQ(raw[i], 0x11) << c.value;
    }
  }
}

TEST(Decimal, ImpossibleLayoutsAreRefused) {
  std::uint8_t raw[20] = {};
  EXPECT_EQ(packDecimal(Decimal(), raw, 0, 0), DecimalStatus::Overflow);
  EXPECT_EQ(packDecimal(Decimal(), raw, 17, 0), DecimalStatus::Overflow);
  EXPECT_EQ(packDecimal(Decimal(), raw, 1, 2), DecimalStatus::Overflow);
  EXPECT_EQ(packDecimal(Decimal(), raw, 4, -1), DecimalStatus::Overflow);
  EXPECT_EQ(packDecimal(Decimal::overflow(), raw, 4, 2), DecimalStatus::Overflow);
}

TEST(Decimal, UnpackToleratesDamagedNibbles) {
  const auto raw = bytesOf({0x0A, 0xB1, 0x2C, 0x3F});
  EXPECT_EQ(unpackDecimal(raw.data(), 4, 2).toString(), "120.30");  // A, B, C and F read as 0
  const auto neg = bytesOf({0xF0, 0x00, 0x01, 0x00});
  EXPECT_EQ(unpackDecimal(neg.data(), 4, 2).toString(), "-1.00");
  const auto otherSign = bytesOf({0xC0, 0x00, 0x01, 0x00});
  EXPECT_EQ(unpackDecimal(otherSign.data(), 4, 2).toString(), "1.00");
}

TEST(Decimal, PackedDecimalIsJustItsBytes) {
  static_assert(sizeof(PackedDecimal<4, 2>) == 4);
  static_assert(sizeof(PackedDecimal<7, 3>) == 7);
  static_assert(std::is_trivially_copyable_v<PackedDecimal<4, 2>>);
  PackedDecimal<4, 2> field{};
  EXPECT_TRUE(field.value().isZero());
  ASSERT_EQ(field.assign(dec("-12.345")), DecimalStatus::Ok);
  EXPECT_EQ(field.value().toString(), "-12.35");
  EXPECT_EQ(field.assign(dec("123456")), DecimalStatus::Overflow);
  EXPECT_EQ(field.value().toString(), "-12.35");
}

TEST(Decimal, ArithmeticOverflowIsSticky) {
  const Decimal big = dec("99999999999999999999999999999999999999");
  const Decimal sum = big + Decimal::fromInt(1);
  EXPECT_TRUE(sum.overflowed());
  EXPECT_TRUE((sum - big).overflowed());
  EXPECT_TRUE((big * dec("10")).overflowed());
  EXPECT_TRUE((-big - Decimal::fromInt(1)).overflowed());
  // Aligning 0.5 with a 38-digit integer would need 39 digits.
  EXPECT_TRUE((big + dec("0.5")).overflowed());
  EXPECT_EQ(sum.toString(), "overflow");
  EXPECT_TRUE(std::isnan(sum.toDouble()));
  EXPECT_FALSE(sum == sum);
  EXPECT_TRUE(sum != Decimal());
  EXPECT_FALSE(sum < Decimal());
  EXPECT_FALSE(sum > Decimal());
  EXPECT_FALSE(sum.isZero());
  PackedDecimal<16, 0> field{};
  EXPECT_EQ(field.assign(sum), DecimalStatus::Overflow);
  EXPECT_TRUE(Decimal::fromUnscaled(1, 31).overflowed());
  EXPECT_TRUE(Decimal::fromUnscaled(1, -1).overflowed());
  EXPECT_TRUE(dec("1.5").rounded(30).overflowed() == false);
  EXPECT_TRUE(big.rounded(1).overflowed());
}

TEST(Decimal, ProductsKeepExactValueAtTheScaleLimit) {
  // Operands whose decimals are trailing zeros multiply without overflow.
  const Decimal one = dec("1.00000000000000000000");
  const Decimal p = one * one;
  ASSERT_FALSE(p.overflowed());
  EXPECT_EQ(p, Decimal::fromInt(1));
  // Decimals beyond 30 places are rounded half away from zero.
  const Decimal tiny = dec("0.000000000000000005");  // 18 places
  const Decimal q = tiny * dec("0.0000000000001");    // 5e-31
  EXPECT_EQ(q.toString(), "0.000000000000000000000000000001");
  EXPECT_EQ((-tiny * dec("0.0000000000001")).toString(), "-0.000000000000000000000000000001");
}

TEST(Decimal, Conversions) {
  EXPECT_EQ(dec("12.99").toLongTruncated(), 12);
  EXPECT_EQ(dec("-12.99").toLongTruncated(), -12);
  EXPECT_EQ(dec("99999999999999999999").toLongTruncated(), std::numeric_limits<long long>::max());
  EXPECT_EQ(dec("-99999999999999999999").toLongTruncated(), std::numeric_limits<long long>::min());
  EXPECT_DOUBLE_EQ(dec("0.1").toDouble(), 0.1);
  EXPECT_DOUBLE_EQ(dec("-12345.67").toDouble(), -12345.67);
  EXPECT_EQ(Decimal::fromInt(-42).toString(), "-42");
  EXPECT_EQ(Decimal::fromInt(std::numeric_limits<long long>::min()).toString(),
            "-9223372036854775808");
  EXPECT_EQ(Decimal::fromUnscaled(-5, 3).toString(), "-0.005");
}

}  // namespace
}  // namespace rt
