#pragma once
// What the fuzz targets share: a property check that stops the run (libFuzzer
// then keeps the input that broke it), regional settings chosen by the input,
// and the reading back of a number shown in a currency layout.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/rtl/AnsiString.h"
#include "framework/rtl/FloatText.h"
#include "framework/rtl/FormatSettings.h"

// Detail is only built when the property fails.
#define FUZZ_CHECK(Condition, Detail)                                 \
  do {                                                                \
    if (!(Condition)) {                                               \
      std::fprintf(stderr, "property failed: %s\n  %s\n", #Condition, \
                   std::string(Detail).c_str());                      \
      std::abort();                                                   \
    }                                                                 \
  } while (0)

// Separators, layouts and date order as a region could set them. The currency
// text stays empty, as the calculation shows its results; separators differ
// from each other and from the blank the layouts use.
inline TFormatSettings FuzzSettings(FuzzedDataProvider& In) {
  static constexpr char kDecimal[] = {',', '.'};
  static constexpr char kDateSeparator[] = {'/', '.', '-'};
  static constexpr const char* kDateFormat[] = {"dd/mm/yyyy", "d/m/yyyy", "mm/dd/yyyy",
                                                "yyyy/mm/dd", "m/d/yyyy", "yyyy-m-d"};
  TFormatSettings s;
  s.DecimalSeparator = In.PickValueInArray(kDecimal);
  s.ThousandSeparator = In.ConsumeBool() ? '\'' : (s.DecimalSeparator == ',' ? '.' : ',');
  s.CurrencyString = "";
  s.CurrencyFormat = In.ConsumeIntegralInRange<unsigned char>(0, 3);
  s.NegCurrFormat = In.ConsumeIntegralInRange<unsigned char>(0, 15);
  s.DateSeparator = In.PickValueInArray(kDateSeparator);
  s.ShortDateFormat = In.PickValueInArray(kDateFormat);
  return s;
}

// Reads back a currency-layout text shown with an empty currency text:
// Negative from "-" or "(", the grouping checked (groups of three after the
// first), the number read with the settings. False when the text has no such
// shape.
inline bool ReadCurrencyText(const AnsiString& Text, const TFormatSettings& s, long double& Value,
                             bool& Negative) {
  Negative = false;
  AnsiString number;
  for (char c : Text) {
    if (c == '-' || c == '(') {
      Negative = true;
    } else if (c != ')' && c != ' ') {
      number += c;
    }
  }
  if (number.find('E') != AnsiString::npos) return TryStrToFloat(number, Value, s);
  const size_t point = number.find(s.DecimalSeparator);
  if (point == AnsiString::npos || number.size() - point != 3) return false;
  AnsiString digits;
  size_t group = 0;
  bool grouped = false;
  for (size_t i = 0; i < point; ++i) {
    if (number[i] == s.ThousandSeparator) {
      if (group == 0 || group > 3 || (grouped && group != 3)) return false;
      grouped = true;
      group = 0;
    } else {
      digits += number[i];
      ++group;
    }
  }
  if (group == 0 || group > 3 || (grouped && group != 3)) return false;
  return TryStrToFloat(digits + number.substr(point), Value, s);
}

// Any double, NaN and infinities included, from its raw bits.
inline double RawDouble(FuzzedDataProvider& In) {
  const uint64_t bits = In.ConsumeIntegral<uint64_t>();
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// A double in a failure message, every digit shown.
inline std::string Show(double V) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", V);
  return buf;
}
