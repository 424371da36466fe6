#pragma once
// Regional settings used across the tests, so no test depends on which
// locales the machine has.
#include "framework/rtl/FormatSettings.h"

// Decimal comma, thousands full stop, positive layout 0, negative layout 1,
// empty currency text: the settings of the worked examples.
inline TFormatSettings CommaSettings() {
  TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  s.CurrencyString = "";
  s.CurrencyFormat = 0;
  s.NegCurrFormat = 1;
  s.CurrencyDecimals = 2;
  s.DateSeparator = '/';
  s.ShortDateFormat = "dd/mm/yyyy";
  return s;
}

// The same with a decimal full stop and thousands comma.
inline TFormatSettings FullStopSettings() {
  TFormatSettings s = CommaSettings();
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  return s;
}
