// The number reader: keywords, the formula tokenizer and its recursive-descent evaluator,
// and the text form of durations.
#include "common/ReadNumber.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <vector>

namespace kelvra {

namespace {

constexpr double kLightSpeed = 299792458.0;  // m/s, the constant C
constexpr int kFactLimit = 2000;             // largest input of FACT and "!"
constexpr int kFactFinite = 170;             // 171! and above overflow a double

const char kNotANumber[] = "Result is not a number";
const char kDivisionByZero[] = "Division by zero";
const char kArgumentRequired[] = "Argument required";
const char kParenMissed[] = "')' missed";

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDecimalPoint(char c) {
  return c == '.' || c == ',';
}
bool IsNumberChar(char c) {
  return IsDigit(c) || IsDecimalPoint(c) || c == '$' || c == '#' || c == '%' || c == '!';
}
int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  c = Upper(c);
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// Product of 2..trunc(x); 1 below 2. Inputs above the limit are refused by the callers.
double Factorial(double x) {
  if (x > kFactFinite) return std::numeric_limits<double>::infinity();
  if (!(x >= 2)) return 1;
  double r = 1;
  for (int i = 2; i <= int(x); ++i) r *= i;
  return r;
}

// Decimal text in the "C" locale, whatever the program's numeric locale is.
double DecimalValue(const std::string& text) {
  static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
  return cLocale ? strtod_l(text.c_str(), nullptr, cLocale) : strtod(text.c_str(), nullptr);
}

enum TokenKind { tkNumber, tkName, tkOperator, tkOpen, tkClose, tkSemicolon, tkEnd };

struct Token {
  TokenKind kind;
  double value = 0;       // tkNumber
  std::string_view text;  // tkName: the name as typed; tkOperator: the character
};

// Splits the text into tokens. Returns the error message, empty on success.
std::string Tokenize(std::string_view s, std::vector<Token>& out) {
  size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (IsBlank(c)) {
      ++i;
    } else if (IsNameChar(c)) {
      size_t start = i;
      while (i < s.size() && IsNameChar(s[i])) ++i;
      out.push_back({tkName, 0, s.substr(start, i - start)});
    } else if (IsNumberChar(c)) {
      // Take the whole run of number characters (with hexadecimal digits after "$" or "#"
      // and an exponent after decimal digits), then check its form.
      const size_t start = i;
      double value = 0;
      bool valid = true;
      if (c == '$' || c == '#') {
        ++i;
        size_t digits = 0;
        for (; i < s.size() && HexDigit(s[i]) >= 0; ++i, ++digits)
          value = value * 16 + HexDigit(s[i]);
        valid = digits > 0;
      } else {
        std::string text;
        size_t digits = 0, points = 0;
        for (; i < s.size() && (IsDigit(s[i]) || IsDecimalPoint(s[i])); ++i) {
          if (IsDigit(s[i])) {
            ++digits;
            text += s[i];
          } else {
            ++points;
            text += '.';
          }
        }
        if (digits > 0 && i < s.size() && Upper(s[i]) == 'E') {
          size_t j = i + 1;
          if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
          if (j < s.size() && IsDigit(s[j])) {
            text += s.substr(i, j - i);
            i = j;
            while (i < s.size() && IsDigit(s[i])) text += s[i++];
          }
        }
        valid = digits > 0 && points <= 1;
        if (valid) value = DecimalValue(text);
      }
      // Suffixes, applied left to right.
      for (; valid && i < s.size() && (s[i] == '%' || s[i] == '!'); ++i) {
        if (s[i] == '%') {
          value /= 100;
        } else if (value > kFactLimit) {
          return "Input -infinity..2000 for Fact";
        } else {
          value = Factorial(value);
        }
      }
      if (!valid || (i < s.size() && IsNumberChar(s[i]))) {
        while (i < s.size() && IsNumberChar(s[i])) ++i;
        return "Invalid number '" + std::string(s.substr(start, i - start)) + "'";
      }
      out.push_back({tkNumber, value, {}});
    } else if (c == '+' || c == '-' || c == '*' || c == '/' || c == '^') {
      out.push_back({tkOperator, 0, s.substr(i, 1)});
      ++i;
    } else if (c == '(') {
      out.push_back({tkOpen, 0, {}});
      ++i;
    } else if (c == ')') {
      out.push_back({tkClose, 0, {}});
      ++i;
    } else if (c == ';') {
      out.push_back({tkSemicolon, 0, {}});
      ++i;
    } else {
      // The whole UTF-8 character, so that the message shows what was typed.
      size_t len = 1;
      const auto lead = static_cast<unsigned char>(c);
      if (lead >= 0xC0) {
        while (i + len < s.size() && len < 4 &&
               (static_cast<unsigned char>(s[i + len]) & 0xC0) == 0x80)
          ++len;
      }
      return "Invalid operator '" + std::string(s.substr(i, len)) + "'";
    }
  }
  out.push_back({tkEnd, 0, {}});
  return {};
}

// Parentheses must pair and nest at most kMaxFormulaDepth deep; checking this before the
// evaluation bounds its recursion.
std::string CheckParentheses(const std::vector<Token>& tokens) {
  int depth = 0;
  for (const Token& t : tokens) {
    if (t.kind == tkOpen) {
      if (++depth > kMaxFormulaDepth)
        return "Nesting deeper than " + std::to_string(kMaxFormulaDepth) + " levels";
    } else if (t.kind == tkClose) {
      if (--depth < 0) return "Many ')' chars";
    }
  }
  return depth > 0 ? kParenMissed : std::string();
}

enum Function {
  fnPlus,
  fnAvg,
  fnMinus,
  fnMul,
  fnDiv,
  fnAbs,
  fnNeg,
  fnInv,
  fnNot,
  fnInc,
  fnDec,
  fnExp,
  fnLn,
  fnSqr,
  fnSqrt,
  fnSin,
  fnCos,
  fnTan,
  fnArcSin,
  fnArcCos,
  fnArcTan,
  fnPower,
  fnFact
};

struct FunctionInfo {
  const char* name;     // as typed, any case
  const char* display;  // as the messages show it
  Function function;
  int minArgs;
  int maxArgs;  // -1: no limit
};

constexpr int kAny = -1;
constexpr FunctionInfo kFunctions[] = {
    {"PLUS", "Plus", fnPlus, 1, kAny},    {"SUM", "Plus", fnPlus, 1, kAny},
    {"AVG", "Avg", fnAvg, 1, kAny},       {"MINUS", "Minus", fnMinus, 2, kAny},
    {"MUL", "Mul", fnMul, 1, kAny},       {"DIV", "Div", fnDiv, 2, kAny},
    {"ABS", "Abs", fnAbs, 1, 1},          {"NEG", "Neg", fnNeg, 1, 1},
    {"INV", "Inv", fnInv, 1, 1},          {"NOT", "Not", fnNot, 1, 1},
    {"INC", "Inc", fnInc, 1, 1},          {"DEC", "Dec", fnDec, 1, 1},
    {"EXP", "Exp", fnExp, 1, 1},          {"LN", "Ln", fnLn, 1, 1},
    {"SQR", "Sqr", fnSqr, 1, 1},          {"SQRT", "Sqrt", fnSqrt, 1, 1},
    {"SIN", "Sin", fnSin, 1, 1},          {"COS", "Cos", fnCos, 1, 1},
    {"TAN", "Tan", fnTan, 1, 1},          {"ARCSIN", "ArcSin", fnArcSin, 1, 1},
    {"ARCCOS", "ArcCos", fnArcCos, 1, 1}, {"ARCTAN", "ArcTan", fnArcTan, 1, 1},
    {"POWER", "Power", fnPower, 2, 2},    {"FACT", "Fact", fnFact, 1, 1},
};

struct ConstantInfo {
  const char* name;
  double value;
};

constexpr ConstantInfo kConstants[] = {
    {"PI", std::numbers::pi},
    {"E", std::numbers::e},
    {"C", kLightSpeed},
    {"ZERO", 0},
    {"FALSE", 0},
    {"TRUE", 1},
    {"INFINITY", std::numeric_limits<double>::infinity()},
    {"NEGINFINITY", -std::numeric_limits<double>::infinity()},
};

class Evaluator {
 public:
  explicit Evaluator(const std::vector<Token>& tokens) : tokens_(tokens) {}

