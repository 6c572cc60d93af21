#include "runtime/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace rt {
namespace {

std::string allBytes() {
  std::string s;
  for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
  return s;
}

TEST(Codepage, Cp1252ToUtf8KnownCharacters) {
  struct Case { std::string cp1252; std::string utf8; };
  const Case cases[] = {
      {"abc", "abc"},
      {"\x80", "€"},
      {"\x81", "\xC2\x81"},           // undefined byte keeps its number
      {"\x9D", "\xC2\x9D"},
      {"\x8A\x9A", "Šš"},
      {"\x93x\x94", "“x”"},
      {"\x99", "™"},
      {"\x9F\xFF", "Ÿÿ"},
      {"\xA0", "\xC2\xA0"},
      {"\xD1" "AND\xDA", "ÑANDÚ"},
      {"Descripci\xF3n", "Descripción"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp1252ToUtf8(c.cp1252), c.utf8) << c.utf8;
    bool lossy = false;
    EXPECT_EQ(utf8ToCp1252(c.utf8, &lossy), c.cp1252) << c.utf8;
    EXPECT_FALSE(lossy) << c.utf8;
  }
}

TEST(Codepage, EveryCp1252ByteSurvivesUtf8RoundTrip) {
  const std::string bytes = allBytes();
  bool lossy = false;
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(bytes), &lossy), bytes);
  EXPECT_FALSE(lossy);
}

TEST(Codepage, Utf8WithoutCp1252FormBecomesQuestionMark) {
  struct Case { std::string utf8; std::string cp1252; };
  const Case cases[] = {
      {"日本", "??"},
      {"a\xF0\x9F\x98\x80z", "a?z"},  // emoji outside the BMP
      {"\xC3", "?"},                 // truncated sequence
      {"\xC0\xAF", "??"},            // overlong '/'
      {"\xED\xA0\x80", "???"},       // encoded surrogate
      {"\xFFok", "?ok"},
      {"\x80", "?"},                 // stray continuation byte
      {"Ā", "?"},                    // U+0100
  };
  for (const auto& c : cases) {
    bool lossy = false;
    EXPECT_EQ(utf8ToCp1252(c.utf8, &lossy), c.cp1252);
    EXPECT_TRUE(lossy);
  }
}

TEST(Codepage, LossyFlagIsOptionalAndNeverReset) {
  EXPECT_EQ(utf8ToCp1252("日"), "?");
  bool lossy = true;
  EXPECT_EQ(utf8ToCp1252("plain", &lossy), "plain");
  EXPECT_TRUE(lossy);
}

TEST(Codepage, Cp1252AndCp850KnownCharacters) {
  struct Case { std::string utf8; std::string cp850; };
  const Case cases[] = {
      {"ñ", "\xA4"}, {"Ñ", "\xA5"}, {"á", "\xA0"}, {"é", "\x82"}, {"í", "\xA1"},
      {"ó", "\xA2"}, {"ú", "\xA3"}, {"Á", "\xB5"}, {"É", "\x90"}, {"Í", "\xD6"},
      {"Ó", "\xE0"}, {"Ú", "\xE9"}, {"ü", "\x81"}, {"Ü", "\x9A"}, {"ç", "\x87"},
      {"¿", "\xA8"}, {"¡", "\xAD"}, {"ª", "\xA6"}, {"º", "\xA7"}, {"ß", "\xE1"},
      {"ƒ", "\x9F"}, {"\xC2\xA0", "\xFF"}, {"MARCA 1", "MARCA 1"},
  };
  for (const auto& c : cases) {
    const std::string cp1252 = utf8ToCp1252(c.utf8);
    bool lossy = false;
    EXPECT_EQ(cp1252ToCp850(cp1252, &lossy), c.cp850) << c.utf8;
    EXPECT_EQ(cp850ToCp1252(c.cp850, &lossy), cp1252) << c.utf8;
    EXPECT_FALSE(lossy) << c.utf8;
  }
}

