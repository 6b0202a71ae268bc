// The program's number reader: the keywords "DEF", "MIN" and "MAX" and a small calculator
// language for typed numbers, and the text form of durations used by the time dialog.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvra {

// Deepest nesting of parentheses (groups and argument lists) a formula may have.
constexpr int kMaxFormulaDepth = 255;

// Evaluates a formula in double precision. Returns the error message, empty on success;
// `result` is set only on success and is never a NaN (it may be an infinity).
//
// The language, names compared without regard to case:
//   sum      := product (('+' | '-') product)*
//   product  := signed (('*' | '/') signed)*
//   signed   := ('+' | '-')* power              so -2^2 is -4
//   power    := primary ('^' signed)*           right to left: 2^3^2 is 2^9
//   primary  := number | constant | function ['(' [sum (';' sum)*] ')'] | '(' sum ')'
// Numbers: decimal digits with one optional decimal point ('.' or ','), an optional
// exponent ("1.5e3"), or "$" or "#" followed by hexadecimal digits ("$FF", "#ff"); each
// may be followed by "%" (hundredths: "50%" is 0.5) and "!" (factorial: "5!" is 120).
// Constants: PI, E, C (speed of light, 299792458 m/s), ZERO and FALSE (0), TRUE (1),
// INFINITY, NEGINFINITY.
// Functions: PLUS and SUM (total), AVG (mean), MUL (product), at least one argument each;
// MINUS and DIV (first argument less, or divided by, each further one), at least two;
// ABS, NEG, INV (1/x), NOT (1 for 0, else 0), INC (x + 1), DEC (x - 1), EXP, LN, SQR (x²),
// SQRT, SIN, COS, TAN, ARCSIN, ARCCOS, ARCTAN and FACT (product of 2..trunc(x), 1 below 2),
// one argument each; POWER, two. Angles are in radians.
// A result that is not a number (INFINITY - INFINITY, SQRT(-1), 0 * INFINITY) is an error.
std::string EvaluateFormula(std::string_view text, double& result);

struct TReadNumberResult {
  int32_t value = 0;  // the number read, or the default when `error` is set
  std::string error;  // empty when the text was read
};

// Reads a typed number: "DEF", "MIN" or "MAX" (exactly those three characters, any case)
// give the default, the minimum or the maximum; anything else is evaluated as a formula
// whose result must lie within minimum..maximum and is then rounded to the nearest
// integer, halves away from zero.
TReadNumberResult ReadNumber(std::string_view text, int32_t min, int32_t max, int32_t def);

// A number as the reader's messages show it: the shortest text that reads back to the same
// double ("5000", "2.5", "1e+20"); the infinities as "INFINITY" and "NEGINFINITY".
std::string FormulaNumberText(double value);

// Durations as typed into the time dialog. The text form is "H:MM:SS.DDD"; reading also
// takes "M:SS", "S", fractions of a second with up to three digits ("1:02.5") and a whole
// number of milliseconds with "ms" ("250ms"); blanks around the text are ignored. Returns
// false for anything else and for durations of 2^32 ms or more.
bool ReadTime(std::string_view text, uint32_t& ms);
std::string TimeText(uint32_t ms);

// The status panels' number texts.
std::string FormatTwoDigits(int32_t value);   // "00", 0..99
std::string FormatRate(uint32_t hundredths);  // "##0.00", events per second
std::string FormatMinutes(uint32_t ms);       // minutes and seconds, "m:ss"

}  // namespace kelvra