  std::string Run(double& result) {
    double v = 0;
    if (!Sum(v)) return error_;
    switch (Peek().kind) {
      case tkEnd:
        result = v;
        return {};
      case tkSemicolon:
        return "Incorect level";  // an argument separator outside any argument list
      case tkClose:
        return "Many ')' chars";
      default:
        return "Line too long, unused chars";
    }
  }

 private:
  const Token& Peek() const { return tokens_[pos_]; }
  bool PeekOperator(char op) const { return Peek().kind == tkOperator && Peek().text[0] == op; }
  bool Fail(std::string message) {
    error_ = std::move(message);
    return false;
  }
  // Every operation's result passes here: a NaN stops the evaluation.
  bool Checked(double value, double& out) {
    if (std::isnan(value)) return Fail(kNotANumber);
    out = value;
    return true;
  }

  bool Sum(double& v) {
    if (!Product(v)) return false;
    while (PeekOperator('+') || PeekOperator('-')) {
      const char op = tokens_[pos_++].text[0];
      double r = 0;
      if (!Product(r)) return false;
      if (!Checked(op == '+' ? v + r : v - r, v)) return false;
    }
    return true;
  }

  bool Product(double& v) {
    if (!Signed(v)) return false;
    while (PeekOperator('*') || PeekOperator('/')) {
      const char op = tokens_[pos_++].text[0];
      double r = 0;
      if (!Signed(r)) return false;
      if (op == '/' && r == 0) return Fail(kDivisionByZero);
      if (!Checked(op == '*' ? v * r : v / r, v)) return false;
    }
    return true;
  }

