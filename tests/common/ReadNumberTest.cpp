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
      {"mIn", -100, ""},
      {"MAX", 1000, ""},
      {" max", 7, "Invalid identifier 'max'"},  // four characters: read as a formula
      {"max-1", 7, "Invalid identifier 'max'"},
      {"", 7, "Line too short"},
      // Numbers, operators and constants.
      {"42", 42, ""},
      {"  42  ", 42, ""},
      {"-42", -42, ""},
      {"1+2*3", 7, ""},
      {"(1+2)*3", 9, ""},
      {"10-2-3", 5, ""},    // left to right
      {"100/10/5", 2, ""},  // left to right
      {"2^3^2", 512, ""},   // right to left
      {"-2^2", -4, ""},     // the sign applies to the power
      {"2^-1*8", 4, ""},
      {"--5", 5, ""},
      {"1.5*2", 3, ""},
      {"1,5*2", 3, ""},  // comma as decimal point
      {"1e2", 100, ""},
      {"$FF", 255, ""},
      {"#ff", 255, ""},
      {"50%*10", 5, ""},
      {"5!", 120, ""},
      {"3!!", 720, ""},
      {"pi*100", 314, ""},
      {"E*100", 272, ""},
      {"TRUE", 1, ""},
      {"1.2.3", 7, "Invalid number '1.2.3'"},
      {"$", 7, "Invalid number '$'"},
      {"5$1", 7, "Invalid number '5$1'"},
      {"2001!", 7, "Input -infinity..2000 for Fact"},
      // Rounding to nearest, halves away from zero.
      {"2.4", 2, ""},
      {"2.5", 3, ""},
      {"-2.5", -3, ""},
      {"0.49", 0, ""},
      {"999.5", 1000, ""},
      {"7/2", 4, ""},
      // Results outside the limits give the default.
      {"5000", 7, "Value 5000 out of range -100..1000"},
      {"-101", 7, "Value -101 out of range -100..1000"},
      {"1000.5", 7, "Value 1000.5 out of range -100..1000"},
      {"1e300", 7, "Value 1e+300 out of range -100..1000"},
      {"INFINITY", 7, "Value INFINITY out of range -100..1000"},
      {"1/0.0000000000000000001", 7, "Value 1e+19 out of range -100..1000"},
      {"1e999", 7, "Value INFINITY out of range -100..1000"},
      {"171!", 7, "Value INFINITY out of range -100..1000"},
      {"1000", 1000, ""},
      {"-100", -100, ""},
      // Results that are not numbers.
      {"INFINITY-INFINITY", 7, "Result is not a number"},
      {"sqrt(-1)", 7, "Result is not a number"},
      {"(-8)^(1/3)", 7, "Result is not a number"},
      // An intermediate infinity is fine when the result is a number.
      {"1/infinity", 0, ""},
      {"arctan(infinity)*2", 3, ""},
      // Division by zero.
      {"1/0", 7, "Division by zero"},
      {"0/0", 7, "Division by zero"},
      {"div(8;2;0)", 7, "Division by zero"},
      {"inv(0)", 7, "Division by zero"},
      {"inv(4)*8", 2, ""},
      // Every function with its arguments.
      // Functions of any number of arguments, as many as wanted, and too few.
      {"SUM(1;2;3;4;5;6;7;8;9;10)", 55, ""},
      {"plus()", 7, "Too few arguments for Plus"},
      {"sum", 7, "Too few arguments for Plus"},
      {"avg(1;2;6)", 3, ""},
      {"minus(20;1;2)", 17, ""},
      {"minus(10)", 7, "Too few arguments for Minus"},
      {"mul(2;3;4)", 24, ""},
      {"div(100;5;2)", 10, ""},
      // One argument: too few and too many.
      {"abs(-5)", 5, ""},
      {"abs()", 7, "1 argument required for Abs"},
      {"abs(1;2)", 7, "1 argument required for Abs"},
      {"neg(5)", -5, ""},
      {"not(0)", 1, ""},
      {"not(3)", 0, ""},
      {"inc(5)", 6, ""},
      {"dec(5)", 4, ""},
      {"exp(ln(20))", 20, ""},
      {"ln(e)", 1, ""},
      {"ln(0)", 7, "Input 0..infinity for Ln"},
      {"sqr(-9)", 81, ""},
      {"sqrt(81)", 9, ""},
      {"sin(pi/2)*10", 10, ""},
      {"sin", 7, "1 argument required for Sin"},
      {"cos(0)", 1, ""},
      {"tan(pi/4)*10", 10, ""},
      {"arcsin(1)*2*100", 314, ""},
      {"arccos(-1)*100", 314, ""},
      {"arctan(1)*400", 314, ""},
      {"fact(6)", 720, ""},
      {"fact(-3)", 1, ""},
      {"fact(2000)", 7, "Value INFINITY out of range -100..1000"},
      {"fact(2001)", 7, "Input -infinity..2000 for Fact"},
      // Two arguments.
      {"power(2;10)", 7, "Value 1024 out of range -100..1000"},
      {"power(2;9)", 512, ""},
      {"power(2)", 7, "2 arguments required for Power"},
      {"power(1;2;3)", 7, "2 arguments required for Power"},
      {"POWER", 7, "2 arguments required for Power"},
      // Syntax messages.
      {"5 6", 7, "Line too long, unused chars"},
      {"pi(2)", 7, "Line too long, unused chars"},
      {"2e", 7, "Line too long, unused chars"},
      {"(5", 7, "')' missed"},
      {"(5 6)", 7, "')' missed"},
      {"5)", 7, "Many ')' chars"},
      {"1;2", 7, "Incorect level"},
      {"(1;2)", 7, "Too many arguments"},
      {"5+", 7, "Argument required"},
      {"()", 7, "Argument required"},
      {"*5", 7, "Argument required"},
      {"plus(1;)", 7, "Argument required"},
      {"foo(1)", 7, "Invalid identifier 'foo'"},
      {"5=5", 7, "Invalid operator '='"},
      {"5\xC2\xB0", 7, "Invalid operator '\xC2\xB0'"},  // the whole UTF-8 character
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
  EXPECT_EQ(ReadNumber("2^64", lo, hi, 5).value, 5);
  EXPECT_EQ(ReadNumber("max", lo, hi, 0).value, hi);
}

