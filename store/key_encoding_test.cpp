// The byte encodings of key values must order exactly as the values do.
#include "store/key_encoding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/decimal.h"
#include "store/test_support.h"

using namespace store;

namespace {

// A one-field record of the given type, with one key on it.
struct OneField {
  TableDef def;
  explicit OneField(FieldType t, int size, int places = 0, bool nocase = false, bool opt = false) {
    def.label = "T";
    def.record_size = size;
    def.fields = {FieldDef{"F", t, 0, size, places}};
    def.keys = {KeyDef{"K", {0}, false, true, opt, nocase}};
  }
  std::string encode(const std::vector<unsigned char>& rec) const {
    std::string out;
    encodeKey(def, def.keys[0], rec.data(), out);
    return out;
  }
};

std::vector<unsigned char> le(long long v, int size) {
  std::vector<unsigned char> r(size);
  for (int i = 0; i < size; ++i) r[i] = static_cast<unsigned char>((static_cast<unsigned long long>(v) >> (8 * i)) & 0xFF);
  return r;
}

std::vector<unsigned char> packed(const char* text, int bytes, int places) {
  std::vector<unsigned char> r(bytes);
  EXPECT_EQ(rt::packDecimal(*rt::Decimal::parse(text), r.data(), bytes, places), rt::DecimalStatus::Ok) << text;
  return r;
}

std::vector<unsigned char> text(const char* t, int size) {
  std::vector<unsigned char> r(size, ' ');
  std::memcpy(r.data(), t, std::min<size_t>(std::strlen(t), size));
  return r;
}

// Every value in `ascending` must encode strictly below the next one.
void expectAscending(const OneField& f, const std::vector<std::vector<unsigned char>>& ascending, const char* what) {
  for (size_t i = 0; i + 1 < ascending.size(); ++i)
    EXPECT_LT(f.encode(ascending[i]), f.encode(ascending[i + 1])) << what << " at " << i;
}

}  // namespace

TEST(StoreKeyEncoding, IntegersOrderByValue) {
  struct Case {
    const char* what;
    FieldType type;
    int size;
    std::vector<long long> ascending;
  } cases[] = {
      {"BYTE", FieldType::Byte, 1, {0, 1, 127, 128, 255}},
      {"USHORT", FieldType::UShort, 2, {0, 1, 255, 256, 65534, 65535}},
      {"SHORT", FieldType::Short, 2, {-32768, -256, -1, 0, 1, 255, 256, 32767}},
      {"LONG", FieldType::Long, 4, {-2147483648LL, -16777216, -65536, -1, 0, 1, 255, 65536, 2147483647}},
      {"ULONG", FieldType::ULong, 4, {0, 1, 256, 16777216, 2147483648LL, 4294967295LL}},
  };
  for (const Case& c : cases) {
    OneField f(c.type, c.size);
    std::vector<std::vector<unsigned char>> recs;
    for (long long v : c.ascending) recs.push_back(le(v, c.size));
    expectAscending(f, recs, c.what);
  }
}

TEST(StoreKeyEncoding, DecimalsOrderByValue) {
  OneField f(FieldType::Decimal, 4, 2);
  const char* ascending[] = {"-99999.99", "-1000", "-10.5", "-10.05", "-0.01", "0", "0.01", "0.10", "9.99", "10", "99999.99"};
  std::vector<std::vector<unsigned char>> recs;
  for (const char* v : ascending) recs.push_back(packed(v, 4, 2));
  expectAscending(f, recs, "DECIMAL(4,2)");
  // A zero written with a negative sign is the same key as zero.
  std::vector<unsigned char> negative_zero = {0xF0, 0, 0, 0};
  EXPECT_EQ(f.encode(negative_zero), f.encode(packed("0", 4, 2)));
}

TEST(StoreKeyEncoding, TextOrdersByBytesOrFoldedCase) {
  OneField exact(FieldType::String, 8), folded(FieldType::String, 8, 0, true);
  struct Case {
    const char* a;
    const char* b;
    int exact;   // sign of a - b for a case-sensitive key
    int folded;  // ... and for a NOCASE key
  } cases[] = {
      {"abc", "abd", -1, -1},
      {"ab", "abc", -1, -1},          // padding spaces sort below letters
      {"B", "a", -1, 1},              // upper case before lower case only when case counts
      {"\xD1" "AND\xDA", "\xF1" "and\xFA", -1, 0},  // ÑANDÚ / ñandú
      {"\xC9" "CLAIR", "\xE9" "clair", -1, 0},      // ÉCLAIR / éclair
      {"\x8A" "A", "\x9A" "a", -1, 0},              // Š / š
      {"z", "\xE1", -1, -1},          // accented letters after the plain alphabet
  };
  auto sign = [](const std::string& x, const std::string& y) { return x < y ? -1 : x == y ? 0 : 1; };
  for (const Case& c : cases) {
    EXPECT_EQ(sign(exact.encode(text(c.a, 8)), exact.encode(text(c.b, 8))), c.exact) << c.a << " / " << c.b;
    EXPECT_EQ(sign(folded.encode(text(c.a, 8)), folded.encode(text(c.b, 8))), c.folded) << c.a << " / " << c.b;
  }
}

TEST(StoreKeyEncoding, OptLeavesOnlyAllBlankKeysOut) {
  TableDef def;
  def.label = "T";
  def.record_size = 10;
  def.fields = {FieldDef{"N", FieldType::UShort, 0, 2, 0}, FieldDef{"S", FieldType::String, 2, 4, 0},
                FieldDef{"D", FieldType::Decimal, 6, 4, 2}};
  def.keys = {KeyDef{"K", {0, 1, 2}, false, true, true, false}};
  struct Case {
    const char* what;
    std::vector<unsigned char> record;
    bool in_key;
  } cases[] = {
      {"all zero bytes", std::vector<unsigned char>(10, 0), false},
      {"spaces and zeros", {0, 0, ' ', ' ', ' ', ' ', 0, 0, 0, 0}, false},
      {"negative zero decimal", {0, 0, ' ', ' ', ' ', ' ', 0xF0, 0, 0, 0}, false},
      {"a number", {1, 0, ' ', ' ', ' ', ' ', 0, 0, 0, 0}, true},
      {"a letter", {0, 0, ' ', 'x', ' ', ' ', 0, 0, 0, 0}, true},
      {"a decimal", {0, 0, ' ', ' ', ' ', ' ', 0, 0, 0, 1}, true},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(encodeKey(def, def.keys[0], c.record.data(), out), c.in_key) << c.what;
    EXPECT_EQ(out.size(), c.in_key ? 10u : 0u) << c.what;
  }
  // The same records are all in a key without OPT.
  KeyDef plain = def.keys[0];
  plain.opt = false;
  std::string out;
  EXPECT_TRUE(encodeKey(def, plain, cases[0].record.data(), out));
  // Leading components only.
  EXPECT_TRUE(encodeKey(def, plain, cases[3].record.data(), out, 1));
  EXPECT_EQ(out, std::string("\x00\x01", 2));
}
