#include "framework/ole/WideString.h"

#include "framework/rtl/CodePage.h"

namespace {

// The code point at S[i]; a lone surrogate yields U+FFFD.
char32_t NextCodePoint(const WideString& S, size_t& i) {
  const char16_t u = S[i++];
  if (u < 0xD800 || u > 0xDFFF) return u;
  if (u <= 0xDBFF && i < S.size() && S[i] >= 0xDC00 && S[i] <= 0xDFFF) {
    const char16_t low = S[i++];
    return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
  }
  return 0xFFFD;
}

}  // namespace

WideString AnsiToWide(const AnsiString& S) {
  WideString w(S.size(), u'\0');
  // Every Windows-1252 character lies in the basic plane: one unit each.
  for (size_t i = 0; i < S.size(); ++i) {
    const auto c = static_cast<unsigned char>(S[i]);
    w[i] = c < 0x80 ? c : static_cast<char16_t>(AnsiCharToUnicode(c));
  }
  return w;
}

AnsiString WideToAnsi(const WideString& S) {
  AnsiString a;
  a.reserve(S.size());
  for (size_t i = 0; i < S.size();) a += UnicodeToAnsiChar(NextCodePoint(S, i));
  return a;
}

std::string WideToUtf8(const WideString& S) {
  // Cell texts pass here one by one: plain ASCII goes across in one step.
  size_t ascii = 0;
  while (ascii < S.size() && S[ascii] < 0x80) ++ascii;
  std::string out(S.begin(), S.begin() + ascii);
  for (size_t i = ascii; i < S.size();) {
    const char32_t c = NextCodePoint(S, i);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}
