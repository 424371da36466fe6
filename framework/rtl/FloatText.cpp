#include "framework/rtl/FloatText.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/rtl/Exceptions.h"

namespace {

// strtold follows LC_NUMERIC, which the application sets from the user's
// locale; the normalised text we hand it always uses ".".
locale_t CLocale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

// Decimal digits of a finite value: Value = D[0].D[1]D[2]... × 10^Exponent.
struct TDecimal {
  char Digits[20];  // at most 18 significant digits, '0'-'9'
  int Count = 0;
  int Exponent = 0;
  bool Negative = false;
};

TDecimal ToDecimal(long double Value, int Precision) {
  TDecimal d;
  char buf[64];
  // glibc rounds correctly to nearest, ties to even, in the current rounding mode.
  std::snprintf(buf, sizeof buf, "%.*Le", Precision - 1, Value);
  const char* p = buf;
  if (*p == '-') {
    d.Negative = true;
    ++p;
  }
  while (*p != 'e' && *p != '\0') {
    if (*p >= '0' && *p <= '9' && d.Count < Precision) d.Digits[d.Count++] = *p;
    ++p;  // skips the decimal point, whichever the C locale prints
  }
  if (*p == 'e') d.Exponent = std::atoi(p + 1);
  return d;
}

bool AllZero(const TDecimal& d) {
  for (int i = 0; i < d.Count; ++i)
    if (d.Digits[i] != '0') return false;
  return true;
}

// Rounds to Decimals places: a next digit of 5 or more rounds away from zero.
void RoundToDecimals(TDecimal& d, int Decimals) {
  const int keep = d.Exponent + 1 + Decimals;  // digits left of the cut
  if (keep >= d.Count) return;
  if (keep < 0) {
    d.Count = 1;
    d.Digits[0] = '0';
    return;
  }
  const bool up = d.Digits[keep] >= '5';
  d.Count = keep;
  if (!up) {
    if (d.Count == 0) d.Digits[d.Count++] = '0';
    return;
  }
  int i = keep - 1;
  while (i >= 0 && d.Digits[i] == '9') d.Digits[i--] = '0';
  if (i >= 0) {
    ++d.Digits[i];
  } else {
    // Carry out of the first digit: 9.99 → 10.0, or 0.005 → 0.01.
    for (int k = d.Count; k > 0; --k) d.Digits[k] = d.Digits[k - 1];
    d.Digits[0] = '1';
    ++d.Count;
    ++d.Exponent;
  }
}

char DigitAt(const TDecimal& d, int Index) {
  return (Index >= 0 && Index < d.Count) ? d.Digits[Index] : '0';
}

// The digits of a rounded value as "int<sep>frac", grouped when asked.
AnsiString PlainNumber(const TDecimal& d, int Decimals, char DecimalSeparator, char Thousands) {
  AnsiString out;
  const int intDigits = d.Exponent + 1;
  if (intDigits <= 0) {
    out += '0';
  } else {
    for (int i = 0; i < intDigits; ++i) {
      if (Thousands != '\0' && i > 0 && (intDigits - i) % 3 == 0) out += Thousands;
      out += DigitAt(d, i);
    }
  }
  if (Decimals > 0) {
    out += DecimalSeparator;
    for (int i = 0; i < Decimals; ++i) out += DigitAt(d, intDigits + i);
  }
  return out;
}

// Significant digits with trailing zeros dropped, then "E" and the exponent.
AnsiString Scientific(const TDecimal& d, char DecimalSeparator) {
  int count = d.Count;
  while (count > 1 && d.Digits[count - 1] == '0') --count;
  AnsiString out;
  if (d.Negative) out += '-';
  out += d.Digits[0];
  if (count > 1) {
    out += DecimalSeparator;
    out.append(d.Digits + 1, static_cast<size_t>(count - 1));
  }
  out += 'E';
  out += std::to_string(d.Exponent);
  return out;
}

AnsiString General(const TDecimal& d, char DecimalSeparator) {
  if (AllZero(d)) return "0";
  if (d.Exponent + 1 > d.Count || d.Exponent < -4) return Scientific(d, DecimalSeparator);
  int count = d.Count;
  while (count > 1 && d.Digits[count - 1] == '0') --count;
  const int decimals = std::max(0, count - (d.Exponent + 1));
  AnsiString out = d.Negative ? "-" : "";
  return out + PlainNumber(d, decimals, DecimalSeparator, '\0');
}

AnsiString CurrencyLayout(const AnsiString& N, bool Negative, const TFormatSettings& s) {
  static constexpr const char* kPositive[4] = {"$*", "*$", "$ *", "* $"};
  static constexpr const char* kNegative[16] = {"($*)", "-$*",  "$-*",   "$*-",  "(*$)", "-*$",
                                                "*-$",  "*$-",  "-* $",  "-$ *", "* $-", "$ *-",
                                                "$ -*", "*- $", "($ *)", "(* $)"};
  const char* pattern = Negative ? kNegative[std::min<int>(s.NegCurrFormat, 15)]
                                 : kPositive[std::min<int>(s.CurrencyFormat, 3)];
  AnsiString out;
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (*p == '$')
      out += s.CurrencyString;
    else if (*p == '*')
      out += N;
    else
      out += *p;
  }
  return out;
}

}  // namespace

