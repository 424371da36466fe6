#include "framework/rtl/Variant.h"

#include <climits>
#include <cmath>

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FloatText.h"

namespace {

// An integer value rounded to nearest, ties to even, as the FPU stores it;
// false beyond the 64-bit range (2^63 is the first value past it).
bool RoundToInt64(long double V, int64_t& Result) {
  const long double r = std::nearbyint(V);
  if (!(r >= -0x1p63L && r < 0x1p63L)) return false;
  Result = static_cast<int64_t>(r);
  return true;
}

// Fifteen digits, as a double is written, unless they round past the largest
// double and would not read back: those few get the seventeen that always do.
AnsiString DoubleToStr(double V) {
  const AnsiString text = FloatToStr(V);
  long double back;
  if (!std::isfinite(V) || std::fabs(V) < 1e308 ||
      (TryStrToFloat(text, back, FormatSettings) && std::isfinite(static_cast<double>(back)))) {
    return text;
  }
  return FloatToStrF(V, ffGeneral, 17, 0);
}

}  // namespace

Variant Variant::Null() {
  Variant v;
  v.FValue = TNull{};
  return v;
}

Variant Variant::FromDate(TDateTime V) {
  Variant v;
  v.FValue = TDate{V};
  return v;
}

TVarType Variant::VarType() const {
  static constexpr TVarType kTypes[] = {varEmpty,  varNull, varBoolean, varInteger, varInt64,
                                        varDouble, varDate, varString,  varDispatch};
  return kTypes[FValue.index()];
}

const char* Variant::TypeName(TVarType T) {
  switch (T) {
    case varEmpty:
      return "Empty";
    case varNull:
      return "Null";
    case varBoolean:
      return "Boolean";
    case varInteger:
      return "Integer";
    case varInt64:
      return "Int64";
    case varDouble:
      return "Double";
    case varDate:
      return "Date";
    case varString:
      return "String";
    case varDispatch:
      return "Dispatch";
  }
  return "Unknown";
}

void Variant::CastError(const char* Target) const {
  throw EVariantError(AnsiString("Could not convert variant of type (") + TypeName(VarType()) +
                      ") into type (" + Target + ")");
}

AnsiString Variant::AsString() const {
  switch (VarType()) {
    case varEmpty:
      return AnsiString();
    case varBoolean:
      return std::get<bool>(FValue) ? "True" : "False";
    case varInteger:
      return IntToStr(std::get<int>(FValue));
    case varInt64:
      return IntToStr(std::get<int64_t>(FValue));
    case varDouble:
      return DoubleToStr(std::get<double>(FValue));
    case varDate:
      return DateTimeToStr(std::get<TDate>(FValue).Value);
    case varString:
      return std::get<AnsiString>(FValue);
    default:
      CastError("String");
  }
}

int64_t Variant::AsInt64() const {
  switch (VarType()) {
    case varEmpty:
      return 0;
    case varBoolean:
      return std::get<bool>(FValue) ? -1 : 0;
    case varInteger:
      return std::get<int>(FValue);
    case varInt64:
      return std::get<int64_t>(FValue);
    case varDouble:
    case varDate: {
      int64_t i;
      if (!RoundToInt64(AsDouble(), i)) CastError("Int64");
      return i;
    }
    case varString: {
      const AnsiString& text = std::get<AnsiString>(FValue);
      int64_t i;
      if (TryStrToInt64(text, i)) return i;
      long double d;
      if (TryStrToFloat(text, d, FormatSettings) && RoundToInt64(d, i)) return i;
      CastError("Integer");
    }
    default:
      CastError("Integer");
  }
}

int Variant::AsInteger() const {
  const int64_t v = AsInt64();
  if (v < INT_MIN || v > INT_MAX) CastError("Integer");
  return static_cast<int>(v);
}

double Variant::AsDouble() const {
  switch (VarType()) {
    case varEmpty:
      return 0.0;
    case varBoolean:
      return std::get<bool>(FValue) ? -1.0 : 0.0;
    case varInteger:
      return std::get<int>(FValue);
    case varInt64:
      return static_cast<double>(std::get<int64_t>(FValue));
    case varDouble:
      return std::get<double>(FValue);
    case varDate:
      return std::get<TDate>(FValue).Value;
    case varString: {
      long double d;
      if (TryStrToFloat(std::get<AnsiString>(FValue), d, FormatSettings)) {
        const double r = static_cast<double>(d);
        if (std::isfinite(r)) return r;
      }
      CastError("Double");
    }
    default:
      CastError("Double");
  }
}

TDateTime Variant::AsDate() const {
  if (VarType() == varString) {
    TDateTime d;
    if (TryStrToDateTime(std::get<AnsiString>(FValue), d, FormatSettings)) return d;
    CastError("Date");
  }
  return AsDouble();
}

bool Variant::AsBoolean() const {
  if (VarType() == varString) {
    const AnsiString s = UpperCaseAscii(std::get<AnsiString>(FValue));
    if (s == "TRUE") return true;
    if (s == "FALSE") return false;
  }
  return AsDouble() != 0.0;
}

std::shared_ptr<IDispatch> Variant::AsDispatch() const {
  if (VarType() == varDispatch) return std::get<std::shared_ptr<IDispatch>>(FValue);
  if (VarType() == varEmpty) return nullptr;
  CastError("Dispatch");
}

bool Variant::operator==(const Variant& Other) const {
  const TVarType a = VarType(), b = Other.VarType();
  const auto numeric = [](TVarType t) {
    return t == varBoolean || t == varInteger || t == varInt64 || t == varDouble || t == varDate;
  };
  if (a != b && numeric(a) && numeric(b)) return AsDouble() == Other.AsDouble();
  return FValue == Other.FValue;
}