TEST(ReadNumberTest, NestingIsLimited) {
  auto nested = [](int depth, const std::string& inner) {
    return std::string(size_t(depth), '(') + inner + std::string(size_t(depth), ')');
  };
  EXPECT_EQ(ReadNumber(nested(kMaxFormulaDepth, "5"), 0, 10, 1).value, 5);
  EXPECT_EQ(ReadNumber(nested(kMaxFormulaDepth + 1, "5"), 0, 10, 1).error,
            "Nesting deeper than 255 levels");

  std::string calls;
  for (int i = 0; i < kMaxFormulaDepth; ++i) calls += "abs(";
  calls += "-3" + std::string(size_t(kMaxFormulaDepth), ')');
  EXPECT_EQ(ReadNumber(calls, 0, 10, 1).value, 3);
  EXPECT_EQ(ReadNumber("abs(" + calls + ")", 0, 10, 1).error, "Nesting deeper than 255 levels");

  // Long chains of signs and powers are read without recursion.
  const std::string signs(200000, '-');
  EXPECT_EQ(ReadNumber(signs + "4", -10, 10, 1).value, 4);
  std::string powers = "1";
  for (int i = 0; i < 100000; ++i) powers += "^2";
  EXPECT_EQ(ReadNumber(powers, 0, 10, 3).value, 1);
}

TEST(ReadNumberTest, TimeTextRoundTripsAndReadsShortForms) {
  const uint32_t values[] = {
      0,     1,       999,     1000,     59999,
      60000, 3599999, 3600000, 86399999, std::numeric_limits<uint32_t>::max()};
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
                        {"1:02.5", true, 62500},
                        {"0:00:00.25", true, 250},
                        {"1,5", true, 1500},
                        {"250ms", true, 250},
                        {"250 MS", true, 250},
                        {"90:00", true, 5400000},
                        {"", false, 0},
                        {"ms", false, 0},
                        {"1:2:3:4", false, 0},
                        {"1::2", false, 0},
                        {"1.2345", false, 0},
                        {"-5", false, 0},
                        {"abc", false, 0},
                        {"1.5ms", false, 0},
                        {"4294967296ms", false, 0},
                        {"1193:02:47.296", false, 0},
                        {"1193:02:47.295", true, 4294967295u},
                        {"99999999999", false, 0}};
  for (const Case& c : cases) {
    uint32_t ms = 777;
    EXPECT_EQ(ReadTime(c.text, ms), c.ok) << c.text;
    EXPECT_EQ(ms, c.ok ? c.ms : 777u) << c.text;
  }
}

}  // namespace
}  // namespace kelvra