  // Leading signs; true when they negate.
  bool Signs() {
    bool negate = false;
    while (PeekOperator('+') || PeekOperator('-')) negate ^= tokens_[pos_++].text[0] == '-';
    return negate;
  }

  bool Signed(double& v) {
    const bool negate = Signs();
    if (!Power(v)) return false;
    if (negate) v = -v;
    return true;
  }

  // A chain a ^ -b ^ c is gathered first and folded from the right, so that long chains
  // need no recursion.
  bool Power(double& v) {
    if (!Primary(v)) return false;
    if (!PeekOperator('^')) return true;
    std::vector<double> bases{v};
    std::vector<bool> negated{false};
    while (PeekOperator('^')) {
      ++pos_;
      const bool negate = Signs();
      double b = 0;
      if (!Primary(b)) return false;
      bases.push_back(b);
      negated.push_back(negate);
    }
    double acc = negated.back() ? -bases.back() : bases.back();
    for (size_t i = bases.size() - 1; i-- > 0;) {
      if (!Checked(std::pow(bases[i], acc), acc)) return false;
      if (negated[i]) acc = -acc;
    }
    v = acc;
    return true;
  }

  bool Primary(double& v) {
    const Token& t = Peek();
    switch (t.kind) {
      case tkNumber:
        ++pos_;
        v = t.value;
        return true;
      case tkOpen:
        ++pos_;
        if (!Sum(v)) return false;
        if (Peek().kind == tkSemicolon) return Fail("Too many arguments");
        if (Peek().kind != tkClose) return Fail(kParenMissed);
        ++pos_;
        return true;
      case tkName:
        ++pos_;
        return Name(t.text, v);
      default:
        return Fail(kArgumentRequired);
    }
  }

