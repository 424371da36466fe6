#pragma once
// Dates as the framework counts them: TDateTime is a day number from
// 30 December 1899 with the time of day as its fraction.
#include <cstdint>
#include <functional>

#include "framework/rtl/AnsiString.h"
#include "framework/rtl/FormatSettings.h"

using TDateTime = double;

// Throws EConvertError for a date or time that does not exist.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);

// The whole part of a value is its day, the magnitude of its fraction the time
// of that day, also before 30 December 1899: -1.25 is 29 December 1899 06:00.
// Dates run from 1 January 0001 to 31 December 9999; TryDecodeDate is false
// outside them (NaN and infinities included), DecodeDate throws EConvertError.
bool TryDecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
// Throws EConvertError for NaN and infinities.
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
bool IsLeapYear(int Year);

// Today (no time part) and now, from the runtime's clock. Tests pin the clock
// with SetNowFunction; an empty function restores the system clock.
TDateTime Date();
TDateTime Now();
void SetNowFunction(std::function<TDateTime()> Fn);

// A date in the order of ShortDateFormat (day, month and year fields split by
// DateSeparator; two fields take the current year; a two-digit year falls in
// the 100 years around today), optionally followed by a time "h:n[:s[.z]]".
// The time counts away from zero on a day before 30 December 1899, so the
// value decodes to the same date and time. Throws EConvertError with
// "'%s' is not a valid date and time".
TDateTime StrToDateTime(const AnsiString& Text, const TFormatSettings& Settings);
TDateTime StrToDateTime(const AnsiString& Text);
bool TryStrToDateTime(const AnsiString& Text, TDateTime& Value, const TFormatSettings& Settings);

// The date in ShortDateFormat, and the time "hh:nn:ss" when there is one.
// Throws EConvertError for a value outside the dates DecodeDate knows.
AnsiString DateTimeToStr(TDateTime Value, const TFormatSettings& Settings);
AnsiString DateTimeToStr(TDateTime Value);

// Decimal integers in 32 bits: leading spaces, an optional sign, digits
// ("$" or "0x" for hexadecimal), nothing after. Throws EConvertError with
// "'%s' is not a valid integer value".
int StrToInt(const AnsiString& Text);
bool TryStrToInt(const AnsiString& Text, int& Value);
// The same in 64 bits.
int64_t StrToInt64(const AnsiString& Text);
bool TryStrToInt64(const AnsiString& Text, int64_t& Value);
AnsiString IntToStr(long long Value);