TEST(Codepage, CharactersMissingInTargetPageAreReportedLossy) {
  struct Case { std::string in; std::string out; bool to850; };
  const Case cases[] = {
      {"\x80", "?", true},            // euro sign
      {"\x93hi\x94", "?hi?", true},   // typographic quotes
      {"\x8A", "?", true},            // Š
      {"\x81", "?", true},            // undefined in 1252
      {"\xB0\xB1\xB2", "???", false}, // shade blocks
      {"\xC9\xCD\xBB", "???", false}, // double box lines
      {"\xD5", "?", false},           // dotless i
  };
  for (const auto& c : cases) {
    bool lossy = false;
    EXPECT_EQ(c.to850 ? cp1252ToCp850(c.in, &lossy) : cp850ToCp1252(c.in, &lossy), c.out);
    EXPECT_TRUE(lossy);
  }
}

TEST(Codepage, Every850RepresentableCp1252CharacterSurvivesRoundTrip) {
  int representable = 0;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    bool lossy = false;
    const std::string oem = cp1252ToCp850(one, &lossy);
    if (lossy) {
      EXPECT_EQ(oem, "?");
      continue;
    }
    ++representable;
    EXPECT_EQ(cp850ToCodePoint(static_cast<unsigned char>(oem[0])),
              cp1252ToCodePoint(static_cast<unsigned char>(b)))
        << b;
    EXPECT_EQ(cp850ToCp1252(oem, &lossy), one) << b;
    EXPECT_FALSE(lossy) << b;
  }
  // ASCII plus all of Latin-1's letters and signs are in both pages.
  EXPECT_GE(representable, 128 + 90);
}

TEST(Codepage, CaseFoldingCoversAccentedLetters) {
  struct Case { std::string lower; std::string upper; };
  const Case cases[] = {
      {"abcxyz", "ABCXYZ"}, {"ñandú", "ÑANDÚ"}, {"àáâãäåæç", "ÀÁÂÃÄÅÆÇ"},
      {"èéêëìíîï", "ÈÉÊËÌÍÎÏ"}, {"ðñòóôõöø", "ÐÑÒÓÔÕÖØ"}, {"ùúûüýþ", "ÙÚÛÜÝÞ"},
      {"šœžÿ", "ŠŒŽŸ"},
  };
  for (const auto& c : cases) {
    const std::string lower = utf8ToCp1252(c.lower);
    const std::string upper = utf8ToCp1252(c.upper);
    EXPECT_EQ(cp1252UpperString(lower), upper) << c.lower;
    EXPECT_EQ(cp1252UpperString(upper), upper) << c.upper;
    EXPECT_EQ(cp1252LowerString(upper), lower) << c.upper;
  }
  EXPECT_EQ(cp1252UpperString(utf8ToCp1252("ñandú")), cp1252UpperString(utf8ToCp1252("ÑANDÚ")));
}

TEST(Codepage, CaseFoldingLeavesNonLettersAlone) {
  // ÷ and × sit among the letters; ß, µ, ª, º have no single-byte other case.
  for (const char* utf8 : {"÷", "×", "ß", "µ", "ª", "º", "0", "@", "[", "`", "{", "€"}) {
    const unsigned char c = static_cast<unsigned char>(utf8ToCp1252(utf8)[0]);
    EXPECT_EQ(cp1252Upper(c), c) << utf8;
    EXPECT_EQ(cp1252Lower(c), c) << utf8;
  }
}

TEST(Codepage, UpperAndLowerAreInverseOnLetters) {
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    const unsigned char up = cp1252Upper(c);
    if (up != c) {
      EXPECT_EQ(cp1252Lower(up), c) << b;
    }
    const unsigned char down = cp1252Lower(c);
    if (down != c) {
      EXPECT_EQ(cp1252Upper(down), c) << b;
    }
  }
}

}  // namespace
}  // namespace rt
