#include "framework/step_class.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/browse_test_tables.h"
#include "framework/locator_class.h"
#include "framework/record_field.h"

namespace {

using namespace browse_test;

const unsigned char* bytes(const Line& l) { return reinterpret_cast<const unsigned char*>(&l); }

TEST(StepLongClass, ThumbFollowsTheValueBetweenTheLimitsAndMapsBackMonotonically) {
  fw::StepLongClass step;
  step.Init(1);
  step.SetField(linesDef().fields[L_AMOUNT], false);
  const Line low = line(0, 0, "", -50), high = line(0, 0, "", 150);
  step.SetLimit(bytes(low), bytes(high));
  struct Case {
    int amount;
    double fraction;
  };
  for (const Case& c : {Case{-50, 0.0}, Case{0, 0.25}, Case{50, 0.5}, Case{150, 1.0}, Case{-999, 0.0}, Case{999, 1.0}}) {
    SCOPED_TRACE(c.amount);
    EXPECT_DOUBLE_EQ(step.GetPercentile(bytes(line(0, 0, "", c.amount))), c.fraction);
  }
  // Dropping the thumb and reading the thumb back never goes backwards.
  double lastFraction = -1;
  int lastValue = -1000;
  for (int i = 0; i <= 40; ++i) {
    Line rec = line(0, 0, "", 0);
    step.GetValue(i / 40.0, reinterpret_cast<unsigned char*>(&rec));
    EXPECT_GE(rec.AMOUNT, lastValue);
    const double back = step.GetPercentile(bytes(rec));
    EXPECT_GE(back, lastFraction);
    lastValue = rec.AMOUNT;
    lastFraction = back;
  }
  EXPECT_EQ(lastValue, 150);
}

TEST(StepLongClass, EqualLimitsPutTheThumbAtTheTop) {
  fw::StepLongClass step;
  step.SetField(linesDef().fields[L_AMOUNT], false);
  const Line only = line(0, 0, "", 7);
  step.SetLimit(bytes(only), bytes(only));
  EXPECT_DOUBLE_EQ(step.GetPercentile(bytes(only)), 0.0);
  step.SetLimit(nullptr, nullptr);
  EXPECT_DOUBLE_EQ(step.GetPercentile(bytes(only)), 0.0);
}

TEST(StepStringClass, UpperCaseLettersModeStepsThroughTheLettersInKeyOrder) {
  fw::StepStringClass step;
  step.Init(1, 3);
  step.SetField(linesDef().fields[L_NAME], true);
  const std::string& s = step.Steps();
  ASSERT_FALSE(s.empty());
  EXPECT_EQ(s.front(), 'A');
  EXPECT_NE(s.find('Z'), std::string::npos);
  EXPECT_NE(s.find('\xC9'), std::string::npos);  // É
  EXPECT_EQ(s.find('a'), std::string::npos);
  EXPECT_EQ(s.find('1'), std::string::npos);
  for (size_t i = 1; i < s.size(); ++i) EXPECT_LT(static_cast<unsigned char>(s[i - 1]), static_cast<unsigned char>(s[i]));

  // Names in a case-insensitive key's order give non-decreasing thumb positions.
  double last = -1;
  for (const char* name : {"  lead", "apple", "Banana", "cherry", "Mango", "zebra", "\xC9tude"}) {
    SCOPED_TRACE(name);
    const double f = step.GetPercentile(bytes(line(0, 0, name, 0)));
    EXPECT_GE(f, last);
    EXPECT_GE(f, 0.0);
    EXPECT_LE(f, 1.0);
    last = f;
  }
  EXPECT_DOUBLE_EQ(step.GetPercentile(bytes(line(0, 0, "apple", 0))), 0.0);
  EXPECT_DOUBLE_EQ(step.GetPercentile(bytes(line(0, 0, "b", 0))), step.GetPercentile(bytes(line(0, 0, "B", 0))));

  // A drop maps to a step letter; larger fractions never give an earlier letter.
  unsigned char prev = 0;
  for (int i = 0; i <= 20; ++i) {
    Line rec = line(0, 0, "", 0);
    step.GetValue(i / 20.0, reinterpret_cast<unsigned char*>(&rec));
    const auto c = static_cast<unsigned char>(rec.NAME[0]);
    EXPECT_GE(c, prev);
    EXPECT_EQ(rec.NAME[1], ' ');
    prev = c;
  }
  EXPECT_EQ(prev, static_cast<unsigned char>(s.back()));
}

TEST(StepLocatorClass, BeginsWithAndSeekValueByFieldKind) {
  fw::StepLocatorClass text, number;
  text.Init(nullptr, true);
  text.Bind(linesDef().fields[L_NAME]);
  number.Init(nullptr, true);
  number.Bind(linesDef().fields[L_NUM]);
  struct Case {
    const fw::StepLocatorClass* loc;
    Line rec;
    char c;
    bool begins;
  };
  const Case cases[] = {
      {&text, line(0, 0, "Mango", 0), 'm', true},
      {&text, line(0, 0, "mango", 0), 'M', true},
      {&text, line(0, 0, "Mango", 0), 'n', false},
      {&text, line(0, 0, "", 0), ' ', true},
      {&number, line(0, 5, "", 0), '5', true},
      {&number, line(0, 57, "", 0), '5', true},
      {&number, line(0, 15, "", 0), '5', false},
      {&number, line(0, 5, "", 0), 'a', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.c));
    EXPECT_EQ(c.loc->BeginsWith(bytes(c.rec), c.c), c.begins);
  }
  Line rec = line(0, 0, "old", 0);
  ASSERT_TRUE(text.SeekValue('q', reinterpret_cast<unsigned char*>(&rec)));
  EXPECT_EQ(std::string(rec.NAME, 10), "q         ");
  ASSERT_TRUE(number.SeekValue('7', reinterpret_cast<unsigned char*>(&rec)));
  EXPECT_EQ(rec.NUM, 7);
  rec.NUM = 3;
  EXPECT_FALSE(number.SeekValue('x', reinterpret_cast<unsigned char*>(&rec)));
  EXPECT_EQ(rec.NUM, 3);

  fw::StepLocatorClass caseSensitive;
  caseSensitive.Init(nullptr, false);
  caseSensitive.Bind(linesDef().fields[L_NAME]);
  EXPECT_FALSE(caseSensitive.BeginsWith(bytes(line(0, 0, "mango", 0)), 'M'));
}

}  // namespace
