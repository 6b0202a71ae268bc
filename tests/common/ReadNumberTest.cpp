// The number reader: keywords, formulas and their messages, range and rounding, results
// that are not numbers, deep nesting, and the duration text of the time dialog.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "common/ReadNumber.h"

namespace kelvra {
namespace {

// Known results and messages, with the limits -100..1000 and the default 7 (the value
// whenever there is an error).
TEST(ReadNumberTest, FormulasAndTheirMessages) {
  const struct {
    const char* text;
    int32_t value;
    const char* error;  // "" for none
  } cases[] = {
      // Keywords, in any case and only as the whole text.
      {"DEF", 7, ""},
      {"MAX", 1000, ""},
      {" max", 7, "Invalid identifier 'max'"},  // four characters: read as a formula
      {"", 7, "Line too short"},
      // Numbers, operators and constants.
      {"1+2*3", 7, ""},
      {"100/10/5", 2, ""},  // left to right
      {"2^3^2", 512, ""},   // right to left
      {"-2^2", -4, ""},     // the sign applies to the power
      {"1,5*2", 3, ""},     // comma as decimal point
      {"$FF", 255, ""},
      {"5!", 120, ""},
      {"1.2.3", 7, "Invalid number '1.2.3'"},
      // Rounding to nearest, halves away from zero.
      {"-2.5", -3, ""},
      {"999.5", 1000, ""},
      // Results outside the limits give the default.
      {"-101", 7, "Value -101 out of range -100..1000"},
      {"171!", 7, "Value INFINITY out of range -100..1000"},
      {"1000", 1000, ""},
      {"-100", -100, ""},
      // Results that are not numbers.
      {"INFINITY-INFINITY", 7, "Result is not a number"},
      // An intermediate infinity is fine when the result is a number.
      {"1/infinity", 0, ""},
      // Division by zero.
      {"1/0", 7, "Division by zero"},
      // Functions of any number of arguments, as many as wanted, and too few.
      {"SUM(1;2;3;4;5;6;7;8;9;10)", 55, ""},
      {"plus()", 7, "Too few arguments for Plus"},
      // One argument: too few and too many.
      {"abs(1;2)", 7, "1 argument required for Abs"},
      {"ln(0)", 7, "Input 0..infinity for Ln"},
      // Two arguments.
      {"power(2)", 7, "2 arguments required for Power"},
      // Syntax messages.
      {"5 6", 7, "Line too long, unused chars"},
      {"(5", 7, "')' missed"},
      {"5)", 7, "Many ')' chars"},
      {"5+", 7, "Argument required"},
  };
  for (const auto& c : cases) {
    TReadNumberResult r = ReadNumber(c.text, -100, 1000, 7);
    EXPECT_EQ(r.error, c.error) << "text \"" << c.text << "\"";
    EXPECT_EQ(r.value, c.value) << "text \"" << c.text << "\"";
  }
}

TEST(ReadNumberTest, TheWhole32BitRangeWithoutOverflow) {
  const int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(ReadNumber("2^31-1", lo, hi, 0).value, hi);
  EXPECT_EQ(ReadNumber("-2^31", lo, hi, 0).value, lo);
  EXPECT_EQ(ReadNumber("2^31", lo, hi, 0).error,
            "Value 2147483648 out of range -2147483648..2147483647");
}

TEST(ReadNumberTest, NestingIsLimited) {
  auto nested = [](int depth, const std::string& inner) {
    return std::string(size_t(depth), '(') + inner + std::string(size_t(depth), ')');
  };
  EXPECT_EQ(ReadNumber(nested(kMaxFormulaDepth, "5"), 0, 10, 1).value, 5);
  EXPECT_EQ(ReadNumber(nested(kMaxFormulaDepth + 1, "5"), 0, 10, 1).error,
            "Nesting deeper than 255 levels");

  // Long chains of signs and powers are read without recursion.
  const std::string signs(200000, '-');
  EXPECT_EQ(ReadNumber(signs + "4", -10, 10, 1).value, 4);
  std::string powers = "1";
  for (int i = 0; i < 100000; ++i) powers += "^2";
  EXPECT_EQ(ReadNumber(powers, 0, 10, 3).value, 1);
}

TEST(ReadNumberTest, TimeTextRoundTripsAndReadsShortForms) {
  const uint32_t values[] = {0, 59999, 3600000, std::numeric_limits<uint32_t>::max()};
  for (uint32_t v : values) {
    uint32_t back = 12345;
    ASSERT_TRUE(ReadTime(TimeText(v), back)) << TimeText(v);
    EXPECT_EQ(back, v) << TimeText(v);
  }
  EXPECT_EQ(TimeText(3723004), "1:02:03.004");

  struct Case {
    const char* text;
    bool ok;
    uint32_t ms;
  };
  const Case cases[] = {{"10", true, 10000},
                        {" 1:02 ", true, 62000},
                        {"250 MS", true, 250},
                        {"", false, 0},
                        {"1:2:3:4", false, 0},
                        {"-5", false, 0},
                        {"4294967296ms", false, 0},
                        {"1193:02:47.296", false, 0},
                        {"1193:02:47.295", true, 4294967295u}};
  for (const Case& c : cases) {
    uint32_t ms = 777;
    EXPECT_EQ(ReadTime(c.text, ms), c.ok) << c.text;
    EXPECT_EQ(ms, c.ok ? c.ms : 777u) << c.text;
  }
}

}  // namespace
}  // namespace kelvra
