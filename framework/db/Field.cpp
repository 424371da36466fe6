#include "framework/db/Field.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "framework/db/DataSet.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Exceptions.h"

TField::TField(TDataSet* ADataSet, const AnsiString& AFieldName, TFieldKind AKind, TFieldType AType,
               int ASize)
    : FDataSet(ADataSet), FFieldName(AFieldName), FFieldKind(AKind), FDataType(AType), FSize(-1) {
  SetDataDefinition(AType, ASize);
}

TField::~TField() {
  if (FLookupDataSet) FLookupDataSet->DetachLookupClient(this);
}

void TField::SetDataDefinition(TFieldType AType, int ASize) {
  const int size = AType == ftString ? (ASize > 0 ? ASize : DefaultStringSize) : 0;
  if (AType == FDataType && size == FSize) return;
  FDataType = AType;
  FSize = size;
  switch (AType) {
    case ftString:
      FDisplayWidth = std::min(FSize, DefaultDisplayWidth);
      break;
    case ftBoolean:
      FDisplayWidth = 5;
      break;
    case ftDateTime:
      FDisplayWidth = 18;
      break;
    default:
      FDisplayWidth = 10;
      break;
  }
  FAlignment = (AType == ftInteger || AType == ftFloat) ? taRightJustify : taLeftJustify;
}

int TField::Index() const { return FDataSet->Fields().IndexOf(this); }

Variant TField::Value() const { return FDataSet->FieldValue(*this); }

void TField::SetValue(const Variant& NewValue) { FDataSet->SetFieldValue(*this, NewValue); }

AnsiString TField::AsString() const { return TextOf(Value()); }

int TField::AsInteger() const {
  const Variant v = Value();
  return v.IsEmptyOrNull() ? 0 : v.AsInteger();
}

void TField::SetLookupDataSet(TDataSet* Value) {
  if (Value == FLookupDataSet) return;
  if (FLookupDataSet) FLookupDataSet->DetachLookupClient(this);
  FLookupDataSet = Value;
  if (FLookupDataSet) FLookupDataSet->AttachLookupClient(this);
}

namespace {

// The short date format with a four-digit year: a date's text must read
// back as the same date, whatever century a two-digit year would guess.
TFormatSettings FourDigitYears(TFormatSettings Settings) {
  AnsiString& f = Settings.ShortDateFormat;
  const size_t y = f.find_first_of("yY");
  if (y != AnsiString::npos) {
    const size_t end = f.find_first_not_of("yY", y);
    f.replace(y, (end == AnsiString::npos ? f.size() : end) - y, "yyyy");
  }
  return Settings;
}

// Integers must be whole: a fraction is refused rather than rounded away.
bool ToInt64(const Variant& V, int64_t& Out) {
  switch (V.VarType()) {
    case varBoolean:
    case varInteger:
    case varInt64:
      Out = V.AsInt64();
      return true;
    case varDouble: {
      const double d = V.AsDouble();
      if (d != std::trunc(d) || std::fabs(d) >= 9.2e18) return false;
      Out = static_cast<int64_t>(d);
      return true;
    }
    case varString: {
      const AnsiString s = V.AsString();
      size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
      if (b == AnsiString::npos) return false;
      if (s[b] == '+') ++b;
      const char* first = s.data() + b;
      const char* last = s.data() + e + 1;
      const auto r = std::from_chars(first, last, Out);
      return r.ec == std::errc() && r.ptr == last && first != last;
    }
    default:
      return false;
  }
}

}  // namespace

AnsiString TField::TextOf(const Variant& StoredValue) const {
  if (StoredValue.IsEmptyOrNull()) return AnsiString();
  if (StoredValue.VarType() == varDate)
    return DateTimeToStr(StoredValue.AsDate(), FourDigitYears(FormatSettings));
  return StoredValue.AsString();
}

Variant TField::Convert(const Variant& NewValue) const {
  if (NewValue.IsEmptyOrNull()) return Variant::Null();
  try {
    switch (FDataType) {
      case ftString:
      case ftBlob:
        return NewValue.AsString();
      case ftInteger: {
        int64_t v;
        if (!ToInt64(NewValue, v)) break;
        if (v >= INT32_MIN && v <= INT32_MAX) return static_cast<int>(v);
        return static_cast<long long>(v);
      }
      case ftFloat:
        return NewValue.AsDouble();
      case ftBoolean:
        return NewValue.AsBoolean();
      case ftDate:
        return Variant::FromDate(std::trunc(NewValue.AsDate()));
      case ftDateTime:
        return Variant::FromDate(NewValue.AsDate());
    }
  } catch (const EVariantError&) {
  }
  AnsiString text;
  try {
    text = NewValue.AsString();
  } catch (const EVariantError&) {
  }
  throw EConvertError("'" + text + "' is not a valid value for field '" + FFieldName + "'");
}