bool TryStrToFloat(const AnsiString& Text, long double& Value, const TFormatSettings& Settings) {
  const size_t n = Text.size();
  size_t i = 0;
  while (i < n && Text[i] == ' ') ++i;
  AnsiString normal;
  normal.reserve(n + 8);
  if (i < n && (Text[i] == '+' || Text[i] == '-')) normal += Text[i++];
  bool mantissa = false;
  const size_t intStart = i;
  while (i < n && IsDigitChar(Text[i])) ++i;
  normal.append(Text, intStart, i - intStart);
  if (i > intStart) mantissa = true;
  if (normal.empty() || normal.back() == '+' || normal.back() == '-') normal += '0';
  if (i < n && Text[i] == Settings.DecimalSeparator) {
    ++i;
    mantissa = true;
    normal += '.';
    const size_t fracStart = i;
    while (i < n && IsDigitChar(Text[i])) ++i;
    normal.append(Text, fracStart, i - fracStart);
  }
  if (!mantissa) return false;
  if (i < n && (Text[i] == 'E' || Text[i] == 'e')) {
    ++i;
    normal += 'e';
    if (i < n && (Text[i] == '+' || Text[i] == '-')) normal += Text[i++];
    const size_t expStart = i;
    while (i < n && IsDigitChar(Text[i])) ++i;
    if (i == expStart) normal += '0';  // "E" without digits is exponent 0
    normal.append(Text, expStart, i - expStart);
  }
  while (i < n && Text[i] == ' ') ++i;
  if (i != n) return false;

  errno = 0;
  char* end = nullptr;
  const long double v = strtold_l(normal.c_str(), &end, CLocale());
  if (end != normal.c_str() + normal.size()) return false;
  // ERANGE also reports underflow, which the rule accepts as denormal or zero.
  if (errno == ERANGE && std::isinf(v)) return false;
  Value = v;
  return true;
}

long double StrToFloat(const AnsiString& Text, const TFormatSettings& Settings) {
  long double v;
  if (!TryStrToFloat(Text, v, Settings))
    throw EConvertError("'" + Text + "' is not a valid floating point value");
  return v;
}

long double StrToFloat(const AnsiString& Text) { return StrToFloat(Text, FormatSettings); }

AnsiString FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits,
                       const TFormatSettings& Settings) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  Precision = std::clamp(Precision, 2, 18);
  Digits = std::clamp(Digits, 0, 18);
  TDecimal d = ToDecimal(Value, Precision);
  if (Format == ffGeneral) return General(d, Settings.DecimalSeparator);
  if (d.Exponent >= Precision) return Scientific(d, Settings.DecimalSeparator);

  RoundToDecimals(d, Digits);
  const bool negative = d.Negative && !AllZero(d);  // a zero is never negative
  const char thousands = (Format == ffFixed) ? '\0' : Settings.ThousandSeparator;
  const AnsiString n = PlainNumber(d, Digits, Settings.DecimalSeparator, thousands);
  if (Format == ffCurrency) return CurrencyLayout(n, negative, Settings);
  return negative ? "-" + n : n;
}

AnsiString FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits) {
  return FloatToStrF(Value, Format, Precision, Digits, FormatSettings);
}

AnsiString FloatToStr(long double Value, const TFormatSettings& Settings) {
  return FloatToStrF(Value, ffGeneral, 15, 0, Settings);
}

AnsiString FloatToStr(long double Value) { return FloatToStr(Value, FormatSettings); }
