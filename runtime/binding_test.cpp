// A control's bound variable: shown through the control's picture, and stored back from typed
// text all or nothing.
#include "runtime/binding.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/date.h"
#include "runtime/picture.h"

namespace {

using rt::Binding;
using rt::Decimal;

// Packed, as record buffers are: no padding, so that whole records compare byte for byte.
#pragma pack(push, 1)
struct Record {
  std::uint8_t byte = 0;
  std::uint16_t ushort = 0;
  std::int16_t short_ = 0;
  std::int32_t long_ = 0;
  std::uint32_t ulong = 0;
  rt::PackedDecimal<4, 2> amount{};
#pragma pack(pop)
  char name[5] = {};
  char cname[4] = {};
};

// Every binding kind over one record, by name.
Binding bind(Record& r, const std::string& kind) {
  if (kind == "byte") return Binding::byte(r.byte);
  if (kind == "ushort") return Binding::ushort(r.ushort);
  if (kind == "short") return Binding::short_(r.short_);
  if (kind == "long") return Binding::long_(r.long_);
  if (kind == "ulong") return Binding::ulong(r.ulong);
  if (kind == "decimal") return Binding::decimal(r.amount);
  if (kind == "string") return Binding::string(r.name);
  return Binding::cstring(r.cname, sizeof r.cname);
}

Record fresh() {
  Record r{};
  std::memcpy(r.name, "     ", 5);
  std::memset(r.cname, 0, sizeof r.cname);
  return r;
}

struct StoreCase {
  const char* kind;
  const char* picture;  // "" = none
  const char* typed;
  const char* shown;    // the variable shown again through the same picture; nullptr = refused
};

class Store : public testing::TestWithParam<StoreCase> {};

TEST_P(Store, TakesWhatFitsAndRefusesTheRestWithoutTouchingTheVariable) {
  const StoreCase& c = GetParam();
  Record r = fresh();
  const Record before = r;
  std::optional<rt::Picture> pic;
  if (*c.picture) {
    pic = rt::Picture::parse(c.picture);
    ASSERT_TRUE(pic.has_value()) << c.picture;
  }
  Binding b = bind(r, c.kind);
  Binding::StoreResult res = b.store(pic ? &*pic : nullptr, c.typed);
  if (c.shown == nullptr) {
    EXPECT_FALSE(res.ok) << c.kind << " took \"" << c.typed << "\"";
    EXPECT_FALSE(res.error.empty());
    EXPECT_EQ(0, std::memcmp(&before, &r, sizeof r)) << "a refused text leaves every byte alone";
  } else {
    EXPECT_TRUE(res.ok) << res.error;
    EXPECT_EQ(b.format(pic ? &*pic : nullptr), c.shown);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Store,
    testing::Values(
        StoreCase{"ushort", "@n_4", "12", "  12"}, StoreCase{"ushort", "@n_4", "12x", nullptr},
        StoreCase{"ushort", "@n_4", "-1", nullptr}, StoreCase{"ushort", "@n_4", "", "   0"},
        StoreCase{"ushort", "", "65535", "65535"}, StoreCase{"ushort", "", "65536", nullptr},
        StoreCase{"ushort", "", "-1", nullptr}, StoreCase{"byte", "", "255", "255"},
        StoreCase{"byte", "", "256", nullptr}, StoreCase{"short", "", "-32768", "-32768"},
        StoreCase{"short", "", "32768", nullptr}, StoreCase{"long", "", "-2147483648", "-2147483648"},
        StoreCase{"long", "", "2147483648", nullptr}, StoreCase{"ulong", "", "4294967295", "4294967295"},
        StoreCase{"ushort", "", "2.5", "3"},  // integers round half away from zero
        StoreCase{"decimal", "@n-10.2", "1.005", "      1.01"},
        StoreCase{"decimal", "@n-10.2", "-99999.99", "-99,999.99"},
        StoreCase{"decimal", "@n-10.2", "100000", nullptr}, StoreCase{"decimal", "@n-10.2", "1.2.3", nullptr},
        StoreCase{"decimal", "", "-0.125", "-0.13"}, StoreCase{"decimal", "", "abc", nullptr},
        StoreCase{"long", "@d6", "29/02/2012", "29/02/2012"}, StoreCase{"long", "@d6", "31/02/2012", nullptr},
        StoreCase{"long", "@d6B", "", "          "}, StoreCase{"string", "@s5", "abcdefg", "abcde"},
        StoreCase{"string", "", "ab", "ab"}, StoreCase{"cstring", "", "abcdef", "abc"},
        StoreCase{"string", "@n_4", "12", "  12"}, StoreCase{"string", "@n_4", "x", nullptr}));

TEST(Binding, FormatsTheVariableThroughAnyKindOfPicture) {
  Record r = fresh();
  r.long_ = rt::dateFromYmd(2012, 3, 1);
  auto d6 = rt::Picture::parse("@d6");
  auto n = rt::Picture::parse("@n_8");
  EXPECT_EQ(Binding::long_(r.long_).format(&*d6), "01/03/2012");
  EXPECT_EQ(Binding::long_(r.long_).format(&*n), std::string(8 - std::to_string(r.long_).size(), ' ') + std::to_string(r.long_));
  ASSERT_EQ(r.amount.assign(Decimal::parse("1.5").value()), rt::DecimalStatus::Ok);
  EXPECT_EQ(Binding::decimal(r.amount).format(nullptr), "1.50") << "without a picture, in the field's places";
  std::string local = "texto";
  EXPECT_EQ(Binding::text(local).format(nullptr), "texto");
  EXPECT_TRUE(Binding::text(local).store(nullptr, "otro").ok);
  EXPECT_EQ(local, "otro");
}

TEST(Binding, StoringANumberRoundsOrRefusesByTheVariablesType) {
  Record r = fresh();
  EXPECT_TRUE(Binding::ushort(r.ushort).storeNumber(Decimal::parse("7.5").value()).ok);
  EXPECT_EQ(r.ushort, 8);
  EXPECT_FALSE(Binding::byte(r.byte).storeNumber(Decimal::fromInt(300)).ok);
  EXPECT_EQ(r.byte, 0);
  EXPECT_FALSE(Binding::decimal(r.amount).storeNumber(Decimal::overflow()).ok);
  EXPECT_TRUE(r.amount.value().isZero());
}

}  // namespace
