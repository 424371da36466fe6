#pragma once
// Automation texts are wide (UTF-16). The system's 8-bit text converts with
// the platform's ANSI code page, Windows-1252.
#include <string>

#include "framework/rtl/AnsiString.h"

using WideString = std::u16string;

WideString AnsiToWide(const AnsiString& S);
// A character without a Windows-1252 code becomes "?".
AnsiString WideToAnsi(const WideString& S);
// Lone surrogates become U+FFFD, so the result is always valid UTF-8.
std::string WideToUtf8(const WideString& S);
