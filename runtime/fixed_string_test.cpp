#include "runtime/fixed_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace rt {
namespace {

TEST(FixedString, SetFixedPadsAndTruncates) {
  struct Case { std::string value; std::string field; };
  const Case cases[] = {
      {"abc", "abc   "},
      {"", "      "},
      {"abcdef", "abcdef"},
      {"abcdefgh", "abcdef"},
      {"  x", "  x   "},
      {"\xD1" "and\xFA", "\xD1" "and\xFA "},
      {std::string("a\0b", 3), std::string("a\0b   ", 6)},
  };
  for (const auto& c : cases) {
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    setFixed(buf, 6, c.value);
    EXPECT_EQ(std::string(buf, 6), c.field) << c.value;
    EXPECT_EQ(buf[6], '#') << "wrote past the field for " << c.value;
    EXPECT_EQ(buf[7], '#');
  }
}

TEST(FixedString, ClippedAndBlank) {
  struct Case { std::string field; std::string text; bool blank; };
  const Case cases[] = {
      {"abc   ", "abc", false},
      {"  abc ", "  abc", false},
      {"a b c ", "a b c", false},
      {"abcdef", "abcdef", false},
      {"      ", "", true},
      {std::string(6, '\0'), "", true},
      {std::string("ab\0\0\0\0", 6), "ab", false},
      {std::string("ab  \0\0", 6), "ab", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(clipped(c.field.data(), c.field.size()), c.text) << c.field;
    EXPECT_EQ(isBlank(c.field.data(), c.field.size()), c.blank) << c.field;
  }
  EXPECT_TRUE(isBlank("", 0));
}

TEST(FixedString, ArrayFieldsAndSelfAssignment) {
  struct Record {
    char name[10];
    char next[4];
  } r;
  std::memset(&r, '#', sizeof r);
  setFixed(r.name, "  Marca");
  EXPECT_EQ(clipped(r.name), "  Marca");
  EXPECT_EQ(std::string(r.next, 4), "####");
  // Re-storing a field's own (shifted) text must not be corrupted by the overlap.
  setFixed(r.name, clipped(r.name).substr(2));
  EXPECT_EQ(std::string(r.name, 10), "Marca     ");
  EXPECT_FALSE(isBlank(r.name));
  setFixed(r.name, "");
  EXPECT_TRUE(isBlank(r.name));
}

}  // namespace
}  // namespace rt
