#include "framework/rtl/FormatSettings.h"

#include <iconv.h>
#include <langinfo.h>

#include <climits>
#include <cstring>
#include <string>

#include "framework/rtl/CodePage.h"

TFormatSettings FormatSettings;

namespace {

// An unspecified field takes the value the layout tables treat as usual.
int Specified(int Value, int Default) { return Value == CHAR_MAX ? Default : Value; }

// Locale text in the locale's own code set, as UTF-8.
std::string LocaleTextToUtf8(const char* Text) {
  if (Text == nullptr) return std::string();
  std::string in(Text);
  const char* codeset = nl_langinfo(CODESET);
  if (in.empty() || codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0) return in;
  iconv_t cd = iconv_open("UTF-8", codeset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return in;
  std::string out(in.size() * 4 + 4, '\0');
  char* src = in.data();
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return std::string();
  out.resize(out.size() - dstLeft);
  return out;
}

// Locale text to Windows-1252, noting whether some character had no code.
AnsiString LocaleTextToAnsi(const char* Text, bool& HadNoCode) {
  const std::string utf8 = LocaleTextToUtf8(Text);
  const AnsiString ansi = Utf8ToAnsi(utf8);
  // '?' in the result that was not '?' in the source marks a lost character.
  HadNoCode = ansi.find('?') != AnsiString::npos && utf8.find('?') == std::string::npos;
  return ansi;
}

}  // namespace

unsigned char PositiveCurrencyFormat(int CsPrecedes, int SepBySpace) {
  const bool precedes = Specified(CsPrecedes, 1) != 0;
  const bool space = Specified(SepBySpace, 0) != 0;  // 2 counts as 1
  if (precedes) return space ? 2 : 0;
  return space ? 3 : 1;
}

unsigned char NegativeCurrencyFormat(int SignPosn, int CsPrecedes, int SepBySpace) {
  // Columns: (precedes, space) = 1/0, 0/0, 1/1, 0/1.
  static constexpr unsigned char kTable[5][4] = {
      {0, 4, 14, 15},  // 0: parentheses around quantity and symbol
      {1, 5, 9, 8},    // 1: sign before both
      {3, 7, 11, 10},  // 2: sign after both
      {1, 6, 9, 13},   // 3: sign just before the symbol
      {2, 7, 12, 10},  // 4: sign just after the symbol
  };
  int posn = Specified(SignPosn, 1);
  if (posn < 0 || posn > 4) posn = 1;
  const bool precedes = Specified(CsPrecedes, 1) != 0;
  const bool space = Specified(SepBySpace, 0) != 0;
  const int column = precedes ? (space ? 2 : 0) : (space ? 3 : 1);
  return kTable[posn][column];
}

AnsiString ShortDateFormatFromPosix(const char* DFmt, char& DateSeparator) {
  AnsiString out;
  bool separatorSeen = false;
  if (DFmt == nullptr) return "mm/dd/yy";
  for (const char* p = DFmt; *p != '\0'; ++p) {
    if (*p != '%') {
      if (!separatorSeen && !out.empty()) {
        DateSeparator = *p;
        separatorSeen = true;
      }
      out += *p;
      continue;
    }
    ++p;
    while (*p == 'E' || *p == 'O' || *p == '-' || *p == '_' || *p == '0' || *p == '^') ++p;
    switch (*p) {
      case 'd':
        out += "dd";
        break;
      case 'e':
        out += "d";
        break;
      case 'm':
        out += "mm";
        break;
      case 'y':
        out += "yy";
        break;
      case 'Y':
      case 'C':
        out += "yyyy";
        break;
      case 'D':
        out += "mm/dd/yy";
        if (!separatorSeen) DateSeparator = '/', separatorSeen = true;
        break;
      case 'F':
        out += "yyyy-mm-dd";
        if (!separatorSeen) DateSeparator = '-', separatorSeen = true;
        break;
      case '\0':
        return out.empty() ? AnsiString("mm/dd/yy") : out;
      default:
        break;  // weekday names and the like have no place in a short date
    }
  }
  return out.empty() ? AnsiString("mm/dd/yy") : out;
}

char SeparatorChar(const AnsiString& Text, bool HadNoCode, char Fallback) {
  if (Text.empty()) return Fallback;
  if (HadNoCode && Text[0] == '?') return '\xA0';
  return Text[0];
}

TFormatSettings FormatSettingsFromLocale() {
  const lconv* lc = localeconv();
  // Copy everything at once: the next localeconv() may overwrite the buffer.
  const std::string decimalPoint = lc->decimal_point ? lc->decimal_point : "";
  const std::string thousandsSep = lc->thousands_sep ? lc->thousands_sep : "";
  const std::string currencySymbol = lc->currency_symbol ? lc->currency_symbol : "";
  const TLocaleMonetary m{lc->p_cs_precedes, lc->p_sep_by_space, lc->n_cs_precedes,
                          lc->n_sep_by_space, lc->n_sign_posn};
  const int fracDigits = lc->frac_digits;

  TFormatSettings s;
  bool noCode = false;
  const AnsiString decimal = LocaleTextToAnsi(decimalPoint.c_str(), noCode);
  s.DecimalSeparator = SeparatorChar(decimal, noCode, '.');
  const AnsiString thousands = LocaleTextToAnsi(thousandsSep.c_str(), noCode);
  s.ThousandSeparator = SeparatorChar(thousands, noCode, s.DecimalSeparator == ',' ? '.' : ',');
  s.CurrencyString = LocaleTextToAnsi(currencySymbol.c_str(), noCode);
  s.CurrencyFormat = PositiveCurrencyFormat(m.PCsPrecedes, m.PSepBySpace);
  s.NegCurrFormat = NegativeCurrencyFormat(m.NSignPosn, m.NCsPrecedes, m.NSepBySpace);
  s.CurrencyDecimals =
      (fracDigits == CHAR_MAX || fracDigits < 0) ? 2 : static_cast<unsigned char>(fracDigits);
  char dateSep = '/';
  s.ShortDateFormat = ShortDateFormatFromPosix(nl_langinfo(D_FMT), dateSep);
  s.DateSeparator = dateSep;
  return s;
}

void GetLocaleFormatSettings() {
  // Re-read the environment each time: a reload must see the new settings.
  std::setlocale(LC_ALL, "");
  FormatSettings = FormatSettingsFromLocale();
}