  bool Name(std::string_view name, double& v) {
    for (const ConstantInfo& c : kConstants) {
      if (SameText(name, c.name)) {
        v = c.value;
        return true;
      }
    }
    for (const FunctionInfo& f : kFunctions) {
      if (!SameText(name, f.name)) continue;
      std::vector<double> args;
      if (Peek().kind == tkOpen) {
        ++pos_;
        if (Peek().kind == tkClose) {
          ++pos_;
        } else {
          for (;;) {
            double a = 0;
            if (!Sum(a)) return false;
            args.push_back(a);
            if (Peek().kind == tkSemicolon) {
              ++pos_;
            } else if (Peek().kind == tkClose) {
              ++pos_;
              break;
            } else {
              return Fail(kParenMissed);
            }
          }
        }
      }
      return Call(f, args, v);
    }
    return Fail("Invalid identifier '" + std::string(name) + "'");
  }

  bool Call(const FunctionInfo& f, const std::vector<double>& args, double& v) {
    const int n = int(args.size());
    if (n < f.minArgs || (f.maxArgs != kAny && n > f.maxArgs)) {
      if (f.maxArgs == kAny) return Fail(std::string("Too few arguments for ") + f.display);
      if (f.maxArgs == 1) return Fail(std::string("1 argument required for ") + f.display);
      return Fail(std::string("2 arguments required for ") + f.display);
    }
    const double x = args[0];
    double r = 0;
    switch (f.function) {
      case fnPlus:
      case fnAvg:
        for (double a : args)
          if (!Checked(r + a, r)) return false;
        if (f.function == fnAvg) r /= n;
        break;
      case fnMinus:
        r = x;
        for (int i = 1; i < n; ++i)
          if (!Checked(r - args[i], r)) return false;
        break;
      case fnMul:
        r = 1;
        for (double a : args)
          if (!Checked(r * a, r)) return false;
        break;
      case fnDiv:
        r = x;
        for (int i = 1; i < n; ++i) {
          if (args[i] == 0) return Fail(kDivisionByZero);
          if (!Checked(r / args[i], r)) return false;
        }
        break;
      case fnAbs:
        r = std::fabs(x);
        break;
      case fnNeg:
        r = -x;
        break;
      case fnInv:
        if (x == 0) return Fail(kDivisionByZero);
        r = 1 / x;
        break;
      case fnNot:
        r = x == 0 ? 1 : 0;
        break;
      case fnInc:
        r = x + 1;
        break;
      case fnDec:
        r = x - 1;
        break;
      case fnExp:
        r = std::exp(x);
        break;
      case fnLn:
        if (!(x > 0)) return Fail("Input 0..infinity for Ln");
        r = std::log(x);
        break;
      case fnSqr:
        r = x * x;
        break;
      case fnSqrt:
        r = std::sqrt(x);
        break;
      case fnSin:
        r = std::sin(x);
        break;
      case fnCos:
        r = std::cos(x);
        break;
      case fnTan:
        r = std::tan(x);
        break;
      case fnArcSin:
        r = std::asin(x);
        break;
      case fnArcCos:
        r = std::acos(x);
        break;
      case fnArcTan:
        r = std::atan(x);
        break;
      case fnPower:
        r = std::pow(x, args[1]);
        break;
      case fnFact:
        if (x > kFactLimit) return Fail("Input -infinity..2000 for Fact");
        r = Factorial(x);
        break;
    }
    return Checked(r, v);
  }

  const std::vector<Token>& tokens_;
  size_t pos_ = 0;
  std::string error_;
};

bool AllBlank(std::string_view s) {
  for (char c : s)
    if (!IsBlank(c)) return false;
  return true;
}

// Up to `maxDigits` decimal digits, nothing else; false for an empty text.
bool Digits(std::string_view s, size_t maxDigits, uint64_t& value) {
  if (s.empty() || s.size() > maxDigits) return false;
  value = 0;
  for (char c : s) {
    if (!IsDigit(c)) return false;
    value = value * 10 + uint64_t(c - '0');
  }
  return true;
}

}  // namespace

