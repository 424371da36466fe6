#pragma once
// Windows-1252, the code page of every AnsiString, and the conversions at the
// boundaries where text meets Unicode (Qt, SQLite, the C library's locale).
#include <QString>
#include <string>
#include <string_view>

#include "framework/rtl/AnsiString.h"

// The Unicode character of one Windows-1252 byte. The five bytes the code page
// leaves unassigned map to the C1 controls of the same value, so every byte
// survives a round trip.
char32_t AnsiCharToUnicode(unsigned char C);

// The Windows-1252 byte of a Unicode character, or '?' when it has none.
char UnicodeToAnsiChar(char32_t U);
// Like UnicodeToAnsiChar, but tells whether the character had a code at all.
bool TryUnicodeToAnsiChar(char32_t U, char& C);

AnsiString Utf8ToAnsi(std::string_view Utf8);
std::string AnsiToUtf8(const AnsiString& S);

AnsiString QStringToAnsi(const QString& S);
QString AnsiToQString(const AnsiString& S);

// Character classes of a Windows-1252 byte, by the Unicode class of its
// character: accented letters are letters, capitals and small letters too.
bool IsCharAlphaA(char C);
bool IsCharUpperA(char C);
bool IsCharLowerA(char C);
