#include "framework/rtl/CodePage.h"

#include <array>

namespace {

// 0x80-0x9F of Windows-1252; the rest of the upper half is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

enum CharClass : unsigned char { ccOther = 0, ccLetter = 1, ccUpper = 2, ccLower = 4 };

// Unicode general category of each byte's character: L* is a letter,
// Lu a capital, Ll a small letter.
constexpr std::array<unsigned char, 256> MakeClassTable() {
  std::array<unsigned char, 256> t{};
  const unsigned char upper = ccLetter | ccUpper;
  const unsigned char lower = ccLetter | ccLower;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = upper;
  for (int c = 'a'; c <= 'z'; ++c) t[c] = lower;
  for (int c : {0x8A, 0x8C, 0x8E, 0x9F}) t[c] = upper;        // Š Œ Ž Ÿ
  for (int c : {0x83, 0x9A, 0x9C, 0x9E, 0xB5}) t[c] = lower;  // ƒ š œ ž µ
  for (int c : {0x88, 0xAA, 0xBA}) t[c] = ccLetter;           // ˆ ª º: letters without case
  for (int c = 0xC0; c <= 0xDE; ++c)
    t[c] = (c == 0xD7) ? static_cast<unsigned char>(ccOther) : upper;  // × is a sign
  for (int c = 0xDF; c <= 0xFF; ++c)
    t[c] = (c == 0xF7) ? static_cast<unsigned char>(ccOther) : lower;  // ÷ is a sign
  return t;
}
constexpr auto kClass = MakeClassTable();

unsigned char ClassOf(char C) { return kClass[static_cast<unsigned char>(C)]; }

// Decodes one UTF-8 sequence at S[i]; malformed input yields U+FFFD and
// advances by one byte so decoding always makes progress.
char32_t DecodeUtf8(std::string_view S, size_t& i) {
  const auto b0 = static_cast<unsigned char>(S[i]);
  int len = 0;
  char32_t cp = 0;
  if (b0 < 0x80) {
    ++i;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + len > S.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(S[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += len;
  return cp;
}

void EncodeUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

char32_t AnsiCharToUnicode(unsigned char C) {
  if (C >= 0x80 && C < 0xA0) return kHighControls[C - 0x80];
  return C;
}

bool TryUnicodeToAnsiChar(char32_t U, char& C) {
  if (U < 0x80 || (U >= 0xA0 && U <= 0xFF)) {
    C = static_cast<char>(U);
    return true;
  }
  for (size_t k = 0; k < kHighControls.size(); ++k) {
    if (kHighControls[k] == U) {
      C = static_cast<char>(0x80 + k);
      return true;
    }
  }
  C = '?';
  return false;
}

char UnicodeToAnsiChar(char32_t U) {
  char c;
  TryUnicodeToAnsiChar(U, c);
  return c;
}

AnsiString Utf8ToAnsi(std::string_view Utf8) {
  AnsiString out;
  out.reserve(Utf8.size());
  for (size_t i = 0; i < Utf8.size();) out += UnicodeToAnsiChar(DecodeUtf8(Utf8, i));
  return out;
}

std::string AnsiToUtf8(const AnsiString& S) {
  std::string out;
  out.reserve(S.size() + S.size() / 4);
  for (char c : S) EncodeUtf8(AnsiCharToUnicode(static_cast<unsigned char>(c)), out);
  return out;
}

AnsiString QStringToAnsi(const QString& S) {
  AnsiString out;
  out.reserve(static_cast<size_t>(S.size()));
  for (qsizetype i = 0; i < S.size(); ++i) {
    const QChar ch = S.at(i);
    if (ch.isHighSurrogate() && i + 1 < S.size() && S.at(i + 1).isLowSurrogate()) {
      ++i;  // one character outside the BMP: one '?'
      out += '?';
      continue;
    }
    out += UnicodeToAnsiChar(ch.unicode());
  }
  return out;
}

QString AnsiToQString(const AnsiString& S) {
  QString out;
  out.reserve(static_cast<qsizetype>(S.size()));
  for (char c : S)
    out += QChar(static_cast<char16_t>(AnsiCharToUnicode(static_cast<unsigned char>(c))));
  return out;
}

bool IsCharAlphaA(char C) { return ClassOf(C) & ccLetter; }
bool IsCharUpperA(char C) { return ClassOf(C) & ccUpper; }
bool IsCharLowerA(char C) { return ClassOf(C) & ccLower; }
