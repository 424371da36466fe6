#pragma once
// Regional number and date settings. The process-wide FormatSettings is loaded
// from the C library's locale; every conversion also takes the settings
// explicitly, so nothing has to depend on which locales a machine has.
#include <clocale>

#include "framework/rtl/AnsiString.h"

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  AnsiString CurrencyString;
  unsigned char CurrencyFormat = 0;  // positive currency layout, 0-3
  unsigned char NegCurrFormat = 1;   // negative currency layout, 0-15
  unsigned char CurrencyDecimals = 2;
  char DateSeparator = '/';
  AnsiString ShortDateFormat = "mm/dd/yy";
};

extern TFormatSettings FormatSettings;

// The monetary fields of a locale, copied out of localeconv() at once (its
// buffer is overwritten by the next call). CHAR_MAX means "unspecified".
struct TLocaleMonetary {
  int PCsPrecedes;
  int PSepBySpace;
  int NCsPrecedes;
  int NSepBySpace;
  int NSignPosn;
};

// The layout numbers for the POSIX monetary fields (table in docs/regional-settings.md).
unsigned char PositiveCurrencyFormat(int CsPrecedes, int SepBySpace);
unsigned char NegativeCurrencyFormat(int SignPosn, int CsPrecedes, int SepBySpace);

// "%d/%m/%Y" → "dd/mm/yyyy"; the first separator between the fields is
// reported through DateSeparator (unchanged when there is none).
AnsiString ShortDateFormatFromPosix(const char* DFmt, char& DateSeparator);

// Separator text of the locale (already in Windows-1252) to one character:
// the fallback when empty, the no-break space when it has no code.
char SeparatorChar(const AnsiString& Text, bool HadNoCode, char Fallback);

// The settings of the C library's current locale (setlocale must have run).
TFormatSettings FormatSettingsFromLocale();

// setlocale(LC_ALL, ""), then FormatSettings := FormatSettingsFromLocale().
void GetLocaleFormatSettings();
