#pragma once
// Text to extended and extended to text, with the regional separators.
#include "framework/rtl/AnsiString.h"
#include "framework/rtl/FormatSettings.h"

enum TFloatFormat { ffGeneral, ffFixed, ffNumber, ffCurrency };

// Accepts: leading spaces, an optional sign, digits, optionally the decimal
// separator and digits, optionally "E"/"e" with an optional sign and digits,
// trailing spaces. Every run of digits may be empty, but a digit or the
// separator must stand before the exponent. No thousands separator.
bool TryStrToFloat(const AnsiString& Text, long double& Value, const TFormatSettings& Settings);
long double StrToFloat(const AnsiString& Text, const TFormatSettings& Settings);
long double StrToFloat(const AnsiString& Text);  // with the process-wide settings

// Precision significant digits (at most 18, ties to even), then Digits
// decimals rounded half away from zero on those digits. ffCurrency places the
// grouped number in the regional currency layout; ffNumber groups it with a
// leading minus; ffFixed neither groups nor adds a currency; ffGeneral writes
// the shortest form of Precision digits. Values of 10^Precision and more are
// written in scientific form.
AnsiString FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits,
                       const TFormatSettings& Settings);
AnsiString FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits);

// ffGeneral with 15 digits, as the framework writes a double.
AnsiString FloatToStr(long double Value, const TFormatSettings& Settings);
AnsiString FloatToStr(long double Value);
