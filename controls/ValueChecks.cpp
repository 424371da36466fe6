#include "controls/ValueChecks.h"

#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FloatText.h"

bool BoundIsSet(const Variant& Bound) {
  try {
    return !Bound.AsString().empty();
  } catch (const Exception&) {
    return true;
  }
}

namespace {

// Written so that a bound that is no number (a NaN date) fails the check.
template <class T, class Convert>
bool Within(T Value, const Variant& MinValue, const Variant& MaxValue, Convert ConvertBound) {
  if (BoundIsSet(MinValue) && !(Value >= ConvertBound(MinValue))) return false;
  if (BoundIsSet(MaxValue) && !(Value <= ConvertBound(MaxValue))) return false;
  return true;
}

// A number needs a digit before any exponent: a lone separator or sign reads
// as zero to the conversion, yet nobody typed a number.
bool HasMantissaDigit(const AnsiString& Text) {
  for (char c : Text) {
    if (c == 'E' || c == 'e') return false;
    if (IsDigitChar(c)) return true;
  }
  return false;
}

}  // namespace

bool ValueInBounds(const AnsiString& Text, CharFilterType Filter, const Variant& MinValue,
                   const Variant& MaxValue, const TFormatSettings& Settings) {
  if (Filter != chDate && Filter != chNumber && Filter != chDecimal) return true;
  if (!BoundIsSet(MinValue) && !BoundIsSet(MaxValue)) return true;
  if (Filter != chDate && !HasMantissaDigit(Text)) return false;
  try {
    switch (Filter) {
      case chDate:
        return Within(StrToDateTime(Text, Settings), MinValue, MaxValue,
                      [](const Variant& b) { return b.AsDate(); });
      case chNumber:
        return Within(StrToInt(Text), MinValue, MaxValue,
                      [](const Variant& b) { return b.AsInteger(); });
      default:
        return Within(StrToFloat(Text, Settings), MinValue, MaxValue,
                      [](const Variant& b) { return static_cast<long double>(b.AsDouble()); });
    }
  } catch (const Exception&) {
    return false;
  }
}

bool EMailShapeValid(const AnsiString& Text) {
  const int at = Pos("@", Text);
  if (at <= 1) return false;
  if (at == static_cast<int>(Text.size())) return false;
  if (Pos("@", SubString(Text, at + 1, 255)) > 0) return false;
  if (Pos(".", SubString(Text, at + 2, 255)) == 0) return false;
  if (Text.back() == '.') return false;
  return Pos(",", Text) == 0;
}