std::string EvaluateFormula(std::string_view text, double& result) {
  std::vector<Token> tokens;
  std::string error = Tokenize(text, tokens);
  if (error.empty()) error = CheckParentheses(tokens);
  if (error.empty()) error = Evaluator(tokens).Run(result);
  return error;
}

TReadNumberResult ReadNumber(std::string_view text, int32_t min, int32_t max, int32_t def) {
  if (AllBlank(text)) return {def, "Line too short"};
  if (SameText(text, "DEF")) return {def, {}};
  if (SameText(text, "MIN")) return {min, {}};
  if (SameText(text, "MAX")) return {max, {}};
  double r = 0;
  std::string error = EvaluateFormula(text, r);
  if (!error.empty()) return {def, std::move(error)};
  // The range check comes before the conversion, so infinities and huge values never
  // reach it; rounding a value within two integers stays within them.
  if (!(r >= min && r <= max)) {
    return {def, "Value " + FormulaNumberText(r) + " out of range " + std::to_string(min) + ".." +
                     std::to_string(max)};
  }
  return {static_cast<int32_t>(std::round(r)), {}};
}

std::string FormulaNumberText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INFINITY" : "NEGINFINITY";
  if (value == 0) return "0";  // also -0
  std::array<char, 64> buf;
  auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  return ec == std::errc() ? std::string(buf.data(), end) : std::string("?");
}

bool ReadTime(std::string_view text, uint32_t& ms) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  constexpr size_t kMaxDigits = 10;  // enough for any u32, little enough not to overflow
  uint64_t total = 0;
  if (text.size() > 2 && SameText(text.substr(text.size() - 2), "MS")) {
    text.remove_suffix(2);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (!Digits(text, kMaxDigits, total)) return false;
  } else {
    // [[H:]M:]S[.DDD]
    std::string_view fields[3];
    int count = 0;
    for (;;) {
      const size_t colon = text.find(':');
      if (count == 3) return false;
      fields[count++] = text.substr(0, colon);
      if (colon == std::string_view::npos) break;
      text.remove_prefix(colon + 1);
    }
    std::string_view last = fields[count - 1];
    uint64_t fraction = 0;
    size_t point = last.find_first_of(".,");
    if (point != std::string_view::npos) {
      std::string_view f = last.substr(point + 1);
      if (!Digits(f, 3, fraction)) return false;
      for (size_t i = f.size(); i < 3; ++i) fraction *= 10;
      last = last.substr(0, point);
    }
    uint64_t seconds = 0, minutes = 0, hours = 0;
    if (!Digits(last, kMaxDigits, seconds)) return false;
    if (count >= 2 && !Digits(fields[count - 2], kMaxDigits, minutes)) return false;
    if (count == 3 && !Digits(fields[0], kMaxDigits, hours)) return false;
    total = ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction;
  }
  if (total > std::numeric_limits<uint32_t>::max()) return false;
  ms = static_cast<uint32_t>(total);
  return true;
}

std::string TimeText(uint32_t ms) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%u:%02u:%02u.%03u", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                ms % 1000);
  return buf;
}

std::string FormatTwoDigits(int32_t value) {
  const int v = std::clamp(value, 0, 99);
  return std::string(1, char('0' + v / 10)) + char('0' + v % 10);
}

std::string FormatRate(uint32_t hundredths) {
  const uint32_t v = std::min<uint32_t>(hundredths, 99999);
  return std::to_string(v / 100) + "." + FormatTwoDigits(int32_t(v % 100));
}

std::string FormatMinutes(uint32_t ms) {
  const uint32_t seconds = std::min<uint32_t>(ms / 1000, 999 * 60 + 59);
  return std::to_string(seconds / 60) + ":" + FormatTwoDigits(int32_t(seconds % 60));
}
}  // namespace kelvra
