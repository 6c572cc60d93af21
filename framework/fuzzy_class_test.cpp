#include "framework/fuzzy_class.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using fw::FuzzyClass;

struct Case {
  const char* query;
  const char* text;
  bool ignore_case;
  bool whole_words;
  int score;
};

TEST(FuzzyClass, Scores) {
  const Case cases[] = {
      // Equal texts.
      {"Marzo", "Marzo", false, false, 100},
      {"Marzo", "MARZO", true, false, 100},
      {"", "", true, false, 100},
      // Accented letters fold too (Windows-1252: \xF1 is n-tilde, \xD1 its capital).
      {"a\xF1o", "A\xD1O", true, false, 100},
      // Exact occurrence: 80 + 19 * 3 / 9.
      {"art", "Articulos", true, false, 86},
      {"ulos", "Articulos", false, false, 88},
      {"mesa", "la mesa grande", true, true, 85},
      // Case matters when not ignored: one edit in five, 79 * 4 / 5.
      {"Marzo", "marzo", false, false, 63},
      {"art", "Articulos", false, false, 52},
      // Approximate occurrences.
      {"Articlos", "Articulos", true, false, 69},
      {"Artixulos", "ARTICULOS", true, false, 70},
      {"abcd", "abc", false, false, 59},
      // Whole words: the occurrence must start and end on word boundaries.
      {"art", "Articulos", true, true, 0},
      // Two extra letters before the word: 79 * 2 / 4.
      {"mesa", "lamesa grande", true, true, 39},
      {"mesa grande", "la mesa grande.", true, true, 93},
      {"mesas", "la mesa grande", true, true, 63},
      // Nothing in common, and empty sides.
      {"xyz", "abc", true, false, 0},
      {"", "abc", true, false, 0},
      {"abc", "", true, false, 0},
  };
  FuzzyClass fuzzy;
  fuzzy.Init();
  for (const Case& c : cases) {
    ASSERT_TRUE(fuzzy.SetOption(FuzzyClass::Option_IgnoreCase, c.ignore_case));
    ASSERT_TRUE(fuzzy.SetOption(FuzzyClass::Option_WholeWords, c.whole_words));
    EXPECT_EQ(fuzzy.Match(c.query, c.text), c.score)
        << "'" << c.query << "' in '" << c.text << "' case " << (c.ignore_case ? "ignored" : "kept")
        << (c.whole_words ? ", whole words" : "");
  }
}

TEST(FuzzyClass, CloserMatchesScoreHigher) {
  FuzzyClass fuzzy;
  fuzzy.Init();
  // From an exact match towards a poorer and poorer one.
  const char* texts[] = {"Cabecera", "Cabecera de factura", "Cabezera", "Cabazera", "Xabazera",
                         "Nada"};
  int previous = 101;
  for (const char* t : texts) {
    const int score = fuzzy.Match("cabecera", t);
    EXPECT_LT(score, previous) << t;
    EXPECT_GE(score, 0);
    previous = score;
  }
}

TEST(FuzzyClass, OptionsAndLifecycle) {
  FuzzyClass fuzzy;
  fuzzy.Init();
  EXPECT_TRUE(fuzzy.GetOption(FuzzyClass::Option_IgnoreCase));
  EXPECT_FALSE(fuzzy.GetOption(FuzzyClass::Option_WholeWords));
  EXPECT_FALSE(fuzzy.SetOption(3, true));
  EXPECT_FALSE(fuzzy.SetOption(0, true));

  ASSERT_TRUE(fuzzy.SetOption(FuzzyClass::Option_IgnoreCase, false));
  ASSERT_TRUE(fuzzy.SetOption(FuzzyClass::Option_WholeWords, true));
  EXPECT_FALSE(fuzzy.GetOption(FuzzyClass::Option_IgnoreCase));
  EXPECT_TRUE(fuzzy.GetOption(FuzzyClass::Option_WholeWords));
  EXPECT_EQ(fuzzy.Match("a", "A"), 0);

  fuzzy.Kill();
  EXPECT_TRUE(fuzzy.GetOption(FuzzyClass::Option_IgnoreCase));
  EXPECT_FALSE(fuzzy.GetOption(FuzzyClass::Option_WholeWords));
  EXPECT_EQ(fuzzy.Match("a", "A"), 100);
}

TEST(FuzzyClass, LongTextsStayWithinRange) {
  FuzzyClass fuzzy;
  fuzzy.Init();
  const std::string text(5000, 'x');
  EXPECT_EQ(fuzzy.Match(std::string(4000, 'x'), text), 80 + 19 * 4000 / 5000);
  EXPECT_EQ(fuzzy.Match(std::string(300, 'y'), text), 0);
  EXPECT_EQ(fuzzy.Match(std::string(200, 'x') + "y", text), 78);
}

}  // namespace
