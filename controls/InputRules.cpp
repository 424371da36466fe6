#include "controls/InputRules.h"

#include "controls/ValueChecks.h"

TInputRules::TInputRules() : FStringCaps(new TStringCaps) {}

TInputRules::~TInputRules() {
  delete FStringCaps;
  FMinValue.Clear();
  FMaxValue.Clear();
}

bool TInputRules::ChangeCharFilter(CharFilterType Value) {
  if (Value == FCharFilter) return false;
  FCharFilter = Value;
  if (Value != chDate && FDateAge != dtNone) FDateAge = dtNone;
  FMinValue.Clear();
  FMaxValue.Clear();
  return true;
}

bool TInputRules::ValueInRange(const AnsiString& Text) const {
  return ValueInBounds(Text, FCharFilter, FMinValue, FMaxValue, FormatSettings);
}
